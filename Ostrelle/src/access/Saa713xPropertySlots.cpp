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
