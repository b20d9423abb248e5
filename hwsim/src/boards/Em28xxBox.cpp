// The USB TV boxes on Empia EM28xx bridges.
#include "hwsim/boards/Em28xxBox.h"

#include <memory>

#include "hwsim/bench/CardKind.h"
#include "hwsim/bench/TunerFitting.h"
#include "hwsim/boards/Card.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/chips/VideoDecoder.h"

namespace hwsim {

bool IsEm28xxBox(std::string_view captureName) {
    const CardKind* kind = FindCardKind(captureName);
    return kind != nullptr && kind->fitChips == &FitEm28xxBox;
}

bool HasEm28xxBoxController(std::string_view captureName) {
    return IsEm28xxBox(captureName) && FindCardKind(captureName)->keyController == &kEm28xxControllerWiring;
}

void FitEm28xxBox(Card& card) {
    // The boxes wire the PLL module at 0xC6, whatever its own address.
    FitTuner(card, card.TunerModel(), kEm28xxPllAddress7);
    // The decoder asks the PLL itself: a read holds the decoder's lock, under which the card's
    // chip table must not be taken.
    const auto* pll = dynamic_cast<const PllTuner*>(card.Chip("tuner"));
    card.AddChip(kEm28xxDecoderRole, std::make_unique<VideoDecoder>(kEm28xxDecoderAddress7, [pll]() -> std::optional<Station> {
                     return pll != nullptr ? pll->Picture() : std::nullopt;
                 }));
    if (card.Kind().keyController == &kEm28xxControllerWiring) {
        card.KeyController().Poke(kEm28xxTunerTypeRegister, static_cast<BYTE>(card.TunerTypeCode()));
    }
}

}  // namespace hwsim
