// CEm2800Access: the hardware access of the USB TV boxes on Empia EM28xx bridges.
#include "access/Em2800Access.h"

#include <vector>

#include "graph/Thread.h"

namespace {

constexpr int kMaxRead = 255;
constexpr int kMaxWrite = 256;
constexpr int kScanEnd = 255;

}  // namespace

CEm2800Access::CEm2800Access() : m_bOpen(FALSE) {}

CEm2800Access::~CEm2800Access() { CloseDevice(); }

HRESULT CEm2800Access::Init(IUnknown*, void* pContext)
{
    const char* name = static_cast<const char*>(pContext);
    m_strDeviceName = name ? name : "";
    if (m_strDeviceName.empty()) return S_FALSE;
    OpenDevice();
    return S_OK;
}

HRESULT CEm2800Access::Open(BYTE bOpen)
{
    if (bOpen) {
        OpenDevice();
    } else {
        CloseDevice();
    }
    return S_OK;
}

HRESULT CEm2800Access::SetOption(BYTE bOpen) { return Open(bOpen); }

void CEm2800Access::OpenDevice()
{
    CScopedLock lock(&m_csRequest);
    if (m_bOpen || m_strDeviceName.empty()) return;
    if (m_vendor.OpenByName(m_strDeviceName.c_str())) m_bOpen = TRUE;
}

void CEm2800Access::CloseDevice()
{
    CScopedLock lock(&m_csRequest);
    if (!m_bOpen) return;
    m_vendor.Close();
    m_bOpen = FALSE;
}

// A box that is not open and a refused call answer E_FAIL in every operation, though the old class
// answered S_FALSE, which its callers, testing for zero or more, took as success.
HRESULT CEm2800Access::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    if (!pData) return E_POINTER;
    CScopedLock lock(&m_csRequest);
    if (!m_bOpen) return E_FAIL;
    BYTE byte = *pData;
    if (!m_vendor.ReadReg(ucSlaveAddr, static_cast<BYTE>(iSubAddr), 1, &byte)) return E_FAIL;
    *pData = byte;
    return S_OK;
}

HRESULT CEm2800Access::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csRequest);
    if (!m_bOpen) return E_FAIL;
    return m_vendor.WriteReg(ucSlaveAddr, static_cast<BYTE>(iSubAddr), 1, &ucData) ? S_OK : E_FAIL;
}

HRESULT CEm2800Access::I2C_ReadBlock(BYTE* buf, int len)
{
    if (!buf) return E_POINTER;
    if (len < 1 || len > kMaxRead) return E_INVALIDARG;
    CScopedLock lock(&m_csRequest);
    if (!m_bOpen) return E_FAIL;
    std::vector<BYTE> work(len);
    if (!m_vendor.I2CRead(buf[0], static_cast<BYTE>(len), work.data())) return E_FAIL;
    std::copy(work.begin(), work.end(), buf);
    return S_OK;
}

HRESULT CEm2800Access::I2C_WriteBlock(BYTE* buf, int len)
{
    if (!buf) return E_POINTER;
    if (len < 2 || len > kMaxWrite) return E_INVALIDARG;
    CScopedLock lock(&m_csRequest);
    if (!m_bOpen) return E_FAIL;
    std::vector<BYTE> work(buf + 1, buf + len);
    return m_vendor.I2CWrite(buf[0], static_cast<BYTE>(len - 1), work.data()) ? S_OK : E_FAIL;
}

HRESULT CEm2800Access::GPIO_Read(DWORD* pValue)
{
    if (!pValue) return E_POINTER;
    CScopedLock lock(&m_csRequest);
    if (!m_bOpen) return E_FAIL;
    BYTE byte = 0;
    if (!m_vendor.ReadGpio(&byte)) return E_FAIL;
    *pValue = (*pValue & 0xFFFFFF00u) | byte;
    return S_OK;
}

HRESULT CEm2800Access::GPIO_Write(DWORD value, DWORD)
{
    CScopedLock lock(&m_csRequest);
    if (!m_bOpen) return E_FAIL;
    BYTE byte = static_cast<BYTE>(value);
    return m_vendor.WriteGpio(&byte) ? S_OK : E_FAIL;
}

int CEm2800Access::ScanI2CBus(BYTE* addrs, int last, BYTE mask)
{
    if (!addrs) return 0;
    CScopedLock lock(&m_csRequest);
    int found = 0;
    for (int address = 0; address <= last && address < kScanEnd; ++address) {
        BYTE byte = static_cast<BYTE>(address);
        if (I2C_ReadBlock(&byte, 1) == S_OK && (byte & mask)) addrs[found++] = static_cast<BYTE>(address);
    }
    return found;
}
