// The USB TV boxes on Empia EM28xx bridges.
#include "hwsim/boards/Em28xxBox.h"

#include <memory>

#include "hwsim/bench/TunerFitting.h"
#include "hwsim/boards/Card.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/chips/VideoDecoder.h"

namespace hwsim {

namespace {

struct Em28xxBoxRow {
    const char* captureName;
    const I2CKeyWiring* keys;  // the box controller, or the TV box's key controller
};

const Em28xxBoxRow kBoxes[] = {
    {"USB 2800 Video", &kEm28xxControllerWiring},
    {"Vorlane USB TV Box Video", &kTVBoxKeyWiring},
    {"USB 2820 Video", &kEm28xxControllerWiring},
    {"USB 2821 Video", &kEm28xxControllerWiring},
    {"USB 2881 Video", &kEm28xxControllerWiring},
};

const Em28xxBoxRow* FindBox(std::string_view captureName) {
    for (const Em28xxBoxRow& row : kBoxes) {
        if (captureName == row.captureName) return &row;
    }
    return nullptr;
}

}  // namespace

bool IsEm28xxBox(std::string_view captureName) { return FindBox(captureName) != nullptr; }

bool HasEm28xxBoxController(std::string_view captureName) {
    const Em28xxBoxRow* row = FindBox(captureName);
    return row != nullptr && row->keys == &kEm28xxControllerWiring;
}

void FitEm28xxBox(Card& card) {
    const Em28xxBoxRow* row = FindBox(card.FriendlyName());
    if (row == nullptr) return;
    // The boxes wire the PLL module at 0xC6, whatever its own address.
    FitTuner(card, card.TunerModel(), kEm28xxPllAddress7);
    // The decoder asks the PLL itself: a read holds the decoder's lock, under which the card's
    // chip table must not be taken.
    const auto* pll = dynamic_cast<const PllTuner*>(card.Chip("tuner"));
    card.AddChip(kEm28xxDecoderRole, std::make_unique<VideoDecoder>(kEm28xxDecoderAddress7, [pll]() -> std::optional<Station> {
                     return pll != nullptr ? pll->Picture() : std::nullopt;
                 }));
    auto* keys = static_cast<I2CKeyController*>(
        card.AddChip(kKeyControllerRole, std::make_unique<I2CKeyController>(*row->keys)));
    if (row->keys == &kEm28xxControllerWiring) {
        keys->Poke(kEm28xxTunerTypeRegister, static_cast<BYTE>(card.TunerTypeCode()));
    }
}

}  // namespace hwsim
