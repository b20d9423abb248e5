// The forwarding groups that several MainConcept wrappers share, one per set of interfaces.
#include "graph/MCInterfaceGroups.h"

#include "graph/FileSinkName.h"
#include "graph/MCForward.h"
#include "graph/MCVideoRecord.h"

// ---- audio ----
BOOL CMCAudioGroup::OpenAudioGroup(IBaseFilter* filter) {
    return MCQueryEach(filter, IID_IMCAudioSettings, m_pAudioSettings, IID_IMCAudioParams, m_pAudioParams);
}
void CMCAudioGroup::ReleaseAudioGroup() {
    m_pAudioSettings.Release();
    m_pAudioParams.Release();
}
BOOL CMCAudioGroup::AudioSettings3(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings3, v); }
BOOL CMCAudioGroup::AudioSettings4(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings4, v); }
BOOL CMCAudioGroup::AudioSettings5(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings5, v); }
BOOL CMCAudioGroup::AudioSettings6(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings6, v); }
BOOL CMCAudioGroup::AudioSettings7(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings7, v); }
BOOL CMCAudioGroup::AudioSettings8(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings8, v); }
BOOL CMCAudioGroup::AudioSettings9(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings9, v); }
BOOL CMCAudioGroup::AudioSettings10(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings10, v); }
BOOL CMCAudioGroup::AudioSettings11(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings11, v); }
BOOL CMCAudioGroup::SetAudioSettings(MC_AUDIO_SETTINGS settings) {
    return MCForward(m_pAudioSettings.p, &IMCAudioSettings::SetSettings, &settings);
}
BOOL CMCAudioGroup::GetAudioDefaults(DWORD streamType, MC_AUDIO_SETTINGS* settings) {
    return MCForward(m_pAudioSettings.p, &IMCAudioSettings::GetDefaults, streamType, settings);
}
BOOL CMCAudioGroup::AudioSettings14(DWORD v) { return MCForward(m_pAudioSettings.p, &IMCAudioSettings::Settings14, v); }
BOOL CMCAudioGroup::SetAudioParam(DWORD id, DWORD value) {
    return MCForward(m_pAudioParams.p, &IMCAudioParams::SetParam, id, value);
}
BOOL CMCAudioGroup::GetAudioParam(DWORD id, DWORD* value) {
    return MCForward(m_pAudioParams.p, &IMCAudioParams::GetParam, id, value);
}

// ---- multiplexer and file ----
BOOL CMCMuxGroup::MuxSettings3(DWORD v) { return MCForward(m_pMuxSettings.p, &IMCMuxSettings::Settings3, v); }
BOOL CMCMuxGroup::MuxSettings4(DWORD v) { return MCForward(m_pMuxSettings.p, &IMCMuxSettings::Settings4, v); }
BOOL CMCMuxGroup::MuxSettings5(DWORD v) { return MCForward(m_pMuxSettings.p, &IMCMuxSettings::Settings5, v); }
BOOL CMCMuxGroup::SetMuxSettings(MC_MUX_SETTINGS settings) {
    return MCForward(m_pMuxSettings.p, &IMCMuxSettings::SetSettings, &settings);
}
BOOL CMCMuxGroup::MuxSettings7(DWORD v1, DWORD v2) { return MCForward(m_pMuxSettings.p, &IMCMuxSettings::Settings7, v1, v2); }
BOOL CMCMuxGroup::SetMuxStreamType(DWORD streamType) {
    return MCForward(m_pMuxSettings.p, &IMCMuxSettings::SetStreamType, streamType);
}
BOOL CMCMuxGroup::SetFileName(const char* name) {
    return SUCCEEDED(SetFileSinkName(m_pFileSink, name)) ? TRUE : FALSE;
}
BOOL CMCMuxGroup::GetFileName(char* buffer, int size) {
    return GetFileSinkName(m_pFileSink, buffer, size, TakenAnswer::AnySuccess);
}

BOOL CMCMuxParamGroup::GetMuxParam(DWORD id, DWORD* value) {
    return MCForward(m_pMuxParams.p, &IMCMuxParams::GetParam, id, value);
}
BOOL CMCMuxParamGroup::SetMuxParam(DWORD id, DWORD value) {
    return MCForward(m_pMuxParams.p, &IMCMuxParams::SetParam, id, value);
}

// ---- video ----
BOOL CMCVideoGroup::OpenVideoGroup(IBaseFilter* filter) {
    return MCQueryEach(filter, IID_IMCVideoSettings, m_pVideoSettings, IID_IMCVideoParams, m_pVideoParams);
}
void CMCVideoGroup::ReleaseVideoGroup() {
    m_pVideoSettings.Release();
    m_pVideoParams.Release();
}
BOOL CMCVideoGroup::VideoSettings3(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings3, v); }
BOOL CMCVideoGroup::VideoSettings4(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings4, v); }
BOOL CMCVideoGroup::VideoSettings5(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings5, v); }
BOOL CMCVideoGroup::VideoSettings6(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings6, v); }
BOOL CMCVideoGroup::VideoSettings7(DWORD v1, DWORD v2, DWORD v3) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings7, v1, v2, v3);
}
BOOL CMCVideoGroup::VideoSettings8(DWORD v1, DWORD v2, DWORD v3) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings8, v1, v2, v3);
}
BOOL CMCVideoGroup::VideoSettings9(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings9, v); }
BOOL CMCVideoGroup::VideoSettings10(DWORD v) { return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings10, v); }
BOOL CMCVideoGroup::VideoSettings11(DWORD v1, DWORD v2, DWORD v3, DWORD v4) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings11, v1, v2, v3, v4);
}
BOOL CMCVideoGroup::GetVideoSettings(MC_VIDEO_SETTINGS* settings) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::GetSettings, settings);
}
BOOL CMCVideoGroup::SetVideoSettings(MC_VIDEO_SETTINGS settings) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::SetSettings, &settings);
}
BOOL CMCVideoGroup::GetVideoDefaults(DWORD streamType, DWORD pal, MC_VIDEO_SETTINGS* settings) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::GetDefaults, streamType, pal, settings);
}
BOOL CMCVideoGroup::VideoSettings15(DWORD v1, DWORD v2) {
    return MCForward(m_pVideoSettings.p, &IMCVideoSettings::Settings15, v1, v2);
}
BOOL CMCVideoGroup::SetVideoParam(DWORD id, DWORD value) {
    return MCForward(m_pVideoParams.p, &IMCVideoParams::SetParam, id, value);
}
BOOL CMCVideoGroup::GetVideoParam(DWORD id, DWORD* value) {
    return MCForward(m_pVideoParams.p, &IMCVideoParams::GetParam, id, value);
}
BOOL CMCVideoGroup::SetVideoModeNibble(int value) { return MCSetVideoModeNibble(m_pVideoSettings, value); }
