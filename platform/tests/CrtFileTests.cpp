#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/runtime.h"

namespace {

// A file in the Windows folder, named the way the system names it: the folder as
// GetWindowsDirectoryA answers it (backslashes), then "/" and the file's name.
struct WindowsFolderFile {
    std::string systemPath;
    std::string nativePath;

    WindowsFolderFile(const char* name, const char* content) {
        char folder[MAX_PATH];
        GetWindowsDirectoryA(folder, MAX_PATH);
        systemPath = std::string(folder) + "/" + name;
        nativePath = platform::StateDir() + "/windows/" + name;
        if (content) std::ofstream(nativePath, std::ios::binary) << content;
    }
    ~WindowsFolderFile() { std::filesystem::remove(nativePath); }
};

}  // namespace

TEST(CrtFiles, AccessFindsAFileNamedWithBackslashes) {
    WindowsFolderFile file("crt_access.txt", "x\n");
    ASSERT_NE(file.systemPath.find('\\'), std::string::npos);
    EXPECT_EQ(_access(file.systemPath.c_str(), 0), 0);
    EXPECT_EQ(_access(file.systemPath.c_str(), 4), 0);
    WindowsFolderFile missing("crt_missing.txt", nullptr);
    EXPECT_EQ(_access(missing.systemPath.c_str(), 0), -1);
    EXPECT_EQ(_access(nullptr, 0), -1);
}

TEST(CrtFiles, TextModeOpenReadsLinesWithFgets) {
    WindowsFolderFile file("crt_lines.txt", "first line\r\nsecond\n");
    FILE* stream = fopen(file.systemPath.c_str(), "rt");
    ASSERT_NE(stream, nullptr);
    char line[100];
    ASSERT_NE(fgets(line, sizeof line, stream), nullptr);
    EXPECT_STREQ(line, "first line\r\n");  // the line end as the file has it
    ASSERT_NE(fgets(line, sizeof line, stream), nullptr);
    EXPECT_STREQ(line, "second\n");
    EXPECT_EQ(fgets(line, sizeof line, stream), nullptr);
    EXPECT_TRUE(feof(stream));
    fclose(stream);
}

TEST(CrtFiles, AFolderIsNoFileToOpen) {
    WindowsFolderFile folder("crt_folder.txt", nullptr);
    std::filesystem::create_directory(folder.nativePath);
    EXPECT_EQ(fopen(folder.systemPath.c_str(), "rt"), nullptr);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(fopen(folder.systemPath.c_str(), "wt"), nullptr);
}

TEST(CrtFiles, MissingFileAndInjectedFailuresGiveNoStream) {
    WindowsFolderFile missing("crt_none.txt", nullptr);
    EXPECT_EQ(fopen(missing.systemPath.c_str(), "rt"), nullptr);
    WindowsFolderFile file("crt_fail.txt", "x\n");
    platform::InjectFailure("fopen");
    EXPECT_EQ(fopen(file.systemPath.c_str(), "rt"), nullptr);
    platform::InjectFailure("_access");
    EXPECT_EQ(_access(file.systemPath.c_str(), 0), -1);
    platform::ClearFailures();
    // A stream shares reading and writing: a file another handle writes unshared is refused.
    HANDLE writer = CreateFileA(file.systemPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(fopen(file.systemPath.c_str(), "rt"), nullptr);
    EXPECT_EQ(errno, EACCES);
    CloseHandle(writer);
    FILE* stream = fopen(file.systemPath.c_str(), "rt");
    EXPECT_NE(stream, nullptr);
    if (stream) fclose(stream);
}
