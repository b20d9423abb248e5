// A card's TV-audio device as its driver publishes it: the tuner's audio comes in, the
// decoded sound goes on to the crossbar's tuner audio input, and IAMTVAudio chooses the mode.
#pragma once

#include "hwsim/boards/Card.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/TVAudioMixin.h"
#include "platform/dshow/With.h"

namespace hwsim {

// {5A1D0C04-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kTVAudioFilterClsid = {0x5A1D0C04, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

class TVAudioFilter : public platform::dshow::With<platform::dshow::FilterBase, platform::dshow::TVAudioMixin> {
public:
    static constexpr const wchar_t* kInputPin = L"TVAudio In";
    static constexpr const wchar_t* kOutputPin = L"TVAudio Out";

    explicit TVAudioFilter(Card& card);

    // Noted on the card ("tv audio").
    STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;

protected:
    HRESULT OnTVAudioMode(long mode) override;

private:
    Card& m_card;
};

}  // namespace hwsim
