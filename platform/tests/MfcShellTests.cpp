// The shell and the power-off never act on the machine unless the environment says how.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>

#include "afxwin.h"
#include "platform/runtime.h"
#include "platform/shell.h"

namespace {

TEST(Shell, OpeningAFileWithoutAnOpenerIsTracedAndRefused) {
    unsetenv("PELVATRO_OPENER");
    HINSTANCE r = ShellExecuteA(nullptr, nullptr, "C:\\Program Files\\Windows Media Player\\wmplayer.exe",
                                "C:\\Pelvatro\\10_05_07.mpg", nullptr, SW_SHOWNORMAL);
    EXPECT_LE(reinterpret_cast<INT_PTR>(r), 32);
    EXPECT_TRUE(platform::TraceContains("no opener configured"));
}

TEST(Shell, OpeningAFileRunsTheConfiguredOpener) {
    std::string script = platform::StateDir() + "/opener.sh";
    {
        std::ofstream out(script);
        out << "#!/bin/sh\nexit 0\n";
    }
    chmod(script.c_str(), 0755);
    setenv("PELVATRO_OPENER", script.c_str(), 1);
    HINSTANCE r = ShellExecuteA(nullptr, nullptr, "/tmp/player", "file.mpg", nullptr, SW_SHOWNORMAL);
    unsetenv("PELVATRO_OPENER");
    EXPECT_GT(reinterpret_cast<INT_PTR>(r), 32);
}

using Args = std::vector<std::string>;

TEST(Shell, ParametersAreSplitByTheWindowsCommandLineRules) {
    EXPECT_EQ(platform::SplitCommandLine("a  b\tc"), (Args{"a", "b", "c"}));
    EXPECT_EQ(platform::SplitCommandLine("\"C:\\My Videos\\10_05_07.mpg\" /play"),
              (Args{"C:\\My Videos\\10_05_07.mpg", "/play"}))
        << "quotes group, backslashes not before a quote stay";
    EXPECT_EQ(platform::SplitCommandLine("\"open ended  run"), (Args{"open ended  run"}))
        << "an unclosed quote runs to the end";
    EXPECT_EQ(platform::SplitCommandLine("a\\\\\"b c\""), (Args{"a\\b c"})) << "2n backslashes: n, the quote groups";
    EXPECT_EQ(platform::SplitCommandLine("a\\\"b"), (Args{"a\"b"})) << "2n+1 backslashes: n and a literal quote";
    EXPECT_EQ(platform::SplitCommandLine("\"say \"\"hi\"\"\""), (Args{"say \"hi\""}));
    EXPECT_EQ(platform::SplitCommandLine("\"\" x"), (Args{"", "x"})) << "an empty quoted part is a part";
    EXPECT_EQ(platform::SplitCommandLine("   "), Args{});
}

struct RecordedShell : testing::Test {
    RecordedShell() {
        platform::ClearShellRequests();
        platform::SetShellStartsNothing(true);
    }
    ~RecordedShell() override {
        platform::SetShellStartsNothing(false);
        platform::ClearShellRequests();
        unsetenv("PELVATRO_OPENER");
    }
};

TEST_F(RecordedShell, APlayerInAnyFolderHasTheOpenerPlayItsParametersAsNativePaths) {
    setenv("PELVATRO_OPENER", "xdg-open", 1);
    for (const char* player : {"C:\\Program Files\\Windows Media Player\\wmplayer.exe", "D:\\tools\\MPLAYER2.EXE",
                               "/opt/wmplayer.exe"}) {
        HINSTANCE r = ShellExecuteA(nullptr, nullptr, player, "\"C:\\Station Home\\10_05_07.mpg\" C:\\b.mpg", nullptr,
                                    SW_SHOWNORMAL);
        EXPECT_GT(reinterpret_cast<INT_PTR>(r), 32) << player;
    }
    std::vector<platform::ShellRequest> requests = platform::ShellRequests();
    ASSERT_EQ(requests.size(), 3u);
    for (const platform::ShellRequest& request : requests) {
        EXPECT_TRUE(request.player);
        EXPECT_FALSE(request.restart);
        EXPECT_EQ(request.command, (Args{"xdg-open", "C:/Station Home/10_05_07.mpg", "C:/b.mpg"})) << request.file;
    }
}

TEST_F(RecordedShell, AnotherFileGoesToTheOpenerWithItsParameters) {
    setenv("PELVATRO_OPENER", "xdg-open", 1);
    ShellExecuteA(nullptr, nullptr, "C:\\docs\\wmplayer.exe.txt", "x y", nullptr, SW_SHOWNORMAL);
    ASSERT_EQ(platform::ShellRequests().size(), 1u);
    EXPECT_FALSE(platform::ShellRequests()[0].player);
    EXPECT_EQ(platform::ShellRequests()[0].command, (Args{"xdg-open", "C:/docs/wmplayer.exe.txt", "x y"}));
}

TEST_F(RecordedShell, WithoutAnOpenerThePlayerIsRefusedAndTheRequestStillRecorded) {
    unsetenv("PELVATRO_OPENER");
    platform::ClearTrace();
    HINSTANCE r = ShellExecuteA(nullptr, nullptr, "C:\\wmplayer.exe", "\"C:\\a b.mpg\"", nullptr, SW_SHOWNORMAL);
    EXPECT_LE(reinterpret_cast<INT_PTR>(r), 32);
    EXPECT_TRUE(platform::TraceContains("no opener configured"));
    ASSERT_EQ(platform::ShellRequests().size(), 1u);
    EXPECT_EQ(platform::ShellRequests()[0].parameters, "\"C:\\a b.mpg\"");
    EXPECT_TRUE(platform::ShellRequests()[0].command.empty());
}

TEST_F(RecordedShell, TheProgramsOwnRestartIsRecordedAndNothingStarts) {
    char own[MAX_PATH] = {};
    ASSERT_TRUE(GetModuleFileNameA(nullptr, own, sizeof own));
    platform::ClearTrace();
    HINSTANCE r = ShellExecuteA(nullptr, nullptr, own, nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<INT_PTR>(r), 32);
    ASSERT_EQ(platform::ShellRequests().size(), 1u);
    EXPECT_TRUE(platform::ShellRequests()[0].restart);
    EXPECT_FALSE(platform::ShellRequests()[0].command.empty()) << "the command line it would run";
    EXPECT_TRUE(platform::TraceContains("recorded, not started"));
}

TEST(Clock, SetLocalTimeMovesThisProcesssWallClockOnly) {
    SYSTEMTIME set{};
    set.wYear = 2026;
    set.wMonth = 3;
    set.wDay = 14;
    set.wHour = 10;
    set.wMinute = 5;
    set.wSecond = 7;
    ASSERT_TRUE(SetLocalTime(&set));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(now.wHour, 10);
    EXPECT_EQ(now.wMinute, 5);
    EXPECT_EQ(now.wSecond, 7);
    platform::AdvanceClock(1000);
    GetLocalTime(&now);
    EXPECT_EQ(now.wSecond, 8) << "the wall clock goes on with the platform clock";
    set.wHour = 24;
    EXPECT_FALSE(SetLocalTime(&set));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

// The calendar is the system clock when it is read, also after the clock was set; intervals
// keep a clock that never jumps.
TEST(Clock, TheCalendarAnswersTheSystemClockAsSetAndIntervalsKeepTheirPace) {
    const CTime before = CTime::GetCurrentTime();
    const ULONGLONG tick = platform::ClockNow();
    platform::StepSystemClock(-3600 * 1000);  // set back an hour
    EXPECT_NEAR(double((CTime::GetCurrentTime() - before).GetTotalSeconds()), -3600.0, 1.0);
    Sleep(10000);
    EXPECT_GE(platform::ClockNow() - tick, 10000u);
    EXPECT_LT(platform::ClockNow() - tick, 11000u) << "ten seconds stay ten seconds";
    EXPECT_NEAR(double((CTime::GetCurrentTime() - before).GetTotalSeconds()), -3590.0, 1.0);
    platform::StepSystemClock(3600 * 1000);
}

TEST(Power, ExitWindowsWithoutACommandLeavesTheMachineOnAndSaysSo) {
    unsetenv("PELVATRO_POWEROFF_COMMAND");
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES privileges{};
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid));
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &privileges, 16, nullptr, nullptr));
    EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, 0));
    EXPECT_TRUE(platform::TraceContains("no power-off command configured"));
}

TEST(Power, ExitWindowsRunsTheConfiguredCommand) {
    std::string marker = platform::StateDir() + "/powered-off";
    setenv("PELVATRO_POWEROFF_COMMAND", ("touch " + marker).c_str(), 1);
    EXPECT_TRUE(ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, 0));
    unsetenv("PELVATRO_POWEROFF_COMMAND");
    EXPECT_EQ(access(marker.c_str(), F_OK), 0);
}

}  // namespace
