// CMCMpegEncoderFilter: the wrapper of the MainConcept MPEG encoder.
#include "graph/MCMpegEncoderFilter.h"

#include "graph/FilterWrapperClass.h"
#include "graph/MCForward.h"
#include "graph/MCVideoRecord.h"

namespace {
constexpr DWORD kParam60 = 0x60;
constexpr DWORD kParam61 = 0x61;
constexpr DWORD kAudioParam1 = 1;
}  // namespace

CFilterClassRecord CMCMpegEncoderFilter::s_classRecord = Record(&CLSID_MCMpegEncoder, nullptr,
                                                                "MainConcept Demo MPEG Encoder");

CMCMpegEncoderFilter::~CMCMpegEncoderFilter() { ReleaseInterfaces(); }

void CMCMpegEncoderFilter::ReleaseInterfaces() {
    ReleaseAudioGroup();
    m_pMuxSettings.Release();
    m_pFileSink.Release();
    ReleaseVideoGroup();
}

BOOL CMCMpegEncoderFilter::Init() {
    ReleaseInterfaces();
    m_bDyncPin = TRUE;
    if (!IsValid()) return FALSE;
    BOOL all = OpenAudioGroup(m_pFilter);
    all &= MCQueryEach(m_pFilter, IID_IMCMuxSettings, m_pMuxSettings, IID_IFileSinkFilter, m_pFileSink);
    all &= OpenVideoGroup(m_pFilter);
    return all;
}

// ---- fixed-id parameters ----
BOOL CMCMpegEncoderFilter::SetAudioParam60(DWORD value) { return SetAudioParam(kParam60, value); }
BOOL CMCMpegEncoderFilter::GetAudioParam60(DWORD* value) {
    if (m_pAudioParams == nullptr || value == nullptr) return FALSE;
    DWORD local = *value;
    const BOOL ok = GetAudioParam(kParam60, &local);
    *value = local;
    return ok;
}
BOOL CMCMpegEncoderFilter::SetAudioParam1(DWORD value) { return SetAudioParam(kAudioParam1, value); }
BOOL CMCMpegEncoderFilter::SetVideoParam60(DWORD value) { return SetVideoParam(kParam60, value); }
BOOL CMCMpegEncoderFilter::GetVideoParam60(DWORD* value) { return GetVideoParam(kParam60, value); }
BOOL CMCMpegEncoderFilter::SetVideoParam61(DWORD value) { return SetVideoParam(kParam61, value); }
BOOL CMCMpegEncoderFilter::GetVideoParam61(DWORD* value) { return GetVideoParam(kParam61, value); }

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

    // A wrapper that did not open every interface (its Init failed) fails the step that needs
    // a missing one, though the old code called through the missing interface.
    if (m_pAudioSettings == nullptr) return FALSE;
    MC_AUDIO_SETTINGS audio = {};
    if (FAILED(m_pAudioSettings->GetDefaults(streamType, &audio))) return FALSE;
    audio.dwField[0] = 0;
    audio.dwField[1] = 2;
    audio.dwField[3] = static_cast<DWORD>(setup->nAudioValue);
    if (FAILED(m_pAudioSettings->SetSettings(&audio))) return FALSE;

    return SetMuxStreamType(streamType);
}
