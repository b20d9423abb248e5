// CAudioCaptureFilter: the wrapper of any audio input device.
#include "graph/AudioCaptureFilter.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include "graph/FilterWrapperClass.h"
#include "graph/FormatBlock.h"
#include "graph/RootGraph.h"

CFilterClassRecord CAudioCaptureFilter::s_classRecord = Record(nullptr, &CLSID_AudioInputDeviceCategory,
                                                               kAnyDeviceName);

namespace {

// A zeroed array of `count` records; NULL when its size overflows or it cannot be allocated.
template <class T>
T* AllocRecords(DWORD count) {
    if (count == 0 || count > INT_MAX || count > SIZE_MAX / sizeof(T)) return nullptr;
    return static_cast<T*>(LocalAlloc(LPTR, static_cast<SIZE_T>(count) * sizeof(T)));
}

template <class T>
void FreeRecords(T*& records) {
    if (records != nullptr) LocalFree(records);
    records = nullptr;
}

HMIXEROBJ AsObject(HMIXER mixer) {
    return reinterpret_cast<HMIXEROBJ>(mixer);
}

}  // namespace

CAudioCaptureFilter::~CAudioCaptureFilter() {
    FreeMixerArrays();
    m_pStreamConfig.Release();
}

CRootPin* CAudioCaptureFilter::FindPin(const char* name) {
    if (name != nullptr && std::strcmp(name, "Capture") == 0 && m_pCapturePin != nullptr) return m_pCapturePin;
    return CRootFilter::FindPin(name);
}

void CAudioCaptureFilter::FreeMixerArrays() {
    FreeRecords(m_pDestControls);
    m_nDestControlCount = 0;
    FreeRecords(m_pLines);
    m_nLineCount = 0;
}

BOOL CAudioCaptureFilter::Init() {
    FreeMixerArrays();
    m_pCapturePin = nullptr;
    m_pStreamConfig.Release();
    FindCapturePin();
    if (!ChooseMixer()) return FALSE;
    if (!LoadMixerLines()) {
        FreeMixerArrays();
        return FALSE;
    }
    return TRUE;
}

BOOL CAudioCaptureFilter::FindCapturePin() {
    if (m_pFilter == nullptr || m_pGraph == nullptr) return FALSE;
    ICaptureGraphBuilder2* builder = m_pGraph->GetCaptureGraphBuilder();
    if (builder == nullptr) return FALSE;
    CComPtr<IAMStreamConfig> config;
    if (FAILED(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, m_pFilter, IID_IAMStreamConfig,
                                      reinterpret_cast<void**>(&config))) ||
        config == nullptr)
        return FALSE;
    CComPtr<IPin> pin;
    if (FAILED(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, m_pFilter, IID_IPin,
                                      reinterpret_cast<void**>(&pin))) ||
        pin == nullptr)
        return FALSE;
    m_pStreamConfig = config;
    m_pCapturePin = FindPinByIPin(pin);
    return m_pCapturePin != nullptr ? TRUE : FALSE;
}

BOOL CAudioCaptureFilter::ChooseMixer() {
    m_uMixerId = 0;
    m_nMixerIndex = 0;
    // A mixer reports at most MAXPNAMELEN - 1 characters of its product name, so a longer
    // FriendlyName is matched by that many of its first characters.
    char wanted[MAXPNAMELEN] = {};
    std::memcpy(wanted, m_szDeviceName, strnlen(m_szDeviceName, MAXPNAMELEN - 1));
    const UINT count = mixerGetNumDevs();
    for (UINT i = count; i-- > 0;) {
        if (mixerGetID(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(i)), &m_uMixerId, MIXER_OBJECTF_MIXER) !=
            MMSYSERR_NOERROR)
            return FALSE;
        MIXERCAPS caps;
        std::memset(&caps, 0, sizeof(caps));
        if (mixerGetDevCaps(m_uMixerId, &caps, sizeof(caps)) != MMSYSERR_NOERROR) return FALSE;
        if (std::strcmp(caps.szPname, wanted) == 0) {
            m_nMixerIndex = static_cast<int>(i);
            return TRUE;
        }
    }
    return TRUE;  // mixer 0, with the identifier last obtained
}

BOOL CAudioCaptureFilter::LoadMixerLines() {
    HMIXER mixer = nullptr;
    if (mixerOpen(&mixer, m_uMixerId, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) return FALSE;
    BOOL loaded = FALSE;
    BOOL linesRead = TRUE;

    MIXERLINE destination;
    std::memset(&destination, 0, sizeof(destination));
    destination.cbStruct = sizeof(destination);
    if (mixerGetLineInfo(AsObject(mixer), &destination, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION) ==
        MMSYSERR_NOERROR) {
        FreeRecords(m_pLines);
        m_nLineCount = 0;
        if (destination.cConnections > 0) {
            m_pLines = AllocRecords<MIXERLINE>(destination.cConnections);
            linesRead = m_pLines != nullptr ? TRUE : FALSE;
        }
        if (m_pLines != nullptr) {
            m_nLineCount = static_cast<int>(destination.cConnections);
            for (int i = 0; i < m_nLineCount; ++i) {
                MIXERLINE& line = m_pLines[i];
                line.cbStruct = sizeof(line);
                line.dwDestination = 0;
                line.dwSource = static_cast<DWORD>(i);
                if (mixerGetLineInfo(AsObject(mixer), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) !=
                    MMSYSERR_NOERROR)
                    std::memset(&line, 0, sizeof(line));
            }
        }
    }

    std::memset(&destination, 0, sizeof(destination));
    destination.cbStruct = sizeof(destination);
    if (linesRead && mixerGetLineInfo(AsObject(mixer), &destination,
                                      MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION) == MMSYSERR_NOERROR) {
        const DWORD lineId = destination.dwLineID;
        std::memset(&destination, 0, sizeof(destination));
        destination.cbStruct = sizeof(destination);
        destination.dwLineID = lineId;
        if (mixerGetLineInfo(AsObject(mixer), &destination, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID) ==
                MMSYSERR_NOERROR &&
            destination.cControls <= kMaxDestinationControls) {
            FreeRecords(m_pDestControls);
            m_nDestControlCount = 0;
            m_pDestControls = AllocRecords<MIXERCONTROL>(destination.cControls);
            if (m_pDestControls != nullptr) {
                m_nDestControlCount = static_cast<int>(destination.cControls);
                MIXERLINECONTROLS query;
                std::memset(&query, 0, sizeof(query));
                query.cbStruct = sizeof(query);
                query.dwLineID = lineId;
                query.cControls = destination.cControls;
                query.cbmxctrl = sizeof(MIXERCONTROL);
                query.pamxctrl = m_pDestControls;
                loaded = mixerGetLineControls(AsObject(mixer), &query,
                                              MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) == MMSYSERR_NOERROR
                             ? TRUE
                             : FALSE;
            }
        }
    }
    mixerClose(mixer);
    return loaded;
}

BOOL CAudioCaptureFilter::ControlValue(int line, DWORD type, DWORD* value, BOOL set) {
    if (value == nullptr || line >= m_nLineCount) return FALSE;
    HMIXER mixer = nullptr;
    if (mixerOpen(&mixer, m_uMixerId, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) return FALSE;
    MIXERCONTROL* lineControls = nullptr;
    MIXERCONTROL* controls = m_pDestControls;
    int count = m_nDestControlCount;
    if (line >= 0) {
        const MIXERLINE& source = m_pLines[line];
        lineControls = AllocRecords<MIXERCONTROL>(source.cControls);
        count = lineControls != nullptr ? static_cast<int>(source.cControls) : 0;
        controls = lineControls;
        if (lineControls != nullptr) {
            MIXERLINECONTROLS query;
            std::memset(&query, 0, sizeof(query));
            query.cbStruct = sizeof(query);
            query.dwLineID = source.dwLineID;
            query.cControls = source.cControls;
            query.cbmxctrl = sizeof(MIXERCONTROL);
            query.pamxctrl = lineControls;
            mixerGetLineControls(AsObject(mixer), &query, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL);
        }
    }
    const MIXERCONTROL* control = nullptr;
    for (int i = 0; i < count && control == nullptr; ++i) {
        if (controls[i].dwControlType == type) control = &controls[i];
    }
    MMRESULT result = MMSYSERR_ERROR;
    if (control != nullptr) {
        DWORD detail = set ? *value : 0;
        MIXERCONTROLDETAILS details;
        std::memset(&details, 0, sizeof(details));
        details.cbStruct = sizeof(details);
        details.dwControlID = control->dwControlID;
        details.cChannels = 1;
        details.cMultipleItems = 0;
        details.cbDetails = sizeof(DWORD);
        details.paDetails = &detail;
        if (set) {
            result = mixerSetControlDetails(AsObject(mixer), &details,
                                            MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
        } else {
            result = mixerGetControlDetails(AsObject(mixer), &details,
                                            MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
            if (result == MMSYSERR_NOERROR) *value = detail;
        }
    }
    mixerClose(mixer);
    FreeRecords(lineControls);
    return result == MMSYSERR_NOERROR ? TRUE : FALSE;
}

BOOL CAudioCaptureFilter::SetMute(DWORD value) {
    return ControlValue(-1, MIXERCONTROL_CONTROLTYPE_MUTE, &value, TRUE);
}

BOOL CAudioCaptureFilter::GetMute(DWORD* value) {
    return ControlValue(-1, MIXERCONTROL_CONTROLTYPE_MUTE, value, FALSE);
}

BOOL CAudioCaptureFilter::SetVolume(DWORD value) {
    return ControlValue(-1, MIXERCONTROL_CONTROLTYPE_VOLUME, &value, TRUE);
}

BOOL CAudioCaptureFilter::GetVolume(DWORD* value) {
    if (value != nullptr) *value = 0xFFFFFFFF;
    return ControlValue(-1, MIXERCONTROL_CONTROLTYPE_VOLUME, value, FALSE);
}

BOOL CAudioCaptureFilter::SetLineMute(const char* lineName, DWORD value) {
    const int line = FindLine(lineName);
    return line >= 0 ? ControlValue(line, MIXERCONTROL_CONTROLTYPE_MUTE, &value, TRUE) : FALSE;
}

BOOL CAudioCaptureFilter::GetLineMute(const char* lineName, DWORD* value) {
    const int line = FindLine(lineName);
    return line >= 0 ? ControlValue(line, MIXERCONTROL_CONTROLTYPE_MUTE, value, FALSE) : FALSE;
}

BOOL CAudioCaptureFilter::SetLineVolume(const char* lineName, DWORD value) {
    const int line = FindLine(lineName);
    return line >= 0 ? ControlValue(line, MIXERCONTROL_CONTROLTYPE_VOLUME, &value, TRUE) : FALSE;
}

BOOL CAudioCaptureFilter::GetLineVolume(const char* lineName, DWORD* value) {
    if (value != nullptr) *value = 0;
    const int line = FindLine(lineName);
    return line >= 0 ? ControlValue(line, MIXERCONTROL_CONTROLTYPE_VOLUME, value, FALSE) : FALSE;
}

int CAudioCaptureFilter::FindLine(const char* lineName) {
    if (lineName == nullptr) return -1;
    for (int i = 0; i < m_nLineCount; ++i) {
        if (std::strcmp(m_pLines[i].szName, lineName) == 0) return i;
    }
    return -1;
}

MIXERLINE* CAudioCaptureFilter::GetLines(int* count) {
    if (count != nullptr) *count = m_nLineCount;
    return m_pLines;
}

BOOL CAudioCaptureFilter::GetCaptureMediaType(AM_MEDIA_TYPE** mediaType) {
    if (mediaType == nullptr || m_pCapturePin == nullptr || m_pStreamConfig == nullptr) return FALSE;
    *mediaType = nullptr;
    HRESULT hr = m_pStreamConfig->GetFormat(mediaType);
    if (hr != S_OK) {
        CComPtr<IEnumMediaTypes> types;
        hr = m_pCapturePin->EnumMediaTypes(&types);
        if (SUCCEEDED(hr) && types != nullptr) {
            types->Reset();
            hr = types->Next(1, mediaType, nullptr);
        }
    }
    return hr == S_OK && *mediaType != nullptr ? TRUE : FALSE;
}

BOOL CAudioCaptureFilter::GetCaptureFormat(WAVEFORMATEX* format) {
    if (format == nullptr) return FALSE;
    AM_MEDIA_TYPE* mediaType = nullptr;
    if (!GetCaptureMediaType(&mediaType)) return FALSE;
    if (const WAVEFORMATEX* wave = FormatBlockAs<WAVEFORMATEX>(mediaType, FORMAT_WaveFormatEx))
        CopyWaveFields(format, *wave);
    DeleteMediaType(mediaType);
    return TRUE;
}

BOOL CAudioCaptureFilter::SetCaptureFormat(const WAVEFORMATEX* format) {
    if (format == nullptr) return FALSE;
    AM_MEDIA_TYPE* mediaType = nullptr;
    if (!GetCaptureMediaType(&mediaType)) return FALSE;
    BOOL result = TRUE;
    if (WAVEFORMATEX* wave = FormatBlockAs<WAVEFORMATEX>(mediaType, FORMAT_WaveFormatEx)) {
        CopyWaveFields(wave, *format);
        result = m_pStreamConfig->SetFormat(mediaType) == S_OK ? TRUE : FALSE;
    }
    DeleteMediaType(mediaType);
    return result;
}

CComPtr<IAMAudioInputMixer> CAudioCaptureFilter::InputMixer(const char* pinName) {
    CComPtr<IAMAudioInputMixer> mixer;
    CRootPin* pin = FindPin(pinName);
    if (pin == nullptr || pin->GetPin() == nullptr) return mixer;
    PIN_DIRECTION direction;
    if (FAILED(pin->GetPin()->QueryDirection(&direction)) || direction != PINDIR_INPUT) return mixer;
    pin->GetPin()->QueryInterface(IID_IAMAudioInputMixer, reinterpret_cast<void**>(&mixer));
    return mixer;
}

BOOL CAudioCaptureFilter::SetInputEnable(const char* pinName, BOOL enable) {
    CComPtr<IAMAudioInputMixer> mixer = InputMixer(pinName);
    return mixer != nullptr && mixer->put_Enable(enable) == S_OK ? TRUE : FALSE;
}

BOOL CAudioCaptureFilter::GetInputEnable(const char* pinName, BOOL* enable) {
    if (enable == nullptr) return FALSE;
    *enable = FALSE;
    CComPtr<IAMAudioInputMixer> mixer = InputMixer(pinName);
    return mixer != nullptr && mixer->get_Enable(enable) == S_OK ? TRUE : FALSE;
}

BOOL CAudioCaptureFilter::GetInputMixLevel(const char* pinName, double* level) {
    if (level == nullptr) return FALSE;
    CComPtr<IAMAudioInputMixer> mixer = InputMixer(pinName);
    return mixer != nullptr && mixer->get_MixLevel(level) == S_OK ? TRUE : FALSE;
}

BOOL CAudioCaptureFilter::SetInputMixLevel(const char* pinName, double level) {
    CComPtr<IAMAudioInputMixer> mixer = InputMixer(pinName);
    return mixer != nullptr && mixer->put_MixLevel(level) == S_OK ? TRUE : FALSE;
}
