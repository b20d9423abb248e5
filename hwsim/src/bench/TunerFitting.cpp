#include "hwsim/bench/TunerFitting.h"

#include <initializer_list>

#include "hwsim/boards/Card.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/chips/Tda8275a.h"
#include "hwsim/chips/Tda8290.h"
#include "hwsim/chips/XceiveTuner.h"

namespace hwsim {

namespace {

// Modules whose PLL does not sit at the common address 0xC0.
struct PllAddress {
    int model;
    BYTE address7;
};
constexpr PllAddress kPllAddresses[] = {
    {15, 0x63},  // 0xC6
    {32, 0x61},  // 0xC2
};

// Modules whose picture IF is not the common 38900 kHz.
struct PllIf {
    long ifKHz;
    std::initializer_list<int> models;
};
const PllIf kPllIfs[] = {
    {45750, {1, 2, 7, 9, 15, 34, 54, 55, 57, 61, 63, 64, 65, 66, 71, 73, 74, 94, 98, 111}},
    {58750, {3, 56, 68, 96, 100}},
    {38000, {53, 131}},
};

// The Xceive tuners: models 90, 91, 136 and 137.
bool IsXceive(int model) { return model == 90 || model == 91 || model == 136 || model == 137; }

// The SAA713x boards wire the Xceive chip's reset to GPIO line 18.
constexpr DWORD kXceiveResetLine = 1u << 18;
// Bridge register 0x38: bit 0 of its byte 2 (register 0x3A) is set while the Xceive chip has no lock.
constexpr DWORD kXceiveLockRegister = 0x38;
constexpr DWORD kXceiveNoLockBit = 1u << 16;

void FitXceive(Card& card) {
    auto* chip = static_cast<XceiveTuner*>(card.AddChip("tuner", std::make_unique<XceiveTuner>(card.Rf())));
    chip->WireResetToGpio(card.Bridge(), kXceiveResetLine);
    card.Bridge().SetReadHook(kXceiveLockRegister, [&card](DWORD stored) {
        auto* fitted = dynamic_cast<XceiveTuner*>(card.Chip("tuner"));
        return (stored & ~kXceiveNoLockBit) | (fitted != nullptr && fitted->Locked() ? 0u : kXceiveNoLockBit);
    });
}

}  // namespace

void FitTuner(Card& card, int model) {
    if (model == 0) return;
    if (IsXceive(model)) {
        FitXceive(card);
    } else if (model == 95) {
        // The TDA8275A behind the TDA8290's I2C gate.
        auto* demod = static_cast<Tda8290*>(card.AddChip("demodulator", std::make_unique<Tda8290>(card.Rf())));
        auto* tuner = static_cast<Tda8275a*>(card.AddChip("tuner", std::make_unique<Tda8275a>(*demod)));
        demod->SetTuner(tuner);
    } else {
        PllTuner::Options options;
        for (const PllAddress& row : kPllAddresses) {
            if (row.model == model) options.address7 = row.address7;
        }
        for (const PllIf& row : kPllIfs) {
            for (int m : row.models)
                if (m == model) options.ifKHz = row.ifKHz;
        }
        card.AddChip("tuner", std::make_unique<PllTuner>(card.Rf(), options));
    }
    card.Bridge().SetReadHook(Saa713x::kVideoStatus,
                              [&card](DWORD stored) { return (stored & ~1u) | (TunerSeesPicture(card) ? 1u : 0u); });
}

bool TunerSeesPicture(const Card& card) {
    if (auto* demod = dynamic_cast<Tda8290*>(card.Chip("demodulator"))) return demod->Locked();
    if (auto* xceive = dynamic_cast<XceiveTuner*>(card.Chip("tuner"))) return xceive->Locked();
    auto* tuner = dynamic_cast<PllTuner*>(card.Chip("tuner"));
    return tuner != nullptr && tuner->Locked();
}

}  // namespace hwsim
