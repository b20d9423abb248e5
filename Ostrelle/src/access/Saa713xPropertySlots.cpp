// The slots that the access classes of the cards on the SAA713x property set share.
#include "access/Saa713xPropertySlots.h"

#include "access/Saa713xGpio.h"
#include "graph/Thread.h"

namespace {

constexpr const GUID& kSet = KSPROPSETID_Saa713xAccess;
constexpr DWORD kTunerReset = 0x40000;  // GPIO line 18

}  // namespace

CSaa713xPropertySlots::CSaa713xPropertySlots(CCustomDataAccess* owner, CRITICAL_SECTION* lock)
    : m_pOwner(owner), m_pLock(lock)
{
}

HRESULT CSaa713xPropertySlots::Init(IUnknown* pDevice)
{
    if (!pDevice) return E_POINTER;
    m_pKsPropertySet.Release();
    return pDevice->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet));
}

HRESULT CSaa713xPropertySlots::Open(BYTE bOpen) { return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPEN, bOpen); }

HRESULT CSaa713xPropertySlots::SetOption(BYTE value)
{
    return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPTION, value);
}

HRESULT CSaa713xPropertySlots::I2CRead(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(m_pLock);
    return KsI2CRead(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, pData);
}

HRESULT CSaa713xPropertySlots::I2CWrite(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(m_pLock);
    return KsI2CWrite(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, ucData);
}

HRESULT CSaa713xPropertySlots::ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(m_pLock);
    return KsBlockRead(m_pKsPropertySet, kSet, buf, len, true);
}

HRESULT CSaa713xPropertySlots::WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(m_pLock);
    return KsBlockWrite(m_pKsPropertySet, kSet, buf, len);
}

HRESULT CSaa713xPropertySlots::GpioRead(DWORD modeWord, DWORD* pValue)
{
    CScopedLock lock(m_pLock);
    if (!pValue) return E_POINTER;
    return Saa713xStrobedGpioRead(m_pOwner, modeWord, pValue);
}

HRESULT CSaa713xPropertySlots::GpioWrite(DWORD value, DWORD mask, DWORD waitMs)
{
    CScopedLock lock(m_pLock);
    return Saa713xStrobedGpioWrite(m_pOwner, value, mask, waitMs);
}

// A read-modify-write of both GPIO registers: under the lock, so that a GPIO write of another
// thread cannot fall between the read and the write back.
HRESULT CSaa713xPropertySlots::ResetTuner(BOOL bOpen)
{
    CScopedLock lock(m_pLock);
    return Saa713xDriveGpioLines(m_pOwner, kTunerReset, bOpen ? kTunerReset : 0);
}

HRESULT CSaa713xPropertySlots::SetControl(DWORD id, DWORD value)
{
    CScopedLock lock(m_pLock);
    return KsSetDword(m_pKsPropertySet, kSet, id, value);
}

HRESULT CSaa713xPropertySlots::DoControl15()
{
    CScopedLock lock(m_pLock);
    return KsSetBare(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_CONTROL15);
}

HRESULT CSaa713xPropertySlots::ReadBridgeReg(BYTE reg, BYTE* pValue) { return Saa713xReadRegisterByte(m_pOwner, reg, pValue); }

HRESULT CSaa713xPropertySlots::ReadRegister(DWORD addr, DWORD* pValue)
{
    return KsRegisterRead(m_pKsPropertySet, kSet, addr, pValue);
}

HRESULT CSaa713xPropertySlots::WriteRegister(DWORD addr, DWORD value)
{
    return KsRegisterWrite(m_pKsPropertySet, kSet, addr, value);
}

// ---- CSaa713xBasicAccess ----

CSaa713xBasicAccess::CSaa713xBasicAccess(DWORD gpioReadMode, DWORD gpioWriteHoldMs)
    : m_slots(this, &m_csRequest), m_dwGpioReadMode(gpioReadMode), m_dwGpioWriteHoldMs(gpioWriteHoldMs)
{
}

HRESULT CSaa713xBasicAccess::Init(IUnknown* pDevice, void*) { return m_slots.Init(pDevice); }

HRESULT CSaa713xBasicAccess::Open(BYTE bOpen) { return m_slots.Open(bOpen); }

HRESULT CSaa713xBasicAccess::I2C_Read(BYTE addr, int sub, BYTE* pData) { return m_slots.I2CRead(addr, sub, pData); }

HRESULT CSaa713xBasicAccess::I2C_Write(BYTE addr, int sub, BYTE data) { return m_slots.I2CWrite(addr, sub, data); }

HRESULT CSaa713xBasicAccess::I2C_ReadBlock(BYTE* buf, int len) { return m_slots.ReadBlock(buf, len); }

HRESULT CSaa713xBasicAccess::I2C_WriteBlock(BYTE* buf, int len) { return m_slots.WriteBlock(buf, len); }

HRESULT CSaa713xBasicAccess::SetOption(BYTE value) { return m_slots.SetOption(value); }

HRESULT CSaa713xBasicAccess::GPIO_Read(DWORD* pValue) { return m_slots.GpioRead(m_dwGpioReadMode, pValue); }

HRESULT CSaa713xBasicAccess::GPIO_Write(DWORD value, DWORD mask)
{
    return m_slots.GpioWrite(value, mask, m_dwGpioWriteHoldMs);
}

HRESULT CSaa713xBasicAccess::ReadBridgeReg(BYTE reg, BYTE* pValue) { return m_slots.ReadBridgeReg(reg, pValue); }

HRESULT CSaa713xBasicAccess::ReadRegister32(DWORD addr, DWORD* pValue) { return m_slots.ReadRegister(addr, pValue); }

HRESULT CSaa713xBasicAccess::WriteRegister32(DWORD addr, DWORD value) { return m_slots.WriteRegister(addr, value); }

HRESULT CSaa713xBasicAccess::Reserved23(DWORD*) { return E_FAIL; }

HRESULT CSaa713xBasicAccess::Reserved24(DWORD) { return E_FAIL; }

HRESULT CSaa713xBasicAccess::Reserved25(DWORD*) { return E_FAIL; }

HRESULT CSaa713xBasicAccess::GPIO_SetTVFM(DWORD) { return E_FAIL; }

// ---- CSaa713xPropertyAccess ----

CSaa713xPropertyAccess::CSaa713xPropertyAccess(DWORD gpioReadMode) : CSaa713xBasicAccess(gpioReadMode, 0) {}

HRESULT CSaa713xPropertyAccess::GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs)
{
    return m_slots.GpioWrite(value, mask, waitMs);
}

HRESULT CSaa713xPropertyAccess::SetControl13(DWORD value) { return m_slots.SetControl(KSPROPERTY_SAA713X_CONTROL13, value); }

HRESULT CSaa713xPropertyAccess::SetControl14(DWORD value) { return m_slots.SetControl(KSPROPERTY_SAA713X_CONTROL14, value); }

HRESULT CSaa713xPropertyAccess::DoControl15() { return m_slots.DoControl15(); }

HRESULT CSaa713xPropertyAccess::SetControl16(DWORD value) { return m_slots.SetControl(KSPROPERTY_SAA713X_CONTROL16, value); }

HRESULT CSaa713xPropertyAccess::ResetTuner(BOOL bOpen) { return m_slots.ResetTuner(bOpen); }
