// The Grelmo card of the Cranlow family ("Grelmo TV Capture") and its crossbar.
#include "cards/saa713x/GrelmoCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CGrelmoCardFilter, &CLSID_VideoInputDeviceCategory, CGrelmoCardFilter::kCaptureName)

CGrelmoCardFilter::~CGrelmoCardFilter() {
    StopCardThreads();
}

IMPLEMENT_CARD_FILTER_CLASS(CGrelmoCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CGrelmoCrossbarFilter::kCrossbarName)
