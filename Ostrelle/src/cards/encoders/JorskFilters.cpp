// The Jorsk box, a capture box on the WIS GO7007SB.
#include "cards/encoders/JorskFilters.h"

IMPLEMENT_CARD_FILTER_CLASS(CJorskCaptureFilter, &CLSID_VideoInputDeviceCategory, CJorskCaptureFilter::kCaptureName)

CJorskCaptureFilter::~CJorskCaptureFilter() = default;

HRESULT CJorskCaptureFilter::OnHook1(LONG_PTR, LONG_PTR, LONG_PTR) { return 0; }

HRESULT CJorskCaptureFilter::OnHook2(LONG_PTR, LONG_PTR, LONG_PTR) { return 0; }

void CWisCrossbarFilter::InitRouteTable() { SetRouteTable({0, 1, 2}, {3, 4, 4}); }

BOOL CWisCrossbarFilter::RoutePins(int input, int output) { return Route(input, output); }

IMPLEMENT_CARD_FILTER_CLASS(CJorskCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CJorskCrossbarFilter::kCrossbarName)

CJorskCrossbarFilter::~CJorskCrossbarFilter() { TRACE("CJorskCrossbarFilter::~CJorskCrossbarFilter\n"); }
