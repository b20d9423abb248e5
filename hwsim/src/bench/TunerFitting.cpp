#include "hwsim/bench/TunerFitting.h"

#include "hwsim/boards/Card.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/chips/Tda8275a.h"
#include "hwsim/chips/Tda8290.h"

namespace hwsim {

namespace {

// model | 7-bit address | picture IF (kHz) | AFC codes, tuned far below .. far above the station
constexpr PllFitting kPllFittings[] = {
    {1, 0x60, 45750, {4, 3, 2, 1, 0}},
    {2, 0x60, 45750, {4, 2, 3, 1, 0}},
    {3, 0x60, 58750, {4, 2, 3, 1, 0}},
    {4, 0x60, 38900, {4, 3, 2, 1, 0}},
    {5, 0x60, 38900, {4, 3, 2, 1, 0}},
    {7, 0x60, 45750, {4, 2, 3, 1, 0}},
    {8, 0x60, 38900, {4, 3, 2, 1, 0}},
    {9, 0x60, 45750, {4, 2, 3, 1, 0}},
    {10, 0x60, 38900, {4, 3, 2, 1, 0}},
    {11, 0x60, 38900, {4, 3, 2, 1, 0}},
    {12, 0x60, 38900, {4, 3, 2, 1, 0}},
    {13, 0x60, 38900, {4, 3, 2, 1, 0}},
    {14, 0x60, 38900, {2, 4, 3, 1, 0}},
    {15, 0x63, 45750, {4, 3, 2, 1, 0}},
    {17, 0x60, 38900, {4, 3, 2, 1, 0}},
    {32, 0x61, 38900, {4, 3, 2, 1, 0}},
    {33, 0x60, 38900, {4, 3, 2, 1, 0}},
    {34, 0x60, 45750, {4, 3, 2, 1, 0}},
    {35, 0x60, 38900, {4, 3, 2, 1, 0}},
    {50, 0x60, 38900, {4, 2, 3, 1, 0}},
    {52, 0x60, 38900, {4, 3, 2, 1, 0}},
    {53, 0x60, 38000, {4, 3, 2, 1, 0}},
    {54, 0x60, 45750, {4, 3, 2, 1, 0}},
    {55, 0x60, 45750, {4, 3, 2, 1, 0}},
    {56, 0x60, 58750, {4, 3, 2, 1, 0}},
    {57, 0x60, 45750, {4, 3, 2, 1, 0}},
    {58, 0x60, 38900, {4, 3, 2, 1, 0}},
    {59, 0x60, 38900, {4, 2, 3, 1, 0}},
    {60, 0x60, 38900, {4, 2, 1, 3, 0}},
    {61, 0x60, 45750, {4, 2, 1, 3, 0}},
    {62, 0x60, 38900, {4, 3, 1, 1, 0}},
    {63, 0x60, 45750, {4, 3, 2, 1, 0}},
    {64, 0x60, 45750, {4, 3, 2, 1, 0}},
    {65, 0x60, 45750, {4, 3, 2, 1, 0}},
    {66, 0x60, 45750, {4, 3, 2, 1, 0}},
    {67, 0x60, 38900, {4, 2, 1, 1, 0}},
    {68, 0x60, 58750, {4, 2, 3, 1, 0}},
    {69, 0x60, 38900, {4, 3, 2, 1, 0}},
    {70, 0x60, 38900, {4, 2, 3, 1, 0}},
    {71, 0x60, 45750, {4, 3, 2, 1, 0}},
    {72, 0x60, 38900, {4, 2, 3, 1, 0}},
    {73, 0x60, 45750, {4, 2, 3, 1, 0}},
    {74, 0x60, 45750, {4, 2, 3, 1, 0}},
    {75, 0x60, 38900, {4, 2, 3, 1, 0}},
    {92, 0x60, 38900, {4, 2, 3, 1, 0}},
    {93, 0x60, 38900, {4, 2, 3, 1, 0}},
    {94, 0x60, 45750, {4, 3, 2, 1, 0}},
    {96, 0x60, 58750, {4, 3, 2, 1, 0}},
    {97, 0x60, 38900, {4, 2, 3, 1, 0}},
    {98, 0x60, 45750, {4, 3, 2, 1, 0}},
    {100, 0x60, 58750, {4, 2, 3, 1, 0}},
    {110, 0x60, 38900, {4, 3, 2, 1, 0}},
    {111, 0x60, 45750, {4, 2, 3, 1, 0}},
    {130, 0x60, 38900, {4, 3, 2, 1, 0}},
    {131, 0x60, 38000, {4, 3, 2, 1, 0}},
    {132, 0x60, 38900, {4, 2, 3, 1, 0}},
    {133, 0x60, 38900, {4, 2, 3, 1, 0}},
    {134, 0x60, 38900, {4, 3, 2, 1, 0}},
    {138, 0x60, 38900, {4, 3, 2, 1, 0}},
    {139, 0x60, 38900, {4, 2, 3, 1, 0}},
};

}  // namespace

std::span<const PllFitting> PllFittings() { return kPllFittings; }

const PllFitting* FindPllFitting(int model) {
    for (const PllFitting& row : kPllFittings) {
        if (row.model == model) return &row;
    }
    return nullptr;
}

void FitTuner(Card& card, int model) {
    if (model == 0) return;
    if (model == 95) {
        // The TDA8275A behind the TDA8290's I2C gate.
        auto* demod = static_cast<Tda8290*>(card.AddChip("demodulator", std::make_unique<Tda8290>(card.Rf())));
        auto* tuner = static_cast<Tda8275a*>(card.AddChip("tuner", std::make_unique<Tda8275a>(*demod)));
        demod->SetTuner(tuner);
    } else {
        PllTuner::Options options;
        if (const PllFitting* row = FindPllFitting(model)) {
            options.address7 = row->address7;
            options.ifKHz = row->ifKHz;
            options.afcCodes = row->afcCodes;
        }
        card.AddChip("tuner", std::make_unique<PllTuner>(card.Rf(), options));
    }
    card.Bridge().SetReadHook(Saa713x::kVideoStatus,
                              [&card](DWORD stored) { return (stored & ~1u) | (TunerSeesPicture(card) ? 1u : 0u); });
}

bool TunerSeesPicture(const Card& card) {
    if (auto* demod = dynamic_cast<Tda8290*>(card.Chip("demodulator"))) return demod->Locked();
    auto* tuner = dynamic_cast<PllTuner*>(card.Chip("tuner"));
    return tuner != nullptr && tuner->Locked();
}

}  // namespace hwsim
