// CMCMpegEncoderFilter: the wrapper of the MainConcept MPEG encoder (video and audio encoder,
// multiplexer and file writer in one filter), registered by its CLSID. It forwards to the
// filter's six interfaces, fills set-up records from six presets and configures the whole filter
// from one set-up record (ApplySetup).
#pragma once

#include <makers/mainconcept.h>

#include "graph/FilterClassRecord.h"
#include "graph/MCSettingsRecords.h"
#include "graph/RootFilter.h"

class CMCMpegEncoderFilter : public CRootFilter {
public:
    CMCMpegEncoderFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CMCMpegEncoderFilter(CRootGraph* owner, REFCLSID clsid);
    CMCMpegEncoderFilter(CRootGraph* owner, IBaseFilter* filter);
    ~CMCMpegEncoderFilter() override;

    HRESULT OnHook1(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;
    HRESULT OnHook2(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;
    // Opens the six interfaces, every one even after a failure; TRUE when all six opened.
    BOOL Init() override;

    // ---- audio ----
    BOOL AudioSettings3(DWORD value);
    BOOL AudioSettings4(DWORD value);
    BOOL AudioSettings5(DWORD value);
    BOOL AudioSettings6(DWORD value);
    BOOL AudioSettings7(DWORD value);
    BOOL AudioSettings8(DWORD value);
    BOOL AudioSettings9(DWORD value);
    BOOL AudioSettings10(DWORD value);
    BOOL AudioSettings11(DWORD value);
    BOOL SetAudioSettings(MC_AUDIO_SETTINGS settings);
    BOOL GetAudioDefaults(DWORD streamType, MC_AUDIO_SETTINGS* settings);
    BOOL AudioSettings14(DWORD value);
    BOOL SetAudioParam(DWORD id, DWORD value);
    BOOL GetAudioParam(DWORD id, DWORD* value);
    BOOL SetAudioParam60(DWORD value);
    // The caller's value goes back to it whatever the result (its own value after a failure).
    BOOL GetAudioParam60(DWORD* value);
    BOOL SetAudioParam1(DWORD value);

    // ---- multiplexer and file ----
    BOOL MuxSettings3(DWORD value);
    BOOL MuxSettings4(DWORD value);
    BOOL MuxSettings5(DWORD value);
    BOOL SetMuxSettings(MC_MUX_SETTINGS settings);
    BOOL MuxSettings7(DWORD value1, DWORD value2);
    BOOL SetMuxStreamType(DWORD streamType);
    // A null name passes a null wide name.
    BOOL SetFileName(const char* name);
    // FALSE with an empty buffer when the name does not fit; an empty buffer when the filter has
    // no name.
    BOOL GetFileName(char* buffer, int size = MAX_PATH);

    // ---- video ----
    BOOL VideoSettings3(DWORD value);
    BOOL VideoSettings4(DWORD value);
    BOOL VideoSettings5(DWORD value);
    BOOL VideoSettings6(DWORD value);
    BOOL VideoSettings7(DWORD value1, DWORD value2, DWORD value3);
    BOOL VideoSettings8(DWORD value1, DWORD value2, DWORD value3);
    BOOL VideoSettings9(DWORD value);
    BOOL VideoSettings10(DWORD value);
    BOOL VideoSettings11(DWORD value1, DWORD value2, DWORD value3, DWORD value4);
    BOOL GetVideoSettings(MC_VIDEO_SETTINGS* settings);
    BOOL SetVideoSettings(MC_VIDEO_SETTINGS settings);
    BOOL GetVideoDefaults(DWORD streamType, DWORD pal, MC_VIDEO_SETTINGS* settings);
    BOOL VideoSettings15(DWORD value1, DWORD value2);
    BOOL SetVideoParam(DWORD id, DWORD value);
    BOOL GetVideoParam(DWORD id, DWORD* value);
    BOOL SetVideoParam60(DWORD value);
    BOOL GetVideoParam60(DWORD* value);
    BOOL SetVideoParam61(DWORD value);
    BOOL GetVideoParam61(DWORD* value);
    // Bits 1 to 4 of the video settings byte 0x32C, read-modify-write; only the value's low four
    // bits are used.
    BOOL SetVideoModeNibble(int value);

    // ---- presets and set-up ----
    static BOOL GetPresetVCD(MCEncoderSetup* setup, BOOL pal);
    static BOOL GetPresetDVD(MCEncoderSetup* setup, BOOL pal);
    static BOOL GetPresetDVDLow(MCEncoderSetup* setup, BOOL pal);
    static BOOL GetPresetSVCD(MCEncoderSetup* setup, BOOL pal);
    static BOOL GetPresetMPEG1(MCEncoderSetup* setup, BOOL pal);
    static BOOL GetPresetMPEG2(MCEncoderSetup* setup, BOOL pal);
    // Configures video, parameters, audio and multiplexer in one fixed sequence; stops at the
    // first failing step, leaving what it wrote in the filter.
    BOOL ApplySetup(const MCEncoderSetup* setup);

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CRootFilter* WrapInstance(CRootGraph* graph, IBaseFilter* filter);
    static CFilterClassRecord s_classRecord;

private:
    CComPtr<IMCAudioSettings> m_pAudioSettings;
    CComPtr<IMCAudioParams> m_pAudioParams;
    CComPtr<IMCMuxSettings> m_pMuxSettings;
    CComPtr<IFileSinkFilter> m_pFileSink;
    CComPtr<IMCVideoSettings> m_pVideoSettings;
    CComPtr<IMCVideoParams> m_pVideoParams;
};
