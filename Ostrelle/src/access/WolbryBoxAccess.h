// CWolbryBoxAccess: the hardware access of the Wolbry USB box, whose tuner is an Xceive part.
// Chip requests are box register requests (property 20 of KSPROPSETID_Box) as on the MPEG-2
// box; the tuner reset is property 25 (no instance data, one byte: 1 holds the tuner in reset,
// 0 releases it).
//
// Block writes carry the tuner's firmware and programming. buf[0] is the device, buf[1] the
// lead byte, and the payload (buf[2] on) is cut into pieces of the lead byte and at most seven
// payload bytes; a piece of n = k + 1 bytes goes out in the mode of row k of the piece table,
// its first register-bytes bytes as the register and the following data bytes as the value,
// each most significant byte first.
//
// Block reads are mode 0x38, register 0: up to four raw bytes, the first in bits 24 to 31.
#pragma once

#include "access/BoxAccess.h"
#include "access/BoxEncoder.h"

class CWolbryBoxAccess : public CBoxAccess, public CBoxPropertyRoutines<CWolbryBoxAccess> {
public:
    static constexpr const char* kClassName = "CWolbryBoxAccess";

    // One row of the piece table.
    struct PieceMode {
        BYTE bIndexMode;
        int nRegisterBytes;
        int nDataBytes;
    };
    // By k, the payload bytes in the piece (0 to 7).
    static const PieceMode kPieceModes[8];

    CWolbryBoxAccess();

    HRESULT I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData) override;
    HRESULT I2C_ReadBlock(BYTE* buf, int len) override;
    HRESULT I2C_WriteBlock(BYTE* buf, int len) override;
    // S_OK when the reset property was set, E_FAIL when not.
    HRESULT ResetTuner(BOOL bOpen) override;

    // Property 25: hold (1) or release (0) the tuner's reset.
    static BOOL SetTunerReset(IUnknown* pFilter, BYTE hold);
    // The encoder-settings routines, traced in this class's name (the system calls none).
    static const CBoxEncoder& Encoder();
};
