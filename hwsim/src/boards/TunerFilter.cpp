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
    if (driver) PublishDriver(*this, driver);
}

HRESULT TunerFilter::OnChannel(long, long, long) { return m_card.IsPlugged() ? S_OK : kDeviceGone; }

}  // namespace hwsim
