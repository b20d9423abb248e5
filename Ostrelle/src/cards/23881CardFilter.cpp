#include "cards/23881CardFilter.h"

#include "access/KsGpioAccess.h"

IMPLEMENT_CARD_FILTER_CLASS(C23881CardFilter, &CLSID_VideoInputDeviceCategory, C23881CardFilter::kCaptureName)

namespace {
constexpr DWORD kKeyLines = 0x1FF;
constexpr DWORD kNoKeyLine = 0x100;
}  // namespace

C23881CardFilter::~C23881CardFilter() { StopCardThreads(); }

BOOL C23881CardFilter::Create() { return CreateOnTuner(kTunerFilterName); }

HRESULT C23881CardFilter::SetAudioSource(int source, BOOL on) { return SelectAudioSource(source, on); }

BOOL C23881CardFilter::GetRemoteData(BYTE* key) {
    if (m_pAccess == nullptr || key == nullptr) return FALSE;
    DWORD word = 0;
    if (FAILED(m_pAccess->GPIO_Read(&word))) return FALSE;
    const DWORD low = word & kKeyLines;
    if (low & kNoKeyLine) return FALSE;
    const BYTE k = static_cast<BYTE>(~low);
    *key = static_cast<BYTE>((k << 4 & 0xF0) | (k >> 4 & 0x0F));
    TRACE("GetRemoteData : %d,%d,%d\n", static_cast<int>(word), static_cast<int>(low), *key);
    return TRUE;
}

HRESULT C23881CardFilter::InitAccess() { return OpenTunerAccess(new (std::nothrow) CKsGpioAccess()); }

IMPLEMENT_CARD_FILTER_CLASS(C23881CrossbarFilter, &AM_KSCATEGORY_CROSSBAR, C23881CrossbarFilter::kCrossbarName)
