// CEmpAudioFilter: the wrapper of the EMP USB boxes' audio capture device ("USB EMP Audio Device").
#include "cards/usb/EmpAudioFilter.h"

CFilterClassRecord CEmpAudioFilter::s_classRecord(nullptr, &CLSID_AudioInputDeviceCategory,
                                                  CEmpAudioFilter::kDeviceName, &CEmpAudioFilter::CreateInstance);

CRootFilter* CEmpAudioFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CEmpAudioFilter>(s_classRecord, graph, flag);
}

CEmpAudioFilter::CEmpAudioFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CRootFilter(owner, category, friendlyName, flag) {}

CEmpAudioFilter::CEmpAudioFilter(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {}

CEmpAudioFilter::~CEmpAudioFilter() { m_pControl.Release(); }

BOOL CEmpAudioFilter::Init() {
    m_pControl.Release();
    if (!IsValid()) return FALSE;
    if (FAILED(CoCreateInstance(CLSID_EmpAudioControl, nullptr, CLSCTX_INPROC_SERVER, IID_IEmpAudioControl,
                                reinterpret_cast<void**>(&m_pControl)))) {
        m_pControl.Release();
    }
    return EnableDevice(TRUE);
}

BOOL CEmpAudioFilter::EnableDevice(BOOL enable) {
    if (m_pControl == nullptr) return FALSE;
    return SUCCEEDED(m_pControl->EnableAudio(static_cast<DWORD>(enable))) ? TRUE : FALSE;
}

BOOL CEmpAudioFilter::EnableMixer(CRootPin* pin, BOOL enable) {
    CComPtr<IAMAudioInputMixer> mixer;
    const HRESULT hr = pin->GetPin()->QueryInterface(IID_IAMAudioInputMixer, reinterpret_cast<void**>(&mixer));
    TRACE("iAmAudioInputMixer : %p, hr = %d\n", static_cast<void*>(mixer.p), static_cast<int>(hr));
    if (FAILED(hr) || mixer == nullptr) return FALSE;
    return mixer->put_Enable(enable) == S_OK ? TRUE : FALSE;
}

BOOL CEmpAudioFilter::EnableInput(const char* pinName, BOOL enable) {
    CRootPin* pin = FindPin(pinName);
    PIN_DIRECTION direction;
    if (pin == nullptr || pin->GetPin() == nullptr || !pin->QueryDirection(&direction) || direction != PINDIR_INPUT) {
        return FALSE;
    }
    return EnableMixer(pin, enable);
}

BOOL CEmpAudioFilter::EnableInputByIndex(int index, BOOL enable) {
    CRootPin* found = nullptr;
    int inputs = 0;
    for (int i = 0; i < GetPinCount(); ++i) {
        CRootPin* pin = GetPin(i);
        PIN_DIRECTION direction;
        if (pin == nullptr || !pin->QueryDirection(&direction)) break;
        if (direction != PINDIR_INPUT) continue;
        if (inputs++ == index) {
            found = pin;
            break;
        }
    }
    TRACE("pPin : %p\n", static_cast<void*>(found));
    if (found == nullptr || found->GetPin() == nullptr) return FALSE;
    return EnableMixer(found, enable);
}
