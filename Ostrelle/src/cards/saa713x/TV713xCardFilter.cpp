// The base SAA713x TV card ("713x TV Card Capture") and its crossbar ("713x TV Card Crossbar").
#include "cards/saa713x/TV713xCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CTV713xCardFilter, &CLSID_VideoInputDeviceCategory, CTV713xCardFilter::kCaptureName)

CTV713xCardFilter::~CTV713xCardFilter() {
    StopCardThreads();
    TRACE("7130 destruct!\n");
}

IMPLEMENT_CARD_FILTER_CLASS(C713xCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, C713xCrossbarFilter::kCrossbarName)
