#include "hwsim/bench/CardKind.h"

#include "uuids.h"

namespace hwsim {

const std::vector<CardKind>& CardKinds() {
    static const std::vector<CardKind> kinds = {
        {"713x BDA Analog Capture", "713x BDA Analog Xbar", "713x BDA Analog TvTuner", &StandardPinLayout},
        {"713x_4 TV Card Capture", "713x_4 TV Card Crossbar", "PhTVTune", &StandardPinLayout},
        {"DVBC TS Capture", nullptr, nullptr, &StandardPinLayout, 0xA0, 128},
        {"Microsoft DV Camera and VCR", nullptr, nullptr, &StandardPinLayout},
        {"Usb_Cam_Capture", nullptr, nullptr, &StandardPinLayout},
        {"USB EMP Audio Device", nullptr, nullptr, &StandardPinLayout, 0xA0, 256, &CLSID_AudioInputDeviceCategory},
    };
    return kinds;
}

const CardKind* FindCardKind(std::string_view captureName) {
    for (const CardKind& kind : CardKinds()) {
        if (captureName == kind.captureName) return &kind;
    }
    return nullptr;
}

}  // namespace hwsim
