// The EM2821 box ("USB 2821 Video") and its crossbar ("USB 2821 Crossbar").
#include "cards/usb/Em2821Filter.h"

IMPLEMENT_CARD_FILTER_CLASS(CEm2821Filter, &CLSID_VideoInputDeviceCategory, CEm2821Filter::kCaptureName)

CEm2821Filter::~CEm2821Filter() { StopCardThreads(); }

void CEm2821Filter::InitNames() {
    m_strTunerFilterName = kCaptureName;
    m_ucFactoryAddr = kFactoryAddr;
    m_ucModelAddr = kModelAddr;
}

BOOL CEm2821Filter::InitTuner() {
    m_ucFactoryAddr = kFactoryAddr;
    m_ucModelAddr = kModelAddr;
    return CUsbTVFilter::InitTuner();
}

IMPLEMENT_CARD_FILTER_CLASS(CEm2821CrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CEm2821CrossbarFilter::kCrossbarName)

const char* CEm2821CrossbarFilter::VendorDeviceName() const { return kCrossbarName; }
