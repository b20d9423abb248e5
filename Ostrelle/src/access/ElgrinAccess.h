// CElgrinAccess: the hardware access of the Elgrin and Wandry USB boxes. Their requests travel
// as vendor commands through a command channel (CCommandChannel) that the object owns.
//
// Init binds the channel and probes how the box's bridge addresses the board EEPROM; the
// result is the I2C-path flag. With the flag 0, one-byte reads and writes of a device whose
// address has bit 7 or bit 5 set (the EEPROM at 0xA0, the tuner at 0xC2) go through the
// bridge's EEPROM command (request 0x0E), the others through its I2C command (request 0x10);
// with the flag 1 all of them go through the I2C command.
//
// Block reads from 0xC0 or 0xC1, and every block read of len 1 (a tuner's status at its read
// address), read one raw byte; other block reads read len - 2 bytes (1 to 10) from sub-address
// buf[1]. Block writes are chunked as
// CVendorExchange::I2CWriteChunked says. The mask argument of GPIO_Write is a line number 0 to
// 7. Slots 3 to 6, 18 and 19 hold the request lock for their whole sequence; slots 9, 10 and 17
// take none (each exchange is whole under the channel's own lock). Open and SetOption answer 0
// and send nothing; slots 21 to 26 answer E_FAIL. Null outputs and buffers are refused with
// E_POINTER before anything is sent.
#pragma once

#include "access/CommandChannel.h"
#include "access/CustomDataAccess.h"

class CElgrinAccess : public CCustomDataAccess {
public:
    CElgrinAccess();
    ~CElgrinAccess() override;

    // The channel's Init and its probe; on success the flag becomes the probe's result. A probe
    // that fails (a read of it, or byte 0's restore) is the answer, with the channel closed, so
    // every later request fails; the flag is 0 after any failure. GPIO_Read answers lines 7
    // down to 1: bit n is line n, bit 0 is 0.
    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()
    // ResetTuner: line 1 driven to bOpen.
    DECLARE_CUSTOM_DATA_ACCESS_BRIDGE_SLOTS()
    HRESULT GPIO_SetTVFM(DWORD mode) override;

    HRESULT ReadEepromByte(BYTE dev, BYTE offset, BYTE* out);
    HRESULT WriteEepromByte(BYTE dev, BYTE offset, BYTE value);

    // The I2C-path flag: 1 when the probe found that the EEPROM command does not address the
    // EEPROM's bytes apart.
    DWORD I2CPath() const { return m_dwI2CPath; }

private:
    bool ThroughEepromCommand(BYTE addr) const;

    CCommandChannel m_channel;
    DWORD m_dwI2CPath = 0;
};
