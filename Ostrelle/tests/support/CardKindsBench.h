// Benches of the card kinds of the base, Cranlow and SAA713x card classes: one board of each
// kind, the tuner of model 5 fitted and named in the EEPROM at both places the classes read it
// from (0x20/0x21 and 160/161).
#pragma once

#include <string>
#include <vector>

// The capture names of the kinds, in the order of hwsim::CardKinds(): the rows marked
// saa713xFamily.
const std::vector<std::string>& FamilyCardKinds();
// The kinds whose bench entry may choose the device-control driver (offersDeviceControl).
const std::vector<std::string>& DeviceControlCardKinds();
// A bench of one board of each kind of `kinds`; `deviceControl` chooses that driver for each.
// The boards' EEPROM state files of an earlier bench are removed, so the boards start from the
// bench's image.
std::string FamilyBench(const std::vector<std::string>& kinds, bool deviceControl = false);
