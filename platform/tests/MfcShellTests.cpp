// The shell and the power-off never act on the machine unless the environment says how.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>

#include "afxwin.h"
#include "platform/runtime.h"

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
