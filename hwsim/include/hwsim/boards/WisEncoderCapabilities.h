// What the simulated WIS encoder says it can do: its profiles, stream, resolution and frame-rate
// capabilities and its own setting links, as its driver hands the block out. The repository's
// "video_profiles.txt" (hwsim/data) is written for it: its entries carry these names.
#pragma once

#include <string>

#include "wisencoder.h"

namespace hwsim {

// One capability of the simulated encoder.
struct WisStreamCapability {
    const char* name;
    DWORD flags;  // the fields that must match
    DWORD compress_mode;
    BYTE mpeg4_mode;
};

struct WisFrameRateCapability {
    const char* name;
    DWORD tv_standard;
    DWORD frame_rate;
};

struct WisResolutionCapability {
    const char* name;
    DWORD tv_standard;
    DWORD width;
    DWORD height;
    DWORD max_bitrate;
    DWORD min_bitrate;
};

extern const char* const kWisProfileNames[3];
extern const WisStreamCapability kWisStreamCapabilities[4];
extern const WisFrameRateCapability kWisFrameRateCapabilities[4];
extern const WisResolutionCapability kWisResolutionCapabilities[6];
extern const SettingLink kWisDriverLinks[3];

// The block the simulated driver answers.
EncoderCapabilities WisEncoderCapabilities();

// The repository's profile file, as the driver package brings it.
std::string WisProfileFileSource();

}  // namespace hwsim
