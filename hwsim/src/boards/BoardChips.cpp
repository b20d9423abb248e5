#include "hwsim/boards/BoardChips.h"

#include <memory>
#include <string_view>

#include "hwsim/boards/Card.h"
#include "hwsim/boards/WisBox.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/chips/VideoDecoder.h"

namespace hwsim {

namespace {

// The WIS box's video decoder sees the picture of the box's tuner, asked without the card's chip
// table (a read holds the decoder's lock).
void FitWisBoxDecoder(Card& card) {
    const PllTuner* pll = dynamic_cast<const PllTuner*>(card.Chip("tuner"));
    card.AddChip("decoder", std::make_unique<VideoDecoder>(kWisDecoderAddress >> 1, [pll]() -> std::optional<Station> {
                     return pll != nullptr ? pll->Picture() : std::nullopt;
                 }));
}

struct KindChips {
    const char* captureName;
    void (*fit)(Card& card);
};

const KindChips kBoardChips[] = {
    {"713x_D TV Card Capture",
     [](Card& card) { card.AddChip("digits", std::make_unique<RegisterFileDevice>(kDigitControllerAddress >> 1, 256)); }},
    {kWisBoxName, &FitWisBoxDecoder},
};

}  // namespace

void FitBoardChips(Card& card) {
    for (const KindChips& row : kBoardChips) {
        if (std::string_view(row.captureName) == card.FriendlyName()) row.fit(card);
    }
}

}  // namespace hwsim
