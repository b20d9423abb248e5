// A card's TV-audio device as its driver publishes it.
#include "hwsim/boards/TVAudioFilter.h"

#include "uuids.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinDescription;

TVAudioFilter::TVAudioFilter(Card& card) : With(kTVAudioFilterClsid), m_card(card) {
    AddPin(PinDescription{PINDIR_INPUT, kInputPin, L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogAudio, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_OUTPUT, kOutputPin, L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogAudio, GUID_NULL)}});
}

STDMETHODIMP TVAudioFilter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) {
    m_card.NoteGraph("tv audio", pGraph != nullptr);
    return With::JoinFilterGraph(pGraph, pName);
}

HRESULT TVAudioFilter::OnTVAudioMode(long) { return m_card.IsPlugged() ? S_OK : kDeviceGone; }

}  // namespace hwsim
