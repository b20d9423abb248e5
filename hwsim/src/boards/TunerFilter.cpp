// A card's TV tuner filter as its driver publishes it.
#include "hwsim/boards/TunerFilter.h"

#include "hwsim/boards/PublishDriver.h"
#include "uuids.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinDescription;

TunerFilter::TunerFilter(Card& card, std::shared_ptr<KsDriver> driver) : With(kTunerFilterClsid), m_card(card) {
    AddPin(PinDescription{PINDIR_OUTPUT, L"Analog Video", L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogVideo, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_OUTPUT, L"Analog Audio", L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogAudio, GUID_NULL)}});
    SetTVFormats(kCardStandards, AnalogVideo_PAL_D);
    if (card.Kind().tunerModes != 0) SetAvailableModes(card.Kind().tunerModes);
    if (driver) PublishDriver(*this, driver);
}

STDMETHODIMP TunerFilter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) {
    m_card.NoteGraph("tuner", pGraph != nullptr);
    return With::JoinFilterGraph(pGraph, pName);
}

STDMETHODIMP TunerFilter::Set(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                              LPVOID pPropData, DWORD cbPropData) {
    ++m_propertyRequests;
    return With::Set(guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData);
}

STDMETHODIMP TunerFilter::Get(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                              LPVOID pPropData, DWORD cbPropData, DWORD* pcbReturned) {
    ++m_propertyRequests;
    return With::Get(guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData, pcbReturned);
}

STDMETHODIMP TunerFilter::QuerySupported(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) {
    ++m_propertyRequests;
    return With::QuerySupported(guidPropSet, dwPropID, pTypeSupport);
}

std::vector<std::string> TunerFilter::Calls() const {
    std::lock_guard<std::mutex> lock(m_callsLock);
    return m_calls;
}

void TunerFilter::Record(std::string call) {
    std::lock_guard<std::mutex> lock(m_callsLock);
    m_calls.push_back(std::move(call));
}

HRESULT TunerFilter::OnChannel(long channel, long videoSubChannel, long audioSubChannel) {
    Record("put_Channel " + std::to_string(channel) + " " + std::to_string(videoSubChannel) + " " +
           std::to_string(audioSubChannel));
    return m_card.IsPlugged() ? S_OK : kDeviceGone;
}

STDMETHODIMP TunerFilter::put_CountryCode(long lCountryCode) {
    Record("put_CountryCode " + std::to_string(lCountryCode));
    return platform::dshow::TVTunerMixin::put_CountryCode(lCountryCode);
}

HRESULT TunerFilter::OnMode(AMTunerModeType mode) {
    Record("put_Mode " + std::to_string(static_cast<long>(mode)));
    return S_OK;
}

}  // namespace hwsim
