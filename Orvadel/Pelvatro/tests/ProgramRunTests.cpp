// The station run as an operator would, in a child process of its own: on the log display piped
// into a reader that stops after three lines, and on a terminal that is closed, or interrupted,
// while the cards are written. Every card must be written whole, and the program end as it should.
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "StationRun.h"
#include "StationTestSupport.h"
#include "platform/display.h"

using namespace station_test;

namespace {

class ProgramRun : public StationRun {
protected:
    // The program's start in the forked child: the display of `kind` as pelvatro chooses it.
    int RunStation(const char* display) {
        setenv("PELVATRO_DISPLAY", display, 1);
        platform::StartMachineDefaultDisplay();
        app.InitInstance();
        app.ExitInstance();
        platform::StopDisplay();
        return 0;
    }
    // The cards' EEPROM files, as the child process left them, hold the image.
    void ExpectEveryCardWrittenWhole(size_t cards) {
        std::vector<BYTE> image = KeshImage();
        for (size_t i = 0; i < cards; ++i) {
            std::string file = hwsim::Bench::StateFileFor(Card(i).Kind(), Card(i).Instance());
            std::string bytes = ReadFileBytes(file);
            EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.end()), image) << file;
        }
    }
    // Whether the child ends within `timeoutMs`; then `status` is its exit status.
    static bool EndedWithin(pid_t pid, int timeoutMs, int* status) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (waitpid(pid, status, WNOHANG) != pid)
            if (std::chrono::steady_clock::now() >= end || usleep(10000) != 0) return false;
        return true;
    }
    static std::string ReadAll(int fd, int timeoutMs) {
        std::string text;
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        char buffer[4096];
        while (std::chrono::steady_clock::now() < end) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0) break;
            text.append(buffer, size_t(n));
        }
        return text;
    }
};

TEST_F(ProgramRun, LogDisplayPipedIntoAReaderThatStopsAfterThreeLines) {
    Plug(KeshBench(2));
    int out[2], err[2];
    ASSERT_EQ(pipe(out), 0);
    ASSERT_EQ(pipe(err), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]);
        close(err[0]);
        _exit(RunStation("log"));
    }
    close(out[1]);
    close(err[1]);
    std::string lines;  // as `pelvatro | head -3`
    char ch;
    while (std::count(lines.begin(), lines.end(), '\n') < 3 && read(out[0], &ch, 1) == 1) lines += ch;
    close(out[0]);
    std::string errors = ReadAll(err[0], 20000);  // the run ends within seconds
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << lines << errors;
    ExpectEveryCardWrittenWhole(2);
}

// The terminal closed, SIGINT (Ctrl-C in the shell the program runs from) and Ctrl-C on the
// terminal in the middle of the write: each waits for the write and then closes.
TEST_F(ProgramRun, TerminalClosedOrInterruptedWhileTheCardsAreWritten) {
    for (const char* how : {"close", "SIGINT", "Ctrl-C"}) {
        std::filesystem::remove_all(platform::StateDir() + "/eeprom");  // blank cards again
        Plug(KeshBench(2));
        // Settings in GBK with one stray byte: the run writes the station kind back ("01" as "1").
        const std::string settings =
            Gbk("// 工位设定 ") + "\xFF\r\n" + Gbk("[Eeprom]\r\nShutDown=0 ; 关机\r\n[Type]\r\nMachine=");
        WriteFileBytes(HomeFile("ConfigTest.txt"), settings + "01\r\n");
        int master = -1;
        winsize size{24, 80, 0, 0};
        pid_t pid = forkpty(&master, nullptr, nullptr, &size);
        if (pid == 0) _exit(RunStation("terminal"));
        std::string output;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        char buffer[4096];
        bool pressed = false;
        while (output.find(kStatusWriting) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 100) > 0) {
                ssize_t n = read(master, buffer, sizeof buffer);
                if (n <= 0) break;
                output.append(buffer, size_t(n));
            }
            if (!pressed && output.find("[>确 定<]") != std::string::npos) {
                pressed = write(master, "\r", 1) == 1;  // the operator starts the write
            }
        }
        ASSERT_NE(output.find(kStatusWriting), std::string::npos) << how;
        if (std::string(how) == "SIGINT") kill(pid, SIGINT);
        if (std::string(how) == "Ctrl-C") EXPECT_EQ(write(master, "\x03", 1), 1);
        // Ended seconds after the write (which takes one), not when the closing terminal hangs it up.
        if (std::string(how) != "close") ReadAll(master, 5000);
        int status = 0;
        if (std::string(how) != "close") EXPECT_TRUE(EndedWithin(pid, 1000, &status)) << how << ": still running";
        close(master);
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << how << ": killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << how;
        ExpectEveryCardWrittenWhole(2);
        EXPECT_EQ(ReadFileBytes(HomeFile("ConfigTest.txt")), settings + "1\r\n") << how << ": but for the value";
    }
}

}  // namespace
