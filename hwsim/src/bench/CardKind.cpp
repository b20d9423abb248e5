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
        // The base cards, the Cranlow family and the rest of the SAA713x family.
        {"713x TV Card Capture", "713x TV Card Crossbar", "713x TV Card Tuner", &StandardPinLayout, 0xA0, 256, nullptr, true},
        {"TV AV Capture", "TV AV Capture Crossbar", "TV AV Capture Tuner", &StandardPinLayout, 0xA0, 256, nullptr, true},
        {"Ebrin Capture", "Ebrin Crossbar", "Ebrin Tuner", &StandardPinLayout, 0xA0, 256, nullptr, true},
        {"Vorlane Cranlow Capture", "Vorlane Cranlow Crossbar", "Vorlane Cranlow Tuner", nullptr, 0xA0, 256, nullptr, true},
        {"Castrel Capture", "Castrel Crossbar", "Castrel Tuner", nullptr, 0xA0, 256, nullptr, true},
        {"Grelmo TV Capture", "Grelmo TV Crossbar", "Grelmo TV Tuner", nullptr, 0xA0, 256, nullptr, true},
        {"Fosbry TV Capture", "Fosbry TV Crossbar", "Fosbry TV Tuner", nullptr, 0xA0, 256, nullptr, true},
        {"Dolbray TV Card Capture", "Dolbray TV Card Crossbar", "Dolbray TV Card Tuner", nullptr, 0xA0, 256, nullptr, true},
        {"713x_IO TV Card Capture", "713x_IO TV Card Crossbar", "713x_IO TV Card Tuner", &IoPinLayout},
        {"713x_3 TV Card Capture", "713x_3 TV Card Crossbar", "PhTVTune", &StandardPinLayout},
        {"713x_PIP TV Card Capture", "713x_PIP TV Card Crossbar", "PhTVTune", &IoPinLayout},
        {"713x_Wadrel TV Card Capture", "713x_Wadrel TV Card Crossbar", "713x_Wadrel TV Card Tuner",
         &StandardPinLayout, 0xA0, 256, nullptr, true},
        {"Sivren Video Capture", "Sivren Crossbar", "PhTVTune", &StandardPinLayout},
        {"Movrik Video Capture", "Movrik Crossbar", "PhTVTune", &StandardPinLayout},
        {"713x_D TV Card Capture", "713x_D TV Card Crossbar", "PhTVTune", &IoPinLayout},
        // The CX2388x family: the driver's property set is on the tuner device.
        {"Conexant 2388x Video Capture", "Conexant 2388x Crossbar", "Conexant 2388x Tuner", nullptr},
        {"Conexant 2388x_1 Video Capture", "Conexant 2388x_1 Crossbar", "Conexant 2388x_1 Tuner", &Cx2388xPinLayout},
        {"Conexant 2388x_3 Video Capture", "Conexant 2388x_3 Crossbar", "Conexant 2388x_3 Tuner", &Cx2388xPinLayout},
        {"Yelvin Capture Card", "Yelvin Crossbar", "Yelvin Tuner", &Cx2388xPinLayout},
        {"2388x Video Capture", "2388x Crossbar", "2388x Tuner", &Cx2388xPinLayout},
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
