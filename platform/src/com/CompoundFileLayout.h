// Constants and little-endian field access of the compound file binary format, shared by its
// reader and writer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::cfb::layout {

constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Sector numbers with a meaning of their own.
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr uint32_t kDifatSector = 0xFFFFFFFC;
constexpr uint32_t kFatSector = 0xFFFFFFFD;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kNoStream = 0xFFFFFFFF;

constexpr size_t kHeaderSize = 512;
constexpr size_t kSectorSize = 512;  // version 3
constexpr uint16_t kMinorVersion = 0x003E;
constexpr uint16_t kMajorVersion3 = 3;
constexpr uint16_t kMajorVersion4 = 4;
constexpr uint16_t kByteOrder = 0xFFFE;
constexpr uint16_t kSectorShift3 = 9;
constexpr uint16_t kSectorShift4 = 12;
constexpr uint16_t kMiniSectorShift = 6;
constexpr size_t kMiniSectorSize = 64;
constexpr uint32_t kMiniStreamCutoff = 4096;
constexpr size_t kHeaderDifatEntries = 109;
constexpr size_t kDirEntrySize = 128;

// Header fields (byte offsets).
constexpr size_t kOffClsid = 8;
constexpr size_t kOffMinorVersion = 24;
constexpr size_t kOffMajorVersion = 26;
constexpr size_t kOffByteOrder = 28;
constexpr size_t kOffSectorShift = 30;
constexpr size_t kOffMiniSectorShift = 32;
constexpr size_t kOffDirSectorCount = 40;
constexpr size_t kOffFatSectorCount = 44;
constexpr size_t kOffFirstDirSector = 48;
constexpr size_t kOffTransaction = 52;
constexpr size_t kOffMiniCutoff = 56;
constexpr size_t kOffFirstMiniFatSector = 60;
constexpr size_t kOffMiniFatSectorCount = 64;
constexpr size_t kOffFirstDifatSector = 68;
constexpr size_t kOffDifatSectorCount = 72;
constexpr size_t kOffDifat = 76;

// Directory entry fields (byte offsets within the 128-byte entry).
constexpr size_t kEntName = 0;
constexpr size_t kEntNameLength = 64;
constexpr size_t kEntType = 66;
constexpr size_t kEntColor = 67;
constexpr size_t kEntLeft = 68;
constexpr size_t kEntRight = 72;
constexpr size_t kEntChild = 76;
constexpr size_t kEntClsid = 80;
constexpr size_t kEntStateBits = 96;
constexpr size_t kEntCreated = 100;
constexpr size_t kEntModified = 108;
constexpr size_t kEntStart = 116;
constexpr size_t kEntSize = 120;
constexpr uint8_t kRed = 0;
constexpr uint8_t kBlack = 1;

inline uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint64_t Get64(const uint8_t* p) { return uint64_t(Get32(p)) | (uint64_t(Get32(p + 4)) << 32); }
inline void Put16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void Put64(uint8_t* p, uint64_t v) {
    Put32(p, uint32_t(v));
    Put32(p + 4, uint32_t(v >> 32));
}

}  // namespace platform::cfb::layout
