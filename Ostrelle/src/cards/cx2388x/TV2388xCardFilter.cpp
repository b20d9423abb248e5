// The "2388x Video Capture" card and its crossbar.
#include "cards/cx2388x/TV2388xCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CTV2388xCardFilter, &CLSID_VideoInputDeviceCategory, CTV2388xCardFilter::kCaptureName)

BOOL CTV2388xCardFilter::Create() { return CreateOnTuner(kTunerFilterName); }

IMPLEMENT_CARD_FILTER_CLASS(CTV2388xCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CTV2388xCrossbarFilter::kCrossbarName)
