// The kinds of card a bench can plug, each known by its driver's capture-filter FriendlyName.
// Most kinds publish a TV tuner, a crossbar and a capture filter; a device without a tuner or
// crossbar (null names) publishes only its capture filter, in the video input category or the
// category its kind names (an audio capture device).
//
// A kind is one row of CardKinds(): its filters' names, its driver, its chips beyond the EEPROM
// and tuner, and what its filters offer. A new kind is a new row (and, where its driver or
// board behaves as no other, the file of that driver or board).
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hwsim/chips/ControllerPinLayout.h"
#include "hwsim/chips/I2CKeyController.h"
#include "platform/guid.h"
#include "platform/wintypes.h"

namespace platform::dshow {
class FilterBase;
}

namespace hwsim {

class Card;
class KsDriver;

// The crossbar pin counts the simulated crossbar has layouts for.
inline constexpr int kMinCrossbarPins = 5;
inline constexpr int kMaxCrossbarPins = 9;

// One UYVY capability of a capture pin: the video standards it names (0: none) and its
// MaxCroppingSize.
struct UyvyCapability {
    long videoStandard;
    SIZE maxCropping;
};

// Which of the card's filters publish its driver's property sets.
enum class SetsOn {
    Capture,
    Tuner,            // the capture filter publishes none
    TunerAndCapture,  // the upstream search of a card without an owner graph finds them on either
};

struct CardKind {
    const char* captureName;   // the capture filter's FriendlyName
    const char* crossbarName;  // the crossbar filter's FriendlyName; null: none
    const char* tunerName;     // the TV tuner filter's FriendlyName; null: none
    // How the board's on-board controller is wired to the GPIO lines; null for a board that
    // carries the low-bit key presenter (lines 0 to 8) instead.
    const ControllerPinLayout& (*controllerLayout)();
    // The configuration EEPROM's 8-bit bus address.
    BYTE eepromAddress = 0xA0;
    // Bytes of the configuration EEPROM that the board serves and keeps in its state file.
    size_t eepromSize = 256;
    // The device category of the capture filter; null: the video input device category.
    const GUID* category = nullptr;
    // A bench entry of the kind may choose the device-control driver ("driver": "deviceControl")
    // instead of the kind's own.
    bool offersDeviceControl = false;
    // The TV-audio device's FriendlyName, between the tuner's audio output and the crossbar's
    // tuner audio input; null: none.
    const char* tvAudioName = nullptr;
    // The MPEG encoder device's FriendlyName (encoder category); null: none.
    const char* encoderName = nullptr;
    // The crossbar filter's pin count (one of CrossbarFilter's layouts); a bench entry may
    // choose another.
    int crossbarPins = 8;
    // The capture filter has an interleaved capture pin beside its video one (a bench entry
    // may take it away).
    bool interleavedCapture = false;
    // The I2C remote-key controller and where it is wired; null: none.
    const I2CKeyWiring* keyController = nullptr;
    // The modes the TV tuner filter offers (IAMTVTuner::GetAvailableModes); 0: TV only.
    long tunerModes = 0;
    // The capture pin's UYVY capabilities in place of its one UYVY capability; empty: that one.
    std::span<const UyvyCapability> uyvyCapabilities = {};
    // The property set of the encoder device's settings; null: the MPEG encoder's usual one.
    const GUID* encoderSet = nullptr;
    // The GPIO line (a mask of the card's line model) wired to a fitted Xceive chip's reset; 0:
    // line 18, as on the SAA713x boards.
    DWORD xceiveResetLine = 0;
    // Makes the card's own driver; every row of CardKinds() names one (a bench entry of a kind
    // that offers it may choose the device-control driver instead).
    std::shared_ptr<KsDriver> (*makeDriver)(Card& card) = nullptr;
    // Makes the capture filter on the driver; null: the SAA713x capture filter (CaptureFilter).
    platform::dshow::FilterBase* (*makeCaptureFilter)(const std::shared_ptr<KsDriver>& driver) = nullptr;
    // Which filters publish the driver's property sets.
    SetsOn setsOn = SetsOn::Capture;
    // Capture devices of one board, entered one after the other (1 or 2).
    int captureDevices = 1;
    // Fits the chips the board carries beyond its EEPROM, its tuner and its I2C key controller
    // (BoardChips.h); null: none.
    void (*fitChips)(Card& card) = nullptr;
    // One of the base cards, the Cranlow family or the rest of the SAA713x family (the SAA713x
    // cards on the property driver but the 713x_4 card).
    bool saa713xFamily = false;
};

const std::vector<CardKind>& CardKinds();
// The kind whose capture filter has this FriendlyName; null when none has.
const CardKind* FindCardKind(std::string_view captureName);
// The capture names of the kinds whose row passes `pick`, in the rows' order (a family of kinds
// for a test to walk).
std::vector<std::string> CaptureNamesWhere(bool (*pick)(const CardKind& kind));

}  // namespace hwsim
