// Byte reader and writer of one card's EEPROM. The station implements it for each card; the
// library's write thread calls it on its own thread, so an implementation must allow that.
#pragma once

#include "dunmorra/DunmorraApi.h"

class DUNMORRA_API CEepromRWInterface {
public:
    virtual ~CEepromRWInterface() {}
    // Reads the byte at ucAddress; false on failure.
    virtual bool ReadByte(unsigned char ucAddress, unsigned char* pucValue) = 0;
    // Writes one byte; false on failure.
    virtual bool WriteByte(int iAddress, unsigned char ucValue) = 0;
};
