// The Dolbray card ("Dolbray TV Card Capture") and its crossbar ("Dolbray TV Card Crossbar").
#include "cards/saa713x/DolbrayCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CDolbrayCardFilter, &CLSID_VideoInputDeviceCategory, CDolbrayCardFilter::kCaptureName)

CDolbrayCardFilter::~CDolbrayCardFilter() {
    StopCardThreads();
}

void CDolbrayCardFilter::InitNames() {}

IMPLEMENT_CARD_FILTER_CLASS(CDolbrayCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CDolbrayCrossbarFilter::kCrossbarName)
