// The MainConcept video settings record as the wrappers read and write it.
#include "graph/MCVideoRecord.h"

// The value is cut to its four bits, though the old code shifted it in whole: a wider value
// overwrote bits 0 and 5 to 7, which are to stay as they were.
void SetMCModeNibble(MC_VIDEO_SETTINGS* record, int value) {
    BYTE& byte = record->bytes[kMCVideoModeNibble];
    byte = static_cast<BYTE>((byte & 0xE1) | ((value & 0x0F) << 1));
}

BOOL MCSetVideoModeNibble(IMCVideoSettings* settings, int value) {
    if (settings == nullptr) return FALSE;
    MC_VIDEO_SETTINGS record = {};
    if (FAILED(settings->GetSettings(&record))) return FALSE;
    SetMCModeNibble(&record, value);
    return SUCCEEDED(settings->SetSettings(&record)) ? TRUE : FALSE;
}
