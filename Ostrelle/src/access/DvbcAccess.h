// CDvbcAccess: the access object of the "DVBC TS Capture" card. That card's filter reaches its
// hardware through the DM1105 chip library on its own; this object exists so that the card
// filter and its tuner have an access object to hold. It reaches no driver and answers every
// request with a fixed result: E_NOTIMPL for the transfers, GPIO, reset and bridge slots, S_OK
// for the driver controls, E_FAIL for the register and reserved slots.
#pragma once

#include "access/CustomDataAccess.h"

class CDvbcAccess : public CCustomDataAccess {
public:
    CDvbcAccess();
    ~CDvbcAccess() override;

    // Keeps pContext, the owning card filter, unless an owner is kept already; E_FAIL while
    // there is none.
    HRESULT Init(IUnknown* pDevice, void* pContext) override;
    HRESULT Open(BYTE bOpen) override;
    HRESULT I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData) override;
    HRESULT I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData) override;
    HRESULT I2C_ReadBlock(BYTE* buf, int len) override;
    HRESULT I2C_WriteBlock(BYTE* buf, int len) override;
    HRESULT SetOption(BYTE value) override;
    HRESULT GPIO_Read(DWORD* pValue) override;
    HRESULT GPIO_Write(DWORD value, DWORD mask) override;
    HRESULT GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs) override;
    HRESULT SetControl13(DWORD value) override;
    HRESULT SetControl14(DWORD value) override;
    HRESULT DoControl15() override;
    HRESULT SetControl16(DWORD value) override;
    HRESULT ResetTuner(BOOL bOpen) override;
    HRESULT WriteBridgeReg(BYTE reg, BYTE value) override;
    HRESULT ReadBridgeReg(BYTE reg, BYTE* pValue) override;
    HRESULT ReadRegister32(DWORD addr, DWORD* pValue) override;
    HRESULT WriteRegister32(DWORD addr, DWORD value) override;
    HRESULT Reserved23(DWORD* pValue) override;
    HRESULT Reserved24(DWORD value) override;
    HRESULT Reserved25(DWORD* pValue) override;
    HRESULT GPIO_SetTVFM(DWORD mode) override;

    void* GetOwner() const { return m_pOwner; }

private:
    // A plain back pointer, never dereferenced.
    void* m_pOwner = nullptr;
};
