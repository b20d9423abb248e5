#include "hwsim/boards/CaptureFilter.h"

#include "hwsim/chips/Saa713x.h"
#include "hwsim/boards/PublishDriver.h"
#include "hwsim/boards/TunerFilter.h"
#include "platform/dshow/StreamConfigMixin.h"
#include "uuids.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinDescription;

namespace {

// What the capture pin can deliver: the first is the format it starts with.
std::vector<platform::dshow::StreamCapability> CaptureCapabilities() {
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = FORMAT_VideoInfo;
    caps.VideoStandard = kCardStandards;
    caps.InputSize = {720, 576};
    caps.MinOutputSize = {90, 72};
    caps.MaxOutputSize = {720, 576};
    caps.MinFrameInterval = 333667;
    caps.MaxFrameInterval = 400000;
    std::vector<platform::dshow::StreamCapability> capabilities;
    for (auto [subtype, bits] : {std::pair<GUID, WORD>{MEDIASUBTYPE_YUY2, 16}, {MEDIASUBTYPE_RGB24, 24},
                                 {MEDIASUBTYPE_UYVY, 16}, {MEDIASUBTYPE_YV12, 12}}) {
        capabilities.push_back(platform::dshow::StreamCapability::Video(
            platform::dshow::VideoInfoType(subtype, 720, 576, bits), caps));
    }
    return capabilities;
}

}  // namespace

CaptureFilter::CaptureFilter(std::shared_ptr<KsDriver> driver, bool interleavedPin)
    : With(kCaptureFilterClsid), m_driver(std::move(driver)) {
    AddPin(PinDescription{PINDIR_INPUT, L"Analog Video In", L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogVideo, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_INPUT, L"Analog Audio In", L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogAudio, GUID_NULL)}});
    const MediaType video = platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 720, 576, 16);
    CComPtr<platform::dshow::PinBase> capture;
    capture.Attach(new platform::dshow::StreamConfigPin(
        this, PinDescription{PINDIR_OUTPUT, L"Capture", L"", PIN_CATEGORY_CAPTURE, {}}, CaptureCapabilities()));
    AddPin(capture);
    AddPin(PinDescription{PINDIR_OUTPUT, L"Preview", L"", PIN_CATEGORY_PREVIEW, {video}});
    if (interleavedPin) {
        AddPin(PinDescription{PINDIR_OUTPUT, L"Interleaved", L"", PIN_CATEGORY_CAPTURE,
                              {MediaType(MEDIATYPE_Interleaved, GUID_NULL)}});
    }

    PublishDriver(*this, m_driver);
    SetTVFormats(kCardStandards, AnalogVideo_PAL_D);
    for (long property : {VideoProcAmp_Brightness, VideoProcAmp_Contrast, VideoProcAmp_Saturation}) {
        SetProcAmpRange(property, {0, 255, 1, 128, VideoProcAmp_Flags_Manual});
    }
    SetProcAmpRange(VideoProcAmp_Hue, {-128, 127, 1, 0, VideoProcAmp_Flags_Manual});
}

STDMETHODIMP CaptureFilter::QueryInterface(REFIID riid, void** ppv) {
    const HRESULT hr = With::QueryInterface(riid, ppv);
    if (hr != E_NOINTERFACE || !ppv) return hr;
    return m_driver->QueryDriverInterface(GetUnknown(), riid, ppv);
}

STDMETHODIMP CaptureFilter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) {
    m_driver->GetCard().NoteGraph("capture", pGraph != nullptr);
    return With::JoinFilterGraph(pGraph, pName);
}

HRESULT CaptureFilter::HorizontalLocked(long* locked) {
    Card& card = m_driver->GetCard();
    if (!card.IsPlugged()) return kDeviceGone;
    *locked = (card.Bridge().Read(Saa713x::kVideoStatus) & 1) ? 1 : 0;
    return S_OK;
}

STDMETHODIMP CaptureFilter::Set(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                                LPVOID pPropData, DWORD cbPropData) {
    if (!m_driver->GetCard().IsPlugged()) {
        return m_driver->Set(guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData);
    }
    return FilterBase::Set(guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData);
}

STDMETHODIMP CaptureFilter::Get(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                                LPVOID pPropData, DWORD cbPropData, DWORD* pcbReturned) {
    if (!m_driver->GetCard().IsPlugged()) {
        DWORD returned = 0;
        return m_driver->Get(guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData,
                             pcbReturned ? pcbReturned : &returned);
    }
    return FilterBase::Get(guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData, pcbReturned);
}

STDMETHODIMP CaptureFilter::QuerySupported(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) {
    if (!m_driver->GetCard().IsPlugged()) return m_driver->QuerySupported(guidPropSet, dwPropID, pTypeSupport);
    return FilterBase::QuerySupported(guidPropSet, dwPropID, pTypeSupport);
}

}  // namespace hwsim
