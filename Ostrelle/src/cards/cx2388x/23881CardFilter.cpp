// The first CX2388x card ("Conexant 2388x Video Capture").
#include "cards/cx2388x/23881CardFilter.h"

#include "access/KsGpioAccess.h"
#include "cards/base/RemoteKeyCodes.h"

IMPLEMENT_CARD_FILTER_CLASS(C23881CardFilter, &CLSID_VideoInputDeviceCategory, C23881CardFilter::kCaptureName)

C23881CardFilter::~C23881CardFilter() { StopCardThreads(); }

BOOL C23881CardFilter::Create() { return CreateOnTuner(kTunerFilterName); }

HRESULT C23881CardFilter::SetAudioSource(int source, BOOL on) { return SelectAudioSource(source, on); }

BOOL C23881CardFilter::GetRemoteData(BYTE* key) {
    if (m_pAccess == nullptr || key == nullptr) return FALSE;
    DWORD word = 0;
    if (FAILED(m_pAccess->GPIO_Read(&word))) return FALSE;
    if (!DecodeLowBitKey(word, key)) return FALSE;
    TRACE("GetRemoteData : %d,%d,%d\n", static_cast<int>(word), static_cast<int>(word & kLowBitKeyLines), *key);
    return TRUE;
}

HRESULT C23881CardFilter::InitAccess() { return OpenTunerAccess(new (std::nothrow) CKsGpioAccess()); }

IMPLEMENT_CARD_FILTER_CLASS(C23881CrossbarFilter, &AM_KSCATEGORY_CROSSBAR, C23881CrossbarFilter::kCrossbarName)
