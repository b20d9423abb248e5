// The Yolm USB box ("Trident Yolm Capture", EEPROM product type 81), its crossbar.
#include "cards/trident/YolmCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CTridentYolmCardFilter, &CLSID_VideoInputDeviceCategory,
                            CTridentYolmCardFilter::kCaptureName)

CTridentYolmCardFilter::~CTridentYolmCardFilter() { StopCardThreads(); }

BOOL CTridentYolmCardFilter::SendGPIOCommand(DWORD value, DWORD mask, DWORD) { return WriteGpio(value, mask); }

HRESULT CTridentYolmCardFilter::WriteMaskedGpio(LONG_PTR mask, LONG_PTR value) {
    return WriteGpio(static_cast<DWORD>(value), static_cast<DWORD>(mask)) ? 1 : 0;
}

BOOL CTridentYolmCardFilter::IsEepromMark81() { return HasEepromMark(kMark81); }

// ---- crossbar ----

IMPLEMENT_CARD_FILTER_CLASS(CTridentYolmCrossbarFilter, &AM_KSCATEGORY_CROSSBAR,
                            CTridentYolmCrossbarFilter::kCrossbarName)

// ---- TV audio ----

IMPLEMENT_CARD_FILTER_CLASS(CTridentYolmTvAudioFilter, &AM_KSCATEGORY_TVAUDIO, CTridentYolmTvAudioFilter::kDeviceName)
