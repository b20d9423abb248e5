// The EM2800 box ("USB 2800 Video") and its crossbar.
#include "cards/usb/Em2800Filter.h"

IMPLEMENT_CARD_FILTER_CLASS(CEm2800Filter, &CLSID_VideoInputDeviceCategory, CEm2800Filter::kCaptureName)

CEm2800Filter::~CEm2800Filter() { StopCardThreads(); }

void CEm2800Filter::InitNames() { m_strTunerFilterName = kCaptureName; }

BOOL CEm2800Filter::InitTuner() { return CUsbTVFilter::InitTuner(); }

IMPLEMENT_CARD_FILTER_CLASS(CEm2800CrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CEm2800CrossbarFilter::kCrossbarName)
