#include "hwsim/CaptureFilter.h"

#include "uuids.h"

namespace hwsim {

using platform::dshow::KsPropertyRequest;
using platform::dshow::KsVerb;
using platform::dshow::MediaType;
using platform::dshow::PinDescription;

CaptureFilter::CaptureFilter(std::shared_ptr<KsDriver> driver)
    : FilterBase(kCaptureFilterClsid), m_driver(std::move(driver)) {
    AddPin(PinDescription{PINDIR_INPUT, L"Analog Video In", L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogVideo, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_INPUT, L"Analog Audio In", L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogAudio, GUID_NULL)}});
    const MediaType video = platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 720, 576, 16);
    AddPin(PinDescription{PINDIR_OUTPUT, L"Capture", L"", PIN_CATEGORY_CAPTURE, {video}});
    AddPin(PinDescription{PINDIR_OUTPUT, L"Preview", L"", PIN_CATEGORY_PREVIEW, {video}});

    KsDriver* target = m_driver.get();
    for (const GUID& set : m_driver->Sets()) {
        Properties().AddSet(
            set,
            [target](KsPropertyRequest& request) {
                if (request.verb == KsVerb::Set) {
                    return target->Set(request.set, request.id, request.instance, request.instanceLength, request.data,
                                       request.dataLength);
                }
                DWORD returned = 0;
                const HRESULT hr = target->Get(request.set, request.id, request.instance, request.instanceLength,
                                               request.data, request.dataLength, &returned);
                request.returned = returned;
                return hr;
            },
            [target, set](ULONG id, DWORD* support) { return target->QuerySupported(set, id, support); });
    }
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
