// The Yelvin card and its crossbar.
#include "cards/cx2388x/YelvinCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CYelvinCardFilter, &CLSID_VideoInputDeviceCategory, CYelvinCardFilter::kCaptureName)

BOOL CYelvinCardFilter::Create() { return CreateOnTuner(kTunerFilterName); }

IMPLEMENT_CARD_FILTER_CLASS(CYelvinCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CYelvinCrossbarFilter::kCrossbarName)
