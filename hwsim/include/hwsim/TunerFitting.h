// Fits a card with the tuner chips of a TUNER_MODEL.
#pragma once

namespace hwsim {

class Card;

// Adds the chips of tuner `model` to the card under the role "tuner" (and roles of their own
// for modules with more than one chip), and wires the decoder's video status to the tuner.
// Model 0 fits nothing.
void FitTuner(Card& card, int model);

}  // namespace hwsim
