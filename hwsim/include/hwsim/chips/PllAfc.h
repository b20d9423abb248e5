// The AFC code of a PLL tuner module's status byte (bits 0-2): where the station lies against
// the tuned frequency, in the module's 62.5 kHz steps. Offset = tuned - station, in kHz.
//   0: more than 93.75 above      1: more than 31.25 above
//   2: centred (within 31.25)
//   3: more than 31.25 below      4: more than 93.75 below
#pragma once

#include "platform/wintypes.h"

namespace hwsim {

constexpr BYTE PllAfcCode(long offsetKHz) {
    const long twice = 2 * offsetKHz;  // compare against 62.5 and 187.5 in whole numbers
    if (twice > 187) return 0;
    if (twice > 62) return 1;
    if (twice >= -62) return 2;
    if (twice >= -187) return 3;
    return 4;
}

}  // namespace hwsim
