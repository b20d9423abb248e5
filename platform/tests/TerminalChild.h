// A child process on a pseudo-terminal of its own, for the terminal display's tests: what it
// writes is read back, keys and resizes are sent to it, and it exits with a code of its own.
#pragma once

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace terminal_test {

// Where the last picture the display wrote whole starts: each picture is "\x1b[H", its rows,
// "\x1b[J", and a read may end in the middle of one. Without a whole one, the last begun.
inline size_t LastPictureStart(const std::string& output) {
    size_t end = output.rfind("\x1b[J");
    size_t start = end == std::string::npos ? std::string::npos : output.rfind("\x1b[H", end);
    return start == std::string::npos ? output.rfind("\x1b[H") : start;
}

// Strips the escape sequences and returns the rows of the last complete picture the display
// wrote (the rows that ended with a line end).
inline std::vector<std::string> LastPicture(const std::string& output) {
    size_t start = LastPictureStart(output);
    std::string picture = start == std::string::npos ? output : output.substr(start);
    size_t end = picture.find("\x1b[J");
    if (end != std::string::npos) picture.resize(end);
    std::string plain;
    for (size_t i = 0; i < picture.size(); ++i) {
        if (picture[i] == '\x1b') {
            ++i;
            if (i < picture.size() && picture[i] == '[')
                while (i + 1 < picture.size() && !isalpha(static_cast<unsigned char>(picture[i + 1]))) ++i;
            ++i;
            continue;
        }
        plain += picture[i];
    }
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t nl; (nl = plain.find("\r\n", from)) != std::string::npos; from = nl + 2) lines.push_back(plain.substr(from, nl - from));
    if (from < plain.size()) lines.push_back(plain.substr(from));
    for (std::string& line : lines)  // the terminal may turn a line end into "\r\r\n"
        while (!line.empty() && line.back() == '\r') line.pop_back();
    return lines;
}

// Terminal columns a UTF-8 text takes (CJK characters two).
inline int Columns(const std::string& text) {
    int columns = 0;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        char32_t cp = n == 1 ? c : c & (0xFF >> (n + 1));
        for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        columns += (cp >= 0x3000 && cp <= 0x9FFF) || (cp >= 0xFF00 && cp <= 0xFF60) ? 2 : 1;
        i += n;
    }
    return columns;
}

// True when some row of the picture holds `text`.
inline bool Shows(const std::vector<std::string>& picture, const std::string& text) {
    for (const std::string& row : picture)
        if (row.find(text) != std::string::npos) return true;
    return false;
}

struct TerminalChild {
    pid_t pid = -1;
    int master = -1;
    std::string output;
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);

    // Forks; the child runs `body` on the terminal (real time) and exits with its answer.
    void Start(const std::function<int()>& body, unsigned short columns = 80, unsigned short rows = 24) {
        winsize size{rows, columns, 0, 0};
        pid = forkpty(&master, nullptr, nullptr, &size);
        if (pid != 0) return;
        _exit(body());
    }
    void Resize(unsigned short columns, unsigned short rows) {
        winsize size{rows, columns, 0, 0};
        ioctl(master, TIOCSWINSZ, &size);
    }
    // Reads what the child writes for up to `ms`; false at the end of the output.
    bool ReadFor(int ms) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, ms) <= 0) return true;
        char buffer[4096];
        ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) return false;
        output.append(buffer, size_t(n));
        return true;
    }
    bool ReadUntil(const std::string& wanted, size_t from = 0) {
        while (output.find(wanted, from) == std::string::npos && std::chrono::steady_clock::now() < deadline &&
               ReadFor(100)) {
        }
        return output.find(wanted, from) != std::string::npos;
    }
    // Reads until a whole picture (its end, "\x1b[J", read) drawn after output position `from`
    // shows `text`.
    bool ReadUntilShown(const std::string& text, size_t from) {
        while (std::chrono::steady_clock::now() < deadline) {
            size_t at = LastPictureStart(output);
            bool whole = at != std::string::npos && output.find("\x1b[J", at) != std::string::npos;
            if (whole && at >= from && Shows(LastPicture(output), text)) return true;
            if (!ReadFor(100)) return false;
        }
        return false;
    }
    // Reads until the last picture no longer shows `text` (a slow machine may draw late).
    bool ReadUntilGone(const std::string& text) {
        while (Shows(LastPicture(output), text) && std::chrono::steady_clock::now() < deadline && ReadFor(100)) {
        }
        return !Shows(LastPicture(output), text);
    }
    void Key(const std::string& keys) {
        ssize_t n = write(master, keys.data(), keys.size());
        (void)n;
    }
    // Waits for the child while draining its output; the wait status.
    int Wait() {
        int status = 0;
        pid_t ended = 0;
        while ((ended = waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline &&
               ReadFor(50)) {
        }
        if (ended == 0 && std::chrono::steady_clock::now() >= deadline) kill(pid, SIGKILL);  // it hangs
        if (ended == 0) waitpid(pid, &status, 0);
        if (master >= 0) close(master);
        master = -1;
        return status;
    }
};

}  // namespace terminal_test
