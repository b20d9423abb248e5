// CTridentAccess: the hardware access of the Trident bridge PCI card ("RiriRir Capture").
#include "access/TridentAccess.h"

#include "graph/Thread.h"

namespace {

constexpr DWORD kBlockWritePauseMs = 5;
constexpr int kLongestBlock = 2 + CVendorCommand::kMaxPayload;
constexpr DWORD kTunerResetLine = 0;

}  // namespace

CTridentAccess::CTridentAccess() = default;

CTridentAccess::~CTridentAccess() = default;

HRESULT CTridentAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    return I2CRead(ucSlaveAddr & 0xFE, static_cast<BYTE>(iSubAddr), pData, 1);
}

HRESULT CTridentAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    return I2CWrite(ucSlaveAddr, static_cast<BYTE>(iSubAddr), &ucData, 1);
}

HRESULT CTridentAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_POINTER;
    if (!buf) return E_POINTER;
    if (len != 1) return E_INVALIDARG;
    return TransactByte(CVendorCommand::RawRead(buf[0] & 0xFE), buf);
}

HRESULT CTridentAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_POINTER;
    if (!buf) return E_POINTER;
    if (len < 3 || len > kLongestBlock) return E_INVALIDARG;
    CVendorCommand command = CVendorCommand::I2CWrite(buf[0], buf[1], buf + 2, len - 2);
    HRESULT hr = Transact(command.Bytes(), command.Count());
    Sleep(kBlockWritePauseMs);
    return hr;
}

HRESULT CTridentAccess::ResetTuner(BOOL bOpen) { return GPIO_Write(bOpen == 0, kTunerResetLine); }

HRESULT CTridentAccess::ReadReg(BYTE addr, BYTE sub, BYTE* out) { return I2C_Read(addr, sub, out); }

HRESULT CTridentAccess::WriteReg(BYTE addr, BYTE sub, BYTE value) { return I2C_Write(addr, sub, value); }
