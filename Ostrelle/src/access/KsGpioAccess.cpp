// CKsGpioAccess: the hardware access of the CX2388x cards.
#include "access/KsGpioAccess.h"

namespace {

constexpr const GUID& kSet = KSPROPSETID_Saa713xAccess;
constexpr const char kGpioLockName[] = "GPIO_LOCK";
// The pause after a GPIO write of the base class.
constexpr DWORD kGpioWritePauseMs = 100;
// Lines 12 to 14: the card's audio-source selection.
constexpr DWORD kAudioLines = 0x7000;

}  // namespace

CKsGpioAccess::CKsGpioAccess() : m_gpioLock(kGpioLockName, FALSE) {}

CKsGpioAccess::~CKsGpioAccess() = default;

template <class Request>
HRESULT CKsGpioAccess::UnderGpioLock(Request request)
{
    if (!m_pKsPropertySet) return E_FAIL;
    if (!m_gpioLock.Lock()) return E_FAIL;
    HRESULT hr = request();
    m_gpioLock.Unlock();
    return hr;
}

HRESULT CKsGpioAccess::Init(IUnknown* pDevice, void*)
{
    m_pKsPropertySet.Release();
    if (!pDevice) return E_POINTER;
    return pDevice->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet));
}

HRESULT CKsGpioAccess::Open(BYTE bOpen)
{
    return UnderGpioLock([&] { return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPEN, bOpen); });
}

HRESULT CKsGpioAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    if (!pData) return E_POINTER;
    if (iSubAddr < 0) return E_INVALIDARG;
    return UnderGpioLock([&] { return KsI2CRead(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, pData); });
}

HRESULT CKsGpioAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    if (iSubAddr < 0) return E_INVALIDARG;
    return UnderGpioLock([&] { return KsI2CWrite(m_pKsPropertySet, kSet, ucSlaveAddr, iSubAddr, ucData); });
}

HRESULT CKsGpioAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    if (!buf) return E_POINTER;
    if (len < 1 || len > kKsBlockBytes) return E_INVALIDARG;
    return UnderGpioLock([&] { return KsBlockRead(m_pKsPropertySet, kSet, buf, len, false); });
}

HRESULT CKsGpioAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    if (!buf) return E_POINTER;
    if (len < 2 || len > kKsBlockBytes) return E_INVALIDARG;
    return UnderGpioLock([&] { return KsBlockWrite(m_pKsPropertySet, kSet, buf, len); });
}

HRESULT CKsGpioAccess::SetOption(BYTE value)
{
    return UnderGpioLock([&] { return KsSetByte(m_pKsPropertySet, kSet, KSPROPERTY_SAA713X_OPTION, value); });
}

HRESULT CKsGpioAccess::GPIO_Read(DWORD* pValue)
{
    if (!pValue) return E_POINTER;
    return UnderGpioLock([&] { return KsGpioGet(m_pKsPropertySet, kSet, pValue); });
}

HRESULT CKsGpioAccess::GPIO_Write(DWORD value, DWORD mask)
{
    return UnderGpioLock([&] {
        HRESULT hr = KsGpioSet(m_pKsPropertySet, kSet, value, mask);
        Sleep(kGpioWritePauseMs);
        return hr;
    });
}

HRESULT CKsGpioAccess::GetDeviceInfo(DWORD* pFirst, DWORD* pSecond)
{
    if (!pFirst || !pSecond) return E_POINTER;
    *pFirst = 0;
    *pSecond = 0;
    return UnderGpioLock([&] { return KsGetDeviceInfo(m_pKsPropertySet, kSet, pFirst, pSecond); });
}

CKsGpioAccess2388x::CKsGpioAccess2388x() = default;

CKsGpioAccess2388x::~CKsGpioAccess2388x() = default;

// Lines 12 to 14 are written with their present levels unless the caller's mask names them; a
// value bit of theirs outside the mask never drives them.
HRESULT CKsGpioAccess2388x::MergedWrite(DWORD value, DWORD mask)
{
    DWORD current = 0;
    HRESULT hr = KsGpioGet(m_pKsPropertySet, kSet, &current);
    if (hr != S_OK) return hr;
    const DWORD unnamed = kAudioLines & ~mask;
    return KsGpioSet(m_pKsPropertySet, kSet, (value & ~unnamed) | (current & unnamed), mask | kAudioLines);
}

HRESULT CKsGpioAccess2388x::GPIO_Write(DWORD value, DWORD mask)
{
    return UnderGpioLock([&] { return MergedWrite(value, mask); });
}

HRESULT CKsGpioAccess2388x::GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs)
{
    return UnderGpioLock([&] {
        HRESULT hr = MergedWrite(value, mask);
        if (waitMs != 0) Sleep(waitMs);
        return hr;
    });
}
