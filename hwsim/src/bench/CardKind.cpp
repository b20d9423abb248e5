#include "hwsim/bench/CardKind.h"

namespace hwsim {

const std::vector<CardKind>& CardKinds() {
    static const std::vector<CardKind> kinds = {
        {"713x BDA Analog Capture", "713x BDA Analog Xbar", "713x BDA Analog TvTuner", &StandardPinLayout},
        {"713x_4 TV Card Capture", "713x_4 TV Card Crossbar", "PhTVTune", &StandardPinLayout},
    };
    return kinds;
}

const CardKind* FindCardKind(std::string_view captureName) {
    for (const CardKind& kind : CardKinds()) {
        if (captureName == kind.captureName) return &kind;
    }
    return nullptr;
}

}  // namespace hwsim
