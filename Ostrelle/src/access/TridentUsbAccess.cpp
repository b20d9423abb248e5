// CTridentUsbAccess: the hardware access of the Trident bridge USB boxes.
#include "access/TridentUsbAccess.h"

#include "graph/Thread.h"

namespace {

constexpr DWORD kTunerResetLine = 1;
constexpr DWORD kStatusLine = 0;

}  // namespace

CTridentUsbAccess::CTridentUsbAccess() = default;

CTridentUsbAccess::~CTridentUsbAccess() = default;

HRESULT CTridentUsbAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_POINTER;
    return TransactByte(CVendorCommand::I2CRead(ucSlaveAddr & 0xFE, static_cast<BYTE>(iSubAddr), 1), pData);
}

HRESULT CTridentUsbAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_POINTER;
    CVendorCommand command = CVendorCommand::QuickWrite(ucSlaveAddr, static_cast<BYTE>(iSubAddr), ucData);
    return Transact(command.Bytes(), command.Count());
}

HRESULT CTridentUsbAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    if (!m_pKsPropertySet || !buf) return E_POINTER;
    // Address and sub-address come first: a block of fewer than three bytes is refused before
    // they are read.
    if (len < 3) return E_INVALIDARG;
    return I2CRead(buf[0], buf[1], buf, len - 2);
}

HRESULT CTridentUsbAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    return I2CWriteChunked(buf, len);
}

HRESULT CTridentUsbAccess::ResetTuner(BOOL bOpen) { return GPIO_Write(bOpen != 0, kTunerResetLine); }

HRESULT CTridentUsbAccess::GetStatus(BOOL bOn) { return GPIO_Write(bOn != 0, kStatusLine); }

HRESULT CTridentUsbAccess::ReadVendorData(BYTE a, BYTE b, BYTE* out) { return I2CRead(a, b, out, 1); }

HRESULT CTridentUsbAccess::WriteVendorData(BYTE a, BYTE b, BYTE value) { return I2CWrite(a, b, &value, 1); }
