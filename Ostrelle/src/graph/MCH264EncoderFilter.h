// CMCH264EncoderFilter: the wrapper of the MainConcept H.264 encoder (video encoder with its own
// audio encoder, multiplexer and file sink), registered by its CLSID. It offers the audio and
// multiplexer groups of the MPEG encoder, the multiplexer parameters, and forwards to the
// H.264 settings and parameters.
#pragma once

#include <makers/mainconcept.h>

#include "graph/FilterClassRecord.h"
#include "graph/MCInterfaceGroups.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CMCH264EncoderFilter : public CFilterWrapper<CMCH264EncoderFilter>, public CMCAudioGroup, public CMCMuxGroup, public CMCMuxParamGroup {
public:
    // Init opens the seven interfaces, every one even after a failure; TRUE when all seven
    // opened. An invalid wrapper still forwards to the interfaces it holds.
    using CFilterWrapper::CFilterWrapper;
    ~CMCH264EncoderFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;

    BOOL H264Settings3(DWORD value1, DWORD value2, DWORD value3);
    BOOL H264Settings4(DWORD value1, DWORD value2, DWORD value3);
    BOOL H264Settings5(DWORD value);
    // The whole 8320-byte record reaches the filter in one call.
    BOOL SetH264Settings(MC_H264_SETTINGS settings);
    BOOL H264Settings7(DWORD value1, DWORD value2, DWORD value3);
    BOOL H264Settings8(DWORD value1, DWORD value2);
    BOOL GetH264Param(DWORD id, DWORD* value);
    BOOL SetH264Param(DWORD id, DWORD value);

private:
    void ReleaseInterfaces();

    CComPtr<IMCH264Settings> m_pH264Settings;
    CComPtr<IMCH264Params> m_pH264Params;
};
