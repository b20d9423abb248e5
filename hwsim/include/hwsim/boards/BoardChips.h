// The chips a board carries beyond its EEPROM and tuner, by card kind:
//   "713x_D TV Card Capture"  the digit controller at 8-bit address 0x72, a plain register file:
//                             register 0x20 the number of digits, 0x21 + i digit i (0 to 9);
//                             none at plug-in (role "digits").
//   the EM28xx boxes          their decoder, controller and PLL address (Em28xxBox.h).
#pragma once

namespace hwsim {

class Card;

inline constexpr unsigned char kDigitControllerAddress = 0x72;
inline constexpr unsigned char kDigitCountRegister = 0x20;

// Fits the chips of the card's kind (nothing for a kind without chips of its own).
void FitBoardChips(Card& card);

}  // namespace hwsim
