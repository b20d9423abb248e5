// A sound card's recording device as its driver's filter: the capture pin (PIN_CATEGORY_CAPTURE)
// offers PCM through IAMStreamConfig, and one input pin per source line, named after the line,
// carries IAMAudioInputMixer.
#pragma once

#include <string>
#include <vector>

#include "platform/dshow/FilterBase.h"

namespace hwsim {

// {5C1D0A11-7E2B-4C39-9B4A-2F6E1D0C5A01}
inline constexpr GUID kSoundCaptureFilterClsid = {
    0x5C1D0A11, 0x7E2B, 0x4C39, {0x9B, 0x4A, 0x2F, 0x6E, 0x1D, 0x0C, 0x5A, 0x01}};

class SoundCaptureFilter : public platform::dshow::FilterBase {
public:
    explicit SoundCaptureFilter(const std::vector<std::string>& lines);
};

}  // namespace hwsim
