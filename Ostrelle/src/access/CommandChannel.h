// CCommandChannel: the vendor commands of a USB bridge (VendorCommand.h) carried to its driver
// filter through IKsPropertySet, and the bridge's register, I2C, GPIO-line and word commands
// built on that one exchange. CElgrinAccess owns one.
//
// Every exchange runs under the channel's own critical section, so two threads never split a
// Set from its Get; a caller may hold a lock of its own around a sequence of commands.
//
// Results: S_OK when the driver carried the command out, its failure when not. Checks made
// before anything is sent: E_POINTER for a missing interface, as for a null output, buffer or
// command, in every operation; E_INVALIDARG for a byte count or line out of range or a count
// outside 8 to 18. A two-command operation stops after a failed first command. A failed operation
// leaves its output unchanged. Every command but QuickWrite's is traced.
#pragma once

#include "access/VendorExchange.h"

class CCommandChannel : public CVendorExchange {
public:
    CCommandChannel();
    virtual ~CCommandChannel();
    CCommandChannel(const CCommandChannel&) = delete;
    CCommandChannel& operator=(const CCommandChannel&) = delete;

    // E_POINTER for a null filter; else the result of asking it for IKsPropertySet.
    HRESULT Init(IUnknown* filter);
    void Close();

    // The exchange, I2CRead, I2CWrite, I2CWriteBlock and I2CWriteTo are CVendorExchange's;
    // Transact refuses a missing interface or a null command with E_POINTER.

    // type, request, value, index, *io as the length; *io = answer bytes 6-7 on success, and an
    // answer shorter than 8 bytes fails (kShortAnswer, *io kept).
    HRESULT ControlRequest(BYTE type, BYTE request, WORD value, WORD index, WORD* io);
    // Request 0x0E: one byte at `offset` of device `dev` (count 8 to read, 9 to write).
    HRESULT ReadEepromByte(BYTE dev, BYTE offset, BYTE* out);
    HRESULT WriteEepromByte(BYTE dev, BYTE offset, BYTE value);
    // Request 0x10; E_POINTER without interface. The read clears the address's bit 0.
    HRESULT I2CReadByte(BYTE addr, BYTE sub, BYTE* out);
    HRESULT I2CWriteByte(BYTE addr, BYTE sub, BYTE value);
    // buf[0] the address, buf[1] the sub-address; total - 2 bytes (1 to 10) read into buf.
    HRESULT I2CReadBlock(BYTE* buf, int total);
    // Request 0x09: one raw byte; four raw bytes through the 0x09 latch and request 0x14.
    HRESULT I2CReadDirect(BYTE addr, BYTE* out);
    HRESULT I2CWriteDirect4(BYTE addr, BYTE b0, BYTE b1, BYTE b2, BYTE b3);
    // Request 0x0A then 0x14: n (1 to 4) bytes to sub-address `sub`.
    HRESULT I2CWriteShort(BYTE addr, BYTE sub, BYTE* data, int n);
    // 40 10 a b c 00 00 00, untraced.
    HRESULT QuickWrite(BYTE a, BYTE b, BYTE c);
    // Request 0x07; E_POINTER without interface.
    HRESULT ReadBridgeReg(BYTE reg, BYTE* out);
    HRESULT WriteBridgeReg(BYTE reg, BYTE value);
    // Request 0x05; E_POINTER without interface.
    HRESULT ReadRequest05(BYTE a, BYTE* out);
    HRESULT WriteRequest05(BYTE a, BYTE value);
    // Request 0x0C.
    HRESULT ReadRequest0C(BYTE a, BYTE b, BYTE* out);
    HRESULT WriteRequest0C(BYTE a, BYTE b, BYTE c);
    // Request 0x11: a word.
    HRESULT ReadWord(BYTE a, WORD index, WORD* out);
    HRESULT WriteWord(BYTE a, WORD index, WORD value);
    // Request 0x03; E_POINTER without interface. ReadLine takes lines 1 to 7, WriteLine 0 to 7.
    HRESULT ReadLine(BYTE line, BYTE* state);
    HRESULT WriteLine(BYTE line, BYTE on);
    // Lines 7 down to 1: bit n of *states is line n, bit 0 is 0.
    HRESULT ReadLines(BYTE* states);

    // *aliasing = 1 when request 0x0E does not address the board EEPROM's (0xA0) bytes apart,
    // else 0. It writes 0x99 to EEPROM byte 0 and restores it (a failed restore is tried once
    // more); it writes nothing unless it could read byte 0 first through both requests. S_OK
    // when every read of the probe and the restore succeeded, else the first failure, with
    // *aliasing unchanged: the probe then says nothing about the box.
    HRESULT ProbeEepromAliasing(BYTE* aliasing);

private:
    HRESULT SendTwo(CVendorCommand first, CVendorCommand second);

    CRITICAL_SECTION m_cs;
};
