// The chips a board carries beyond its EEPROM and tuner, by card kind.
#include "hwsim/boards/BoardChips.h"

#include <memory>
#include <string_view>

#include "hwsim/boards/Card.h"
#include "hwsim/boards/WisBox.h"
#include "hwsim/boards/Em28xxBox.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/chips/VideoDecoder.h"
#include "hwsim/chips/XceiveTuner.h"

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

// The Lurvan board's two halves: an Xceive tuner each, its reset on the GPIO line its driver's
// selector names.
void FitLurvanTuners(Card& card) {
    auto* first = static_cast<XceiveTuner*>(card.AddChip("tuner", std::make_unique<XceiveTuner>(card.Rf())));
    first->WireResetToGpio(card.Bridge(), 1u << kLurvanFirstResetSelector);
    auto* second = static_cast<XceiveTuner*>(
        card.AddChip(kLurvanSecondTunerRole, std::make_unique<XceiveTuner>(card.Rf(), XceiveTuner::kSecondAddress7)));
    second->WireResetToGpio(card.Bridge(), 1u << kLurvanSecondResetSelector);
}

struct KindChips {
    const char* captureName;
    void (*fit)(Card& card);
};

const KindChips kBoardChips[] = {
    {"713x_D TV Card Capture",
     [](Card& card) { card.AddChip("digits", std::make_unique<RegisterFileDevice>(kDigitControllerAddress >> 1, 256)); }},
    {kWisBoxName, &FitWisBoxDecoder},
    {"VORLANE Lurvan Audio/Video Capture", &FitLurvanTuners},
    {"USB 2800 Video", &FitEm28xxBox},
    {"Vorlane USB TV Box Video", &FitEm28xxBox},
    {"USB 2820 Video", &FitEm28xxBox},
    {"USB 2821 Video", &FitEm28xxBox},
    {"USB 2881 Video", &FitEm28xxBox},
};

}  // namespace

void FitBoardChips(Card& card) {
    for (const KindChips& row : kBoardChips) {
        if (std::string_view(row.captureName) == card.FriendlyName()) row.fit(card);
    }
}

}  // namespace hwsim
