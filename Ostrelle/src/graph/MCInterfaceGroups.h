// The forwarding groups that several MainConcept wrappers share, one per set of interfaces:
// audio, video, multiplexer with its file sink, and multiplexer parameters. A wrapper derives
// from the groups it offers and opens their interfaces in its own Init, in its own order. Each
// operation is FALSE without a call when its interface is not held, else TRUE exactly when the
// filter's answer is a success code; the arguments reach the slot unchanged.
#pragma once

#include <makers/mainconcept.h>
#include <windows.h>

#include <objbase.h>

class CMCAudioGroup {
public:
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

protected:
    ~CMCAudioGroup() = default;
    // Opens the audio settings, then the audio parameters of `filter`, both always; TRUE when
    // both queries succeeded.
    BOOL OpenAudioGroup(IBaseFilter* filter);
    void ReleaseAudioGroup();

    CComPtr<IMCAudioSettings> m_pAudioSettings;
    CComPtr<IMCAudioParams> m_pAudioParams;
};

class CMCMuxGroup {
public:
    BOOL MuxSettings3(DWORD value);
    BOOL MuxSettings4(DWORD value);
    BOOL MuxSettings5(DWORD value);
    BOOL SetMuxSettings(MC_MUX_SETTINGS settings);
    BOOL MuxSettings7(DWORD value1, DWORD value2);
    BOOL SetMuxStreamType(DWORD streamType);
    // A null name passes a null wide name; one of 260 characters or more is refused without a
    // call.
    BOOL SetFileName(const char* name);
    // FALSE with an empty buffer when the name does not fit `size` bytes; an empty buffer when
    // the filter has no name.
    BOOL GetFileName(char* buffer, int size = MAX_PATH);

protected:
    ~CMCMuxGroup() = default;

    CComPtr<IMCMuxSettings> m_pMuxSettings;
    CComPtr<IFileSinkFilter> m_pFileSink;
};

class CMCMuxParamGroup {
public:
    BOOL GetMuxParam(DWORD id, DWORD* value);
    BOOL SetMuxParam(DWORD id, DWORD value);

protected:
    ~CMCMuxParamGroup() = default;

    CComPtr<IMCMuxParams> m_pMuxParams;
};

class CMCVideoGroup {
public:
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
    // Bits 1 to 4 of the video settings byte 0x32C, read-modify-write; only the value's low four
    // bits are used.
    BOOL SetVideoModeNibble(int value);

protected:
    ~CMCVideoGroup() = default;
    // Opens the video settings, then the video parameters of `filter`, both always; TRUE when
    // both queries succeeded.
    BOOL OpenVideoGroup(IBaseFilter* filter);
    void ReleaseVideoGroup();

    CComPtr<IMCVideoSettings> m_pVideoSettings;
    CComPtr<IMCVideoParams> m_pVideoParams;
};
