// CWisAccess: the hardware access of the USB encoder boxes on the WIS GO7007SB.
#include "access/WisAccess.h"

#include "graph/Thread.h"

namespace {

constexpr DWORD kFlags = 0x8000;

DWORD WidthOf(int subAddress) { return (subAddress & 0xFF00) ? 16 : 8; }

}  // namespace

CWisAccess::CWisAccess() : m_pDevice(nullptr) {}

CWisAccess::~CWisAccess()
{
    if (m_pDevice) m_pDevice->Release();
}

HRESULT CWisAccess::Init(IUnknown* pDevice, void*)
{
    CScopedLock lock(&m_csRequest);
    if (!pDevice) return E_FAIL;
    IWisI2C* device = nullptr;
    if (FAILED(pDevice->QueryInterface(IID_IWisI2C, reinterpret_cast<void**>(&device))) || !device) return E_FAIL;
    if (m_pDevice) m_pDevice->Release();
    m_pDevice = device;
    return S_OK;
}

HRESULT CWisAccess::Open(BYTE) { return S_OK; }

HRESULT CWisAccess::SetOption(BYTE) { return S_OK; }

HRESULT CWisAccess::GPIO_Read(DWORD*) { return S_OK; }

HRESULT CWisAccess::GPIO_Write(DWORD, DWORD) { return S_OK; }

HRESULT CWisAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pDevice || !pData) return E_FAIL;
    return m_pDevice->ReadSub(ucSlaveAddr, WidthOf(iSubAddr), static_cast<WORD>(iSubAddr), pData, kFlags);
}

HRESULT CWisAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pDevice) return E_FAIL;
    return m_pDevice->WriteSub(ucSlaveAddr, WidthOf(iSubAddr), static_cast<WORD>(iSubAddr), ucData, kFlags);
}

HRESULT CWisAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pDevice || !buf || len <= 0) return E_FAIL;
    return m_pDevice->ReadSub(buf[0], 8, 0, buf, kFlags);
}

HRESULT CWisAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pDevice || !buf || len < 1) return E_FAIL;
    return m_pDevice->WriteRaw(buf[0], 0, 0, static_cast<DWORD>(len - 1), buf + 1, kFlags);
}

HRESULT CWisAccess::I2C_ReadEx(BYTE address, DWORD width, WORD subAddress, BYTE* data, DWORD flags)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pDevice || !data) return E_FAIL;
    return m_pDevice->ReadSub(address, width, subAddress, data, flags);
}

HRESULT CWisAccess::I2C_WriteEx(BYTE address, DWORD width, WORD subAddress, DWORD data, DWORD flags)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pDevice) return E_FAIL;
    if (width != 8 || subAddress > 0xFF) return E_INVALIDARG;
    BYTE header[3] = {address, static_cast<BYTE>(subAddress), 0};
    return m_pDevice->WriteHeadered(2, header, 1, &data, flags);
}
