// The maker's own Cranlow card ("Vorlane Cranlow Capture") and its crossbar.
#include "cards/saa713x/CranlowCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CCranlowCardFilter, &CLSID_VideoInputDeviceCategory, CCranlowCardFilter::kCaptureName)

CCranlowCardFilter::~CCranlowCardFilter() {
    StopCardThreads();
}

IMPLEMENT_CARD_FILTER_CLASS(CCranlowCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CCranlowCrossbarFilter::kCrossbarName)
