// CMCMpegEncoderFilter: the wrapper of the MainConcept MPEG encoder (video and audio encoder,
// multiplexer and file writer in one filter), registered by its CLSID. It forwards to the
// filter's six interfaces, fills set-up records from six presets and configures the whole filter
// from one set-up record (ApplySetup).
#pragma once

#include <makers/mainconcept.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/MCEncoderSetup.h"
#include "graph/MCInterfaceGroups.h"
#include "graph/RootFilter.h"

class CMCMpegEncoderFilter : public CFilterWrapper<CMCMpegEncoderFilter>, public CMCAudioGroup, public CMCMuxGroup, public CMCVideoGroup {
public:
    // Init opens the six interfaces, every one even after a failure; TRUE when all six opened.
    using CFilterWrapper::CFilterWrapper;
    ~CMCMpegEncoderFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;

    // The audio, multiplexer and video groups, and the fixed-id parameters the set-up uses.
    BOOL SetAudioParam60(DWORD value);
    // The caller's value goes back to it whatever the result (its own value after a failure).
    BOOL GetAudioParam60(DWORD* value);
    BOOL SetAudioParam1(DWORD value);
    BOOL SetVideoParam60(DWORD value);
    BOOL GetVideoParam60(DWORD* value);
    BOOL SetVideoParam61(DWORD value);
    BOOL GetVideoParam61(DWORD* value);

    // ---- presets and set-up ----
    static BOOL GetPresetVCD(MCEncoderSetup* setup, BOOL pal);
    static BOOL GetPresetDVD(MCEncoderSetup* setup, BOOL pal);
    static BOOL GetPresetDVDLow(MCEncoderSetup* setup, BOOL pal);
    static BOOL GetPresetSVCD(MCEncoderSetup* setup, BOOL pal);
    static BOOL GetPresetMPEG1(MCEncoderSetup* setup, BOOL pal);
    static BOOL GetPresetMPEG2(MCEncoderSetup* setup, BOOL pal);
    // Configures video, parameters, audio and multiplexer in one fixed sequence; stops at the
    // first failing step, leaving what it wrote in the filter. A step whose interface is not held
    // fails.
    BOOL ApplySetup(const MCEncoderSetup* setup);

private:
    void ReleaseInterfaces();
};
