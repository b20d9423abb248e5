// CTridentUsbAccess: the hardware access of the Trident bridge USB boxes ("Ivlen Capture",
// "Trident Yolm Capture"): vendor commands on the capture filter's IKsPropertySet
// (CTridentBridgeAccess).
//
//   slot 3  I2C_Read       locked, untraced C0 10 (addr, bit 0 cleared) sub 00 00 01 00
//   slot 4  I2C_Write      locked, untraced 40 10 addr sub value 00 00 00 (count 8: the value
//                          in the index field)
//   slot 5  I2C_ReadBlock  traced C0 10 buf[0] buf[1] 00 00 n 00, n = len - 2 (1 to 10); the n
//                          bytes read replace buf from buf[0]
//   slot 6  I2C_WriteBlock locked: CVendorExchange::I2CWriteChunked (up to 9 data bytes in one
//                          write, more in chunks of 8 to the same sub-address, 2 ms apart)
//   slot 17 ResetTuner     line 1 driven to bOpen
//   slot 20 GetStatus      line 0 driven to bOn
//
// A missing interface is answered as a null output or buffer is, with E_POINTER, in every slot,
// before anything is sent.
#pragma once

#include "access/TridentBridgeAccess.h"

class CTridentUsbAccess : public CTridentBridgeAccess {
public:
    CTridentUsbAccess();
    ~CTridentUsbAccess() override;

    DECLARE_CUSTOM_DATA_ACCESS_I2C_SLOTS()
    HRESULT ResetTuner(BOOL bOpen) override;
    HRESULT GetStatus(BOOL bOn) override;

    // Traced C0 10 a b 00 00 01 00, the byte read to *out; traced 40 10 a b 00 00 01 00 + value.
    // E_POINTER without interface.
    HRESULT ReadVendorData(BYTE a, BYTE b, BYTE* out);
    HRESULT WriteVendorData(BYTE a, BYTE b, BYTE value);
};
