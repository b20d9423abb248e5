// The USB TV box ("Vorlane USB TV Box Video") and its crossbar ("Vorlane USB TV Box Crossbar").
#include "cards/usb/UsbTVBoxFilter.h"

IMPLEMENT_CARD_FILTER_CLASS(CUsbTVBoxFilter, &CLSID_VideoInputDeviceCategory, CUsbTVBoxFilter::kCaptureName)

CUsbTVBoxFilter::~CUsbTVBoxFilter() { StopCardThreads(); }

void CUsbTVBoxFilter::InitNames() { m_strTunerFilterName = kCaptureName; }

BOOL CUsbTVBoxFilter::InitTuner() { return CUsbTVFilter::InitTuner(); }

BOOL CUsbTVBoxFilter::GetRemoteData(BYTE* key) {
    return ReadBoxControllerKey(kKeyControllerAddress, KeyAcknowledge::ClearWaitingFirst, key);
}

IMPLEMENT_CARD_FILTER_CLASS(CUsbTVBoxCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CUsbTVBoxCrossbarFilter::kCrossbarName)

const char* CUsbTVBoxCrossbarFilter::VendorDeviceName() const { return "Vorlane USB TV Box TVTuner"; }
