// Fits a card with the tuner chips of a TUNER_MODEL.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "hwsim/bench/RfEnvironment.h"
#include "platform/wintypes.h"

namespace hwsim {

class Card;

// What a PLL tuner module of one TUNER_MODEL looks like on the bus: where its synthesiser
// answers, the picture IF its oscillator sits above the carrier, and the AFC codes its status
// byte gives when the tuned frequency lies far below, below, on, above and far above the
// station (the module table's AFC values 1 to 5; the third is its lock value).
// One row per PLL module the card makers fit; a test holds it against the system's module table.
struct PllFitting {
    int model;
    BYTE address7;
    long ifKHz;
    std::array<BYTE, 5> afcCodes;
};

std::span<const PllFitting> PllFittings();
// The row of a model; null for a model without one (such a card gets the common module).
const PllFitting* FindPllFitting(int model);

// Adds the chips of tuner `model` to the card under the role "tuner" (and roles of their own
// for modules with more than one chip), and wires the decoder's video status to the tuner.
// Models 90, 91, 136 and 137 get the Xceive chip, its reset on GPIO line 18 (or the line the
// card's kind wires) and its lock in bridge register 0x3A, bit 0 (set while unlocked). Model 0
// fits nothing. A board that wires the PLL module elsewhere gives its 7-bit address (0: the
// module's own).
void FitTuner(Card& card, int model, BYTE pllAddress7 = 0);

// The fitted tuner delivers a picture: a station lies within its capture window of the tuned
// frequency. The video decoder's lock follows it.
bool TunerSeesPicture(const Card& card);
// The station whose picture the fitted tuner delivers, if any. Not from inside a chip's
// transfer: it reads the card's chip table.
std::optional<Station> PictureStation(const Card& card);

}  // namespace hwsim
