#include "cards/YolmCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CTridentYolmCardFilter, &CLSID_VideoInputDeviceCategory,
                            CTridentYolmCardFilter::kCaptureName)

CTridentYolmCardFilter::~CTridentYolmCardFilter() { StopCardThreads(); }

BOOL CTridentYolmCardFilter::SendGPIOCommand(DWORD value, DWORD mask, DWORD) { return WriteGpio(value, mask); }

HRESULT CTridentYolmCardFilter::WriteMaskedGpio(LONG_PTR arg1, LONG_PTR arg2) {
    return WriteGpio(static_cast<DWORD>(arg2), static_cast<DWORD>(arg1)) ? 1 : 0;
}

BOOL CTridentYolmCardFilter::IsEepromMark81() { return HasEepromMark(kMark81); }

// ---- crossbar ----

IMPLEMENT_CARD_FILTER_CLASS(CTridentYolmCrossbarFilter, &AM_KSCATEGORY_CROSSBAR,
                            CTridentYolmCrossbarFilter::kCrossbarName)

// ---- TV audio ----

IMPLEMENT_CARD_FILTER_CLASS(CTridentYolmTvAudioFilter, &AM_KSCATEGORY_TVAUDIO, CTridentYolmTvAudioFilter::kDeviceName)
