// The "Conexant 2388x_1" card and its crossbar.
#include "cards/cx2388x/23881BootCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(C23881BootCardFilter, &CLSID_VideoInputDeviceCategory, C23881BootCardFilter::kCaptureName)

BOOL C23881BootCardFilter::Create() { return CreateOnTuner(kTunerFilterName); }

IMPLEMENT_CARD_FILTER_CLASS(C23881BootCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, C23881BootCrossbarFilter::kCrossbarName)
