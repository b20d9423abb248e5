// A card's EEPROM kept on disk as a raw file of the chip's size, written through byte by byte.
#include "hwsim/bench/EepromStateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "hwsim/bench/BenchSpec.h"
#include "platform/durablefile.h"
#include "platform/winfile.h"
#include "platform/winbase.h"

namespace hwsim {

namespace {

// The path as messages name it: under the state folder as the user wrote it.
std::string Named(const std::string& path) { return platform::PathForMessage(path); }

}  // namespace

EepromStateFile::EepromStateFile(std::string path, std::vector<BYTE> contents, size_t size)
    : m_path(std::move(path)), m_size(size), m_contents(std::move(contents)) {
    m_contents.resize(m_size, 0xFF);
}

EepromStateFile::~EepromStateFile() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bStop = true;
    }
    m_wake.notify_one();
    if (m_syncer.joinable()) m_syncer.join();
    if (m_fd >= 0) close(m_fd);
}

std::optional<std::vector<BYTE>> EepromStateFile::Load(const std::string& path, size_t size) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        // Made at the first write: its folder must take it.
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) throw BenchError("bench state " + Named(folder.string()) + ": cannot be made: " + error.message());
        if (access(folder.c_str(), W_OK | X_OK) != 0) {
            throw BenchError("bench state " + Named(folder.string()) + ": cannot be written: " + std::strerror(errno));
        }
        return std::nullopt;
    }
    const auto WrongSize = [&](uint64_t held) {
        return BenchError("bench state " + Named(path) + ": holds " + std::to_string(held) + " bytes, the EEPROM has " +
                          std::to_string(size) + " (remove the file to start from the bench)");
    };
    // A file of another size is refused before a byte of it is read.
    if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && uint64_t(st.st_size) != size) throw WrongSize(st.st_size);
    std::vector<BYTE> bytes;
    std::string why;
    if (!ReadWholeFile(path, bytes, why, size)) throw BenchError("bench state " + Named(path) + ": cannot be read: " + why);
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) throw BenchError("bench state " + Named(path) + ": cannot be written: " + std::strerror(errno));
    close(fd);
    if (bytes.size() != size) throw WrongSize(bytes.size());
    return bytes;
}

std::vector<BYTE> EepromStateFile::Contents() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_contents;
}

bool EepromStateFile::Kept() const {
    std::unique_lock<std::mutex> lock(m_lock);
    WaitForSync(lock);
    return !m_bLost;
}

void EepromStateFile::Lose(const char* what) { Lose(what, std::strerror(errno)); }

void EepromStateFile::Lose(const char* what, const char* why) {
    PlatformTrace("hwsim: cannot %s bench state %s: %s\n", what, m_path.c_str(), why);
    if (!m_bLost) {
        fprintf(stderr, "pelvatro: bench state %s: cannot %s it (%s); the card's EEPROM is not kept\n",
                Named(m_path).c_str(), what, why);
    }
    m_bLost = true;
}

bool EepromStateFile::StillAtPath() const {
    struct stat open {}, named {};
    return fstat(m_fd, &open) == 0 && open.st_nlink > 0 && stat(m_path.c_str(), &named) == 0 &&
           named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

// A store is on the disk as a chip keeps a byte once its write cycle ends: the syncer syncs it
// while the writer goes on to its next byte's wait, and the next store waits for it.
void EepromStateFile::SyncWhileDue() {
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_bSyncDue || m_bStop; });
        if (!m_bSyncDue) return;
        m_bSyncDue = false;
        m_bSyncing = true;
        lock.unlock();
        const bool synced = platform::SyncFile(m_fd, m_path);
        lock.lock();
        m_bSyncing = false;
        if (!synced) Lose("sync");
        m_synced.notify_all();
    }
}

void EepromStateFile::WaitForSync(std::unique_lock<std::mutex>& lock) const {
    m_synced.wait(lock, [this] { return !m_bSyncDue && !m_bSyncing; });
}

bool EepromStateFile::Written(ssize_t wrote, size_t size) {
    if (wrote != static_cast<ssize_t>(size)) return false;
    m_bSyncDue = true;
    if (!m_syncer.joinable()) m_syncer = std::thread([this] { SyncWhileDue(); });
    m_wake.notify_one();
    return true;
}

void EepromStateFile::Store(BYTE offset, BYTE value) {
    if (offset >= m_size) return;
    std::unique_lock<std::mutex> lock(m_lock);
    WaitForSync(lock);
    m_contents[offset] = value;
    if (m_bRemoved) return;
    if (m_fd < 0) {
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), error);
        // A file made now is made beside its place, whole and synced, and renamed in: a power
        // loss leaves either no file or the whole chip.
        struct stat st {};
        const bool make = lstat(m_path.c_str(), &st) != 0 && errno == ENOENT;
        if (make && !platform::WriteFileDurably(m_path, m_contents.data(), m_size, 0644)) {
            Lose("open");
            return;
        }
        // Never waits in the open (a FIFO put in the file's place), and writes only a plain file.
        m_fd = open(m_path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (m_fd < 0 && make && errno == ENOENT) {
            // Removed as soon as it was made: not made again behind whoever removed it.
            m_bRemoved = true;
            Lose("write", "the file was removed or replaced while the card was written");
            return;
        }
        if (m_fd < 0) {
            Lose("open");
            return;
        }
        if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(m_fd);
            m_fd = -1;
            Lose("open", "it is not a file");
            return;
        }
        // The whole chip, so a byte that failed before is in the file again.
        if (!make && !Written(pwrite(m_fd, m_contents.data(), m_size, 0), m_size)) Lose("write");
    } else if (!Written(pwrite(m_fd, &value, 1, offset), 1)) {
        Lose("write");
    }
    // A write into a file that was removed, or replaced at its path, succeeds and keeps nothing:
    // the store misses from then on, and the file is not made again behind whoever removed it.
    if (!StillAtPath()) {
        m_bRemoved = true;
        Lose("write", "the file was removed or replaced while the card was written");
    }
}

}  // namespace hwsim
