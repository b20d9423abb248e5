// CBoxAccess: what the access classes of the USB encoder boxes share.
#include "access/BoxAccess.h"

#include "graph/Thread.h"

namespace {

constexpr BYTE kModeWrite = 2;
constexpr BYTE kModeRead = 3;
constexpr BYTE kModeDecoderRead = 1;
constexpr DWORD kDecoderAlias = 0x20;
constexpr DWORD kDecoder = 0x21;

}  // namespace

CBoxAccess::CBoxAccess(const CBoxProperty& property) : m_property(property) { InitializeCriticalSection(&m_csBox); }

CBoxAccess::~CBoxAccess()
{
    m_pFilter.Release();
    DeleteCriticalSection(&m_csBox);
}

HRESULT CBoxAccess::Init(IUnknown* pDevice, void*)
{
    if (!pDevice) return E_INVALIDARG;
    m_pFilter = pDevice;
    return S_OK;
}

HRESULT CBoxAccess::Open(BYTE bOpen) { return (bOpen && !m_pFilter) ? E_FAIL : S_OK; }

HRESULT CBoxAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(&m_csBox);
    if (!pData) return E_POINTER;
    if (iSubAddr < 0) return E_INVALIDARG;
    DWORD device = ucSlaveAddr >> 1;
    BYTE mode = kModeRead;
    if (device == kDecoderAlias) {
        device = kDecoder;
        mode = kModeDecoderRead;
    }
    DWORD value = 0;
    if (!m_property.QueryBoxValue(m_pFilter, device, mode, static_cast<DWORD>(iSubAddr), &value)) return E_FAIL;
    *pData = static_cast<BYTE>(value);
    return S_OK;
}

HRESULT CBoxAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csBox);
    if (iSubAddr < 0) return E_INVALIDARG;
    return m_property.SetBoxValue(m_pFilter, ucSlaveAddr >> 1, kModeWrite, static_cast<DWORD>(iSubAddr), ucData)
               ? S_OK
               : E_FAIL;
}

HRESULT CBoxAccess::SetOption(BYTE) { return E_NOTIMPL; }

HRESULT CBoxAccess::GPIO_Read(DWORD*) { return E_NOTIMPL; }

HRESULT CBoxAccess::GPIO_Write(DWORD, DWORD) { return E_NOTIMPL; }
