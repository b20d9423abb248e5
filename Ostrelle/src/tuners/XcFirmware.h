// The firmware set of the Xceive tuners: two base images and nine patches, one list each,
// made by the generator (XcFirmwareGenerator.h). All tuner classes play the same bytes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>

// One firmware list and its length; the player walks no further than `size` bytes.
struct XcFirmware {
    const char* name;
    const BYTE* data;
    size_t size;  // bytes, end word included
};

extern const XcFirmware XcBasePalSecam;   // PAL B/G/D/I and SECAM
extern const XcFirmware XcBaseNtsc;       // NTSC, PAL-M, PAL-N, PAL-60, PAL-H
extern const XcFirmware XcPatchPalBg;
extern const XcFirmware XcPatchDk;
extern const XcFirmware XcPatchPalI;
extern const XcFirmware XcPatchSecamBgL;
extern const XcFirmware XcPatchMn;
extern const XcFirmware XcPatchSifBgi;
extern const XcFirmware XcPatchSifDk;
extern const XcFirmware XcPatchSifL;
extern const XcFirmware XcPatchSifMn;

// The eleven lists in the order of their identities (0 to 10).
std::span<const XcFirmware* const> XcFirmwareSet();
