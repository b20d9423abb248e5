// Fits a card with the tuner chips of a TUNER_MODEL.
#pragma once

#include <optional>

#include "hwsim/bench/RfEnvironment.h"

namespace hwsim {

class Card;

// Adds the chips of tuner `model` to the card under the role "tuner" (and roles of their own
// for modules with more than one chip), and wires the decoder's video status to the tuner.
// Models 90, 91, 136 and 137 get the Xceive chip, its reset on GPIO line 18 and its lock in
// bridge register 0x3A, bit 0 (set while unlocked). Model 0 fits nothing.
void FitTuner(Card& card, int model);

// The fitted tuner delivers a picture: a station lies within its capture window of the tuned
// frequency. The video decoder's lock follows it.
bool TunerSeesPicture(const Card& card);
// The station whose picture the fitted tuner delivers, if any. Not from inside a chip's
// transfer: it reads the card's chip table.
std::optional<Station> PictureStation(const Card& card);

}  // namespace hwsim
