// CVozeAccess: the hardware access of the "713x_D TV Card Capture" card, an SAA713x card whose
// driver publishes the SAA713x property set. It behaves as CKsPropertyAccess in every slot
// (locks, checks, requests) but two: its GPIO read drives only lines 12 and 13 (second mode
// word 0x80003000, not 0x80007000), and the video status (slot 27) and the option register
// (slot 28) are not provided (the interface's defaults, E_FAIL and E_NOTIMPL).
#pragma once

#include "access/CustomDataAccess.h"
#include "access/KsPropertyRequest.h"

class CVozeAccess : public CCustomDataAccess {
public:
    CVozeAccess();
    ~CVozeAccess() override;

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
    HRESULT ReadBridgeReg(BYTE reg, BYTE* pValue) override;
    HRESULT ReadRegister32(DWORD addr, DWORD* pValue) override;
    HRESULT WriteRegister32(DWORD addr, DWORD value) override;
    HRESULT Reserved23(DWORD* pValue) override;
    HRESULT Reserved24(DWORD value) override;
    HRESULT Reserved25(DWORD* pValue) override;
    HRESULT GPIO_SetTVFM(DWORD mode) override;

private:
    HRESULT SetControl(DWORD id, DWORD value);

    CComPtr<IKsPropertySet> m_pKsPropertySet;
};
