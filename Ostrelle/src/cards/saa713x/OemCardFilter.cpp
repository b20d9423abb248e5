// The OEM card of the Cranlow family ("Castrel Capture") and its crossbar.
#include "cards/saa713x/OemCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(COemCardFilter, &CLSID_VideoInputDeviceCategory, COemCardFilter::kCaptureName)

COemCardFilter::~COemCardFilter() {
    StopCardThreads();
}

IMPLEMENT_CARD_FILTER_CLASS(COemCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, COemCrossbarFilter::kCrossbarName)
