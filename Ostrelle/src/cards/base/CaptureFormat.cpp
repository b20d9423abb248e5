// The capture-side operations that the card base and the camera base share.
#include "cards/base/CaptureFormat.h"

#include <amvideo.h>
#include <dibsize.h>
#include <mtype.h>

#include <cstring>
#include <vector>

#include "graph/RootGraph.h"

namespace {

HRESULT AsFailure(HRESULT hr) { return FAILED(hr) ? hr : E_FAIL; }

bool IsWholeVideoInfo(const AM_MEDIA_TYPE* type) {
    return type != nullptr && IsEqualGUID(type->formattype, FORMAT_VideoInfo) && type->pbFormat != nullptr &&
           type->cbFormat >= sizeof(VIDEOINFOHEADER);
}

ICaptureGraphBuilder2* BuilderOf(CRootGraph* graph) {
    return graph != nullptr ? graph->GetCaptureGraphBuilder() : nullptr;
}

}  // namespace

HRESULT FindStreamConfig(CRootGraph* graph, IBaseFilter* filter, int which, IAMStreamConfig** config) {
    ICaptureGraphBuilder2* builder = BuilderOf(graph);
    if (builder == nullptr || filter == nullptr) return E_FAIL;
    HRESULT hr = builder->FindInterface(&CapturePinCategory(which), &MEDIATYPE_Video, filter, IID_IAMStreamConfig,
                                        reinterpret_cast<void**>(config));
    return SUCCEEDED(hr) && *config != nullptr ? hr : AsFailure(hr);
}

BOOL FindLargestVideoCapability(IAMStreamConfig* config, REFGUID subtype, SIZE* out) {
    if (config == nullptr || out == nullptr) return FALSE;
    int count = 0;
    int recordSize = 0;
    if (FAILED(config->GetNumberOfCapabilities(&count, &recordSize)) ||
        recordSize < static_cast<int>(sizeof(VIDEO_STREAM_CONFIG_CAPS))) {
        return FALSE;
    }
    std::vector<BYTE> record(static_cast<size_t>(recordSize));
    LONGLONG best = 0;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* type = nullptr;
        if (FAILED(config->GetStreamCaps(i, &type, record.data())) || type == nullptr) {
            if (type != nullptr) DeleteMediaType(type);
            break;
        }
        VIDEO_STREAM_CONFIG_CAPS caps;
        std::memcpy(&caps, record.data(), sizeof(caps));
        const bool wanted = IsEqualGUID(type->formattype, FORMAT_VideoInfo) && IsEqualGUID(type->subtype, subtype);
        DeleteMediaType(type);
        const LONGLONG area = static_cast<LONGLONG>(caps.MaxCroppingSize.cx) * caps.MaxCroppingSize.cy;
        if (wanted && caps.VideoStandard != 0 && caps.MaxCroppingSize.cx > 0 && caps.MaxCroppingSize.cy > 0 &&
            area > best) {
            best = area;
            *out = caps.MaxCroppingSize;
        }
    }
    return best > 0 ? TRUE : FALSE;
}

int ColorFormatTable::CodeOf(REFGUID subtype) const {
    for (size_t i = 0; i < count; ++i) {
        if (!rows[i].setOnly && IsEqualGUID(*rows[i].subtype, subtype)) return rows[i].code;
    }
    return -1;
}

GUID ColorFormatTable::SubtypeOf(int code) const {
    for (size_t i = 0; i < count; ++i) {
        if (rows[i].code == code) return *rows[i].subtype;
    }
    return MEDIASUBTYPE_YUY2;
}

const GUID& CapturePinCategory(int which) { return which == 1 ? PIN_CATEGORY_CAPTURE : PIN_CATEGORY_PREVIEW; }

HRESULT GetDecoderStandard(IBaseFilter* filter, long* available, long* current, bool stopAtFailure) {
    if (filter == nullptr) return E_FAIL;
    CComPtr<IAMAnalogVideoDecoder> decoder;
    HRESULT hr = filter->QueryInterface(IID_IAMAnalogVideoDecoder, reinterpret_cast<void**>(&decoder));
    if (FAILED(hr)) return hr;
    hr = S_OK;
    if (available != nullptr) {
        hr = decoder->get_AvailableTVFormats(available);
        if (FAILED(hr) && stopAtFailure) return hr;
    }
    if (current != nullptr) hr = decoder->get_TVFormat(current);
    return hr;
}

HRESULT SetDecoderStandard(IBaseFilter* filter, long standard) {
    if (filter == nullptr) return E_FAIL;
    CComPtr<IAMAnalogVideoDecoder> decoder;
    HRESULT hr = filter->QueryInterface(IID_IAMAnalogVideoDecoder, reinterpret_cast<void**>(&decoder));
    if (FAILED(hr)) return hr;
    return decoder->put_TVFormat(standard);
}

HRESULT FindPinFormat(CRootGraph* graph, IBaseFilter* filter, AM_MEDIA_TYPE** mediaType, int which) {
    if (mediaType == nullptr) return E_POINTER;
    *mediaType = nullptr;
    ICaptureGraphBuilder2* builder = BuilderOf(graph);
    if (builder == nullptr || filter == nullptr) return E_FAIL;

    CComPtr<IAMStreamConfig> config;
    HRESULT hr = FindStreamConfig(graph, filter, which, &config);
    if (SUCCEEDED(hr)) {
        hr = config->GetFormat(mediaType);
        if (SUCCEEDED(hr) && *mediaType != nullptr) return hr;
        *mediaType = nullptr;
    }
    CComPtr<IPin> pin;
    hr = builder->FindInterface(&CapturePinCategory(which), &MEDIATYPE_Video, filter, IID_IPin,
                                reinterpret_cast<void**>(&pin));
    if (FAILED(hr) || pin == nullptr) return AsFailure(hr);
    CComPtr<IEnumMediaTypes> types;
    hr = pin->EnumMediaTypes(&types);
    if (FAILED(hr) || types == nullptr) return AsFailure(hr);
    types->Reset();
    ULONG fetched = 0;
    hr = types->Next(1, mediaType, &fetched);
    if (hr != S_OK || fetched != 1) {
        *mediaType = nullptr;
        return AsFailure(hr);
    }
    return S_OK;
}

HRESULT ReadVideoFormat(CRootGraph* graph, IBaseFilter* filter, VideoFormatInfo* info, int which,
                        const ColorFormatTable& colors) {
    if (info == nullptr || graph == nullptr) return E_INVALIDARG;
    AM_MEDIA_TYPE* type = nullptr;
    HRESULT hr = FindPinFormat(graph, filter, &type, which);
    if (FAILED(hr)) return hr;
    if (!IsWholeVideoInfo(type)) {
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
    info->nColorFormat = colors.CodeOf(type->subtype);
    DeleteMediaType(type);
    return S_OK;
}

HRESULT WriteVideoFormat(CRootGraph* graph, IBaseFilter* filter, const VideoFormatInfo& info, int which,
                         const ColorFormatTable& colors, bool fromPinFormat) {
    CComPtr<IAMStreamConfig> config;
    HRESULT hr = FindStreamConfig(graph, filter, which, &config);
    if (FAILED(hr)) return hr;
    AM_MEDIA_TYPE* type = nullptr;
    hr = fromPinFormat ? FindPinFormat(graph, filter, &type, which) : config->GetFormat(&type);
    if (FAILED(hr) || type == nullptr) return AsFailure(hr);
    if (!IsWholeVideoInfo(type)) {
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
    type->subtype = colors.SubtypeOf(info.nColorFormat);
    hr = config->SetFormat(type);
    DeleteMediaType(type);
    return hr;
}
