// CAudioCaptureFilter: the wrapper of any audio input device (a card's audio capture device or a
// sound card's recording device), registered for the audio input category as "CLASS_FILTER".
// On top of the filter it finds the device's capture pin and stream configuration and the winmm
// mixer whose product name is the device's FriendlyName, and offers the mute and volume
// controls of the mixer's recording destination and of each source line, the capture wave
// format, and the input pins' IAMAudioInputMixer settings.
//
// The mixer is opened by identifier for each call and closed again; every line and control
// call is made on that handle.
#pragma once

#include <mmsystem.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CAudioCaptureFilter : public CFilterWrapper<CAudioCaptureFilter> {
public:
    // A destination with more controls than this is refused.
    static constexpr DWORD kMaxDestinationControls = 100;

    using CFilterWrapper::CFilterWrapper;
    ~CAudioCaptureFilter() override;

    // "Capture" answers the capture pin once it was found; otherwise the lookup by name.
    CRootPin* FindPin(const char* name) override;
    // Finds the capture pin and the mixer and reads the mixer's lines; FALSE when no mixer could
    // be chosen or its lines not read.
    BOOL Init() override;

    // The capture pin (PIN_CATEGORY_CAPTURE, MEDIATYPE_Audio) and its IAMStreamConfig, through
    // the graph's capture graph builder; failures leave both unset. TRUE when both were found.
    BOOL FindCapturePin();
    // Reads the source lines of the mixer's destination 0 and the destination's controls.
    BOOL LoadMixerLines();

    // The destination's first mute or volume control. GetVolume sets *value to all bits first.
    BOOL SetMute(DWORD value);
    BOOL GetMute(DWORD* value);
    BOOL SetVolume(DWORD value);
    BOOL GetVolume(DWORD* value);
    // A source line's first mute or volume control, by the line's name. GetLineVolume sets
    // *value to 0 first. FALSE (value untouched) for a line the mixer lacks.
    BOOL SetLineMute(const char* lineName, DWORD value);
    BOOL GetLineMute(const char* lineName, DWORD* value);
    BOOL SetLineVolume(const char* lineName, DWORD value);
    BOOL GetLineVolume(const char* lineName, DWORD* value);
    // The index of the first source line named `lineName` exactly; -1 when none.
    int FindLine(const char* lineName);
    // The source lines (owned by the wrapper) and their count.
    MIXERLINE* GetLines(int* count);

    // The capture pin's format (IAMStreamConfig::GetFormat, else its first offered type); the
    // caller deletes it (DeleteMediaType).
    BOOL GetCaptureMediaType(AM_MEDIA_TYPE** mediaType);
    // The capture format's WAVEFORMATEX fields; TRUE without a copy when the format is another
    // kind (or a block too short for a WAVEFORMATEX).
    BOOL GetCaptureFormat(WAVEFORMATEX* format);
    // Sets the capture format's WAVEFORMATEX fields; TRUE without a change when the format is
    // another kind.
    BOOL SetCaptureFormat(const WAVEFORMATEX* format);

    // IAMAudioInputMixer of an input pin, by pin name; FALSE for a missing pin, an output pin or
    // a pin without the interface.
    BOOL SetInputEnable(const char* pinName, BOOL enable);
    BOOL GetInputEnable(const char* pinName, BOOL* enable);
    BOOL GetInputMixLevel(const char* pinName, double* level);
    BOOL SetInputMixLevel(const char* pinName, double level);

    UINT GetMixerId() const { return m_uMixerId; }
    int GetMixerIndex() const { return m_nMixerIndex; }
    CRootPin* GetCapturePin() const { return m_pCapturePin; }

    static CFilterClassRecord s_classRecord;

private:
    // Chooses the mixer whose product name is the device name, or its first 31 characters for a
    // longer name (the highest index among equal names; mixer 0 when none matches). FALSE when a
    // mixer call failed.
    BOOL ChooseMixer();
    void FreeMixerArrays();
    // Reads (get) or sets a value of the first control of `type` on the destination (line -1)
    // or source line `line`.
    BOOL ControlValue(int line, DWORD type, DWORD* value, BOOL set);
    // The input pin's IAMAudioInputMixer; NULL when there is none.
    CComPtr<IAMAudioInputMixer> InputMixer(const char* pinName);

    UINT m_uMixerId = 0;
    MIXERCONTROL* m_pDestControls = nullptr;
    int m_nDestControlCount = 0;
    CComPtr<IAMStreamConfig> m_pStreamConfig;
    CRootPin* m_pCapturePin = nullptr;
    MIXERLINE* m_pLines = nullptr;
    int m_nLineCount = 0;
    int m_nMixerIndex = 0;
};
