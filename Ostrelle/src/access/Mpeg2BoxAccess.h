// CMpeg2BoxAccess: the hardware access of the USB MPEG-2 encoder box. Every chip request is a
// box register request (property 20 of KSPROPSETID_Box) naming the 7-bit device, a mode and a
// register; the data travel as a DWORD:
//   I2C_Read       mode 3 (the decoder's device 0x20 as 0x21 with mode 1)
//   I2C_Write      mode 2
//   I2C_ReadBlock  mode 33, register 0: one raw byte, the tuner's status (buf[0] in, out)
//   I2C_WriteBlock mode 10: register = buf[1] << 8 | buf[2], value = buf[3] << 8 | buf[4]; a
//                  PLL tuner's divider and control bytes (the four bytes after the address,
//                  whatever the length beyond 5)
// The card filter calls Init with its driver filter and no Open. The box's other routines are
// CMpeg2BoxTuning, CMpeg2BoxDecoder, CMpeg2BoxFirmware and Encoder().
#pragma once

#include "access/BoxAccess.h"
#include "access/BoxEncoder.h"

class CMpeg2BoxAccess : public CBoxAccess, public CBoxPropertyRoutines<CMpeg2BoxAccess> {
public:
    static constexpr const char* kClassName = "CMpeg2BoxAccess";

    CMpeg2BoxAccess();

    HRESULT I2C_ReadBlock(BYTE* buf, int len) override;
    HRESULT I2C_WriteBlock(BYTE* buf, int len) override;

    // The encoder-settings routines, traced in this class's name.
    static const CBoxEncoder& Encoder();
};
