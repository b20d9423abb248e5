#include "hwsim/installed/VorlaneFilters.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinDescription;

STDMETHODIMP AvSwitchControl::get_Switch(VARIANT_BOOL* pOn) {
    HRESULT hr = Behaviour().Enter("IAVSwitch", 3, {ULONGLONG(reinterpret_cast<uintptr_t>(pOn))});
    if (hr != S_OK) return hr;
    if (!pOn) return E_POINTER;
    VARIANT_BOOL on = VARIANT_TRUE;
    Behaviour().Load(kSwitchParam, &on);
    *pOn = on;
    return S_OK;
}

STDMETHODIMP AvSwitchControl::put_Switch(VARIANT_BOOL on) {
    HRESULT hr = Behaviour().Enter("IAVSwitch", 4, {ULONGLONG(WORD(on))});
    if (hr != S_OK) return hr;
    if (on != VARIANT_TRUE && on != VARIANT_FALSE) return E_INVALIDARG;
    Behaviour().Store(kSwitchParam, on);
    return S_OK;
}

AvSwitchFilter::AvSwitchFilter(std::shared_ptr<FilterBehaviour> behaviour)
    : InstalledFilterOf(CLSID_VorlaneAVSwitch, std::move(behaviour)) {
    AddPin(PinDescription{PINDIR_INPUT, L"Video In", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_INPUT, L"Audio In", L"", GUID_NULL, {MediaType(MEDIATYPE_Audio, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_OUTPUT, L"Video Out", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_OUTPUT, L"Audio Out", L"", GUID_NULL, {MediaType(MEDIATYPE_Audio, GUID_NULL)}});
}

HRESULT AvSwitchFilter::Make(const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid, void** ppv) {
    return platform::CreateComObject<AvSwitchFilter>(riid, ppv, behaviour);
}

TimeDelayFilter::TimeDelayFilter(std::shared_ptr<FilterBehaviour> behaviour)
    : InstalledFilterOf(CLSID_VorlaneTimeDelay, std::move(behaviour)) {
    AddPin(PinDescription{PINDIR_INPUT, L"Input", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_OUTPUT, L"Output", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, GUID_NULL)}});
}

HRESULT TimeDelayFilter::Make(const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid, void** ppv) {
    return platform::CreateComObject<TimeDelayFilter>(riid, ppv, behaviour);
}

}  // namespace hwsim
