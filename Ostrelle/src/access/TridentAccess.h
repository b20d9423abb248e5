// CTridentAccess: the hardware access of the Trident bridge PCI card ("RiriRir Capture"):
// vendor commands on the capture filter's IKsPropertySet (CTridentBridgeAccess).
//
//   slot 3  I2C_Read       traced C0 10 (addr, bit 0 cleared) sub 00 00 01 00; answer byte 0
//   slot 4  I2C_Write      traced 40 10 addr sub 00 00 01 00 + value (count 9)
//   slot 5  I2C_ReadBlock  locked, untraced: one raw byte (C0 09 ...) from buf[0], bit 0
//                          cleared, into buf[0]; len must be 1
//   slot 6  I2C_WriteBlock locked, untraced: 40 10 buf[0] buf[1] 00 00 len-2 00 + buf[2..]
//                          (len 3 to 12), then a 5 ms sleep
//   slot 17 ResetTuner     line 0 driven to the inverse of bOpen
//
// A missing interface is answered as a null output or buffer is, with E_POINTER, in every slot,
// before anything is sent.
#pragma once

#include "access/TridentBridgeAccess.h"

class CTridentAccess : public CTridentBridgeAccess {
public:
    CTridentAccess();
    ~CTridentAccess() override;

    DECLARE_CUSTOM_DATA_ACCESS_I2C_SLOTS()
    HRESULT ResetTuner(BOOL bOpen) override;

    // Slots 3 and 4.
    HRESULT ReadReg(BYTE addr, BYTE sub, BYTE* out);
    HRESULT WriteReg(BYTE addr, BYTE sub, BYTE value);
};
