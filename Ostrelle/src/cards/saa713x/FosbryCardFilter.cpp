// The Fosbry OEM card of the Cranlow family ("Fosbry TV Capture") and its crossbar.
#include "cards/saa713x/FosbryCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CFosbryCardFilter, &CLSID_VideoInputDeviceCategory, CFosbryCardFilter::kCaptureName)

CFosbryCardFilter::~CFosbryCardFilter() {
    StopCardThreads();
}

IMPLEMENT_CARD_FILTER_CLASS(CFosbryCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CFosbryCrossbarFilter::kCrossbarName)
