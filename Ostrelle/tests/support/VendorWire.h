// The vendor commands a driver of hwsim::VendorCommandDriver was sent, as the tests of the
// command channel and of the Trident and Elgrin access classes read them.
#pragma once

#include <string>
#include <vector>

#include "access/CustomDataAccess.h"
#include "hwsim/drivers/KsDriver.h"

// Each Set's command bytes in hexadecimal ("C0 10 A0 05 00 00 01 00"), in order. Every Set that
// the driver carried out must be followed at once by its Get, unless it is the last request (a
// failure of the test if not); the Gets are not listed.
std::vector<std::string> VendorCommands(hwsim::KsDriver& driver);

// Two threads read EEPROM bytes 0x80 to 0xFF through one access object's I2C_Read, half each;
// every byte comes back right and every Set in the driver's log is followed by its own Get.
void ExpectTwoThreadsReadTheirOwnAnswers(CCustomDataAccess& access, hwsim::KsDriver& driver);
