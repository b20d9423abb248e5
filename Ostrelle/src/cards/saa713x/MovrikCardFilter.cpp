// The Movrik card ("Movrik Video Capture") and its crossbar ("Movrik Crossbar").
#include "cards/saa713x/MovrikCardFilter.h"

#include "access/MovrikAccess.h"

IMPLEMENT_CARD_FILTER_CLASS(CMovrikCardFilter, &CLSID_VideoInputDeviceCategory, CMovrikCardFilter::kCaptureName)

CMovrikCardFilter::~CMovrikCardFilter() { StopCardThreads(); }

HRESULT CMovrikCardFilter::InitAccess() { return OpenKsPropertyAccess<CMovrikAccess>(ACCESS_KIND_KS_PROPERTY); }

IMPLEMENT_CARD_FILTER_CLASS(CMovrikCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CMovrikCrossbarFilter::kCrossbarName)
