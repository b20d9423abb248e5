// The station's program must not die in the middle of a write because its output went away:
// SIGHUP, SIGTERM and a closed terminal ask the window to close (it refuses while it writes),
// a log output whose reader ended is dropped, an unknown display is an error at start, and a
// restart on the terminal takes the old program's place.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <termios.h>

#include <locale.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>

#include "TerminalChild.h"
#include "afxcmn.h"
#include "platform/display.h"
#include "platform/runtime.h"
#include "platform/shell.h"

using namespace terminal_test;

namespace {

constexpr UINT kWriting = 9401;
constexpr int kTicks = 40;

const AfxResourceRegistrar kResources({
    {kWriting, "烧写 Eeprom", 0, 0, 200, 60, WS_POPUP | WS_CAPTION,
     {{1013, "Static", "请稍候，正在烧写......", 8, 5, 180, 13, WS_VISIBLE, 0},
      {1081, "Button", "关 闭", 80, 30, 44, 16, WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 0}}},
});

// A "write" of kTicks timer steps; closing is refused until it has ended.
class WritingDialog : public CDialog {
public:
    WritingDialog() : CDialog(kWriting) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetTimer(1, 10, nullptr);
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR) {
        if (++ticks < kTicks) return;
        KillTimer(1);
        SetDlgItemText(1013, "烧写完成，请重新启动电脑。");
        GetDlgItem(1081)->EnableWindow(TRUE);
        if (ask) answer = MessageBox("烧写正常吗?", "烧写 Eeprom", MB_YESNO);
    }
    afx_msg void OnClose() {
        if (ticks < kTicks) return;  // no quitting while the write runs
        CDialog::OnClose();
    }
    int ticks = 0;
    bool ask = false;  // a question once the write has ended
    int answer = -1;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(WritingDialog, CDialog)
    ON_WM_TIMER()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

// The program's start with the given display; exits with the steps the write took (plus 100 for
// any answer the question got).
int RunWrite(const char* display, DWORD logSettleMs = 0, bool ask = false) {
    setenv("PELVATRO_DISPLAY", display, 1);
    platform::UseVirtualClock(false);
    platform::StartMachineDefaultDisplay();
    if (logSettleMs) platform::SetDisplay(platform::MakeLogDisplay(nullptr, logSettleMs));
    WritingDialog dialog;
    dialog.ask = ask;
    dialog.DoModal();
    platform::StopDisplay();
    return dialog.ticks + (dialog.answer > 0 ? 100 : 0);
}

TEST(StationExit, HangUpTerminateAndAClosedTerminalLetTheWriteEndWhole) {
    // A question box up when the close comes ends without an answer, then the dialog closes. Every
    // signal a shell sends asks to close; a terminal gone without a hang-up (SIGHUP blocked) is a
    // lost display, which asks the same.
    const std::map<std::string, int> signals = {{"SIGHUP", SIGHUP},   {"SIGTERM", SIGTERM}, {"SIGINT", SIGINT},
                                                {"SIGQUIT", SIGQUIT}, {"SIGUSR1", SIGUSR1}, {"SIGUSR2", SIGUSR2},
                                                {"SIGALRM", SIGALRM}};
    for (auto [how, ask] : {std::pair{"SIGHUP", false}, {"SIGTERM", false}, {"close", false}, {"SIGHUP", true},
                            {"SIGTERM", true}, {"SIGINT", true}, {"Ctrl-C", true}, {"SIGQUIT", true}, {"SIGUSR1", false},
                            {"SIGUSR2", true}, {"SIGALRM", true}, {"gone", false}, {"gone", true}}) {
        const bool gone = strcmp(how, "gone") == 0;
        TerminalChild child;
        child.Start([ask = ask, gone] {
            sigset_t hangUp;
            sigemptyset(&hangUp);
            sigaddset(&hangUp, SIGHUP);
            if (gone) sigprocmask(SIG_BLOCK, &hangUp, nullptr);
            return RunWrite("terminal", 0, ask);
        });
        ASSERT_TRUE(child.ReadUntilShown(ask ? "烧写正常吗?" : "请稍候，正在烧写......", 0)) << how;
        const bool closed = gone || strcmp(how, "close") == 0;
        if (closed) {
            close(child.master);
            child.master = -1;
        } else if (strcmp(how, "Ctrl-C") == 0) {
            child.Key("\x03");
        } else {
            kill(child.pid, signals.at(how));
        }
        int status = child.Wait();
        ASSERT_FALSE(WIFSIGNALED(status)) << how << ": killed by signal " << WTERMSIG(status);
        ASSERT_TRUE(WIFEXITED(status)) << how;
        EXPECT_EQ(WEXITSTATUS(status), kTicks) << how << ": the write went to its end, then the program ended";
        if (!closed) {
            size_t end = child.output.rfind("\x1b[?25h");
            EXPECT_NE(end, std::string::npos) << how << ": the cursor is shown again";
        }
    }
}

// Without its fonts the program cannot draw and ends, but the terminal gets its settings and its
// cursor back first, and the reason stands below the picture. The child is this binary started
// afresh, as fonts found once stay found for the process.
TEST(StationExit, AMissingFontEndsTheProgramWithTheTerminalRestoredFirst) {
    if (getenv("PELVATRO_FONTLESS_CHILD")) _exit(RunWrite("terminal"));
    std::string config = testing::TempDir() + "no-fonts.conf";
    FILE* file = fopen(config.c_str(), "w");
    ASSERT_NE(file, nullptr);
    fputs("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n", file);
    fclose(file);
    TerminalChild child;
    child.Start([&] {
        setenv("FONTCONFIG_FILE", config.c_str(), 1);
        setenv("PELVATRO_FONTLESS_CHILD", "1", 1);
        execl("/proc/self/exe", "platform_tests", "--gtest_filter=StationExit.AMissingFont*", nullptr);
        return 127;
    });
    int status = child.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2) << "refused at start";
    size_t restored = child.output.rfind("\x1b[?25h");
    size_t reason = child.output.find("is not installed; install the Debian package");
    ASSERT_NE(reason, std::string::npos) << child.output;
    EXPECT_NE(restored, std::string::npos) << "the cursor is shown again";
    EXPECT_LT(restored, reason) << "the terminal is restored before the reason is written";
}

TEST(StationExit, LogOutputWhoseReaderEndedIsDroppedAndTheRunGoesOn) {
    int out[2], err[2];
    ASSERT_EQ(pipe(out), 0);
    ASSERT_EQ(pipe(err), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]);
        close(err[0]);
        _exit(RunWrite("log", 30));
    }
    close(out[1]);
    close(err[1]);
    // As `head -3` does: three lines, then the reader is gone.
    std::string read3;
    char ch;
    while (std::count(read3.begin(), read3.end(), '\n') < 3 && read(out[0], &ch, 1) == 1) read3 += ch;
    close(out[0]);
    std::string errors;
    char buffer[512];
    for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) errors.append(buffer, size_t(n));
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), kTicks);
    EXPECT_EQ(read3.rfind("window \"烧写 Eeprom\"", 0), 0u) << read3;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find("the log output ended"), std::string::npos) << errors;
}

// Started under a GBK locale, the log and the terminal are written in GBK, as a GBK terminal
// shows them. The locale is built for the test, into a folder of its own (LOCPATH).
TEST(StationExit, TheDisplaysWriteInTheLocalesCharset) {
    const std::string locales = platform::StateDir() + "/locales";
    const std::string build =
        "mkdir -p " + locales + " && localedef -f GBK -i zh_CN " + locales + "/zh_CN.GBK >/dev/null 2>&1";
    std::system(build.c_str());  // exit code 1 for warnings alone: the locale itself is judged
    setenv("LOCPATH", locales.c_str(), 1);
    locale_t gbk = newlocale(LC_CTYPE_MASK, "zh_CN.GBK", locale_t(0));
    if (!gbk) GTEST_SKIP() << "localedef could not build the zh_CN.GBK locale (the locales package has its sources)";
    freelocale(gbk);
    const std::string title = "\xc9\xd5\xd0\xb4 Eeprom";  // "烧写 Eeprom"
    for (auto [display, shown] : {std::pair{"log", "window \"" + title + "\""}, {"terminal", std::string("\xa9\xb0")}}) {  // a corner, "┌"
        TerminalChild child;
        child.Start([display = display] {
            setenv("LC_ALL", "zh_CN.GBK", 1);
            return RunWrite(display, strcmp(display, "log") == 0 ? 30 : 0);
        });
        EXPECT_TRUE(child.ReadUntil(title) && child.ReadUntil(shown)) << display << child.output;
        kill(child.pid, SIGTERM);
        int status = child.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << display;
        EXPECT_EQ(WEXITSTATUS(status), kTicks) << display;
        EXPECT_EQ(child.output.find("烧写"), std::string::npos) << display << ": no UTF-8";
    }
}

TEST(StationExit, UnknownDisplayIsAnErrorNamingTheDisplaysThereAre) {
    int err[2];
    ASSERT_EQ(pipe(err), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(err[1], STDERR_FILENO);
        setenv("PELVATRO_DISPLAY", "wayland", 1);
        platform::StartMachineDefaultDisplay();
        _exit(0);
    }
    close(err[1]);
    std::string errors;
    char buffer[512];
    for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) errors.append(buffer, size_t(n));
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_NE(errors.find("PELVATRO_DISPLAY=wayland"), std::string::npos) << errors;
    EXPECT_NE(errors.find("headless, terminal, log or x11"), std::string::npos) << errors;
}

// An X server that cannot be opened: the next display of the machine (the log, without a TTY).
TEST(StationExit, X11DisplayThatCannotOpenFallsBackToTheLog) {
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        setenv("PELVATRO_DISPLAY", "x11", 1);
        setenv("DISPLAY", ":none", 1);
        platform::StartMachineDefaultDisplay();
        platform::Display* d = platform::CurrentDisplay();
        _exit(d && d->Kind() == platform::DisplayKind::Log ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// The restart runs this test's binary again on the terminal: stage 1 is the old program, which
// asks for its own restart and ends; stage 2 is the new start, in the same process. A stage 1
// asked to close (SIGTERM) after the restart was asked for ends with its own exit code instead.
constexpr char kStage[] = "PELVATRO_RESTART_STAGE";
constexpr char kThisTest[] = "--gtest_filter=StationExit.RestartOnTheTerminalTakesTheOldProgramsPlace";

TEST(StationExit, RestartOnTheTerminalTakesTheOldProgramsPlace) {
    if (const char* stage = getenv(kStage)) {
        if (strcmp(stage, "1") == 0 || strcmp(stage, "closed") == 0) {
            platform::UseVirtualClock(false);
            setenv("PELVATRO_DISPLAY", "terminal", 1);
            platform::StartMachineDefaultDisplay();
            char path[MAX_PATH] = {};
            GetModuleFileNameA(nullptr, path, MAX_PATH);
            if (strcmp(stage, "closed") == 0) raise(SIGTERM);
            setenv(kStage, std::to_string(getpid()).c_str(), 1);
            HINSTANCE started = ShellExecuteA(nullptr, nullptr, path, nullptr, nullptr, SW_SHOWNORMAL);
            platform::StopDisplay();
            if (reinterpret_cast<INT_PTR>(started) > 32) platform::RestartIfAsked(0);
            exit(3);
        }
        // Stage 2: the new start, in the old one's place, reads the operator's key.
        bool foreground = tcgetpgrp(STDIN_FILENO) == getpgrp() && atoi(stage) == getpid();
        printf("new station %s\r\n", foreground ? "owns the terminal" : "is in the background");
        fflush(stdout);
        pollfd p{STDIN_FILENO, POLLIN, 0};
        char key = 0;
        bool read = poll(&p, 1, 10000) == 1 && ::read(STDIN_FILENO, &key, 1) == 1;
        _exit(read && key == 'k' && foreground ? 7 : 8);
    }
    for (const char* first : {"1", "closed"}) {
        TerminalChild child;
        child.Start([first] {
            setenv(kStage, first, 1);
            execl("/proc/self/exe", "platform_tests", kThisTest, static_cast<char*>(nullptr));
            return 10;
        });
        const bool closed = strcmp(first, "closed") == 0;
        if (!closed) {
            ASSERT_TRUE(child.ReadUntil("new station"));
            EXPECT_TRUE(child.ReadUntil("owns the terminal"));
            child.Key("k\n");
        }
        int status = child.Wait();
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), closed ? 3 : 7) << first << ": the new station, or the old one's own end";
        EXPECT_EQ(child.output.find("new station") == std::string::npos, closed) << child.output;
    }
}

}  // namespace
