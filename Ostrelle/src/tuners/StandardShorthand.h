// The short names the tuner tables give the analog video standards: M = NTSC_M, MJ = NTSC_M_J,
// N433 = NTSC_433, B = PAL_B, ..., P60 = PAL_60, SB = SECAM_B, ..., SL1 = SECAM_L1. A table's
// source file opens the namespace in its own unnamed namespace.
#pragma once

#include "platform/analogvideo.h"

namespace standard_shorthand {

constexpr long M = AnalogVideo_NTSC_M, MJ = AnalogVideo_NTSC_M_J, N433 = AnalogVideo_NTSC_433;
constexpr long B = AnalogVideo_PAL_B, D = AnalogVideo_PAL_D, G = AnalogVideo_PAL_G, H = AnalogVideo_PAL_H;
constexpr long I = AnalogVideo_PAL_I, PM = AnalogVideo_PAL_M, PN = AnalogVideo_PAL_N, P60 = AnalogVideo_PAL_60;
constexpr long SB = AnalogVideo_SECAM_B, SD = AnalogVideo_SECAM_D, SG = AnalogVideo_SECAM_G;
constexpr long SH = AnalogVideo_SECAM_H, SK = AnalogVideo_SECAM_K, SK1 = AnalogVideo_SECAM_K1;
constexpr long SL = AnalogVideo_SECAM_L, SL1 = AnalogVideo_SECAM_L1;

}  // namespace standard_shorthand
