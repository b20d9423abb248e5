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
        // The MPEG encoder cards: the USB MPEG-2 box, whose firmware carries its chip requests,
        // and two cards whose tuner, TV-audio and crossbar devices sit upstream of the capture
        // filter, the driver's property sets on the tuner.
        {.captureName = "Vorlane MPEG-2 Box", .crossbarName = "Vorlane MPEG-2 Box Crossbar", .tunerName = nullptr,
         .controllerLayout = nullptr, .eepromAddress = 0xA2, .crossbarPins = 5, .keyController = &kBoxKeyWiring},
        {.captureName = "Rivesk Video Capture", .crossbarName = "Rivesk Crossbar", .tunerName = "Rivesk Tuner",
         .controllerLayout = nullptr, .tvAudioName = "Rivesk TV Audio", .driverOnTuner = true, .crossbarPins = 7,
         .interleavedCapture = true},
        {.captureName = "Prisko Video Capture", .crossbarName = "Prisko Crossbar", .tunerName = "Prisko Tuner",
         .controllerLayout = nullptr, .tvAudioName = "Prisko TV Audio", .encoderName = "Prisko MPEG Encoder",
         .driverOnTuner = true, .crossbarPins = 7, .interleavedCapture = true},
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
