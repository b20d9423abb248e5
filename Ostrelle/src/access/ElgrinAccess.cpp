// CElgrinAccess: the hardware access of the Elgrin and Wandry USB boxes.
#include "access/ElgrinAccess.h"

#include "graph/Thread.h"

namespace {

constexpr BYTE kEepromCommandAddresses = 0xA0;
constexpr DWORD kTunerResetLine = 1;

bool IsStatusAddress(BYTE addr) { return addr == 0xC0 || addr == 0xC1; }

}  // namespace

CElgrinAccess::CElgrinAccess() = default;

CElgrinAccess::~CElgrinAccess() = default;

HRESULT CElgrinAccess::Init(IUnknown* pDevice, void*)
{
    m_dwI2CPath = 0;
    HRESULT hr = m_channel.Init(pDevice);
    if (FAILED(hr)) return hr;
    BYTE aliasing = 0;
    const HRESULT probed = m_channel.ProbeEepromAliasing(&aliasing);
    if (probed != S_OK) {
        // Without the probe's answer no path is known to address the EEPROM's bytes apart.
        m_channel.Close();
        return probed;
    }
    m_dwI2CPath = aliasing;
    return hr;
}

HRESULT CElgrinAccess::Open(BYTE) { return S_OK; }

bool CElgrinAccess::ThroughEepromCommand(BYTE addr) const
{
    return m_dwI2CPath == 0 && (addr & kEepromCommandAddresses) != 0;
}

HRESULT CElgrinAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(&m_csRequest);
    const BYTE sub = static_cast<BYTE>(iSubAddr);
    if (ThroughEepromCommand(ucSlaveAddr)) return m_channel.ReadEepromByte(ucSlaveAddr, sub, pData);
    return m_channel.I2CReadByte(ucSlaveAddr, sub, pData);
}

HRESULT CElgrinAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csRequest);
    const BYTE sub = static_cast<BYTE>(iSubAddr);
    if (ThroughEepromCommand(ucSlaveAddr)) return m_channel.WriteEepromByte(ucSlaveAddr, sub, ucData);
    return m_channel.I2CWriteByte(ucSlaveAddr, sub, ucData);
}

HRESULT CElgrinAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    if (!buf) return E_POINTER;
    if (len < 1) return E_INVALIDARG;
    // A tuner's one-byte status read has no sub-address: one raw byte, as from 0xC0 or 0xC1.
    if (IsStatusAddress(buf[0]) || len == 1) return m_channel.I2CReadDirect(buf[0], buf);
    return m_channel.I2CReadBlock(buf, len);
}

HRESULT CElgrinAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    return m_channel.I2CWriteChunked(buf, len);
}

HRESULT CElgrinAccess::SetOption(BYTE) { return S_OK; }

HRESULT CElgrinAccess::GPIO_Read(DWORD* pValue)
{
    if (!pValue) return E_POINTER;
    BYTE lines = 0;
    HRESULT hr = m_channel.ReadLines(&lines);
    if (hr == S_OK) *pValue = lines;
    return hr;
}

HRESULT CElgrinAccess::GPIO_Write(DWORD value, DWORD mask)
{
    if (mask >= kVendorLineCount) return E_INVALIDARG;
    return m_channel.WriteLine(static_cast<BYTE>(mask), static_cast<BYTE>(value));
}

HRESULT CElgrinAccess::ResetTuner(BOOL bOpen) { return GPIO_Write(bOpen != 0, kTunerResetLine); }

HRESULT CElgrinAccess::WriteBridgeReg(BYTE reg, BYTE value)
{
    CScopedLock lock(&m_csRequest);
    return m_channel.WriteBridgeReg(reg, value);
}

HRESULT CElgrinAccess::ReadBridgeReg(BYTE reg, BYTE* pValue)
{
    CScopedLock lock(&m_csRequest);
    return m_channel.ReadBridgeReg(reg, pValue);
}

HRESULT CElgrinAccess::GPIO_SetTVFM(DWORD) { return E_FAIL; }

HRESULT CElgrinAccess::ReadEepromByte(BYTE dev, BYTE offset, BYTE* out) { return m_channel.ReadEepromByte(dev, offset, out); }

HRESULT CElgrinAccess::WriteEepromByte(BYTE dev, BYTE offset, BYTE value)
{
    return m_channel.WriteEepromByte(dev, offset, value);
}
