// CMCH264EncoderFilter: the wrapper of the MainConcept H.264 encoder.
#include "graph/MCH264EncoderFilter.h"

#include "graph/FilterWrapperClass.h"
#include "graph/MCForward.h"

CFilterClassRecord CMCH264EncoderFilter::s_classRecord = Record(&CLSID_MCH264Encoder, nullptr,
                                                                "MainConcept Demo H.264 Encoder");

CMCH264EncoderFilter::~CMCH264EncoderFilter() { ReleaseInterfaces(); }

void CMCH264EncoderFilter::ReleaseInterfaces() {
    ReleaseAudioGroup();
    m_pMuxSettings.Release();
    m_pMuxParams.Release();
    m_pFileSink.Release();
    m_pH264Settings.Release();
    m_pH264Params.Release();
}

BOOL CMCH264EncoderFilter::Init() {
    m_bDyncPin = TRUE;
    ReleaseInterfaces();
    if (!IsValid()) return FALSE;
    BOOL all = OpenAudioGroup(m_pFilter);
    all &= MCQueryEach(m_pFilter,
                       IID_IMCMuxSettings, m_pMuxSettings,
                       IID_IMCMuxParams, m_pMuxParams,
                       IID_IFileSinkFilter, m_pFileSink,
                       IID_IMCH264Settings, m_pH264Settings,
                       IID_IMCH264Params, m_pH264Params);
    return all;
}

BOOL CMCH264EncoderFilter::H264Settings3(DWORD v1, DWORD v2, DWORD v3) {
    return MCForward(m_pH264Settings.p, &IMCH264Settings::Settings3, v1, v2, v3);
}
BOOL CMCH264EncoderFilter::H264Settings4(DWORD v1, DWORD v2, DWORD v3) {
    return MCForward(m_pH264Settings.p, &IMCH264Settings::Settings4, v1, v2, v3);
}
BOOL CMCH264EncoderFilter::H264Settings5(DWORD v) { return MCForward(m_pH264Settings.p, &IMCH264Settings::Settings5, v); }
BOOL CMCH264EncoderFilter::SetH264Settings(MC_H264_SETTINGS settings) {
    return MCForward(m_pH264Settings.p, &IMCH264Settings::SetSettings, &settings);
}
BOOL CMCH264EncoderFilter::H264Settings7(DWORD v1, DWORD v2, DWORD v3) {
    return MCForward(m_pH264Settings.p, &IMCH264Settings::Settings7, v1, v2, v3);
}
BOOL CMCH264EncoderFilter::H264Settings8(DWORD v1, DWORD v2) {
    return MCForward(m_pH264Settings.p, &IMCH264Settings::Settings8, v1, v2);
}
BOOL CMCH264EncoderFilter::GetH264Param(DWORD id, DWORD* value) {
    return MCForward(m_pH264Params.p, &IMCH264Params::GetParam, id, value);
}
BOOL CMCH264EncoderFilter::SetH264Param(DWORD id, DWORD value) {
    return MCForward(m_pH264Params.p, &IMCH264Params::SetParam, id, value);
}
