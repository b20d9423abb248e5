// The chips a board carries beyond its EEPROM, tuner and I2C key controller.
#include "hwsim/boards/BoardChips.h"

#include <memory>

#include "hwsim/boards/Card.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/chips/VideoDecoder.h"
#include "hwsim/chips/XceiveTuner.h"

namespace hwsim {

void FitDigitController(Card& card) {
    card.AddChip("digits", std::make_unique<RegisterFileDevice>(kDigitControllerAddress >> 1, 256));
}

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

}  // namespace hwsim
