#include "access/VozeAccess.h"

#include "access/Saa713xGpio.h"
#include "graph/Thread.h"

namespace {

constexpr const GUID& kSet = KSPROPSETID_Saa713xAccess;

// SAA713x registers.
constexpr DWORD kTunerReset = 0x40000;  // GPIO line 18
// The second mode word of a GPIO read: lines 12 and 13 driven.
constexpr DWORD kGpioReadMode = 0x80003000;

}  // namespace

CVozeAccess::CVozeAccess() = default;

CVozeAccess::~CVozeAccess() = default;

HRESULT CVozeAccess::Init(IUnknown* pDevice, void*)
{
    if (!pDevice) return E_POINTER;
    m_pKsPropertySet.Release();
    return pDevice->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet));
}

HRESULT CVozeAccess::Open(BYTE bOpen) { return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPEN, bOpen); }

HRESULT CVozeAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(&m_csRequest);
    return KsI2CRead(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, pData);
}

HRESULT CVozeAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csRequest);
    return KsI2CWrite(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, ucData);
}

HRESULT CVozeAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    return KsBlockRead(m_pKsPropertySet, kSet, buf, len, true);
}

HRESULT CVozeAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    return KsBlockWrite(m_pKsPropertySet, kSet, buf, len);
}

HRESULT CVozeAccess::SetOption(BYTE value)
{
    return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPTION, value);
}

HRESULT CVozeAccess::GPIO_Read(DWORD* pValue)
{
    CScopedLock lock(&m_csRequest);
    if (!pValue) return E_POINTER;
    return Saa713xStrobedGpioRead(this, kGpioReadMode, pValue);
}

HRESULT CVozeAccess::GPIO_Write(DWORD value, DWORD mask) { return CVozeAccess::GPIO_WriteEx(value, mask, 0); }

HRESULT CVozeAccess::GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs)
{
    CScopedLock lock(&m_csRequest);
    return Saa713xStrobedGpioWrite(this, value, mask, waitMs);
}

HRESULT CVozeAccess::SetControl(DWORD id, DWORD value)
{
    CScopedLock lock(&m_csRequest);
    return KsSetDword(m_pKsPropertySet, kSet, id, value);
}

HRESULT CVozeAccess::SetControl13(DWORD value) { return SetControl(KSPROPERTY_SAA713X_CONTROL13, value); }

HRESULT CVozeAccess::SetControl14(DWORD value) { return SetControl(KSPROPERTY_SAA713X_CONTROL14, value); }

HRESULT CVozeAccess::DoControl15()
{
    CScopedLock lock(&m_csRequest);
    return KsSetBare(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_CONTROL15);
}

HRESULT CVozeAccess::SetControl16(DWORD value) { return SetControl(KSPROPERTY_SAA713X_CONTROL16, value); }

// The reset line is a read-modify-write of both GPIO registers; it holds the request lock so
// that a GPIO write of another thread cannot fall between the read and the write back.
HRESULT CVozeAccess::ResetTuner(BOOL bOpen)
{
    CScopedLock lock(&m_csRequest);
    return Saa713xDriveGpioLines(this, kTunerReset, bOpen ? kTunerReset : 0);
}

HRESULT CVozeAccess::ReadBridgeReg(BYTE reg, BYTE* pValue) { return Saa713xReadRegisterByte(this, reg, pValue); }

HRESULT CVozeAccess::ReadRegister32(DWORD addr, DWORD* pValue)
{
    return KsRegisterRead(m_pKsPropertySet, kSet, addr, pValue);
}

HRESULT CVozeAccess::WriteRegister32(DWORD addr, DWORD value)
{
    return KsRegisterWrite(m_pKsPropertySet, kSet, addr, value);
}

HRESULT CVozeAccess::Reserved23(DWORD*) { return E_FAIL; }

HRESULT CVozeAccess::Reserved24(DWORD) { return E_FAIL; }

HRESULT CVozeAccess::Reserved25(DWORD*) { return E_FAIL; }

HRESULT CVozeAccess::GPIO_SetTVFM(DWORD) { return E_FAIL; }
