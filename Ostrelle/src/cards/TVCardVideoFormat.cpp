// CTVCardFilter: the capture and preview pins, their capture format and the processing
// amplifier of the driver's capture filter.
#include <amvideo.h>
#include <dibsize.h>
#include <mtype.h>

#include "graph/RootGraph.h"
#include "cards/TVCardFilter.h"

namespace {

DEFINE_FOURCC_GUID(kSubtypeCXF1, 'C', 'X', 'F', '1');
DEFINE_FOURCC_GUID(kSubtypeCXF2, 'C', 'X', 'F', '2');

struct ColorFormat {
    int code;
    const GUID* subtype;
};

// Code 5 has no format.
const ColorFormat kColorFormats[] = {
    {0, &MEDIASUBTYPE_RGB555}, {1, &MEDIASUBTYPE_RGB24}, {2, &MEDIASUBTYPE_YUY2}, {3, &MEDIASUBTYPE_YVU9},
    {4, &MEDIASUBTYPE_YV12},   {6, &MEDIASUBTYPE_UYVY},  {7, &kSubtypeCXF1},       {8, &kSubtypeCXF2},
};

const GUID& PinCategory(int which) { return which == 1 ? PIN_CATEGORY_CAPTURE : PIN_CATEGORY_PREVIEW; }

}  // namespace

int CTVCardFilter::ColorFormatFromSubtype(REFGUID subtype) {
    for (const ColorFormat& format : kColorFormats) {
        if (IsEqualGUID(*format.subtype, subtype)) return format.code;
    }
    return -1;
}

GUID CTVCardFilter::SubtypeFromColorFormat(int code) {
    for (const ColorFormat& format : kColorFormats) {
        if (format.code == code) return *format.subtype;
    }
    return MEDIASUBTYPE_YUY2;
}

void CTVCardFilter::FindOutputPins() {
    m_pCapturePin = nullptr;
    m_pPreviewPin = nullptr;
    if (m_pFilter == nullptr || m_pGraph == nullptr) return;
    ICaptureGraphBuilder2* builder = m_pGraph->GetCaptureGraphBuilder();
    if (builder == nullptr) return;
    for (int which : {1, 0}) {
        CComPtr<IPin> pin;
        if (builder->FindInterface(&PinCategory(which), &MEDIATYPE_Video, m_pFilter, IID_IPin,
                                   reinterpret_cast<void**>(&pin)) != S_OK ||
            pin == nullptr) {
            continue;
        }
        (which == 1 ? m_pCapturePin : m_pPreviewPin) = FindPinByIPin(pin);
    }
}

HRESULT CTVCardFilter::FindStreamConfig(AM_MEDIA_TYPE** mediaType, int which) {
    if (mediaType == nullptr) return E_POINTER;
    *mediaType = nullptr;
    if (m_pFilter == nullptr || m_pGraph == nullptr || m_pGraph->GetCaptureGraphBuilder() == nullptr) return E_FAIL;
    ICaptureGraphBuilder2* builder = m_pGraph->GetCaptureGraphBuilder();
    const GUID& category = PinCategory(which);

    CComPtr<IAMStreamConfig> config;
    HRESULT hr = builder->FindInterface(&category, &MEDIATYPE_Video, m_pFilter, IID_IAMStreamConfig,
                                        reinterpret_cast<void**>(&config));
    if (SUCCEEDED(hr) && config != nullptr) {
        hr = config->GetFormat(mediaType);
        if (SUCCEEDED(hr) && *mediaType != nullptr) return hr;
        *mediaType = nullptr;
    }
    CComPtr<IPin> pin;
    hr = builder->FindInterface(&category, &MEDIATYPE_Video, m_pFilter, IID_IPin, reinterpret_cast<void**>(&pin));
    if (FAILED(hr) || pin == nullptr) return FAILED(hr) ? hr : E_FAIL;
    CComPtr<IEnumMediaTypes> types;
    hr = pin->EnumMediaTypes(&types);
    if (FAILED(hr) || types == nullptr) return FAILED(hr) ? hr : E_FAIL;
    types->Reset();
    ULONG fetched = 0;
    hr = types->Next(1, mediaType, &fetched);
    if (hr != S_OK || fetched != 1) {
        *mediaType = nullptr;
        return FAILED(hr) ? hr : E_FAIL;
    }
    return S_OK;
}

HRESULT CTVCardFilter::GetVideoFormat(VideoFormatInfo* info, int which) {
    if (info == nullptr || m_pGraph == nullptr) return E_INVALIDARG;
    AM_MEDIA_TYPE* type = nullptr;
    HRESULT hr = FindStreamConfig(&type, which);
    if (FAILED(hr)) return hr;
    if (!IsEqualGUID(type->formattype, FORMAT_VideoInfo) || type->pbFormat == nullptr ||
        type->cbFormat < sizeof(VIDEOINFOHEADER)) {
        DeleteMediaType(type);
        return E_INVALIDARG;
    }
    const VIDEOINFOHEADER* video = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
    info->rcSource = video->rcSource;
    info->rcTarget = video->rcTarget;
    info->dwBitRate = video->dwBitRate;
    info->dwBitErrorRate = video->dwBitErrorRate;
    info->AvgTimePerFrame = video->AvgTimePerFrame;
    info->bmiHeader = video->bmiHeader;
    info->nColorFormat = ColorFormatFromSubtype(type->subtype);
    DeleteMediaType(type);
    return S_OK;
}

HRESULT CTVCardFilter::SetVideoFormat(VideoFormatInfo info, int which) {
    if (m_pFilter == nullptr || m_pGraph == nullptr || m_pGraph->GetCaptureGraphBuilder() == nullptr) return E_FAIL;
    CComPtr<IAMStreamConfig> config;
    HRESULT hr = m_pGraph->GetCaptureGraphBuilder()->FindInterface(&PinCategory(which), &MEDIATYPE_Video, m_pFilter,
                                                                   IID_IAMStreamConfig,
                                                                   reinterpret_cast<void**>(&config));
    if (FAILED(hr) || config == nullptr) return FAILED(hr) ? hr : E_FAIL;
    AM_MEDIA_TYPE* type = nullptr;
    hr = config->GetFormat(&type);
    if (FAILED(hr) || type == nullptr) return FAILED(hr) ? hr : E_FAIL;
    if (!IsEqualGUID(type->formattype, FORMAT_VideoInfo) || type->pbFormat == nullptr ||
        type->cbFormat < sizeof(VIDEOINFOHEADER)) {
        DeleteMediaType(type);
        return E_INVALIDARG;
    }
    VIDEOINFOHEADER* video = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
    video->AvgTimePerFrame = info.AvgTimePerFrame;
    video->dwBitErrorRate = info.dwBitErrorRate;
    video->dwBitRate = info.dwBitRate;
    video->rcSource = info.rcSource;
    video->rcTarget = info.rcTarget;
    video->bmiHeader = info.bmiHeader;
    video->bmiHeader.biSizeImage = DibImageSize(video->bmiHeader);
    type->subtype = SubtypeFromColorFormat(info.nColorFormat);
    hr = config->SetFormat(type);
    DeleteMediaType(type);
    return hr;
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
