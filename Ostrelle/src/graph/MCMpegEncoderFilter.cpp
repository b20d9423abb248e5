#include "graph/MCMpegEncoderFilter.h"

#include "graph/FilterWrapperClass.h"
#include "graph/MCForward.h"

namespace {
constexpr DWORD kParam60 = 0x60;
constexpr DWORD kParam61 = 0x61;
constexpr DWORD kAudioParam1 = 1;
}  // namespace

CFilterClassRecord CMCMpegEncoderFilter::s_classRecord(&CLSID_MCMpegEncoder, nullptr, "MainConcept Demo MPEG Encoder",
                                                       &CMCMpegEncoderFilter::CreateInstance,
                                                       &CMCMpegEncoderFilter::WrapInstance);

FILTER_WRAPPER_CREATORS(CMCMpegEncoderFilter)

CMCMpegEncoderFilter::CMCMpegEncoderFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CRootFilter(owner, category, friendlyName, flag) {}

CMCMpegEncoderFilter::CMCMpegEncoderFilter(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {}

CMCMpegEncoderFilter::CMCMpegEncoderFilter(CRootGraph* owner, IBaseFilter* filter) : CRootFilter(owner, filter) {}

CMCMpegEncoderFilter::~CMCMpegEncoderFilter() {
    m_pAudioSettings.Release();
    m_pAudioParams.Release();
    m_pMuxSettings.Release();
    m_pFileSink.Release();
    m_pVideoSettings.Release();
    m_pVideoParams.Release();
}

FILTER_WRAPPER_HOOKS(CMCMpegEncoderFilter)

BOOL CMCMpegEncoderFilter::Init() {
    m_pAudioSettings.Release();
    m_pAudioParams.Release();
    m_pMuxSettings.Release();
    m_pFileSink.Release();
    m_pVideoSettings.Release();
    m_pVideoParams.Release();
    m_bDyncPin = TRUE;
    if (!IsValid()) return FALSE;
    BOOL all = TRUE;
    all &= SUCCEEDED(m_pFilter->QueryInterface(IID_IMCAudioSettings, reinterpret_cast<void**>(&m_pAudioSettings)));
    all &= SUCCEEDED(m_pFilter->QueryInterface(IID_IMCAudioParams, reinterpret_cast<void**>(&m_pAudioParams)));
    all &= SUCCEEDED(m_pFilter->QueryInterface(IID_IMCMuxSettings, reinterpret_cast<void**>(&m_pMuxSettings)));
    all &= SUCCEEDED(m_pFilter->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&m_pFileSink)));
    all &= SUCCEEDED(m_pFilter->QueryInterface(IID_IMCVideoSettings, reinterpret_cast<void**>(&m_pVideoSettings)));
    all &= SUCCEEDED(m_pFilter->QueryInterface(IID_IMCVideoParams, reinterpret_cast<void**>(&m_pVideoParams)));
    return all;
}

// ---- audio ----
BOOL CMCMpegEncoderFilter::AudioSettings3(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings3, v); }
BOOL CMCMpegEncoderFilter::AudioSettings4(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings4, v); }
BOOL CMCMpegEncoderFilter::AudioSettings5(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings5, v); }
BOOL CMCMpegEncoderFilter::AudioSettings6(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings6, v); }
BOOL CMCMpegEncoderFilter::AudioSettings7(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings7, v); }
BOOL CMCMpegEncoderFilter::AudioSettings8(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings8, v); }
BOOL CMCMpegEncoderFilter::AudioSettings9(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings9, v); }
BOOL CMCMpegEncoderFilter::AudioSettings10(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings10, v); }
BOOL CMCMpegEncoderFilter::AudioSettings11(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings11, v); }
BOOL CMCMpegEncoderFilter::SetAudioSettings(MC_AUDIO_SETTINGS settings) {
    return MCForward(m_pAudioSettings.p, &IMCAudioSettings::SetSettings, &settings);
}
BOOL CMCMpegEncoderFilter::GetAudioDefaults(DWORD streamType, MC_AUDIO_SETTINGS* settings) {
    return MCForward(m_pAudioSettings.p, &IMCAudioSettings::GetDefaults, streamType, settings);
}
BOOL CMCMpegEncoderFilter::AudioSettings14(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings14, v); }
BOOL CMCMpegEncoderFilter::SetAudioParam(DWORD id, DWORD value) {
    return MCForward(m_pAudioParams.p, &IMCAudioParams::SetParam, id, value);
}
BOOL CMCMpegEncoderFilter::GetAudioParam(DWORD id, DWORD* value) {
    return MCForward(m_pAudioParams.p, &IMCAudioParams::GetParam, id, value);
}
BOOL CMCMpegEncoderFilter::SetAudioParam60(DWORD value) { return SetAudioParam(kParam60, value); }
BOOL CMCMpegEncoderFilter::GetAudioParam60(DWORD* value) {
    if (m_pAudioParams == nullptr || value == nullptr) return FALSE;
    DWORD local = *value;
    const BOOL ok = GetAudioParam(kParam60, &local);
    *value = local;
    return ok;
}
BOOL CMCMpegEncoderFilter::SetAudioParam1(DWORD value) { return SetAudioParam(kAudioParam1, value); }

// ---- multiplexer and file ----
BOOL CMCMpegEncoderFilter::MuxSettings3(DWORD v) { return MCForward(m_pMuxSettings.p, &IMCMuxSettings::Settings3, v); }
BOOL CMCMpegEncoderFilter::MuxSettings4(DWORD v) { return MCForward(m_pMuxSettings.p, &IMCMuxSettings::Settings4, v); }
BOOL CMCMpegEncoderFilter::MuxSettings5(DWORD v) { return MCForward(m_pMuxSettings.p, &IMCMuxSettings::Settings5, v); }
BOOL CMCMpegEncoderFilter::SetMuxSettings(MC_MUX_SETTINGS settings) {
    return MCForward(m_pMuxSettings.p, &IMCMuxSettings::SetSettings, &settings);
}
BOOL CMCMpegEncoderFilter::MuxSettings7(DWORD v1, DWORD v2) {
    return MCForward(m_pMuxSettings.p, &IMCMuxSettings::Settings7, v1, v2);
}
BOOL CMCMpegEncoderFilter::SetMuxStreamType(DWORD streamType) {
    return MCForward(m_pMuxSettings.p, &IMCMuxSettings::SetStreamType, streamType);
}
BOOL CMCMpegEncoderFilter::SetFileName(const char* name) { return MCSetFileName(m_pFileSink, name); }
BOOL CMCMpegEncoderFilter::GetFileName(char* buffer, int size) { return MCGetFileName(m_pFileSink, buffer, size); }

// ---- video ----
BOOL CMCMpegEncoderFilter::VideoSettings3(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings3, v); }
BOOL CMCMpegEncoderFilter::VideoSettings4(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings4, v); }
BOOL CMCMpegEncoderFilter::VideoSettings5(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings5, v); }
BOOL CMCMpegEncoderFilter::VideoSettings6(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings6, v); }
BOOL CMCMpegEncoderFilter::VideoSettings7(DWORD v1, DWORD v2, DWORD v3) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings7, v1, v2, v3);
}
BOOL CMCMpegEncoderFilter::VideoSettings8(DWORD v1, DWORD v2, DWORD v3) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings8, v1, v2, v3);
}
BOOL CMCMpegEncoderFilter::VideoSettings9(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings9, v); }
BOOL CMCMpegEncoderFilter::VideoSettings10(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings10, v); }
BOOL CMCMpegEncoderFilter::VideoSettings11(DWORD v1, DWORD v2, DWORD v3, DWORD v4) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings11, v1, v2, v3, v4);
}
BOOL CMCMpegEncoderFilter::GetVideoSettings(MC_VIDEO_SETTINGS* settings) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::GetSettings, settings);
}
BOOL CMCMpegEncoderFilter::SetVideoSettings(MC_VIDEO_SETTINGS settings) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::SetSettings, &settings);
}
BOOL CMCMpegEncoderFilter::GetVideoDefaults(DWORD streamType, DWORD pal, MC_VIDEO_SETTINGS* settings) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::GetDefaults, streamType, pal, settings);
}
BOOL CMCMpegEncoderFilter::VideoSettings15(DWORD v1, DWORD v2) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings15, v1, v2);
}
BOOL CMCMpegEncoderFilter::SetVideoParam(DWORD id, DWORD value) {
    return MCForward(m_pVideoParams.p, &IMCVideoParams::SetParam, id, value);
}
BOOL CMCMpegEncoderFilter::GetVideoParam(DWORD id, DWORD* value) {
    return MCForward(m_pVideoParams.p, &IMCVideoParams::GetParam, id, value);
}
BOOL CMCMpegEncoderFilter::SetVideoParam60(DWORD value) { return SetVideoParam(kParam60, value); }
BOOL CMCMpegEncoderFilter::GetVideoParam60(DWORD* value) { return GetVideoParam(kParam60, value); }
BOOL CMCMpegEncoderFilter::SetVideoParam61(DWORD value) { return SetVideoParam(kParam61, value); }
BOOL CMCMpegEncoderFilter::GetVideoParam61(DWORD* value) { return GetVideoParam(kParam61, value); }
BOOL CMCMpegEncoderFilter::SetVideoModeNibble(int value) { return MCSetVideoModeNibble(m_pVideoSettings, value); }

// ---- presets and set-up ----
BOOL CMCMpegEncoderFilter::GetPresetVCD(MCEncoderSetup* setup, BOOL pal) { return FillMCPreset(kMCPresets[0], setup, pal); }
BOOL CMCMpegEncoderFilter::GetPresetDVD(MCEncoderSetup* setup, BOOL pal) { return FillMCPreset(kMCPresets[1], setup, pal); }
BOOL CMCMpegEncoderFilter::GetPresetDVDLow(MCEncoderSetup* setup, BOOL pal) { return FillMCPreset(kMCPresets[2], setup, pal); }
BOOL CMCMpegEncoderFilter::GetPresetSVCD(MCEncoderSetup* setup, BOOL pal) { return FillMCPreset(kMCPresets[3], setup, pal); }
BOOL CMCMpegEncoderFilter::GetPresetMPEG1(MCEncoderSetup* setup, BOOL pal) { return FillMCPreset(kMCPresets[4], setup, pal); }
BOOL CMCMpegEncoderFilter::GetPresetMPEG2(MCEncoderSetup* setup, BOOL pal) { return FillMCPreset(kMCPresets[5], setup, pal); }

BOOL CMCMpegEncoderFilter::ApplySetup(const MCEncoderSetup* setup) {
    if (setup == nullptr || m_pVideoSettings == nullptr) return FALSE;
    const DWORD streamType = static_cast<DWORD>(setup->nStreamType);

    MC_VIDEO_SETTINGS video = {};
    if (FAILED(m_pVideoSettings->GetDefaults(streamType, setup->bPal ? 1 : 0, &video))) return FALSE;
    if (setup->nStreamType == 1) SetMCField<int>(&video, kMCVideoMode, 1);
    SetMCField<int>(&video, kMCVideoWidth, setup->nWidth);
    SetMCField<int>(&video, kMCVideoHeight, setup->nHeight);
    SetMCField<double>(&video, kMCVideoBitRate2, setup->dBitRate);
    SetMCField<double>(&video, kMCVideoBitRate, setup->dBitRate);
    SetMCField<double>(&video, kMCVideoMaxBitRate, setup->dMaxBitRate);
    SetMCModeNibble(&video, setup->nModeNibble);
    if (FAILED(m_pVideoSettings->SetSettings(&video))) return FALSE;

    if (!SetVideoParam61(0) || !SetVideoParam60(1) || !SetAudioParam60(1)) return FALSE;

    MC_AUDIO_SETTINGS audio = {};
    if (FAILED(m_pAudioSettings->GetDefaults(streamType, &audio))) return FALSE;
    audio.dwField[0] = 0;
    audio.dwField[1] = 2;
    audio.dwField[3] = static_cast<DWORD>(setup->nAudioValue);
    if (FAILED(m_pAudioSettings->SetSettings(&audio))) return FALSE;

    return SUCCEEDED(m_pMuxSettings->SetStreamType(streamType)) ? TRUE : FALSE;
}
