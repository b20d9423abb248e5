// Structured storage: compound files written, committed, read back and refused.
#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "platform/runtime.h"

namespace {

constexpr DWORD kCreateTransacted = STGM_CREATE | STGM_TRANSACTED | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
constexpr DWORD kStreamCreate = STGM_WRITE | STGM_CREATE | STGM_SHARE_EXCLUSIVE;
constexpr DWORD kStreamRead = STGM_READ | STGM_SHARE_EXCLUSIVE;
constexpr DWORD kOpenForLoad = STGM_TRANSACTED | STGM_READ | STGM_SHARE_DENY_WRITE;

// A path in the test's state folder, written the Windows way, as a wide text.
std::wstring StatePath(const std::string& name) {
    std::string path = platform::StateDir() + "\\" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return platform::Utf8ToWide(path);
}

std::string Native(const std::wstring& path) { return platform::NativePath(platform::WideToUtf8(path).c_str()); }

std::vector<uint8_t> FileBytes(const std::wstring& path) {
    std::ifstream in(Native(path), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(Native(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(seed + i * 7 + (i >> 8));
    return bytes;
}

void WriteStream(IStorage* storage, const wchar_t* name, const std::vector<uint8_t>& bytes) {
    CComPtr<IStream> stream;
    ASSERT_EQ(storage->CreateStream(name, kStreamCreate, 0, 0, &stream), S_OK);
    ULONG written = 0;
    ASSERT_EQ(stream->Write(bytes.data(), ULONG(bytes.size()), &written), S_OK);
    ASSERT_EQ(written, bytes.size());
}

// The whole stream (nothing when it does not open).
std::vector<uint8_t> ReadStream(IStorage* storage, const wchar_t* name) {
    CComPtr<IStream> stream;
    std::vector<uint8_t> bytes;
    if (FAILED(storage->OpenStream(name, nullptr, kStreamRead, 0, &stream))) return bytes;
    uint8_t chunk[1000];
    ULONG got = 0;
    while (SUCCEEDED(stream->Read(chunk, sizeof chunk, &got)) && got) bytes.insert(bytes.end(), chunk, chunk + got);
    return bytes;
}

// What opening the stream for reading answers.
HRESULT OpenResult(IStorage* storage, const wchar_t* name) {
    CComPtr<IStream> stream;
    return storage->OpenStream(name, nullptr, kStreamRead, 0, &stream);
}

HRESULT OpenForLoad(const std::wstring& path, IStorage** storage) {
    return StgOpenStorage(path.c_str(), nullptr, kOpenForLoad, nullptr, 0, storage);
}

void WriteGraphFile(const std::wstring& path, const std::vector<uint8_t>& graph, const std::vector<uint8_t>& extra) {
    CComPtr<IStorage> storage;
    ASSERT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &storage), S_OK);
    WriteStream(storage, L"ActiveMovieGraph", graph);
    WriteStream(storage, L"Extra", extra);
    ASSERT_EQ(storage->Commit(STGC_DEFAULT), S_OK);
}

TEST(StorageFiles, CommittedFileReadsBackStreamByStream) {
    std::wstring path = StatePath("two.grf");
    std::vector<uint8_t> graph = Pattern(300, 1), extra = Pattern(9000, 2);  // mini stream and regular sectors
    WriteGraphFile(path, graph, extra);

    EXPECT_EQ(StgIsStorageFile(path.c_str()), S_OK);
    CComPtr<IStorage> storage;
    ASSERT_EQ(OpenForLoad(path, &storage), S_OK);
    EXPECT_EQ(ReadStream(storage, L"ActiveMovieGraph"), graph);
    EXPECT_EQ(ReadStream(storage, L"Extra"), extra);
    EXPECT_EQ(OpenResult(storage, L"Missing"), STG_E_FILENOTFOUND);
}

TEST(StorageFiles, ElementNamesCompareWithoutCase) {
    std::wstring path = StatePath("case.grf");
    WriteGraphFile(path, Pattern(10, 3), Pattern(10, 4));
    CComPtr<IStorage> storage;
    ASSERT_EQ(OpenForLoad(path, &storage), S_OK);
    EXPECT_EQ(ReadStream(storage, L"activemoviegraph"), Pattern(10, 3));
}

TEST(StorageFiles, UncommittedTransactionLeavesNothingInTheFile) {
    std::wstring path = StatePath("uncommitted.grf");
    {
        CComPtr<IStorage> storage;
        ASSERT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &storage), S_OK);
        WriteStream(storage, L"ActiveMovieGraph", Pattern(500, 5));
    }
    EXPECT_EQ(StgIsStorageFile(path.c_str()), S_OK);
    CComPtr<IStorage> storage;
    ASSERT_EQ(OpenForLoad(path, &storage), S_OK);
    EXPECT_EQ(OpenResult(storage, L"ActiveMovieGraph"), STG_E_FILENOTFOUND);
}

TEST(StorageFiles, UncommittedChangesToAnExistingFileAreDropped) {
    std::wstring path = StatePath("kept.grf");
    WriteGraphFile(path, Pattern(100, 6), Pattern(100, 7));
    std::vector<uint8_t> before = FileBytes(path);
    {
        CComPtr<IStorage> storage;
        ASSERT_EQ(StgOpenStorage(path.c_str(), nullptr, STGM_TRANSACTED | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                 nullptr, 0, &storage),
                  S_OK);
        ASSERT_EQ(storage->DestroyElement(L"Extra"), S_OK);
        WriteStream(storage, L"ActiveMovieGraph", Pattern(100, 8));
    }
    EXPECT_EQ(FileBytes(path), before);
}

TEST(StorageFiles, RevertDropsChangesAndRevertsOpenStreams) {
    std::wstring path = StatePath("revert.grf");
    CComPtr<IStorage> storage;
    ASSERT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &storage), S_OK);
    WriteStream(storage, L"Kept", Pattern(20, 1));
    ASSERT_EQ(storage->Commit(STGC_DEFAULT), S_OK);
    CComPtr<IStream> open;
    ASSERT_EQ(storage->CreateStream(L"Dropped", kStreamCreate, 0, 0, &open), S_OK);
    ASSERT_EQ(storage->Revert(), S_OK);
    EXPECT_EQ(open->Write("x", 1, nullptr), STG_E_REVERTED);
    EXPECT_EQ(OpenResult(storage, L"Dropped"), STG_E_FILENOTFOUND);
    EXPECT_EQ(ReadStream(storage, L"Kept"), Pattern(20, 1));
}

TEST(StorageFiles, DirectModeWritesThroughWithoutCommit) {
    std::wstring path = StatePath("direct.grf");
    {
        CComPtr<IStorage> storage;
        ASSERT_EQ(StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage),
                  S_OK);
        WriteStream(storage, L"Direct", Pattern(5000, 9));
    }
    CComPtr<IStorage> storage;
    ASSERT_EQ(OpenForLoad(path, &storage), S_OK);
    EXPECT_EQ(ReadStream(storage, L"Direct"), Pattern(5000, 9));
}

TEST(StorageFiles, NestedStoragesCommitIntoTheirParent) {
    std::wstring path = StatePath("nested.grf");
    {
        CComPtr<IStorage> root, inner;
        ASSERT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &root), S_OK);
        ASSERT_EQ(root->CreateStorage(L"Inner", STGM_CREATE | STGM_TRANSACTED | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                      0, 0, &inner),
                  S_OK);
        WriteStream(inner, L"Committed", Pattern(70, 1));
        ASSERT_EQ(inner->Commit(STGC_DEFAULT), S_OK);
        WriteStream(inner, L"NotCommitted", Pattern(70, 2));
        inner.Release();
        ASSERT_EQ(root->Commit(STGC_DEFAULT), S_OK);
    }
    CComPtr<IStorage> root, inner;
    ASSERT_EQ(OpenForLoad(path, &root), S_OK);
    ASSERT_EQ(root->OpenStorage(L"Inner", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &inner), S_OK);
    EXPECT_EQ(ReadStream(inner, L"Committed"), Pattern(70, 1));
    EXPECT_EQ(OpenResult(inner, L"NotCommitted"), STG_E_FILENOTFOUND);
}

TEST(StorageFiles, LargeStreamsNeedingManyFatSectorsRoundTrip) {
    // More than 109 FAT sectors: the DIFAT continues in sectors of its own.
    std::wstring path = StatePath("large.grf");
    std::vector<uint8_t> big = Pattern(8 * 1024 * 1024, 11);
    WriteGraphFile(path, big, Pattern(4096, 12));
    CComPtr<IStorage> storage;
    ASSERT_EQ(OpenForLoad(path, &storage), S_OK);
    EXPECT_TRUE(ReadStream(storage, L"ActiveMovieGraph") == big);
    EXPECT_EQ(ReadStream(storage, L"Extra"), Pattern(4096, 12));
}

TEST(StorageFiles, StgIsStorageFileTellsCompoundFilesFromOthers) {
    std::wstring compound = StatePath("compound.grf"), text = StatePath("text.txt"), empty = StatePath("empty");
    WriteGraphFile(compound, Pattern(1, 1), Pattern(1, 1));
    WriteBytes(text, std::vector<uint8_t>(2000, 'a'));
    WriteBytes(empty, {});
    EXPECT_EQ(StgIsStorageFile(compound.c_str()), S_OK);
    EXPECT_EQ(StgIsStorageFile(text.c_str()), S_FALSE);
    EXPECT_EQ(StgIsStorageFile(empty.c_str()), S_FALSE);
    EXPECT_EQ(StgIsStorageFile(StatePath("missing.grf").c_str()), STG_E_FILENOTFOUND);
}

TEST(StorageFiles, ForeignTruncatedAndDamagedFilesAreRefused) {
    std::wstring good = StatePath("good.grf");
    WriteGraphFile(good, Pattern(3000, 1), Pattern(6000, 2));
    std::vector<uint8_t> bytes = FileBytes(good);

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        HRESULT expected;
    };
    std::vector<uint8_t> truncatedHeader(bytes.begin(), bytes.begin() + 300);
    std::vector<uint8_t> truncatedBody(bytes.begin(), bytes.begin() + 512 + 512 * 3);
    std::vector<uint8_t> badVersion = bytes;
    badVersion[26] = 7;
    std::vector<uint8_t> dirOutside = bytes;
    dirOutside[48] = 0xF0;  // first directory sector far past the end
    dirOutside[49] = 0xFF;
    std::vector<uint8_t> fatLoop = bytes;
    // The FAT is sector 0 (offset 512): point the directory's sector at itself.
    uint32_t dirSector = uint32_t(bytes[48]) | uint32_t(bytes[49]) << 8;
    std::memcpy(&fatLoop[512 + 4 * dirSector], &dirSector, 4);
    std::vector<Case> cases = {
        {"foreign", std::vector<uint8_t>(4096, 'x'), STG_E_FILEALREADYEXISTS},
        {"truncated header", truncatedHeader, STG_E_INVALIDHEADER},
        {"truncated body", truncatedBody, STG_E_DOCFILECORRUPT},
        {"bad version", badVersion, STG_E_INVALIDHEADER},
        {"directory outside", dirOutside, STG_E_DOCFILECORRUPT},
        {"chain loop", fatLoop, STG_E_DOCFILECORRUPT},
    };
    for (const Case& c : cases) {
        std::wstring path = StatePath("damaged.grf");
        WriteBytes(path, c.bytes);
        CComPtr<IStorage> storage;
        EXPECT_EQ(OpenForLoad(path, &storage), c.expected) << c.name;
        EXPECT_EQ(storage.p, nullptr) << c.name;
    }
    CComPtr<IStorage> storage;
    EXPECT_EQ(OpenForLoad(StatePath("missing.grf"), &storage),
              STG_E_FILENOTFOUND);
}

TEST(StorageFiles, ShareModesExcludeConflictingOpens) {
    std::wstring path = StatePath("shared.grf");
    WriteGraphFile(path, Pattern(1, 1), Pattern(1, 1));
    CComPtr<IStorage> reader1, reader2, writer;
    ASSERT_EQ(OpenForLoad(path, &reader1), S_OK);
    EXPECT_EQ(OpenForLoad(path, &reader2), S_OK);
    EXPECT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &writer), STG_E_SHAREVIOLATION);
    reader1.Release();
    reader2.Release();
    EXPECT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &writer), S_OK);
}

TEST(StorageFiles, ReadOnlyStoragesAndStreamsRefuseWrites) {
    std::wstring path = StatePath("readonly.grf");
    WriteGraphFile(path, Pattern(10, 1), Pattern(10, 2));
    CComPtr<IStorage> storage;
    ASSERT_EQ(OpenForLoad(path, &storage), S_OK);
    CComPtr<IStream> stream;
    EXPECT_EQ(storage->CreateStream(L"New", kStreamCreate, 0, 0, &stream), STG_E_ACCESSDENIED);
    EXPECT_EQ(storage->DestroyElement(L"Extra"), STG_E_ACCESSDENIED);
    ASSERT_EQ(storage->OpenStream(L"Extra", nullptr, kStreamRead, 0, &stream), S_OK);
    EXPECT_EQ(stream->Write("x", 1, nullptr), STG_E_ACCESSDENIED);
}

TEST(StorageFiles, StreamsAreOpenedExclusivelyOnce) {
    std::wstring path = StatePath("exclusive.grf");
    CComPtr<IStorage> storage;
    ASSERT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &storage), S_OK);
    CComPtr<IStream> first, second;
    ASSERT_EQ(storage->CreateStream(L"S", kStreamCreate, 0, 0, &first), S_OK);
    EXPECT_EQ(storage->OpenStream(L"S", nullptr, kStreamRead, 0, &second), STG_E_ACCESSDENIED);
    EXPECT_EQ(storage->OpenStream(L"S", nullptr, STGM_READ | STGM_SHARE_DENY_NONE, 0, &second), STG_E_INVALIDFLAG);
    EXPECT_EQ(storage->CreateStream(L"S", STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &second), STG_E_FILEALREADYEXISTS);
    first.Release();
    EXPECT_EQ(storage->OpenStream(L"S", nullptr, kStreamRead, 0, &second), S_OK);
}

TEST(StorageFiles, ElementNamesAreChecked) {
    std::wstring path = StatePath("names.grf");
    CComPtr<IStorage> storage;
    ASSERT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &storage), S_OK);
    CComPtr<IStream> stream;
    EXPECT_EQ(storage->CreateStream(L"", kStreamCreate, 0, 0, &stream), STG_E_INVALIDNAME);
    EXPECT_EQ(storage->CreateStream(L"a/b", kStreamCreate, 0, 0, &stream), STG_E_INVALIDNAME);
    EXPECT_EQ(storage->CreateStream(std::wstring(32, L'n').c_str(), kStreamCreate, 0, 0, &stream), STG_E_INVALIDNAME);
    EXPECT_EQ(storage->CreateStream(std::wstring(31, L'n').c_str(), kStreamCreate, 0, 0, &stream), S_OK);
}

TEST(StorageFiles, StreamsSeekReadAndResize) {
    CComPtr<IStream> stream;
    std::wstring path = StatePath("seek.grf");
    CComPtr<IStorage> storage;
    ASSERT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &storage), S_OK);
    ASSERT_EQ(storage->CreateStream(L"S", STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream), S_OK);
    ASSERT_EQ(stream->Write("abcdef", 6, nullptr), S_OK);
    LARGE_INTEGER move;
    move.QuadPart = -2;
    ULARGE_INTEGER at;
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_END, &at), S_OK);
    EXPECT_EQ(at.QuadPart, 4u);
    char buffer[8] = {};
    ULONG got = 0;
    ASSERT_EQ(stream->Read(buffer, sizeof buffer, &got), S_OK);
    EXPECT_EQ(std::string(buffer, got), "ef");
    move.QuadPart = -1;
    EXPECT_EQ(stream->Seek(move, STREAM_SEEK_SET, &at), STG_E_INVALIDFUNCTION);
    // The most negative distance has no positive counterpart: still refused, the position kept.
    move.QuadPart = std::numeric_limits<LONGLONG>::min();
    for (DWORD origin : {STREAM_SEEK_SET, STREAM_SEEK_CUR, STREAM_SEEK_END})
        EXPECT_EQ(stream->Seek(move, origin, &at), STG_E_INVALIDFUNCTION) << origin;
    move.QuadPart = 0;
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_CUR, &at), S_OK);
    EXPECT_EQ(at.QuadPart, 6u);
    ULARGE_INTEGER size;
    size.QuadPart = 3;
    ASSERT_EQ(stream->SetSize(size), S_OK);
    STATSTG stat;
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_DEFAULT), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 3u);
    EXPECT_EQ(std::wstring(stat.pwcsName), L"S");
    CoTaskMemFree(stat.pwcsName);
}

TEST(StorageFiles, InjectedFailuresAreReported) {
    std::wstring path = StatePath("inject.grf");
    CComPtr<IStorage> storage;
    platform::InjectFailure("StgCreateDocfile", 1, STG_E_ACCESSDENIED);
    EXPECT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &storage), STG_E_ACCESSDENIED);
    ASSERT_EQ(StgCreateDocfile(path.c_str(), kCreateTransacted, 0, &storage), S_OK);
    WriteStream(storage, L"S", Pattern(10, 1));
    platform::InjectFailure("IStorage::Commit", 1, STG_E_MEDIUMFULL);
    EXPECT_EQ(storage->Commit(STGC_DEFAULT), STG_E_MEDIUMFULL);
    EXPECT_EQ(storage->Commit(STGC_DEFAULT), S_OK);
    // Opening elements asks no QueryInterface, so a failure injected there does not reach it.
    platform::InjectFailure("QueryInterface:IStream");
    WriteStream(storage, L"T", Pattern(5, 1));
    platform::ClearFailures();
    platform::InjectFailure("StgOpenStorage", 1);
    storage.Release();
    EXPECT_TRUE(FAILED(OpenForLoad(path, &storage)));
    EXPECT_EQ(OpenForLoad(path, &storage), S_OK);
}

TEST(StorageFiles, AnotherCompoundFileReaderFindsTheStreams) {
    if (std::system("command -v gsf >/dev/null 2>&1") != 0) GTEST_SKIP() << "gsf (libgsf-bin) is not installed";
    std::wstring path = StatePath("interop.grf");
    std::vector<uint8_t> graph = Pattern(300, 1), extra = Pattern(9000, 2);
    WriteGraphFile(path, graph, extra);
    std::string native = Native(path);
    std::string out = native + ".out";
    ASSERT_EQ(std::system(("gsf cat '" + native + "' ActiveMovieGraph > '" + out + "'").c_str()), 0);
    EXPECT_EQ(FileBytes(platform::Utf8ToWide(out)), graph);
    ASSERT_EQ(std::system(("gsf cat '" + native + "' Extra > '" + out + "'").c_str()), 0);
    EXPECT_EQ(FileBytes(platform::Utf8ToWide(out)), extra);
}

}  // namespace
