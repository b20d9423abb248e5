#include <gtest/gtest.h>
#include <stdlib.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/runtime.h"

namespace {

std::string Backslashed(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace

TEST(ModuleFileName, IsTheExecutableInsideTheProgramFolderWithBackslashes) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::string name(path, length);
    EXPECT_EQ(name.find('/'), std::string::npos);
    // The system cuts the module path at its last backslash to find its folder.
    std::string folder = name.substr(0, name.rfind('\\'));
    EXPECT_EQ(folder, Backslashed(getenv("PELVATRO_HOME")));
    EXPECT_EQ(name.substr(name.rfind('\\') + 1), "platform_tests");
    EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), path, MAX_PATH), length);
}

TEST(ModuleFileName, ShortBufferIsCutAndTerminated) {
    char full[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, full, MAX_PATH);
    char cut[6];
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameA(nullptr, cut, sizeof cut), DWORD(sizeof cut));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(cut), std::string(full, 5));

    char exact[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameA(nullptr, exact, length), length);  // no room for the terminator
    EXPECT_EQ(exact[length - 1], '\0');
    EXPECT_EQ(GetModuleFileNameA(nullptr, exact, length + 1), length);
}

TEST(ModuleHandle, OnlyTheProcessModuleIsKnown) {
    HMODULE self = GetModuleHandleA(nullptr);
    EXPECT_NE(self, nullptr);
    EXPECT_EQ(GetModuleHandleA("platform_tests.exe"), self);
    SetLastError(0);
    EXPECT_EQ(GetModuleHandleA("absent.dll"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
    char path[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(&path), path, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
}

TEST(Folders, WindowsDirectoryIsAFolderInTheStateDirectory) {
    char folder[MAX_PATH];
    DWORD length = GetWindowsDirectoryA(folder, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::string(folder, length), Backslashed(platform::StateDir() + "/windows"));
    EXPECT_NE(GetFileAttributesA(folder) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    char small[4] = "abc";
    EXPECT_EQ(GetWindowsDirectoryA(small, sizeof small), length + 1);  // the size it needs
    EXPECT_STREQ(small, "abc");
}

TEST(Folders, CurrentAndTemporaryFoldersUseBackslashes) {
    char current[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(std::string(current, length), Backslashed(std::filesystem::current_path().string()));
    char temp[MAX_PATH];
    length = GetTempPathA(MAX_PATH, temp);
    ASSERT_GT(length, 1u);
    EXPECT_EQ(temp[length - 1], '\\');
    EXPECT_NE(GetFileAttributesA(temp) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(Environment, VariablesAnswerTheirValueOrTheSizeTheyNeed) {
    setenv("PELVATRO_MODULE_TEST", "bench-1", 1);
    char value[16];
    EXPECT_EQ(GetEnvironmentVariableA("PELVATRO_MODULE_TEST", value, sizeof value), 7u);
    EXPECT_STREQ(value, "bench-1");
    EXPECT_EQ(GetEnvironmentVariableA("PELVATRO_MODULE_TEST", value, 7), 8u);
    SetLastError(0);
    EXPECT_EQ(GetEnvironmentVariableA("PELVATRO_MODULE_ABSENT", value, sizeof value), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ENVVAR_NOT_FOUND));
    platform::InjectFailure("GetEnvironmentVariableA");
    EXPECT_EQ(GetEnvironmentVariableA("PELVATRO_MODULE_TEST", value, sizeof value), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ENVVAR_NOT_FOUND));
    EXPECT_EQ(GetEnvironmentVariableA("PELVATRO_MODULE_TEST", value, sizeof value), 7u);
    unsetenv("PELVATRO_MODULE_TEST");
}
