// The MainConcept video settings record as the wrappers read and write it: typed fields at the
// filter's byte offsets (the record is packed; its doubles may start at odd offsets) and the
// video mode nibble.
#pragma once

#include <makers/mainconcept.h>
#include <windows.h>

#include <cstddef>
#include <cstring>

// Offsets in the 877-byte video settings record.
constexpr size_t kMCVideoMode = 0x30;
constexpr size_t kMCVideoBitRate = 0x40;
constexpr size_t kMCVideoMaxBitRate = 0x48;
constexpr size_t kMCVideoWidth = 0x198;
constexpr size_t kMCVideoHeight = 0x19C;
constexpr size_t kMCVideoModeNibble = 0x32C;
constexpr size_t kMCVideoBitRate2 = 0x335;

template <class T>
T MCField(const MC_VIDEO_SETTINGS& record, size_t offset) {
    T value;
    std::memcpy(&value, record.bytes + offset, sizeof(T));
    return value;
}
template <class T>
void SetMCField(MC_VIDEO_SETTINGS* record, size_t offset, T value) {
    std::memcpy(record->bytes + offset, &value, sizeof(T));
}
// Bits 1 to 4 of byte 0x32C become the value's low four bits; the other bits stay.
void SetMCModeNibble(MC_VIDEO_SETTINGS* record, int value);

// SetVideoModeNibble of the wrappers that hold the video settings interface.
BOOL MCSetVideoModeNibble(IMCVideoSettings* settings, int value);
