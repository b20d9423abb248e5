// The Wadrel card ("713x_Wadrel TV Card Capture") and its crossbar.
#include "cards/saa713x/WadrelCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CWadrelCardFilter, &CLSID_VideoInputDeviceCategory, CWadrelCardFilter::kCaptureName)

CWadrelCardFilter::~CWadrelCardFilter() { StopCardThreads(); }

void CWadrelCardFilter::InitNames() { SetRemotePeriod(kRemotePeriodMs); }

IMPLEMENT_CARD_FILTER_CLASS(CWadrelCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CWadrelCrossbarFilter::kCrossbarName)
