// The station's set-up record for the MainConcept MPEG encoder and its six presets.
#include "graph/MCEncoderSetup.h"

const MCPresetRow kMCPresets[6] = {
    {"VCD", 1, 0, 1, 1150000.0, 352, 288, 240, 2},
    {"DVD", 4, 1, 1, 7200000.0, 720, 576, 480, 4},
    {"DVDLow", 4, 1, 1, 4500000.0, 720, 576, 480, 4},
    {"SVCD", 3, 1, 1, 2200000.0, 480, 576, 480, 2},
    {"MPEG1", 0, 0, 2, 4500000.0, 352, 288, 240, 2},
    {"MPEG2", 2, 1, 2, 4500000.0, 720, 576, 480, 2},
};

BOOL FillMCPreset(const MCPresetRow& row, MCEncoderSetup* setup, BOOL pal) {
    if (setup == nullptr) return FALSE;
    setup->nStreamType = row.streamType;
    setup->bPal = pal;
    setup->nMpeg2 = row.mpeg2;
    setup->nModeNibble = row.modeNibble;
    setup->dBitRate = row.bitRate;
    setup->dMaxBitRate = kMCPresetMaxBitRate;
    setup->nWidth = row.width;
    setup->nHeight = pal ? row.palHeight : row.ntscHeight;
    setup->nAudioValue = kMCPresetAudioValue;
    setup->nPresetClass = row.presetClass;
    return TRUE;
}
