// The kinds of card a bench can plug, each known by its driver's capture-filter FriendlyName.
#include "hwsim/bench/CardKind.h"

#include "strmif.h"
#include "hwsim/boards/BoardChips.h"
#include "hwsim/boards/DvDevice.h"
#include "hwsim/boards/DvbcBoard.h"
#include "hwsim/boards/Em28xxBox.h"
#include "hwsim/boards/EmpAudioDevice.h"
#include "hwsim/boards/EncoderFilter.h"
#include "hwsim/boards/UsbCamera.h"
#include "hwsim/boards/WisBox.h"
#include "hwsim/drivers/BoxDriver.h"
#include "hwsim/drivers/DeviceDriver.h"
#include "hwsim/drivers/EmpiaDriver.h"
#include "hwsim/drivers/FimbrelDriver.h"
#include "hwsim/drivers/Kesh713xDriver.h"
#include "hwsim/drivers/PcieDriver.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "hwsim/drivers/VendorCommandDriver.h"
#include "uuids.h"

namespace hwsim {

namespace {

template <class Driver>
std::shared_ptr<KsDriver> Make(Card& card) {
    return std::make_shared<Driver>(card);
}

// The driver's own capture filter.
template <class Driver, class Filter>
platform::dshow::FilterBase* FilterOn(const std::shared_ptr<KsDriver>& driver) {
    return new Filter(std::static_pointer_cast<Driver>(driver));
}

std::shared_ptr<KsDriver> MakeRiveskDriver(Card& card) {
    return std::make_shared<Saa713xPropertyDriver>(card, kRiveskPropertySet, "RIV", Saa713xPropertyDriver::kGpioDriverIds);
}

// The CX2388x driver: the SAA713x set with the ids of a driver that keeps GPIO itself.
std::shared_ptr<KsDriver> MakeCx2388xDriver(Card& card) {
    return std::make_shared<Saa713xPropertyDriver>(card, kSaa713xPropertySet, "CX", Saa713xPropertyDriver::kGpioDriverIds,
                                                   Saa713xPropertyDriver::GpioWrite::ReleaseOtherLines);
}

// The EM28xx boxes read their GPIO byte back.
std::shared_ptr<KsDriver> MakeEmpiaDriver(Card& card) {
    auto driver = std::make_shared<EmpiaDriver>(card);
    driver->SetGpioReadBack(true);
    return driver;
}

// The Trident bridge boards' UYVY capture capabilities, each with a capability that names no
// standard (and is larger than the others).
constexpr long kPalStandards = AnalogVideo_PAL_B | AnalogVideo_PAL_D | AnalogVideo_PAL_G | AnalogVideo_PAL_I;
constexpr UyvyCapability kRiriRirUyvy[] = {
    {AnalogVideo_NTSC_M, {640, 480}}, {kPalStandards, {720, 576}}, {0, {768, 576}}};
constexpr UyvyCapability kIvlenUyvy[] = {{0, {800, 600}}, {kPalStandards, {704, 576}}, {AnalogVideo_NTSC_M, {720, 480}}};
constexpr UyvyCapability kYolmUyvy[] = {{AnalogVideo_NTSC_M, {720, 480}}, {0, {720, 576}}};

}  // namespace

const std::vector<CardKind>& CardKinds() {
    static const std::vector<CardKind> kinds = {
        {.captureName = "713x BDA Analog Capture", .crossbarName = "713x BDA Analog Xbar",
         .tunerName = "713x BDA Analog TvTuner", .controllerLayout = &StandardPinLayout,
         .makeDriver = &Make<Kesh713xDriver>},
        {.captureName = "713x_4 TV Card Capture", .crossbarName = "713x_4 TV Card Crossbar", .tunerName = "PhTVTune",
         .controllerLayout = &StandardPinLayout, .makeDriver = &Make<Saa713xPropertyDriver>},
        {.captureName = "DVBC TS Capture", .crossbarName = nullptr, .tunerName = nullptr,
         .controllerLayout = &StandardPinLayout, .eepromSize = 128, .makeDriver = &Make<DvbcDriver>,
         .makeCaptureFilter = &FilterOn<DvbcDriver, DvbcCaptureFilter>},
        {.captureName = "Microsoft DV Camera and VCR", .crossbarName = nullptr, .tunerName = nullptr,
         .controllerLayout = &StandardPinLayout, .makeDriver = &Make<DvDeviceDriver>,
         .makeCaptureFilter = &FilterOn<DvDeviceDriver, DvDeviceFilter>},
        {.captureName = "Usb_Cam_Capture", .crossbarName = nullptr, .tunerName = nullptr,
         .controllerLayout = &StandardPinLayout, .makeDriver = &Make<DeviceDriver>,
         .makeCaptureFilter = &FilterOn<DeviceDriver, UsbCameraFilter>},
        {.captureName = "USB EMP Audio Device", .crossbarName = nullptr, .tunerName = nullptr,
         .controllerLayout = &StandardPinLayout, .category = &CLSID_AudioInputDeviceCategory,
         .makeDriver = &Make<DeviceDriver>, .makeCaptureFilter = &FilterOn<DeviceDriver, EmpAudioFilter>},
        // The MPEG encoder cards: the USB MPEG-2 box, whose firmware carries its chip requests,
        // and two cards whose tuner, TV-audio and crossbar devices sit upstream of the capture
        // filter, the driver's property sets on the tuner.
        {.captureName = "Vorlane MPEG-2 Box", .crossbarName = "Vorlane MPEG-2 Box Crossbar", .tunerName = nullptr,
         .controllerLayout = nullptr, .eepromAddress = 0xA2, .crossbarPins = 5, .keyController = &kBoxKeyWiring,
         .makeDriver = &Make<BoxDriver>},
        {.captureName = "Rivesk Video Capture", .crossbarName = "Rivesk Crossbar", .tunerName = "Rivesk Tuner",
         .controllerLayout = nullptr, .tvAudioName = "Rivesk TV Audio", .crossbarPins = 7, .interleavedCapture = true,
         .makeDriver = &MakeRiveskDriver, .setsOn = SetsOn::TunerAndCapture},
        {.captureName = "Prisko Video Capture", .crossbarName = "Prisko Crossbar", .tunerName = "Prisko Tuner",
         .controllerLayout = nullptr, .tvAudioName = "Prisko TV Audio", .encoderName = "Prisko MPEG Encoder",
         .crossbarPins = 7, .interleavedCapture = true, .makeDriver = &MakeRiveskDriver,
         .setsOn = SetsOn::TunerAndCapture},
        // The USB encoder box on the WIS chip: its own capture filter, the key controller of the
        // MPEG-2 box's wiring.
        {.captureName = "Jorsk A/V Capture", .crossbarName = "Jorsk CrossBar", .tunerName = nullptr,
         .controllerLayout = nullptr, .keyController = &kBoxKeyWiring, .makeDriver = &Make<WisBoxDriver>,
         .makeCaptureFilter = &FilterOn<WisBoxDriver, WisBoxFilter>, .fitChips = &FitWisBoxDecoder},
        // The base cards, the Cranlow family and the rest of the SAA713x family.
        {.captureName = "713x TV Card Capture", .crossbarName = "713x TV Card Crossbar",
         .tunerName = "713x TV Card Tuner", .controllerLayout = &StandardPinLayout, .offersDeviceControl = true,
         .tvAudioName = "713x TV Card TV Audio (Zivadez)", .makeDriver = &Make<Saa713xPropertyDriver>,
         .saa713xFamily = true},
        {.captureName = "TV AV Capture", .crossbarName = "TV AV Capture Crossbar", .tunerName = "TV AV Capture Tuner",
         .controllerLayout = &StandardPinLayout, .offersDeviceControl = true,
         .makeDriver = &Make<Saa713xPropertyDriver>, .saa713xFamily = true},
        {.captureName = "Ebrin Capture", .crossbarName = "Ebrin Crossbar", .tunerName = "Ebrin Tuner",
         .controllerLayout = &StandardPinLayout, .offersDeviceControl = true,
         .makeDriver = &Make<Saa713xPropertyDriver>, .saa713xFamily = true},
        {.captureName = "Vorlane Cranlow Capture", .crossbarName = "Vorlane Cranlow Crossbar",
         .tunerName = "Vorlane Cranlow Tuner", .controllerLayout = nullptr, .offersDeviceControl = true,
         .makeDriver = &Make<Saa713xPropertyDriver>, .saa713xFamily = true},
        {.captureName = "Castrel Capture", .crossbarName = "Castrel Crossbar", .tunerName = "Castrel Tuner",
         .controllerLayout = nullptr, .offersDeviceControl = true, .makeDriver = &Make<Saa713xPropertyDriver>,
         .saa713xFamily = true},
        {.captureName = "Grelmo TV Capture", .crossbarName = "Grelmo TV Crossbar", .tunerName = "Grelmo TV Tuner",
         .controllerLayout = nullptr, .offersDeviceControl = true, .makeDriver = &Make<Saa713xPropertyDriver>,
         .saa713xFamily = true},
        {.captureName = "Fosbry TV Capture", .crossbarName = "Fosbry TV Crossbar", .tunerName = "Fosbry TV Tuner",
         .controllerLayout = nullptr, .offersDeviceControl = true, .makeDriver = &Make<Saa713xPropertyDriver>,
         .saa713xFamily = true},
        {.captureName = "Dolbray TV Card Capture", .crossbarName = "Dolbray TV Card Crossbar",
         .tunerName = "Dolbray TV Card Tuner", .controllerLayout = nullptr, .offersDeviceControl = true,
         .makeDriver = &Make<Saa713xPropertyDriver>, .saa713xFamily = true},
        {.captureName = "713x_IO TV Card Capture", .crossbarName = "713x_IO TV Card Crossbar",
         .tunerName = "713x_IO TV Card Tuner", .controllerLayout = &IoPinLayout,
         .makeDriver = &Make<Saa713xPropertyDriver>, .saa713xFamily = true},
        {.captureName = "713x_3 TV Card Capture", .crossbarName = "713x_3 TV Card Crossbar", .tunerName = "PhTVTune",
         .controllerLayout = &StandardPinLayout, .tvAudioName = "713x_3 TV Card TV Audio (Zivadez)",
         .makeDriver = &Make<Saa713xPropertyDriver>, .saa713xFamily = true},
        {.captureName = "713x_PIP TV Card Capture", .crossbarName = "713x_PIP TV Card Crossbar",
         .tunerName = "PhTVTune", .controllerLayout = &IoPinLayout, .makeDriver = &Make<Saa713xPropertyDriver>,
         .saa713xFamily = true},
        {.captureName = "713x_Wadrel TV Card Capture", .crossbarName = "713x_Wadrel TV Card Crossbar",
         .tunerName = "713x_Wadrel TV Card Tuner", .controllerLayout = &StandardPinLayout,
         .offersDeviceControl = true, .makeDriver = &Make<Saa713xPropertyDriver>, .saa713xFamily = true},
        {.captureName = "Sivren Video Capture", .crossbarName = "Sivren Crossbar", .tunerName = "PhTVTune",
         .controllerLayout = &StandardPinLayout, .makeDriver = &Make<Saa713xPropertyDriver>, .saa713xFamily = true},
        {.captureName = "Movrik Video Capture", .crossbarName = "Movrik Crossbar", .tunerName = "PhTVTune",
         .controllerLayout = &StandardPinLayout, .makeDriver = &Make<Saa713xPropertyDriver>, .saa713xFamily = true},
        {.captureName = "713x_D TV Card Capture", .crossbarName = "713x_D TV Card Crossbar", .tunerName = "PhTVTune",
         .controllerLayout = &IoPinLayout, .makeDriver = &Make<Saa713xPropertyDriver>,
         .fitChips = &FitDigitController, .saa713xFamily = true},
        // The CX2388x family: the driver's property set is on the tuner device.
        {.captureName = "Conexant 2388x Video Capture", .crossbarName = "Conexant 2388x Crossbar",
         .tunerName = "Conexant 2388x Tuner", .controllerLayout = nullptr, .crossbarPins = 9,
         .makeDriver = &MakeCx2388xDriver, .setsOn = SetsOn::Tuner},
        {.captureName = "Conexant 2388x_1 Video Capture", .crossbarName = "Conexant 2388x_1 Crossbar",
         .tunerName = "Conexant 2388x_1 Tuner", .controllerLayout = &Cx2388xPinLayout, .crossbarPins = 9,
         .makeDriver = &MakeCx2388xDriver, .setsOn = SetsOn::Tuner},
        {.captureName = "Conexant 2388x_3 Video Capture", .crossbarName = "Conexant 2388x_3 Crossbar",
         .tunerName = "Conexant 2388x_3 Tuner", .controllerLayout = &Cx2388xPinLayout, .crossbarPins = 9,
         .makeDriver = &MakeCx2388xDriver, .setsOn = SetsOn::Tuner},
        {.captureName = "Yelvin Capture Card", .crossbarName = "Yelvin Crossbar", .tunerName = "Yelvin Tuner",
         .controllerLayout = &Cx2388xPinLayout, .crossbarPins = 9, .makeDriver = &MakeCx2388xDriver,
         .setsOn = SetsOn::Tuner},
        {.captureName = "2388x Video Capture", .crossbarName = "2388x Crossbar", .tunerName = "2388x Tuner",
         .controllerLayout = &Cx2388xPinLayout, .crossbarPins = 9, .makeDriver = &MakeCx2388xDriver,
         .setsOn = SetsOn::Tuner},
        // The Lurvan PCI Express dual-tuner board: its driver's device interface, two capture
        // devices, the remote-key controller at 0xBB.
        {.captureName = "VORLANE Lurvan Audio/Video Capture", .crossbarName = "VORLANE Lurvan Crossbar",
         .tunerName = "VORLANE Lurvan Tuner", .controllerLayout = nullptr,
         .tvAudioName = "VORLANE Lurvan Audio Decoder", .keyController = &kLurvanKeyWiring,
         .makeDriver = &Make<PcieDriver>, .captureDevices = 2, .fitChips = &FitLurvanTuners},
        // The Trident bridge boards on the vendor-command driver, the I2C remote-key controller at
        // 0xBB: the RiriRir PCI card with its TV tuner device upstream (TV only), the Ivlen and
        // Yolm USB boxes whose tuner is the card's own, with a TV-audio device.
        {.captureName = "RiriRir Capture", .crossbarName = "RiriRir Crossbar", .tunerName = "RiriRir TvTuner",
         .controllerLayout = nullptr, .crossbarPins = 9, .keyController = &kBoxKeyWiring,
         .tunerModes = AMTUNER_MODE_TV, .uyvyCapabilities = kRiriRirUyvy, .makeDriver = &Make<VendorCommandDriver>},
        {.captureName = "Ivlen Capture", .crossbarName = "Ivlen Crossbar", .tunerName = nullptr,
         .controllerLayout = nullptr, .tvAudioName = "Ivlen TvAudio", .crossbarPins = 9,
         .keyController = &kBoxKeyWiring, .uyvyCapabilities = kIvlenUyvy, .makeDriver = &Make<VendorCommandDriver>},
        {.captureName = "Trident Yolm Capture", .crossbarName = "Trident Yolm Crossbar", .tunerName = nullptr,
         .controllerLayout = nullptr, .tvAudioName = "Trident Yolm TvAudio", .crossbarPins = 9,
         .keyController = &kBoxKeyWiring, .uyvyCapabilities = kYolmUyvy, .makeDriver = &Make<VendorCommandDriver>},
        // The USB boxes on EM28xx bridges (their chips: Em28xxBox.h): four video inputs, then the
        // tuner, composite and S-video audio inputs.
        {.captureName = "USB 2800 Video", .crossbarName = "USB 2800 Crossbar", .tunerName = "USB 2800 TVTuner",
         .controllerLayout = nullptr, .crossbarPins = 9, .keyController = &kEm28xxControllerWiring,
         .makeDriver = &MakeEmpiaDriver, .fitChips = &FitEm28xxBox},
        {.captureName = "Vorlane USB TV Box Video", .crossbarName = "Vorlane USB TV Box Crossbar",
         .tunerName = "Vorlane USB TV Box TVTuner", .controllerLayout = nullptr, .crossbarPins = 9,
         .keyController = &kTVBoxKeyWiring, .makeDriver = &MakeEmpiaDriver, .fitChips = &FitEm28xxBox},
        {.captureName = "USB 2820 Video", .crossbarName = "USB 2820 Crossbar", .tunerName = nullptr,
         .controllerLayout = nullptr, .crossbarPins = 9, .keyController = &kEm28xxControllerWiring,
         .makeDriver = &MakeEmpiaDriver, .fitChips = &FitEm28xxBox},
        {.captureName = "USB 2821 Video", .crossbarName = "USB 2821 Crossbar", .tunerName = nullptr,
         .controllerLayout = nullptr, .crossbarPins = 9, .keyController = &kEm28xxControllerWiring,
         .makeDriver = &MakeEmpiaDriver, .fitChips = &FitEm28xxBox},
        {.captureName = "USB 2881 Video", .crossbarName = "USB 2881 Crossbar", .tunerName = "USB 2881 TVTuner",
         .controllerLayout = nullptr, .crossbarPins = 9, .keyController = &kEm28xxControllerWiring,
         .makeDriver = &MakeEmpiaDriver, .fitChips = &FitEm28xxBox},
        // The Wolbry box: chip requests through the box firmware, the tuner's reset on the
        // reset property's line, keys from the controller at 7-bit 0x5D.
        {.captureName = "vorlane Wolbry Device", .crossbarName = "vorlane Wolbry Crossbar",
         .tunerName = "vorlane Wolbry TvTuner", .controllerLayout = nullptr, .eepromAddress = 0xA2, .crossbarPins = 5,
         .keyController = &kBoxKeyWiring, .xceiveResetLine = BoxDriver::kTunerResetLine,
         .makeDriver = &Make<BoxDriver>},
        // The Elgrin and Wandry boxes on vendor commands: an Xceive chip's reset on line 1, keys
        // from the controller at 0xBB (ready 0x30, key 0x31).
        {.captureName = "Elgrin Capture", .crossbarName = "Elgrin Crossbar", .tunerName = nullptr,
         .controllerLayout = nullptr, .crossbarPins = 9, .keyController = &kBoxKeyWiring, .xceiveResetLine = 1u << 1,
         .makeDriver = &Make<VendorCommandDriver>},
        {.captureName = "Wandry Capture", .crossbarName = "Wandry Crossbar", .tunerName = nullptr,
         .controllerLayout = nullptr, .crossbarPins = 9, .keyController = &kBoxKeyWiring, .xceiveResetLine = 1u << 1,
         .makeDriver = &Make<VendorCommandDriver>},
        // The Fimbrel card: tuner, TV-audio and crossbar devices upstream of the capture filter,
        // the encoder on its own settings set, an Xceive chip's reset on line 1.
        {.captureName = "Conexant Fimbrel Video Capture", .crossbarName = "Conexant Fimbrel Crossbar",
         .tunerName = "Conexant Fimbrel Tuner", .controllerLayout = nullptr,
         .tvAudioName = "Conexant Fimbrel TvAudio", .encoderName = "Conexant Fimbrel Encoder", .crossbarPins = 9,
         .keyController = &kFimbrelKeyWiring, .encoderSet = &kFimbrelEncoderSet,
         .xceiveResetLine = FimbrelDriver::kTunerResetLine, .makeDriver = &Make<FimbrelDriver>},
    };
    return kinds;
}

const CardKind* FindCardKind(std::string_view captureName) {
    for (const CardKind& kind : CardKinds()) {
        if (captureName == kind.captureName) return &kind;
    }
    return nullptr;
}

std::vector<std::string> CaptureNamesWhere(bool (*pick)(const CardKind& kind)) {
    std::vector<std::string> names;
    for (const CardKind& kind : CardKinds()) {
        if (pick(kind)) names.push_back(kind.captureName);
    }
    return names;
}

}  // namespace hwsim
