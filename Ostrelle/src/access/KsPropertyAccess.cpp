#include "access/KsPropertyAccess.h"

#include "access/Saa713xGpio.h"
#include "graph/Thread.h"

namespace {

constexpr const GUID& kSet = KSPROPSETID_Saa713xAccess;

// SAA713x registers.
constexpr DWORD kVideoStatus = 0x11F;
constexpr DWORD kOptionRegister = 0x16C;
constexpr DWORD kTunerReset = 0x40000;  // GPIO line 18
// The second mode word of a GPIO read: lines 12 to 14 driven.
constexpr DWORD kGpioReadMode = 0x80007000;

}  // namespace

CKsPropertyAccess::CKsPropertyAccess() : CKsPropertyAccess(kGpioReadMode) {}

CKsPropertyAccess::CKsPropertyAccess(DWORD gpioReadMode) : m_gpioReadMode(gpioReadMode) {}

CKsPropertyAccess::~CKsPropertyAccess() = default;

HRESULT CKsPropertyAccess::Init(IUnknown* pDevice, void*)
{
    if (!pDevice) return E_POINTER;
    m_pKsPropertySet.Release();
    return pDevice->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet));
}

HRESULT CKsPropertyAccess::Open(BYTE bOpen) { return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPEN, bOpen); }

HRESULT CKsPropertyAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(&m_csRequest);
    return KsI2CRead(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, pData);
}

HRESULT CKsPropertyAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csRequest);
    return KsI2CWrite(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, ucData);
}

HRESULT CKsPropertyAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    return KsBlockRead(m_pKsPropertySet, kSet, buf, len, true);
}

HRESULT CKsPropertyAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    return KsBlockWrite(m_pKsPropertySet, kSet, buf, len);
}

HRESULT CKsPropertyAccess::SetOption(BYTE value)
{
    return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPTION, value);
}

HRESULT CKsPropertyAccess::GPIO_Read(DWORD* pValue)
{
    CScopedLock lock(&m_csRequest);
    if (!pValue) return E_POINTER;
    return Saa713xStrobedGpioRead(this, m_gpioReadMode, pValue);
}

HRESULT CKsPropertyAccess::GPIO_Write(DWORD value, DWORD mask) { return CKsPropertyAccess::GPIO_WriteEx(value, mask, 0); }

HRESULT CKsPropertyAccess::GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs)
{
    CScopedLock lock(&m_csRequest);
    return Saa713xStrobedGpioWrite(this, value, mask, waitMs);
}

HRESULT CKsPropertyAccess::SetControl(DWORD id, DWORD value)
{
    CScopedLock lock(&m_csRequest);
    return KsSetDword(m_pKsPropertySet, kSet, id, value);
}

HRESULT CKsPropertyAccess::SetControl13(DWORD value) { return SetControl(KSPROPERTY_SAA713X_CONTROL13, value); }

HRESULT CKsPropertyAccess::SetControl14(DWORD value) { return SetControl(KSPROPERTY_SAA713X_CONTROL14, value); }

HRESULT CKsPropertyAccess::DoControl15()
{
    CScopedLock lock(&m_csRequest);
    return KsSetBare(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_CONTROL15);
}

HRESULT CKsPropertyAccess::SetControl16(DWORD value) { return SetControl(KSPROPERTY_SAA713X_CONTROL16, value); }

// The reset line is a read-modify-write of both GPIO registers; it holds the request lock so
// that a GPIO write of another thread cannot fall between the read and the write back.
HRESULT CKsPropertyAccess::ResetTuner(BOOL bOpen)
{
    CScopedLock lock(&m_csRequest);
    return Saa713xDriveGpioLines(this, kTunerReset, bOpen ? kTunerReset : 0);
}

HRESULT CKsPropertyAccess::ReadBridgeReg(BYTE reg, BYTE* pValue) { return Saa713xReadRegisterByte(this, reg, pValue); }

HRESULT CKsPropertyAccess::ReadRegister32(DWORD addr, DWORD* pValue)
{
    return KsRegisterRead(m_pKsPropertySet, kSet, addr, pValue);
}

HRESULT CKsPropertyAccess::WriteRegister32(DWORD addr, DWORD value)
{
    return KsRegisterWrite(m_pKsPropertySet, kSet, addr, value);
}

HRESULT CKsPropertyAccess::Reserved23(DWORD*) { return E_FAIL; }

HRESULT CKsPropertyAccess::Reserved24(DWORD) { return E_FAIL; }

HRESULT CKsPropertyAccess::Reserved25(DWORD*) { return E_FAIL; }

HRESULT CKsPropertyAccess::GPIO_SetTVFM(DWORD) { return E_FAIL; }

HRESULT CKsPropertyAccess::Reserved27(DWORD* pValue)
{
    if (!m_pKsPropertySet || !pValue) return E_POINTER;
    DWORD value = 0;
    HRESULT hr = ReadRegister32(kVideoStatus, &value);
    *pValue = (hr == S_OK && (value & 1)) ? 1 : 0;
    return hr;
}

HRESULT CKsPropertyAccess::Reserved28(BOOL flag)
{
    if (!m_pKsPropertySet) return E_FAIL;
    return WriteRegister32(kOptionRegister, flag ? 0xBB : 0xFF);
}
