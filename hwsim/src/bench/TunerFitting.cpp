// Fits a card with the tuner chips of a TUNER_MODEL.
#include "hwsim/bench/TunerFitting.h"

#include <algorithm>
#include <initializer_list>
#include <span>

#include "hwsim/boards/Card.h"
#include "hwsim/chips/IfDemodulator.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/chips/Tda8275a.h"
#include "hwsim/chips/Tda8290.h"
#include "hwsim/chips/VideoDecoder.h"
#include "hwsim/chips/XceiveTuner.h"

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

// Modules with an FM receiver: the control and band byte of their FM write, FM IF, divider step
// and the AFC code of a centred FM station. Model 98 is left out: its FM bytes are those of its
// low TV band, and its FM status comes from its IF demodulator in radio mode.
struct PllFm {
    int model;
    BYTE control, band;
    long ifKHz, stepHz;
    BYTE lockCode;
};
constexpr PllFm kPllFms[] = {
    {2, 0x82, 0x05, 41250, 31250, 4},  {9, 0x8A, 0x19, 10700, 31250, 4},  {10, 0x8A, 0xA5, 10700, 31250, 4},
    {11, 0x8A, 0xA5, 10700, 31250, 4}, {14, 0x8A, 0xA5, 10700, 31250, 4}, {15, 0x8A, 0xA5, 10700, 31250, 3},
    {55, 0x8A, 0xA5, 10700, 31250, 4}, {58, 0x8A, 0x11, 10700, 31250, 3}, {62, 0x8A, 0x11, 10700, 31250, 2},
    {65, 0x8A, 0x11, 10700, 31250, 3}, {68, 0x8A, 0x11, 10700, 31250, 4}, {69, 0x8A, 0x11, 10700, 31250, 2},
    {70, 0x8A, 0x21, 10700, 31250, 4}, {92, 0x88, 0x19, 10700, 50000, 4}, {138, 0x8A, 0x11, 10700, 31250, 2},
};

// Modules that carry an IF demodulator at 0x86 beside their PLL.
constexpr int kDemodulatorModels[] = {12, 13, 17, 59, 63, 67, 68, 70, 72, 75, 92, 93, 94, 96, 97, 98, 100, 132, 139};

bool Listed(std::span<const int> models, int model) {
    return std::find(models.begin(), models.end(), model) != models.end();
}

// The chips beside the PLL of modules with an IF demodulator, a video decoder or a mode chip.
void FitIfChips(Card& card, int model, const PllTuner& pll) {
    if (!Listed(kDemodulatorModels, model)) return;
    auto* demod = static_cast<IfDemodulator*>(card.AddChip("demodulator", std::make_unique<IfDemodulator>(card.Rf())));
    demod->SetPll(&pll);
    if (model == 12) {
        auto* second = static_cast<IfDemodulator*>(
            card.AddChip("demodulator2", std::make_unique<IfDemodulator>(card.Rf(), 0x2B)));
        second->SetPll(&pll);
    }
    if (model == 97) {
        // The decoder asks the PLL itself: a read holds the decoder's lock, under which the
        // card's chip table must not be taken.
        card.AddChip("decoder",
                     std::make_unique<VideoDecoder>(VideoDecoder::kAddress, [&pll] { return pll.Picture(); }));
    }
    if (model == 100) card.AddChip("mode", std::make_unique<RegisterFileDevice>(0x5B, 2));
}

// The Xceive tuners: models 90, 91, 136 and 137.
bool IsXceive(int model) { return model == 90 || model == 91 || model == 136 || model == 137; }

// The SAA713x boards wire the Xceive chip's reset to GPIO line 18.
constexpr DWORD kXceiveResetLine = 1u << 18;
// Bridge register 0x38: bit 0 of its byte 2 (register 0x3A) is set while the Xceive chip has no lock.
constexpr DWORD kXceiveLockRegister = 0x38;
constexpr DWORD kXceiveNoLockBit = 1u << 16;

void FitXceive(Card& card) {
    auto* chip = static_cast<XceiveTuner*>(card.AddChip("tuner", std::make_unique<XceiveTuner>(card.Rf())));
    const DWORD resetLine = card.Kind().xceiveResetLine;
    chip->WireResetToGpio(card.Bridge(), resetLine != 0 ? resetLine : kXceiveResetLine);
    card.Bridge().SetReadHook(kXceiveLockRegister, [&card](DWORD stored) {
        auto* fitted = dynamic_cast<XceiveTuner*>(card.Chip("tuner"));
        return (stored & ~kXceiveNoLockBit) | (fitted != nullptr && fitted->Locked() ? 0u : kXceiveNoLockBit);
    });
}

}  // namespace

std::span<const PllFitting> PllFittings() { return kPllFittings; }

const PllFitting* FindPllFitting(int model) {
    for (const PllFitting& row : kPllFittings) {
        if (row.model == model) return &row;
    }
    return nullptr;
}

void FitTuner(Card& card, int model, BYTE pllAddress7) {
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
        if (const PllFitting* row = FindPllFitting(model)) {
            options.address7 = row->address7;
            options.ifKHz = row->ifKHz;
            options.afcCodes = row->afcCodes;
        }
        if (pllAddress7 != 0) options.address7 = pllAddress7;
        for (const PllFm& row : kPllFms) {
            if (row.model != model) continue;
            options.fmControl = row.control;
            options.fmBand = row.band;
            options.fmIfKHz = row.ifKHz;
            options.fmStepHz = row.stepHz;
            options.fmLockCode = row.lockCode;
        }
        auto* pll = static_cast<PllTuner*>(card.AddChip("tuner", std::make_unique<PllTuner>(card.Rf(), options)));
        FitIfChips(card, model, *pll);
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

std::optional<Station> PictureStation(const Card& card) {
    if (auto* demod = dynamic_cast<Tda8290*>(card.Chip("demodulator"))) {
        if (!demod->Locked()) return std::nullopt;
        return card.Rf().StationNear(demod->TunedKHz(), PllTuner::Options().windowKHz);
    }
    if (auto* xceive = dynamic_cast<XceiveTuner*>(card.Chip("tuner"))) {
        if (!xceive->Locked()) return std::nullopt;
        return card.Rf().StationNear(xceive->TunedKHz(), XceiveTuner::kWindowKHz);
    }
    auto* tuner = dynamic_cast<PllTuner*>(card.Chip("tuner"));
    return tuner != nullptr ? tuner->Picture() : std::nullopt;
}

}  // namespace hwsim
