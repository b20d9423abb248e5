// The kinds of card a bench can plug, each known by its driver's capture-filter FriendlyName.
#pragma once

#include <string_view>
#include <vector>

#include "hwsim/chips/ControllerPinLayout.h"
#include "platform/wintypes.h"

namespace hwsim {

struct CardKind {
    const char* captureName;   // the capture filter's FriendlyName
    const char* crossbarName;  // the crossbar filter's FriendlyName
    const char* tunerName;     // the TV tuner filter's FriendlyName
    // How the board's on-board controller is wired to the GPIO lines; null for a board that
    // carries the low-bit key presenter (lines 0 to 8) instead.
    const ControllerPinLayout& (*controllerLayout)();
    // The configuration EEPROM's 8-bit bus address.
    BYTE eepromAddress = 0xA0;
    // A bench entry of the kind may choose the device-control driver ("driver": "deviceControl")
    // instead of the kind's own.
    bool offersDeviceControl = false;
};

const std::vector<CardKind>& CardKinds();
// The kind whose capture filter has this FriendlyName; null when none has.
const CardKind* FindCardKind(std::string_view captureName);

}  // namespace hwsim
