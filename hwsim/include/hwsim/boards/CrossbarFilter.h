// A card's crossbar filter: video and audio inputs routed to the video decoder output
// ("Capture", 0) and the audio decoder output (1), which feed the capture filter. The layout
// follows the board's pin count (Card::CrossbarPins): the usual 8 pins are the tuner, composite
// and S-video inputs of video (inputs 0 to 2) and of audio (inputs 3 to 5); 5 and 6 pins are
// the MPEG-2 box's (composite, S-video, [tuner] video, line audio), 7 pins tuner, S-video,
// composite video and tuner, line audio, 9 pins S-video, tuner, composite, YRYBY video and
// tuner, composite, S-video audio. The CX2388x boards have their own nine: video tuner,
// composite, S-video and a second composite (0 to 3), then line audio, second line audio and
// tuner audio (4 to 6). The routes are the card's (a new filter finds them as they were; a
// fresh card is routed to its first video input and its tuner audio, or its first audio input
// where it has none), and pick what the capture filter streams. A route asked of an unplugged
// card is refused with kDeviceGone.
#pragma once

#include <vector>

#include "hwsim/boards/Card.h"
#include "platform/dshow/CrossbarMixin.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/With.h"

namespace hwsim {

// {5A1D0C02-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kCrossbarFilterClsid = {0x5A1D0C02, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

class CrossbarFilter
    : public platform::dshow::With<platform::dshow::FilterBase, platform::dshow::CrossbarMixin> {
public:
    explicit CrossbarFilter(Card& card);

    // Noted on the card ("crossbar").
    STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;

protected:
    HRESULT OnRoute(long output, long input) override;

private:
    Card::Source SourceOf(long input) const;

    Card& m_card;
    std::vector<Card::Source> m_sources;  // by input index
};

}  // namespace hwsim
