// CRiveskAccess: the hardware access of the Rivesk and Prisko MPEG encoder cards.
#include "access/RiveskAccess.h"

#include "graph/Thread.h"

namespace {

constexpr const GUID& kSet = KSPROPSETID_RiveskAccess;
constexpr DWORD kGpioWritePauseMs = 100;

}  // namespace

CRiveskAccess::CRiveskAccess() = default;

CRiveskAccess::~CRiveskAccess() = default;

HRESULT CRiveskAccess::Init(IUnknown* pDevice, void*)
{
    m_pKsPropertySet.Release();
    if (!pDevice) return E_POINTER;
    HRESULT hr = pDevice->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet));
    if (FAILED(hr)) return hr;
    DWORD support = 0;
    hr = m_pKsPropertySet->QuerySupported(kSet, KSPROPERTY_SAA713X_DEVICE_INFO, &support);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT CRiveskAccess::Open(BYTE bOpen) { return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPEN, bOpen); }

HRESULT CRiveskAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    return KsI2CRead(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, pData);
}

HRESULT CRiveskAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    return KsI2CWrite(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, ucData);
}

HRESULT CRiveskAccess::I2C_ReadBlock(BYTE* buf, int len) { return KsBlockRead(m_pKsPropertySet, kSet, buf, len, false); }

HRESULT CRiveskAccess::I2C_WriteBlock(BYTE* buf, int len) { return KsBlockWrite(m_pKsPropertySet, kSet, buf, len); }

HRESULT CRiveskAccess::SetOption(BYTE value)
{
    return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPTION, value);
}

HRESULT CRiveskAccess::GPIO_Read(DWORD* pValue)
{
    CScopedLock lock(&m_csRequest);
    if (!pValue) return E_POINTER;
    if (!m_pKsPropertySet) return E_FAIL;
    return KsGpioGet(m_pKsPropertySet, kSet, pValue);
}

HRESULT CRiveskAccess::GPIO_Write(DWORD value, DWORD mask)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    HRESULT hr = KsGpioSet(m_pKsPropertySet, kSet, value, mask);
    Sleep(kGpioWritePauseMs);
    return hr;
}

HRESULT CRiveskAccess::GetDeviceInfo(DWORD* pFirst, DWORD* pSecond)
{
    if (!m_pKsPropertySet) return E_FAIL;
    if (!pFirst || !pSecond) return E_POINTER;
    DWORD first = 0;
    DWORD second = 0;
    HRESULT hr = KsGetDeviceInfo(m_pKsPropertySet, kSet, &first, &second);
    if (hr != S_OK) return hr;
    *pFirst = first;
    *pSecond = second;
    return S_OK;
}
