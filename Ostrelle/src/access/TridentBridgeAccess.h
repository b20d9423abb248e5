// CTridentBridgeAccess: what the hardware access of the Trident bridge cards and boxes
// (CTridentAccess, CTridentUsbAccess) shares. Both send the bridge's vendor commands
// (VendorCommand.h) to the capture filter's IKsPropertySet themselves, without a command
// channel: every exchange holds the object's request lock, and a slot marked "locked" holds it
// around its whole command sequence, sleeps included.
//
// Results: S_OK when the driver carried the request out, its failure when not. The exchange
// refuses a missing interface or a null command with E_POINTER and a count above 18 with
// E_INVALIDARG, before anything is sent. Open answers 0; SetOption and GPIO_Read do nothing and
// answer 1. GPIO_Write's mask argument is a line number, 0 to 7 (the line table of
// VendorCommand.h), driven on when the low byte of the value is not 0. Slots 21 to 26 answer
// E_FAIL (the base's defaults, and slot 26 without its trace).
#pragma once

#include "access/CustomDataAccess.h"
#include "access/VendorExchange.h"

class CTridentBridgeAccess : public CCustomDataAccess, public CVendorExchange {
public:
    CTridentBridgeAccess();
    ~CTridentBridgeAccess() override;

    // Releases a held interface; E_POINTER for a null filter, else the result of asking it
    // for IKsPropertySet. The second argument is ignored.
    HRESULT Init(IUnknown* pDevice, void* pContext) override;
    HRESULT Open(BYTE bOpen) override;
    HRESULT SetOption(BYTE value) override;
    HRESULT GPIO_Read(DWORD* pValue) override;
    // Traced; E_POINTER without interface, E_INVALIDARG for a line above 7.
    HRESULT GPIO_Write(DWORD value, DWORD mask) override;
    // Locked, untraced; E_POINTER without interface or for a null output.
    HRESULT WriteBridgeReg(BYTE reg, BYTE value) override;
    HRESULT ReadBridgeReg(BYTE reg, BYTE* pValue) override;
    HRESULT GPIO_SetTVFM(DWORD mode) override;
};
