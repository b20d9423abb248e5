// The EM2820 box ("USB 2820 Video") and its crossbar.
#include "cards/usb/Em2820Filter.h"

IMPLEMENT_CARD_FILTER_CLASS(CEm2820Filter, &CLSID_VideoInputDeviceCategory, CEm2820Filter::kCaptureName)

CEm2820Filter::~CEm2820Filter() { StopCardThreads(); }

void CEm2820Filter::InitNames() { m_strTunerFilterName = kCaptureName; }

BOOL CEm2820Filter::InitTuner() { return CUsbTVFilter::InitTuner(); }

IMPLEMENT_CARD_FILTER_CLASS(CEm2820CrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CEm2820CrossbarFilter::kCrossbarName)

BOOL CEm2820CrossbarFilter::SetVideoInput(int source) {
    CCrossbarFilter::SetVideoInput(source);
    return WriteDecoderInput(source);
}

void CEm2820CrossbarFilter::InitRouteTable() { SetRouteTable({1, 2, 3}, {4, 5, 6}); }

const char* CEm2820CrossbarFilter::VendorDeviceName() const { return kCrossbarName; }
