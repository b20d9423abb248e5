// The Prisko MPEG encoder card ("Prisko Video Capture") and its crossbar.
#include "cards/encoders/PriskoCardFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CPriskoCardFilter, &CLSID_VideoInputDeviceCategory, CPriskoCardFilter::kCaptureName)

CPriskoCardFilter::~CPriskoCardFilter() {
    StopCardThreads();
}

void CPriskoCardFilter::InitNames() {
    CRiveskCardFilter::InitNames();
    m_strTunerFilterName = kTunerFilterName;
}

IMPLEMENT_CARD_FILTER_CLASS(CPriskoCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CPriskoCrossbarFilter::kCrossbarName)
