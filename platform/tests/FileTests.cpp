#include <gtest/gtest.h>

#include <windows.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/runtime.h"
#include "platform/winfile.h"

namespace {

// A path inside the test's program folder, written the Windows way.
std::string HomePath(const std::string& name) {
    std::string path = platform::HomeDir() + "\\" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

HANDLE Open(const std::string& path, DWORD access, DWORD creation) {
    return CreateFileA(path.c_str(), access, 0, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void WriteText(const std::string& path, const std::string& text) {
    HANDLE file = Open(path, GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr));
    ASSERT_EQ(written, text.size());
    ASSERT_TRUE(CloseHandle(file));
}

std::string ReadText(const std::string& path) {
    HANDLE file = Open(path, GENERIC_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[256];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

class Files : public testing::Test {
protected:
    void TearDown() override { platform::ClearFailures(); }
};

}  // namespace

TEST_F(Files, WritesAndReadsBackThroughBackslashPaths) {
    ASSERT_TRUE(CreateDirectoryA(HomePath("data").c_str(), nullptr));
    std::string path = HomePath("data\\Pass.txt");
    WriteText(path, "hello\r\n");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), DWORD(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_NE(GetFileAttributesA(HomePath("data").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    HANDLE file = Open(path, GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 7;
    EXPECT_EQ(GetFileSize(file, &high), 7u);
    EXPECT_EQ(high, 0u);
    char buffer[32];
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "hello\r\n");
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));  // the end of the file
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(platform::NativePath("a\\b/c"), "a/b/c");
    EXPECT_EQ(platform::NativePath("C:\\x"), "C:/x");
    EXPECT_EQ(platform::NativePath(nullptr), "");
}

TEST_F(Files, CreationDispositionsFollowWindows) {
    std::string path = HomePath("Error.txt");
    WriteText(path, "first");

    SetLastError(0);
    EXPECT_EQ(Open(path, GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_EXISTS));

    HANDLE file = Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    CloseHandle(file);
    EXPECT_EQ(ReadText(path), "first");

    file = Open(path, GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    CloseHandle(file);
    EXPECT_EQ(ReadText(path), "");

    file = Open(HomePath("new.txt"), GENERIC_WRITE, OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    CloseHandle(file);

    WriteText(path, "again");
    EXPECT_EQ(Open(path, GENERIC_READ, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    file = Open(path, GENERIC_WRITE, TRUNCATE_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(ReadText(path), "");
}

TEST_F(Files, MissingFilesAndFoldersAnswerTheirErrors) {
    SetLastError(0);
    EXPECT_EQ(Open(HomePath("absent.txt"), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Open(HomePath("nofolder\\a.txt"), GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA(HomePath("absent.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA(HomePath("nofolder\\a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(DeleteFileA(HomePath("absent.txt").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(CreateDirectoryA(HomePath("nofolder\\sub").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Open("", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
}

TEST_F(Files, FoldersAreNoFiles) {
    std::string folder = HomePath("folder");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(Open(folder, GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Open(folder, GENERIC_WRITE, OPEN_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteFileA(folder.c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
}

TEST_F(Files, HandlesAreCheckedForKindAndAccess) {
    std::string path = HomePath("a.txt");
    WriteText(path, "abc");
    HANDLE file = Open(path, GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[4];
    DWORD read = 9;
    EXPECT_FALSE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(read, 0u);
    ASSERT_TRUE(CloseHandle(file));
    EXPECT_FALSE(WriteFile(file, "x", 1, &read, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));

    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_FALSE(ReadFile(event, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    CloseHandle(event);

    file = Open(path, GENERIC_READ, OPEN_EXISTING);
    EXPECT_FALSE(SetEndOfFile(file));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    CloseHandle(file);
}

TEST_F(Files, FilePointerMovesAndEndOfFileCuts) {
    std::string path = HomePath("eeprom.bin");
    WriteText(path, "0123456789");
    HANDLE file = Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SetFilePointer(file, -3, nullptr, FILE_END), 7u);
    char buffer[8];
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file, buffer, 8, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "789");

    LONG high = 0;
    EXPECT_EQ(SetFilePointer(file, 4, &high, FILE_BEGIN), 4u);
    EXPECT_EQ(high, 0);
    ASSERT_TRUE(SetEndOfFile(file));
    EXPECT_EQ(GetFileSize(file, nullptr), 4u);
    EXPECT_TRUE(FlushFileBuffers(file));

    EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 4u);  // unmoved by the failure

    // An OVERLAPPED read of a plain file reads at its offset and signals its event.
    OVERLAPPED at{};
    at.Offset = 1;
    at.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(ReadFile(file, buffer, 2, &read, &at));
    EXPECT_EQ(std::string(buffer, read), "12");
    EXPECT_EQ(at.InternalHigh, 2u);
    EXPECT_EQ(WaitForSingleObject(at.hEvent, 0), WAIT_OBJECT_0);
    CloseHandle(at.hEvent);
    CloseHandle(file);
}

TEST_F(Files, CopyAndMoveKeepWhatTheyMustNotOverwrite) {
    std::string a = HomePath("a.txt"), b = HomePath("b.txt"), c = HomePath("c.txt");
    WriteText(a, "alpha");
    WriteText(b, "beta");

    EXPECT_FALSE(CopyFileA(a.c_str(), b.c_str(), TRUE));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_EXISTS));
    EXPECT_EQ(ReadText(b), "beta");
    ASSERT_TRUE(CopyFileA(a.c_str(), b.c_str(), FALSE));
    EXPECT_EQ(ReadText(b), "alpha");

    // A copy onto itself fails and leaves the file whole.
    EXPECT_FALSE(CopyFileA(a.c_str(), a.c_str(), FALSE));
    EXPECT_EQ(ReadText(a), "alpha");
    EXPECT_FALSE(CopyFileA(HomePath("absent").c_str(), c.c_str(), FALSE));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));

    WriteText(b, "beta");
    EXPECT_FALSE(MoveFileA(a.c_str(), b.c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadText(a), "alpha");
    EXPECT_EQ(ReadText(b), "beta");
    ASSERT_TRUE(MoveFileA(a.c_str(), c.c_str()));
    EXPECT_EQ(ReadText(c), "alpha");
    EXPECT_EQ(GetFileAttributesA(a.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(MoveFileA(a.c_str(), HomePath("d.txt").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    ASSERT_TRUE(DeleteFileA(c.c_str()));
    EXPECT_EQ(GetFileAttributesA(c.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A temporary name is taken by creating the file exclusively: each call gets a file of its own,
// empty, in the folder asked for; a number given forms the name and creates nothing.
TEST_F(Files, TemporaryFilesAreCreatedUnderNamesNobodyHolds) {
    const std::string folder = HomePath("snaps");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    char given[MAX_PATH];
    EXPECT_EQ(GetTempFileNameA(folder.c_str(), "bmpx", 0x21A2B, given), 0x21A2Bu);
    EXPECT_EQ(std::string(given), folder + "\\bmp1A2B.TMP");
    EXPECT_EQ(GetFileAttributesA(given), INVALID_FILE_ATTRIBUTES);

    char first[MAX_PATH], second[MAX_PATH];
    const UINT number = GetTempFileNameA(folder.c_str(), "bmp", 0, first);
    ASSERT_NE(number, 0u);
    ASSERT_NE(GetTempFileNameA((folder + "\\").c_str(), "bmp", 0, second), 0u);
    EXPECT_NE(std::string(first), std::string(second));
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X", number);
    EXPECT_EQ(std::string(first), folder + "\\bmp" + hex + ".TMP");
    EXPECT_EQ(ReadText(first), "");
    EXPECT_EQ(ReadText(second), "");

    EXPECT_EQ(GetTempFileNameA(HomePath("absent").c_str(), "bmp", 0, first), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetTempFileNameA(std::string(MAX_PATH - 13, 'a').c_str(), "bmp", 0, first), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_BUFFER_OVERFLOW));
}

TEST_F(Files, AReadOnlyFileIsNotReplaced) {
    std::string kept = HomePath("kept.txt"), update = HomePath("update.txt");
    WriteText(kept, "old");
    WriteText(update, "new");
    ASSERT_EQ(chmod(platform::NativePath(kept.c_str()).c_str(), 0444), 0);
    EXPECT_NE(GetFileAttributesA(kept.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_FALSE(MoveFileExA(update.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadText(kept), "old");
    EXPECT_EQ(ReadText(update), "new");
    EXPECT_NE(GetFileAttributesA(kept.c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << "the file keeps its mode";
    ASSERT_EQ(chmod(platform::NativePath(kept.c_str()).c_str(), 0644), 0);
    EXPECT_TRUE(MoveFileExA(update.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ReadText(kept), "new");
}

// A second open is refused when it would do what the first does not share, or does not share
// what the first does; an open that neither reads nor writes is not checked.
TEST_F(Files, ASecondOpenThatTheFirstDoesNotShareIsASharingViolation) {
    const DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
    struct Row {
        DWORD firstAccess, firstShare, secondAccess, secondShare;
        bool opens;
    } rows[] = {
        {R, SR, R, SR, true},           {R, SR, W, SR | SW, false}, {W, SR, R, SR, false},
        {W, SR | SW, R | W, SR | SW, true}, {R, 0, R, SR | SW, false}, {0, 0, R | W, 0, true},
        {R, SR | SW, R, SR, true},      {R, SR | SW, R, SW, false},
    };
    const std::string path = HomePath("Pass.txt");
    for (const Row& row : rows) {
        WriteText(path, "kept");
        HANDLE first = CreateFileA(path.c_str(), row.firstAccess, row.firstShare, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(first, INVALID_HANDLE_VALUE);
        HANDLE second =
            CreateFileA(path.c_str(), row.secondAccess, row.secondShare, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, row.opens) << row.firstAccess << "/" << row.firstShare << " then "
                                                              << row.secondAccess << "/" << row.secondShare;
        if (row.opens) CloseHandle(second);
        else EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
        CloseHandle(first);
        if (!row.opens) EXPECT_EQ(ReadText(path), "kept") << "a refused CREATE_ALWAYS truncates nothing";
    }
}

TEST_F(Files, AFileOpenWithoutShareDeleteIsNotReplaced) {
    const std::string kept = HomePath("kept.txt"), update = HomePath("update.txt");
    WriteText(kept, "old");
    WriteText(update, "new");
    HANDLE held = CreateFileA(kept.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    EXPECT_FALSE(MoveFileExA(update.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadText(update), "new");
    CloseHandle(held);
    EXPECT_EQ(ReadText(kept), "old");
    held = CreateFileA(kept.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
    EXPECT_TRUE(MoveFileExA(update.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING));
    CloseHandle(held);
    EXPECT_EQ(ReadText(kept), "new");
}

// Too small a buffer answers the size the path needs, its terminating NUL counted; a path of
// MAX_PATH or more is answered whole.
TEST_F(Files, AFinalPathTooLongForTheBufferAnswersTheSizeItNeeds) {
    std::string folder = HomePath(std::string(200, 'f'));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string path = folder + "\\" + std::string(100, 'n') + ".ini";
    WriteText(path, "x");
    HANDLE file = Open(path, GENERIC_READ, OPEN_EXISTING);
    char small[8];
    const DWORD needed = GetFinalPathNameByHandleA(file, small, sizeof small, FILE_NAME_NORMALIZED);
    ASSERT_GT(needed, DWORD(MAX_PATH));
    std::vector<char> whole(needed);
    EXPECT_EQ(GetFinalPathNameByHandleA(file, whole.data(), needed - 1, FILE_NAME_NORMALIZED), needed);
    EXPECT_EQ(GetFinalPathNameByHandleA(file, whole.data(), needed, FILE_NAME_NORMALIZED), needed - 1);
    const std::string answered(whole.data());
    EXPECT_EQ(answered.size(), needed - 1);
    EXPECT_EQ(answered.substr(answered.size() - 306), "\\" + std::string(200, 'f') + "\\" + std::string(100, 'n') + ".ini");
    CloseHandle(file);
}

TEST_F(Files, InjectedFailuresAnswerTheInjectedError) {
    std::string path = HomePath("ConfigTest.txt");
    platform::InjectFailure("CreateFileA", 1, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Open(path, GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));

    HANDLE file = Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    platform::InjectFailure("WriteFile", 1, ERROR_DISK_FULL);
    DWORD done = 5;
    EXPECT_FALSE(WriteFile(file, "abc", 3, &done, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL));
    EXPECT_EQ(done, 0u);
    ASSERT_TRUE(WriteFile(file, "abc", 3, &done, nullptr));

    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    platform::InjectFailure("ReadFile");
    char buffer[4];
    EXPECT_FALSE(ReadFile(file, buffer, 3, &done, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_READ_FAULT));
    ASSERT_TRUE(ReadFile(file, buffer, 3, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "abc");
    CloseHandle(file);
}
