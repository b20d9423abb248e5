// The USB TV boxes on Empia EM28xx bridges ("USB 2800 Video", "Vorlane USB TV Box Video", "USB 2820
// Video", "USB 2821 Video", "USB 2881 Video"), on the Empia driver. Each box's bus carries:
//   0xA0       the configuration EEPROM (the tuner's maker letter and model at 0xC0 and 0xC1; the
//              2821 keeps them at 0xD0 and 0xD1; the bench's image says what is there)
//   0x60       on every box but the TV box, the box controller: register 0x30 reads 1 while a key
//              waits, 0x31 the key (reading it takes the key), 0x32 the tuner type code of the
//              bench entry ("tunerTypeCode", default 0)
//   0xBB       on the TV box, the I2C remote-key controller (ready 0x30, key 0x31), whose key is
//              acknowledged by writing 0 to 0x30
//   0x4A/0x4B  the video decoder (register 2 the input mode; its status follows the PLL's
//              picture); a test may fit a second one at 0x42
//   0xC6       the fitted model's PLL module (with the IF demodulator at 0x86 for the models that
//              carry one: 92, 93, 97 among them)
// The bridge's GPIO byte (register 0x08) drives the board's lines 0 to 7: the audio switch
// shows on lines 0 to 2. Both controllers sit under the role kKeyControllerRole, so pressed keys
// reach them; a fault may take any of the chips away.
#pragma once

#include <string_view>

#include "hwsim/chips/I2CKeyController.h"
#include "platform/wintypes.h"

namespace hwsim {

class Card;

inline constexpr I2CKeyWiring kEm28xxControllerWiring = {0x30, 0x30, 0x31};  // 0x60 on the bus
inline constexpr BYTE kEm28xxTunerTypeRegister = 0x32;
inline constexpr BYTE kEm28xxDecoderAddress7 = 0x25;  // 0x4A on the bus
inline constexpr BYTE kEm28xxPllAddress7 = 0x63;      // 0xC6 on the bus
inline constexpr const char kEm28xxDecoderRole[] = "decoder";

// The kinds whose row fits the box's chips (FitEm28xxBox).
bool IsEm28xxBox(std::string_view captureName);
// The boxes with the controller at 0x60 (all but the TV box).
bool HasEm28xxBoxController(std::string_view captureName);
// Fits the box's chips beside its EEPROM and its row's key controller: the tuner again at 0xC6,
// the decoder, and the bench entry's tuner type code in the box controller.
void FitEm28xxBox(Card& card);

}  // namespace hwsim
