// CIVAudioEncoderFilter and CIVVideoEncoderFilter: the wrappers of the InterVideo audio and video
// encoders built for the maker's cards, registered by CLSID. They hold no interface: each
// configuration operation opens the filter's parameter interface, sends or reads the whole record
// parameter by parameter, and releases it. Both also fill their records from presets.
#pragma once

#include <makers/intervideo.h>

#include "graph/FilterClassRecord.h"
#include "graph/IVParamCalls.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

// The audio encoder's record: 0 sample rate (Hz), 1 bit rate (kbit/s), 2 to 5 the encoder's own
// values.
struct IVAudioConfig {
    int field[6];
};

// The video encoder's record: 0 to 3 the encoder's own values, 4 width, 5 height, 6 bit rate and
// 7 maximum bit rate (kbit/s), 8 to 10 own values, 11 not sent, 12 and 13 own values, 14 the
// video standard (1: 576/288 lines, 2: 480/240 lines), 15 the MPEG-2 flag, 16 an own value.
struct IVVideoConfig {
    int field[17];
};

class CIVAudioEncoderFilter : public CFilterWrapper<CIVAudioEncoderFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CIVAudioEncoderFilter() override;
    static CFilterClassRecord s_classRecord;

    // Every field is sent (or read) even when one fails; TRUE only when each call succeeded. A
    // field whose read failed keeps its value. FALSE without a call when IIVAudioParams is not
    // given with S_OK or config is null.
    BOOL SetAudioConfig(const IVAudioConfig* config);
    BOOL GetAudioConfig(IVAudioConfig* config);

    // Fill all six fields; FALSE for a null config.
    static BOOL GetPresetVCD(IVAudioConfig* config);
    static BOOL GetPresetDVD(IVAudioConfig* config);
    static BOOL GetPresetSVCD(IVAudioConfig* config);
    static BOOL GetPresetMPEG1(IVAudioConfig* config);
    static BOOL GetPresetMPEG2(IVAudioConfig* config);
};

class CIVVideoEncoderFilter : public CFilterWrapper<CIVVideoEncoderFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CIVVideoEncoderFilter() override;
    static CFilterClassRecord s_classRecord;

    // As the audio record; a write ends with parameter 20 set to 1, a read never asks for it and
    // leaves field 11 alone.
    BOOL SetVideoConfig(const IVVideoConfig* config);
    BOOL GetVideoConfig(IVVideoConfig* config);

    // Standard 1 (576/288 lines) or 2 (480/240 lines); another standard answers FALSE after the
    // five fields written first. Field 11 is left as it was.
    static BOOL GetPresetVCD(IVVideoConfig* config, int standard);
    static BOOL GetPresetSVCD(IVVideoConfig* config, int standard);
    static BOOL GetPresetMPEG1(IVVideoConfig* config, int standard);
    static BOOL GetPresetMPEG2(IVVideoConfig* config, int standard);
    static BOOL GetPresetDVD(IVVideoConfig* config, int standard, BOOL high);
};

// The call orders and presets, as data (walked by the tests).
extern const IVParamField kIVAudioCallOrder[6];
extern const IVParamField kIVVideoCallOrder[16];
// The id written with 1 after every video record.
constexpr DWORD kIVVideoCommitParam = 20;

struct IVAudioPreset {
    const char* name;
    int sampleRate;
};
extern const IVAudioPreset kIVAudioPresets[5];  // VCD, DVD, SVCD, MPEG1, MPEG2

struct IVVideoPreset {
    const char* name;
    int mpeg2;             // field 15
    int bitRate;           // field 6
    int bitRateHigh;       // field 6 with high set (DVD)
    int field16;
    int field0[2];         // by standard 1 / 2
    int field1;
    int fields2and3;
    int width;
    int height[2];         // by standard 1 / 2
};
extern const IVVideoPreset kIVVideoPresets[5];  // VCD, DVD, SVCD, MPEG1, MPEG2
