// The MainConcept settings records as the wrappers read and write them: typed fields at the
// filters' byte offsets (the video record is packed; its doubles may start at odd offsets), the
// station's own set-up record and its presets, and the shared operation on the video mode nibble.
#pragma once

#include <makers/mainconcept.h>
#include <windows.h>

#include <cstddef>
#include <cstring>

// The station's set-up record for the MPEG encoder.
struct MCEncoderSetup {
    int nStreamType;
    BOOL bPal;          // nonzero: 576 and 288 lines
    int nMpeg2;         // 0 for stream types 0 and 1, else 1
    int nModeNibble;    // bits 1 to 4 of video byte 0x32C
    double dBitRate;    // bit/s
    double dMaxBitRate; // bit/s
    int nWidth;
    int nHeight;
    int nAudioValue;    // audio settings field 3
    int nPresetClass;   // 2 or 4
};

// The six presets, one row each; the height is the PAL one or the other.
struct MCPresetRow {
    const char* name;
    int streamType;
    int mpeg2;
    int modeNibble;
    double bitRate;
    int width;
    int palHeight;
    int ntscHeight;
    int presetClass;
};
extern const MCPresetRow kMCPresets[6];
constexpr double kMCPresetMaxBitRate = 9800000.0;
constexpr int kMCPresetAudioValue = 11;
// Fills `setup` from a row; FALSE for a null setup.
BOOL FillMCPreset(const MCPresetRow& row, MCEncoderSetup* setup, BOOL pal);

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
