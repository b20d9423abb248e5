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
#include <functional>
#include <map>

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
    // Whether the child ends within `timeoutMs` (left to be waited for).
    static bool EndedWithin(pid_t pid, int timeoutMs) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        siginfo_t info{};
        while (waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != pid)
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

    // The program on a terminal of its own, SIGHUP blocked when the terminal is to go away
    // without one; `steps` lays out the operator's steps in the child.
    struct TerminalRun {
        pid_t pid = -1;
        int master = -1;
        std::string output;
        std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);

        // Reads until `text` has come; `onOutput` sees the output as it comes.
        bool ReadUntil(const char* text, const std::function<void(const std::string&)>& onOutput = nullptr) {
            char buffer[4096];
            while (output.find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
                pollfd p{master, POLLIN, 0};
                if (poll(&p, 1, 100) <= 0) continue;
                ssize_t n = read(master, buffer, sizeof buffer);
                if (n <= 0) break;
                output.append(buffer, size_t(n));
                if (onOutput) onOutput(output);
            }
            return output.find(text) != std::string::npos;
        }
        // The terminal goes away and the program is waited for (killed when it runs on a minute
        // later); its exit code, -1 when it did not exit.
        int Wait() {
            if (master >= 0) close(master);
            master = -1;
            int status = 0;
            for (deadline += std::chrono::seconds(60); waitpid(pid, &status, WNOHANG) == 0; usleep(10000))
                if (std::chrono::steady_clock::now() > deadline) kill(pid, SIGKILL);
            EXPECT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    };
    TerminalRun OnTerminal(bool blockHangUp, const std::function<void()>& steps = nullptr) {
        TerminalRun run;
        winsize size{24, 80, 0, 0};
        run.pid = forkpty(&run.master, nullptr, nullptr, &size);
        if (run.pid != 0) return run;
        sigset_t hangUp;
        sigemptyset(&hangUp);
        sigaddset(&hangUp, SIGHUP);
        if (blockHangUp) sigprocmask(SIG_BLOCK, &hangUp, nullptr);
        if (steps) steps();
        _exit(RunStation("terminal"));
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
// terminal in the middle of the write: each waits for the write and then closes. A terminal gone
// without a hang-up (SIGHUP blocked) is a lost display: before the write nothing is written and
// nothing pressed, during it the write ends whole, after it the program closes.
TEST_F(ProgramRun, TerminalClosedOrInterruptedWhileTheCardsAreWritten) {
    for (auto [how, when] : {std::pair{"close", kStatusWriting}, {"SIGINT", kStatusWriting}, {"Ctrl-C", kStatusWriting},
                             {"gone", "[>确 定<]"}, {"gone", kStatusWriting}, {"gone", kStatusWritten}}) {
        std::filesystem::remove_all(platform::StateDir() + "/eeprom");  // blank cards again
        Plug(KeshBench(2));
        const std::string blank = ReadFileBytes(hwsim::Bench::StateFileFor(Card(0).Kind(), Card(0).Instance()));
        const bool before = when[0] == '[', gone = std::string(how) == "gone";
        // Settings in GBK with one stray byte: the run writes the station kind back ("01" as "1").
        const std::string settings =
            Gbk("// 工位设定 ") + "\xFF\r\n" + Gbk("[Eeprom]\r\nShutDown=0 ; 关机\r\n[Type]\r\nMachine=");
        WriteFileBytes(HomeFile("ConfigTest.txt"), settings + "01\r\n");
        TerminalRun run = OnTerminal(gone);
        bool pressed = before;
        ASSERT_TRUE(run.ReadUntil(when, [&](const std::string& output) {
            if (!pressed && output.find("[>确 定<]") != std::string::npos)
                pressed = write(run.master, "\r", 1) == 1;  // the operator starts the write
        })) << how;
        if (std::string(how) == "SIGINT") kill(run.pid, SIGINT);
        if (std::string(how) == "Ctrl-C") {
            EXPECT_EQ(write(run.master, "\x03", 1), 1);
        }
        if (std::string(how) != "close" && !gone) {
            // Ended seconds after the write (which takes one), not when the closing terminal hangs it up.
            ReadAll(run.master, 5000);
            EXPECT_TRUE(EndedWithin(run.pid, 1000)) << how << ": still running";
        }
        EXPECT_EQ(run.Wait(), 0) << how;
        if (before) EXPECT_EQ(ReadFileBytes(hwsim::Bench::StateFileFor(Card(1).Kind(), Card(1).Instance())), blank);
        else ExpectEveryCardWrittenWhole(2);
        EXPECT_EQ(ReadFileBytes(HomeFile("ConfigTest.txt")), settings + "1\r\n") << how << ": but for the value";
    }
}

// The test station in a terminal: the operator (the test's steps) starts the tests and passes the
// check and search pages; under the TV audio question the program is asked to close, or its
// terminal goes away without a hang-up. The box ends unanswered: no verdict, no record.
TEST_F(ProgramRun, TestStationClosedOrItsTerminalGoneUnderAQuestion) {
    const auto bench = std::filesystem::path(hwsim::Bench::DefaultPath()).parent_path() / "test-station.json";
    const std::map<std::string, int> signals = {{"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP}, {"SIGINT", SIGINT}};
    for (const char* how : {"SIGTERM", "SIGHUP", "SIGINT", "Ctrl-C", "gone"}) {
        Plug(ReadFileBytes(bench.string()));
        WriteFileBytes(HomeFile("ConfigTest.txt"), ReadFileBytes(PELVATRO_TEST_STATION_CONFIG));
        TerminalRun run = OnTerminal(std::string(how) == "gone", [this] {
            op.When([this] { return op.Text(IDC_STATUS) == "是否使用补丁?"; }, [this] { op.Click(IDC_DEVICE_OK); });
            for (const char* button : {"开始测试", "开始测试", "通过 PASS"})
                op.When([this, button] { return op.IsEnabled(IDC_PASS) && op.Text(IDC_PASS) == button; },
                        [this] { op.Click(IDC_PASS); });
        });
        ASSERT_TRUE(run.ReadUntil("TV音频是否正常")) << how << run.output;
        if (signals.count(how)) kill(run.pid, signals.at(how));
        if (std::string(how) == "Ctrl-C") {
            EXPECT_EQ(write(run.master, "\x03", 1), 1);
        }
        if (std::string(how) != "gone") run.ReadUntil("\x1b[?25h");  // the terminal restored at the end
        EXPECT_EQ(run.Wait(), 0) << how;
        EXPECT_EQ(run.output.find("不正常"), std::string::npos) << how;
        EXPECT_EQ(run.output.find("测试结果"), std::string::npos) << how << ": the result page never showed";
        for (const char* record : {"Pass.txt", "Error.txt"}) EXPECT_FALSE(FileExists(HomeFile(record))) << how;
        std::filesystem::remove(HomeFile("ConfigTest.txt"));
    }
}

}  // namespace
