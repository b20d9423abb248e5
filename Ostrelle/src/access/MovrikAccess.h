// CMovrikAccess: the hardware access of the Movrik card, whose driver publishes the SAA713x
// property set (KsPropertyRequest.h; ids 1, 2, 3, 5 and 6 used). GPIO is built from the
// bridge's GPIO registers as CKsPropertyAccess builds it, with a GPIO read that drives only
// lines 12 and 13 (mode word 0x80003000) and a GPIO write that holds its value 120 ms before
// the mode register goes back to idle.
//
// The I2C and GPIO slots hold the request lock for their whole run, pauses included. Blocks
// longer than 256 bytes (the data field of id 6) are refused with E_INVALIDARG before anything
// is sent.
#pragma once

#include "access/CustomDataAccess.h"
#include "access/Saa713xPropertySlots.h"

class CMovrikAccess : public CCustomDataAccess {
public:
    CMovrikAccess();
    ~CMovrikAccess() override;

    HRESULT Init(IUnknown* pDevice, void* pContext) override;
    HRESULT Open(BYTE bOpen) override;
    HRESULT I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData) override;
    HRESULT I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData) override;
    HRESULT I2C_ReadBlock(BYTE* buf, int len) override;
    HRESULT I2C_WriteBlock(BYTE* buf, int len) override;
    HRESULT SetOption(BYTE value) override;
    HRESULT GPIO_Read(DWORD* pValue) override;
    HRESULT GPIO_Write(DWORD value, DWORD mask) override;
    HRESULT ReadBridgeReg(BYTE reg, BYTE* pValue) override;
    HRESULT ReadRegister32(DWORD addr, DWORD* pValue) override;
    HRESULT WriteRegister32(DWORD addr, DWORD value) override;
    HRESULT Reserved23(DWORD* pValue) override;
    HRESULT Reserved24(DWORD value) override;
    HRESULT Reserved25(DWORD* pValue) override;
    HRESULT GPIO_SetTVFM(DWORD mode) override;

private:
    CSaa713xPropertySlots m_slots;
};
