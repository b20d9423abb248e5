// The station's set-up record for the MainConcept MPEG encoder and its six presets.
#pragma once

#include <windows.h>

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
