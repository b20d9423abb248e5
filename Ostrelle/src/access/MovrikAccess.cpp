#include "access/MovrikAccess.h"

#include "access/Saa713xGpio.h"
#include "graph/Thread.h"

namespace {

constexpr const GUID& kSet = KSPROPSETID_Saa713xAccess;
// The second mode word of a GPIO read: lines 12 and 13 driven.
constexpr DWORD kGpioReadMode = 0x80003000;
// How long a GPIO write holds its value before the mode register goes back to idle.
constexpr DWORD kGpioWriteHoldMs = 120;

}  // namespace

CMovrikAccess::CMovrikAccess() = default;

CMovrikAccess::~CMovrikAccess() = default;

HRESULT CMovrikAccess::Init(IUnknown* pDevice, void*)
{
    if (!pDevice) return E_POINTER;
    m_pKsPropertySet.Release();
    return pDevice->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet));
}

HRESULT CMovrikAccess::Open(BYTE bOpen) { return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPEN, bOpen); }

HRESULT CMovrikAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(&m_csRequest);
    return KsI2CRead(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, pData);
}

HRESULT CMovrikAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csRequest);
    return KsI2CWrite(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, ucData);
}

HRESULT CMovrikAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    return KsBlockRead(m_pKsPropertySet, kSet, buf, len, true);
}

HRESULT CMovrikAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    return KsBlockWrite(m_pKsPropertySet, kSet, buf, len);
}

HRESULT CMovrikAccess::SetOption(BYTE value)
{
    return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPTION, value);
}

HRESULT CMovrikAccess::GPIO_Read(DWORD* pValue)
{
    CScopedLock lock(&m_csRequest);
    if (!pValue) return E_POINTER;
    return Saa713xStrobedGpioRead(this, kGpioReadMode, pValue);
}

HRESULT CMovrikAccess::GPIO_Write(DWORD value, DWORD mask)
{
    CScopedLock lock(&m_csRequest);
    return Saa713xStrobedGpioWrite(this, value, mask, kGpioWriteHoldMs);
}

HRESULT CMovrikAccess::ReadBridgeReg(BYTE reg, BYTE* pValue) { return Saa713xReadRegisterByte(this, reg, pValue); }

HRESULT CMovrikAccess::ReadRegister32(DWORD addr, DWORD* pValue)
{
    return KsRegisterRead(m_pKsPropertySet, kSet, addr, pValue);
}

HRESULT CMovrikAccess::WriteRegister32(DWORD addr, DWORD value)
{
    return KsRegisterWrite(m_pKsPropertySet, kSet, addr, value);
}

HRESULT CMovrikAccess::Reserved23(DWORD*) { return E_FAIL; }

HRESULT CMovrikAccess::Reserved24(DWORD) { return E_FAIL; }

HRESULT CMovrikAccess::Reserved25(DWORD*) { return E_FAIL; }

HRESULT CMovrikAccess::GPIO_SetTVFM(DWORD) { return E_FAIL; }
