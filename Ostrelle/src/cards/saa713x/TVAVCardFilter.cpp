// The TV AV card ("TV AV Capture") and its crossbar ("TV AV Capture Crossbar").
#include "cards/saa713x/TVAVCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CTVAVCardFilter, &CLSID_VideoInputDeviceCategory, CTVAVCardFilter::kCaptureName)

CTVAVCardFilter::~CTVAVCardFilter() {
    StopCardThreads();
}

void CTVAVCardFilter::InitNames() {}

IMPLEMENT_CARD_FILTER_CLASS(CTVAVCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CTVAVCrossbarFilter::kCrossbarName)
