// The compound files written are what the format prescribes: version 3 header, 512-byte
// sectors, a FAT that accounts for every sector, and a red-black directory tree.
#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/runtime.h"

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE, kFatSector = 0xFFFFFFFD, kNoStream = 0xFFFFFFFF;

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

class StorageFormat : public testing::Test {
protected:
    void SetUp() override {
        m_path = platform::Utf8ToWide(platform::StateDir() + "/format.cfb");
    }

    // Writes streams S0..S(n-1) of the given sizes, committed.
    void Write(const std::vector<size_t>& sizes) {
        CComPtr<IStorage> storage;
        ASSERT_EQ(StgCreateDocfile(m_path.c_str(), STGM_CREATE | STGM_TRANSACTED | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                   0, &storage),
                  S_OK);
        for (size_t i = 0; i < sizes.size(); ++i) {
            CComPtr<IStream> stream;
            std::wstring name = L"S" + std::to_wstring(i);
            ASSERT_EQ(storage->CreateStream(name.c_str(), STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream), S_OK);
            std::vector<uint8_t> bytes(sizes[i], uint8_t(i));
            ASSERT_EQ(stream->Write(bytes.data(), ULONG(bytes.size()), nullptr), S_OK);
        }
        ASSERT_EQ(storage->Commit(STGC_DEFAULT), S_OK);
        std::ifstream in(platform::WideToUtf8(m_path), std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void Rewrite() {
        std::ofstream out(platform::WideToUtf8(m_path), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(m_bytes.data()), std::streamsize(m_bytes.size()));
    }

    HRESULT Open() {
        CComPtr<IStorage> storage;
        return StgOpenStorage(m_path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE | STGM_TRANSACTED, nullptr, 0,
                              &storage);
    }

    size_t Sector(uint32_t sid) const { return 512 + size_t(sid) * 512; }
    uint32_t Fat(uint32_t sid) const { return U32(m_bytes, Sector(U32(m_bytes, 76 + 4 * (sid / 128))) + 4 * (sid % 128)); }
    // Byte offset of directory entry `id` (the directory's chain followed through the FAT).
    size_t Entry(uint32_t id) const {
        uint32_t sid = U32(m_bytes, 48);
        for (uint32_t i = 0; i < id / 4; ++i) sid = Fat(sid);
        return Sector(sid) + (id % 4) * 128;
    }
    std::u16string Name(uint32_t id) const {
        size_t e = Entry(id);
        std::u16string name;
        for (size_t i = 0; i + 1 < U16(m_bytes, e + 64) / 2u; ++i) name.push_back(char16_t(U16(m_bytes, e + 2 * i)));
        return name;
    }

    std::wstring m_path;
    std::vector<uint8_t> m_bytes;
};

TEST_F(StorageFormat, HeaderIsVersion3With512ByteSectors) {
    Write({100, 5000});
    const uint8_t signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    ASSERT_GE(m_bytes.size(), 512u);
    EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), m_bytes.begin()));
    EXPECT_EQ(U16(m_bytes, 24), 0x003E);
    EXPECT_EQ(U16(m_bytes, 26), 3);
    EXPECT_EQ(U16(m_bytes, 28), 0xFFFE);
    EXPECT_EQ(U16(m_bytes, 30), 9);
    EXPECT_EQ(U16(m_bytes, 32), 6);
    EXPECT_EQ(U32(m_bytes, 56), 4096u);
    EXPECT_EQ(m_bytes.size() % 512, 0u);
    // Every sector of the file is in the FAT, and the FAT's own sectors are marked as such.
    uint32_t fatSectors = U32(m_bytes, 44);
    uint32_t sectors = uint32_t(m_bytes.size() / 512 - 1);
    EXPECT_GE(fatSectors * 128, sectors);
    for (uint32_t i = 0; i < fatSectors; ++i) EXPECT_EQ(Fat(U32(m_bytes, 76 + 4 * i)), kFatSector);
}

TEST_F(StorageFormat, SmallStreamsLiveInTheMiniStreamAndLargeOnesInSectors) {
    Write({4095, 4096});
    EXPECT_EQ(Name(0), u"Root Entry");
    EXPECT_EQ(m_bytes[Entry(0) + 66], 5);
    for (uint32_t id = 1; id <= 2; ++id) {
        size_t e = Entry(id);
        uint32_t size = U32(m_bytes, e + 120);
        uint32_t start = U32(m_bytes, e + 116);
        if (size == 4095) {
            // 64 mini sectors of the mini stream, whose length the root entry holds.
            EXPECT_GE(U32(m_bytes, Entry(0) + 120), 4096u);
            EXPECT_NE(U32(m_bytes, 60), kEndOfChain);
        } else {
            ASSERT_EQ(size, 4096u);
            uint32_t sid = start, count = 0;
            while (sid != kEndOfChain && count < 100) {
                EXPECT_EQ(m_bytes[Sector(sid)], 1);
                sid = Fat(sid);
                ++count;
            }
            EXPECT_EQ(count, 8u);
        }
    }
}

TEST_F(StorageFormat, DirectoryIsARedBlackTreeInNameOrder) {
    Write(std::vector<size_t>(12, 10));
    uint32_t top = U32(m_bytes, Entry(0) + 76);
    std::vector<std::u16string> inOrder;
    // Returns the black height of the subtree, or -1 when a rule is broken.
    std::function<int(uint32_t, bool)> check = [&](uint32_t id, bool parentRed) -> int {
        if (id == kNoStream) return 1;
        size_t e = Entry(id);
        bool red = m_bytes[e + 67] == 0;
        if (red && parentRed) return -1;
        int left = check(U32(m_bytes, e + 68), red);
        inOrder.push_back(Name(id));
        int right = check(U32(m_bytes, e + 72), red);
        if (left < 0 || right < 0 || left != right) return -1;
        return left + (red ? 0 : 1);
    };
    EXPECT_GT(check(top, true), 0);
    ASSERT_EQ(inOrder.size(), 12u);
    // Shorter names first, then by upper-cased characters: S0..S9, then S10, S11.
    EXPECT_EQ(inOrder.front(), u"S0");
    EXPECT_EQ(inOrder[9], u"S9");
    EXPECT_EQ(inOrder.back(), u"S11");
}

TEST_F(StorageFormat, DuplicateNamesAndCrossedChainsAreRefused) {
    Write({5000, 5000});
    ASSERT_EQ(Open(), S_OK);
    std::vector<uint8_t> good = m_bytes;
    // Both streams named "S0".
    size_t second = Name(1) == u"S1" ? Entry(1) : Entry(2);
    m_bytes[second + 2] = '0';
    Rewrite();
    EXPECT_EQ(Open(), STG_E_DOCFILECORRUPT);
    // Both streams starting in the same sector.
    m_bytes = good;
    std::copy_n(&m_bytes[Entry(1) + 116], 4, &m_bytes[Entry(2) + 116]);
    Rewrite();
    EXPECT_EQ(Open(), STG_E_DOCFILECORRUPT);
    // A stream longer than its chain.
    m_bytes = good;
    m_bytes[Entry(1) + 122] = 0x10;
    Rewrite();
    EXPECT_EQ(Open(), STG_E_DOCFILECORRUPT);
}

}  // namespace
