#include "hwsim/TunerFitting.h"

#include "hwsim/Card.h"
#include "hwsim/PllTuner.h"

namespace hwsim {

namespace {

// Modules whose PLL does not sit at the common address 0xC0.
struct PllAddress {
    int model;
    BYTE address7;
};
constexpr PllAddress kPllAddresses[] = {
    {32, 0x61},  // 0xC2
    {95, 0x61},  // 0xC2
};

}  // namespace

void FitTuner(Card& card, int model) {
    if (model == 0) return;
    PllTuner::Options options;
    for (const PllAddress& row : kPllAddresses) {
        if (row.model == model) options.address7 = row.address7;
    }
    card.AddChip("tuner", std::make_unique<PllTuner>(card.Rf(), options));
    card.Bridge().SetReadHook(Saa713x::kVideoStatus, [&card](DWORD stored) {
        auto* tuner = dynamic_cast<PllTuner*>(card.Chip("tuner"));
        return (stored & ~1u) | (tuner && tuner->Locked() ? 1u : 0u);
    });
}

}  // namespace hwsim
