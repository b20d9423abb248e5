// The Wandry USB box ("Wandry Capture") and its crossbar.
#include "cards/trident/WandryCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CWandryCardFilter, &CLSID_VideoInputDeviceCategory, CWandryCardFilter::kCaptureName)

CWandryCardFilter::~CWandryCardFilter() {
    ReleaseAccess();
}

BOOL CWandryCardFilter::KeysByMark(BYTE mark) { return IsFmMark(mark); }

IMPLEMENT_CARD_FILTER_CLASS(CWandryCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CWandryCrossbarFilter::kCrossbarName)
