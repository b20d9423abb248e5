// The Ebrin card ("Ebrin Capture") and its crossbar ("Ebrin Crossbar").
#include "cards/saa713x/EbrinCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CEbrinCardFilter, &CLSID_VideoInputDeviceCategory, CEbrinCardFilter::kCaptureName)

CEbrinCardFilter::~CEbrinCardFilter() {
    StopCardThreads();
}

void CEbrinCardFilter::InitNames() {}

IMPLEMENT_CARD_FILTER_CLASS(CEbrinCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CEbrinCrossbarFilter::kCrossbarName)
