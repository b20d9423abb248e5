// A card's TV tuner filter as its driver publishes it: the analog video and audio outputs that
// feed the card's crossbar, and IAMTVTuner. The card's tuner chips are programmed by the card
// object over the property sets of its driver: on the capture filter, or on this filter for
// the cards whose driver publishes them here (the CX2388x cards). It offers the modes of the
// card's kind (TV only unless the kind names others). This filter keeps the tuner
// state that DirectShow asks for, records each put_Mode, put_Channel and put_CountryCode asked of
// it ("put_Mode 1", "put_Channel 1 0 0", "put_CountryCode 81") and counts the property requests it carries. A channel asked of an unplugged card is refused with
// kDeviceGone.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "hwsim/boards/Card.h"
#include "hwsim/drivers/KsDriver.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/TVTunerMixin.h"
#include "platform/dshow/With.h"

namespace hwsim {

// {5A1D0C03-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kTunerFilterClsid = {0x5A1D0C03, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

// The standards the cards' tuners and decoders take.
inline constexpr long kCardStandards = AnalogVideo_NTSC_M | AnalogVideo_PAL_B | AnalogVideo_PAL_D | AnalogVideo_PAL_G |
                                       AnalogVideo_PAL_I | AnalogVideo_SECAM_D | AnalogVideo_SECAM_K;

class TunerFilter : public platform::dshow::With<platform::dshow::FilterBase, platform::dshow::TVTunerMixin> {
public:
    // `driver`: the driver whose property sets this filter publishes; null: none.
    explicit TunerFilter(Card& card, std::shared_ptr<KsDriver> driver = nullptr);

    // Noted on the card ("tuner").
    STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;

    // put_Mode, put_Channel and put_CountryCode as asked, in order.
    std::vector<std::string> Calls() const;
    STDMETHODIMP put_CountryCode(long lCountryCode) override;

    // Property requests (Get, Set, QuerySupported) that reached the driver through this filter.
    STDMETHODIMP Set(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                     LPVOID pPropData, DWORD cbPropData) override;
    STDMETHODIMP Get(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                     LPVOID pPropData, DWORD cbPropData, DWORD* pcbReturned) override;
    STDMETHODIMP QuerySupported(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) override;
    int PropertyRequests() const { return m_propertyRequests.load(); }

protected:
    HRESULT OnChannel(long channel, long videoSubChannel, long audioSubChannel) override;
    HRESULT OnMode(AMTunerModeType mode) override;

private:
    void Record(std::string call);

    Card& m_card;
    mutable std::mutex m_callsLock;
    std::vector<std::string> m_calls;
    std::atomic<int> m_propertyRequests{0};
};

}  // namespace hwsim
