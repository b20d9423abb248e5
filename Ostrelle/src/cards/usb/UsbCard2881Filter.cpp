// The USB 2881 card ("USB 2881 Video") of the EM28xx box family, and its crossbar.
#include "cards/usb/UsbCard2881Filter.h"

IMPLEMENT_CARD_FILTER_CLASS(CUsbCard2881Filter, &CLSID_VideoInputDeviceCategory, CUsbCard2881Filter::kCaptureName)

CUsbCard2881Filter::~CUsbCard2881Filter() { StopCardThreads(); }

void CUsbCard2881Filter::InitNames() { m_strTunerFilterName = kTunerName; }

HRESULT CUsbCard2881Filter::InitAccess() { return OpenEm2800Access(kCaptureName, kAccessKind); }

BOOL CUsbCard2881Filter::InitTuner() { return CUsbTVFilter::InitTuner(); }

IMPLEMENT_CARD_FILTER_CLASS(CUsbCard2881CrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CUsbCard2881CrossbarFilter::kCrossbarName)

void CUsbCard2881CrossbarFilter::InitRouteTable() { SetRouteTable({1, 2, 3}, {4, 5, 6}); }

const char* CUsbCard2881CrossbarFilter::VendorDeviceName() const { return CUsbCard2881Filter::kCaptureName; }
