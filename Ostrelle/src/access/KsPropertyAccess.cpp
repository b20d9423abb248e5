// CKsPropertyAccess: the hardware access of the SAA713x PCI cards.
#include "access/KsPropertyAccess.h"

namespace {

// SAA713x registers.
constexpr DWORD kVideoStatus = 0x11F;
constexpr DWORD kOptionRegister = 0x16C;
// The second mode word of a GPIO read: lines 12 to 14 driven.
constexpr DWORD kGpioReadMode = 0x80007000;

}  // namespace

CKsPropertyAccess::CKsPropertyAccess() : CSaa713xPropertyAccess(kGpioReadMode) {}

CKsPropertyAccess::~CKsPropertyAccess() = default;

HRESULT CKsPropertyAccess::Reserved27(DWORD* pValue)
{
    if (!m_slots.Interface() || !pValue) return E_POINTER;
    DWORD value = 0;
    HRESULT hr = ReadRegister32(kVideoStatus, &value);
    *pValue = (hr == S_OK && (value & 1)) ? 1 : 0;
    return hr;
}

HRESULT CKsPropertyAccess::Reserved28(BOOL flag)
{
    if (!m_slots.Interface()) return E_FAIL;
    return WriteRegister32(kOptionRegister, flag ? 0xBB : 0xFF);
}
