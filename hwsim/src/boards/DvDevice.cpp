// The 1394 DV device "Microsoft DV Camera and VCR".
#include "hwsim/boards/DvDevice.h"

#include <string>

#include "uuids.h"

namespace hwsim {

DvDeviceDriver::State DvDeviceDriver::Get() const {
    std::lock_guard<std::mutex> lock(m_stateLock);
    return m_state;
}

void DvDeviceDriver::Set(const State& state) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state = state;
}

void DvDeviceDriver::SetMode(long mode) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.mode = mode;
}

STDMETHODIMP DvExtDeviceMixin::GetCapability(long Capability, long* pValue, double*) {
    const HRESULT hr = m_driver.Enter("GetCapability " + std::to_string(Capability));
    if (FAILED(hr)) return hr;
    if (Capability != ED_DEVCAP_DEVICE_TYPE) return E_NOTIMPL;
    if (!pValue) return E_POINTER;
    *pValue = m_driver.Get().deviceType;
    return S_OK;
}

STDMETHODIMP DvTransportMixin::GetStatus(long StatusItem, long* pValue) {
    const HRESULT hr = m_driver.Enter("GetStatus " + std::to_string(StatusItem));
    if (FAILED(hr)) return hr;
    if (!pValue) return E_POINTER;
    const auto status = m_driver.Get().status;
    auto it = status.find(StatusItem);
    if (it == status.end()) return E_INVALIDARG;
    *pValue = it->second;
    return S_OK;
}

STDMETHODIMP DvTransportMixin::put_Mode(long Mode) {
    const HRESULT hr = m_driver.Enter("put_Mode " + std::to_string(Mode));
    if (SUCCEEDED(hr)) m_driver.SetMode(Mode);
    return hr;
}

STDMETHODIMP DvTransportMixin::get_Mode(long* pMode) {
    const HRESULT hr = m_driver.Enter("get_Mode");
    if (FAILED(hr)) return hr;
    if (!pMode) return E_POINTER;
    *pMode = m_driver.Get().mode;
    return S_OK;
}

STDMETHODIMP DvTransportMixin::get_Rate(double* pdblRate) {
    const HRESULT hr = m_driver.Enter("get_Rate");
    if (FAILED(hr)) return hr;
    if (!pdblRate) return E_POINTER;
    *pdblRate = m_driver.Get().rate;
    return S_OK;
}

STDMETHODIMP DvTimecodeMixin::GetTimecode(PTIMECODE_SAMPLE pTimecodeSample) {
    if (!pTimecodeSample) return E_POINTER;
    const HRESULT hr = m_driver.Enter("GetTimecode " + std::to_string(pTimecodeSample->dwFlags));
    if (FAILED(hr)) return hr;
    const DvDeviceDriver::State state = m_driver.Get();
    switch (pTimecodeSample->dwFlags) {
    case ED_DEVCAP_TIMECODE_READ: pTimecodeSample->timecode.dwFrames = state.timecode; break;
    case ED_DEVCAP_ATN_READ: pTimecodeSample->timecode.dwFrames = state.trackNumber; break;
    default: return E_INVALIDARG;
    }
    pTimecodeSample->dwUser = state.user;
    return S_OK;
}

DvDeviceFilter::DvDeviceFilter(std::shared_ptr<DvDeviceDriver> driver)
    : FilterBase(kDvDeviceFilterClsid),
      DvExtDeviceMixin(*driver),
      DvTransportMixin(*driver),
      DvTimecodeMixin(*driver),
      m_driver(std::move(driver)) {
    AddPin(platform::dshow::PinDescription{PINDIR_OUTPUT, L"DV Vid Out", L"", PIN_CATEGORY_CAPTURE,
                                           {platform::dshow::MediaType(MEDIATYPE_Interleaved, GUID_NULL)}});
    AddPin(platform::dshow::PinDescription{PINDIR_INPUT, L"DV A/V In", L"", GUID_NULL,
                                           {platform::dshow::MediaType(MEDIATYPE_Interleaved, GUID_NULL)}});
}

STDMETHODIMP DvDeviceFilter::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    HRESULT hr = E_NOINTERFACE;
    if (m_driver->Refuses<IAMExtDevice>(riid) || m_driver->Refuses<IAMExtTransport>(riid) ||
        m_driver->Refuses<IAMTimecodeReader>(riid)) {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    if (IsEqualGUID(riid, IID_IUnknown)) return FilterBase::QueryInterface(riid, ppv);
    if (platform::MatchInterface<IAMExtDevice>(static_cast<DvExtDeviceMixin*>(this), riid, ppv, &hr) ||
        platform::MatchInterface<IAMExtTransport>(static_cast<DvTransportMixin*>(this), riid, ppv, &hr) ||
        platform::MatchInterface<IAMTimecodeReader>(static_cast<DvTimecodeMixin*>(this), riid, ppv, &hr)) {
        return hr;
    }
    return FilterBase::QueryInterface(riid, ppv);
}

}  // namespace hwsim
