// CIVAudioEncoderFilter and CIVVideoEncoderFilter.
#include "graph/IVEncoderFilter.h"

#include <iterator>

#include "graph/FilterWrapperClass.h"
#include "graph/IVParamCalls.h"

const IVParamField kIVAudioCallOrder[6] = {
    {1, 0x102}, {0, 0x105}, {3, 0x108}, {2, 0x104}, {5, 0x103}, {4, 0x101},
};

const IVParamField kIVVideoCallOrder[16] = {
    {12, 5}, {14, 7}, {15, 8}, {2, 13}, {3, 14}, {0, 11}, {1, 12}, {6, 9},
    {13, 6}, {16, 18}, {4, 3}, {5, 4}, {9, 10}, {10, 16}, {7, 17}, {8, 19},
};

const IVAudioPreset kIVAudioPresets[5] = {
    {"VCD", 44100}, {"DVD", 48000}, {"SVCD", 44100}, {"MPEG1", 44100}, {"MPEG2", 44100},
};

const IVVideoPreset kIVVideoPresets[5] = {
    // name     mpeg2 rate  high  f16  f0        f1 f2/3 width height
    {"VCD", 0, 1120, 1120, 0, {12, 15}, 3, 16, 352, {288, 240}},
    {"DVD", 1, 4500, 7200, 2, {6, 6}, 3, 5, 720, {576, 480}},
    {"SVCD", 1, 2200, 2200, 2, {12, 15}, 3, 8, 480, {576, 480}},
    {"MPEG1", 0, 4500, 4500, 0, {12, 15}, 3, 5, 352, {288, 240}},
    {"MPEG2", 1, 4500, 4500, 2, {6, 6}, 3, 5, 720, {576, 480}},
};

namespace {

BOOL FillAudioPreset(IVAudioConfig* config, const IVAudioPreset& preset) {
    if (config == nullptr) return FALSE;
    const int values[6] = {preset.sampleRate, 224, 100, 1, 2, 0};
    for (int i = 0; i < 6; ++i) config->field[i] = values[i];
    return TRUE;
}

BOOL FillVideoPreset(IVVideoConfig* config, const IVVideoPreset& preset, int standard, BOOL high) {
    if (config == nullptr) return FALSE;
    int* f = config->field;
    f[15] = preset.mpeg2;
    f[6] = high ? preset.bitRateHigh : preset.bitRate;
    f[16] = preset.field16;
    f[7] = 9800;
    f[8] = 112;
    if (standard != 1 && standard != 2) return FALSE;
    const int s = standard - 1;
    f[14] = standard;
    f[12] = standard == 1 ? 3 : 4;
    f[0] = preset.field0[s];
    f[1] = preset.field1;
    f[2] = preset.fields2and3;
    f[3] = preset.fields2and3;
    f[4] = preset.width;
    f[5] = preset.height[s];
    f[13] = 2;
    f[9] = 1;
    f[10] = 2;
    return TRUE;
}

}  // namespace

// ---- CIVAudioEncoderFilter ----

CFilterClassRecord CIVAudioEncoderFilter::s_classRecord = Record(&CLSID_IVAudioEncoder, nullptr,
                                                                 "InterVideo Audio Encoder for vorlane");

CIVAudioEncoderFilter::~CIVAudioEncoderFilter() = default;

BOOL CIVAudioEncoderFilter::SetAudioConfig(const IVAudioConfig* config) {
    return WriteIVRecord<IIVAudioParams>(m_pFilter, IID_IIVAudioParams, config, kIVAudioCallOrder);
}

BOOL CIVAudioEncoderFilter::GetAudioConfig(IVAudioConfig* config) {
    return ReadIVRecord<IIVAudioParams>(m_pFilter, IID_IIVAudioParams, config, kIVAudioCallOrder);
}

BOOL CIVAudioEncoderFilter::GetPresetVCD(IVAudioConfig* config) { return FillAudioPreset(config, kIVAudioPresets[0]); }
BOOL CIVAudioEncoderFilter::GetPresetDVD(IVAudioConfig* config) { return FillAudioPreset(config, kIVAudioPresets[1]); }
BOOL CIVAudioEncoderFilter::GetPresetSVCD(IVAudioConfig* config) { return FillAudioPreset(config, kIVAudioPresets[2]); }
BOOL CIVAudioEncoderFilter::GetPresetMPEG1(IVAudioConfig* config) { return FillAudioPreset(config, kIVAudioPresets[3]); }
BOOL CIVAudioEncoderFilter::GetPresetMPEG2(IVAudioConfig* config) { return FillAudioPreset(config, kIVAudioPresets[4]); }

// ---- CIVVideoEncoderFilter ----

CFilterClassRecord CIVVideoEncoderFilter::s_classRecord = Record(&CLSID_IVVideoEncoder, nullptr,
                                                                 "InterVideo Video Encoder for vorlane");

CIVVideoEncoderFilter::~CIVVideoEncoderFilter() = default;

BOOL CIVVideoEncoderFilter::SetVideoConfig(const IVVideoConfig* config) {
    CComPtr<IIVVideoParams> params = QueryIVParams<IIVVideoParams>(m_pFilter, IID_IIVVideoParams);
    if (params == nullptr || config == nullptr) return FALSE;
    BOOL all = WriteIVParams(params.p, config->field, kIVVideoCallOrder, std::size(kIVVideoCallOrder));
    if (FAILED(params->SetParam(kIVVideoCommitParam, 1))) all = FALSE;
    return all;
}

BOOL CIVVideoEncoderFilter::GetVideoConfig(IVVideoConfig* config) {
    return ReadIVRecord<IIVVideoParams>(m_pFilter, IID_IIVVideoParams, config, kIVVideoCallOrder);
}

BOOL CIVVideoEncoderFilter::GetPresetVCD(IVVideoConfig* config, int standard) {
    return FillVideoPreset(config, kIVVideoPresets[0], standard, FALSE);
}
BOOL CIVVideoEncoderFilter::GetPresetDVD(IVVideoConfig* config, int standard, BOOL high) {
    return FillVideoPreset(config, kIVVideoPresets[1], standard, high);
}
BOOL CIVVideoEncoderFilter::GetPresetSVCD(IVVideoConfig* config, int standard) {
    return FillVideoPreset(config, kIVVideoPresets[2], standard, FALSE);
}
BOOL CIVVideoEncoderFilter::GetPresetMPEG1(IVVideoConfig* config, int standard) {
    return FillVideoPreset(config, kIVVideoPresets[3], standard, FALSE);
}
BOOL CIVVideoEncoderFilter::GetPresetMPEG2(IVVideoConfig* config, int standard) {
    return FillVideoPreset(config, kIVVideoPresets[4], standard, FALSE);
}
