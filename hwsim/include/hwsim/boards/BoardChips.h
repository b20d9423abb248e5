// The chips a board carries beyond its EEPROM, tuner and I2C key controller, each fitted by the
// function its card kind's row names (CardKind::fitChips):
//   "713x_D TV Card Capture"  the digit controller at 8-bit address 0x72, a plain register file:
//                             register 0x20 the number of digits, 0x21 + i digit i (0 to 9);
//                             none at plug-in (role "digits").
//   "Jorsk A/V Capture"       the video decoder at 8-bit 0x40/0x41 (role "decoder"), on the
//                             picture of the box's PLL tuner.
//   "VORLANE Lurvan Audio/Video Capture"
//                             an Xceive tuner on each half, whatever tuner the bench names: at
//                             0xC2/0xC3 (role "tuner", reset on GPIO line 3) and at 0xC8/0xC9
//                             (role "tuner2", reset on line 4), the lines the driver's GPIO
//                             selectors 3 and 4 drive.
//   the EM28xx boxes          their decoder, controller and PLL address (Em28xxBox.h).
#pragma once

namespace hwsim {

class Card;

inline constexpr unsigned char kDigitControllerAddress = 0x72;
inline constexpr unsigned char kDigitCountRegister = 0x20;
inline constexpr unsigned char kWisDecoderAddress = 0x40;

inline constexpr const char kLurvanSecondTunerRole[] = "tuner2";
inline constexpr unsigned kLurvanFirstResetSelector = 3;
inline constexpr unsigned kLurvanSecondResetSelector = 4;

void FitDigitController(Card& card);
void FitWisBoxDecoder(Card& card);
void FitLurvanTuners(Card& card);

}  // namespace hwsim
