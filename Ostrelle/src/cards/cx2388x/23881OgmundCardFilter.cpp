// The "Conexant 2388x_3" card and its crossbar.
#include "cards/cx2388x/23881OgmundCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(C23881OgmundCardFilter, &CLSID_VideoInputDeviceCategory, C23881OgmundCardFilter::kCaptureName)

BOOL C23881OgmundCardFilter::Create() { return CreateOnTuner(kTunerFilterName); }

IMPLEMENT_CARD_FILTER_CLASS(C23881OgmundCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, C23881OgmundCrossbarFilter::kCrossbarName)
