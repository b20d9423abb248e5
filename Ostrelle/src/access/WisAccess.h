// CWisAccess: the hardware access of the USB encoder boxes on the WIS GO7007SB. Its driver's
// capture filter offers an I2C interface (IWisI2C) whose calls take the device address, the
// width of the sub-address in bits (16 when the sub-address has a bit in 0xFF00, else 8), the
// sub-address and the data, with the flag word 0x8000. GPIO and the other slots do nothing on
// this device.
//
// Every slot that reaches the device holds the request lock. Results: the interface's answers
// unchanged; E_FAIL without the interface or for a bad argument.
#pragma once

#include "access/CustomDataAccess.h"
#include "wisdriver.h"

class CWisAccess : public CCustomDataAccess {
public:
    CWisAccess();
    ~CWisAccess() override;

    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()

    // 29: one byte read with the caller's width, sub-address and flags.
    virtual HRESULT I2C_ReadEx(BYTE address, DWORD width, WORD subAddress, BYTE* data, DWORD flags);
    // 30: one byte written at an 8-bit sub-address (width 8, sub-address up to 0xFF; others
    // are refused with E_INVALIDARG): the low byte of `data`.
    virtual HRESULT I2C_WriteEx(BYTE address, DWORD width, WORD subAddress, DWORD data, DWORD flags);

private:
    IWisI2C* m_pDevice;
};
