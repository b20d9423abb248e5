// CTVCardFilter: the capture and preview pins, their capture format and the processing
// amplifier of the driver's capture filter.
#include "graph/RootGraph.h"
#include "cards/base/TVCardFilter.h"

namespace {

DEFINE_FOURCC_GUID(kSubtypeCXF1, 'C', 'X', 'F', '1');
DEFINE_FOURCC_GUID(kSubtypeCXF2, 'C', 'X', 'F', '2');

// Code 5 has no format.
const ColorFormat kColorFormats[] = {
    {0, &MEDIASUBTYPE_RGB555, false}, {1, &MEDIASUBTYPE_RGB24, false}, {2, &MEDIASUBTYPE_YUY2, false},
    {3, &MEDIASUBTYPE_YVU9, false},   {4, &MEDIASUBTYPE_YV12, false},  {6, &MEDIASUBTYPE_UYVY, false},
    {7, &kSubtypeCXF1, false},        {8, &kSubtypeCXF2, false},
};
const ColorFormatTable kColors = {kColorFormats, sizeof(kColorFormats) / sizeof(kColorFormats[0])};

}  // namespace

int CTVCardFilter::ColorFormatFromSubtype(REFGUID subtype) { return kColors.CodeOf(subtype); }

GUID CTVCardFilter::SubtypeFromColorFormat(int code) { return kColors.SubtypeOf(code); }

void CTVCardFilter::FindOutputPins() {
    m_pCapturePin = nullptr;
    m_pPreviewPin = nullptr;
    if (m_pFilter == nullptr || m_pGraph == nullptr) return;
    ICaptureGraphBuilder2* builder = m_pGraph->GetCaptureGraphBuilder();
    if (builder == nullptr) return;
    for (int which : {1, 0}) {
        CComPtr<IPin> pin;
        if (builder->FindInterface(&CapturePinCategory(which), &MEDIATYPE_Video, m_pFilter, IID_IPin,
                                   reinterpret_cast<void**>(&pin)) != S_OK ||
            pin == nullptr) {
            continue;
        }
        (which == 1 ? m_pCapturePin : m_pPreviewPin) = FindPinByIPin(pin);
    }
}

HRESULT CTVCardFilter::FindStreamConfig(AM_MEDIA_TYPE** mediaType, int which) {
    return FindPinFormat(m_pGraph, m_pFilter, mediaType, which);
}

HRESULT CTVCardFilter::GetVideoFormat(VideoFormatInfo* info, int which) {
    return ReadVideoFormat(m_pGraph, m_pFilter, info, which, kColors);
}

HRESULT CTVCardFilter::SetVideoFormat(VideoFormatInfo info, int which) {
    return WriteVideoFormat(m_pGraph, m_pFilter, info, which, kColors, false);
}

HRESULT CTVCardFilter::SetProcAmp(long property, long value, long flags) {
    if (m_pFilter == nullptr) return E_FAIL;
    CComPtr<IAMVideoProcAmp> procAmp;
    HRESULT hr = m_pFilter->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&procAmp));
    if (FAILED(hr)) return hr;
    return procAmp->Set(property, value, flags);
}

HRESULT CTVCardFilter::GetProcAmp(long property, long* min, long* max, long* step, long* defaultValue, long* caps) {
    if (m_pFilter == nullptr) return E_FAIL;
    if (min == nullptr || max == nullptr || step == nullptr || defaultValue == nullptr || caps == nullptr) {
        return E_POINTER;
    }
    CComPtr<IAMVideoProcAmp> procAmp;
    HRESULT hr = m_pFilter->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&procAmp));
    if (FAILED(hr)) return hr;
    return procAmp->GetRange(property, min, max, step, defaultValue, caps);
}
