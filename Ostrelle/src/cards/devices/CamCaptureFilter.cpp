// CCamCaptureFilter: the wrapper base of plain video capture devices (no access object, no tuner).
#include "cards/devices/CamCaptureFilter.h"

#include <mtype.h>
#include <olectl.h>

#include <cstring>

#include "graph/RootGraph.h"

namespace {

const ColorFormat kCamColorFormats[] = {
    {0, &MEDIASUBTYPE_RGB555, false}, {1, &MEDIASUBTYPE_RGB24, false}, {2, &MEDIASUBTYPE_YUY2, false},
    {3, &MEDIASUBTYPE_YVU9, false},   {4, &MEDIASUBTYPE_YV12, false},  {5, &MEDIASUBTYPE_I420, true},
};
const ColorFormatTable kCamColors = {kCamColorFormats, sizeof(kCamColorFormats) / sizeof(kCamColorFormats[0])};

constexpr int kCaptionChars = 260;

}  // namespace

CCamCaptureFilter::CCamCaptureFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CRootFilter(owner, category, friendlyName, flag) {}

CCamCaptureFilter::CCamCaptureFilter(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {}

CCamCaptureFilter::~CCamCaptureFilter() = default;

HRESULT CCamCaptureFilter::OnHook1(LONG_PTR, LONG_PTR, LONG_PTR) { return 0; }

HRESULT CCamCaptureFilter::OnHook2(LONG_PTR, LONG_PTR, LONG_PTR) { return 0; }

BOOL CCamCaptureFilter::Init() {
    m_bI420 = HasI420Output();
    return CRootFilter::Init();
}

HRESULT CCamCaptureFilter::GetVideoStandard(long* current, long* available) {
    return GetDecoderStandard(m_pFilter, available, current, true);
}

HRESULT CCamCaptureFilter::SetVideoStandard(long standard) { return SetDecoderStandard(m_pFilter, standard); }

HRESULT CCamCaptureFilter::SetProcAmp(long property, long value) {
    if (m_pFilter == nullptr) return E_FAIL;
    CComPtr<IAMVideoProcAmp> procAmp;
    if (FAILED(m_pFilter->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&procAmp)))) return E_FAIL;
    return procAmp->Set(property, value, VideoProcAmp_Flags_Manual);
}

HRESULT CCamCaptureFilter::GetProcAmp(long property, ProcAmpInfo* info) {
    if (m_pFilter == nullptr) return E_FAIL;
    CComPtr<IAMVideoProcAmp> procAmp;
    if (FAILED(m_pFilter->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&procAmp)))) return E_FAIL;
    if (info == nullptr) return E_INVALIDARG;
    HRESULT hr = procAmp->GetRange(property, &info->lMin, &info->lMax, &info->lStep, &info->lDefault, &info->lFlags);
    if (hr != S_OK) return hr;
    long flags = 0;
    return procAmp->Get(property, &info->lValue, &flags);
}

HRESULT CCamCaptureFilter::GetPinFormat(AM_MEDIA_TYPE** type, int pin) {
    if (type == nullptr || m_pGraph == nullptr || m_pFilter == nullptr) return E_INVALIDARG;
    return FindPinFormat(m_pGraph, m_pFilter, type, pin);
}

HRESULT CCamCaptureFilter::GetVideoFormat(VideoFormatInfo* info, int pin) {
    if (info == nullptr || m_pGraph == nullptr) return E_INVALIDARG;
    std::memset(info, 0, sizeof(*info));
    if (m_pFilter == nullptr) return E_INVALIDARG;
    return ReadVideoFormat(m_pGraph, m_pFilter, info, pin, kCamColors);
}

HRESULT CCamCaptureFilter::SetVideoFormat(VideoFormatInfo info, int pin) {
    return WriteVideoFormat(m_pGraph, m_pFilter, info, pin, kCamColors, true);
}

BOOL CCamCaptureFilter::SetCaptureSize(int width, int height) {
    VideoFormatInfo info;
    if (FAILED(GetVideoFormat(&info, 1))) return FALSE;
    if (width > kMaxWidth || height > kMaxHeight) {
        width = kMaxWidth;
        height = kMaxHeight;
    }
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    return SetVideoFormat(info, 1) == S_OK ? TRUE : FALSE;
}

BOOL CCamCaptureFilter::ShowPropertyPages(int what, HWND owner, const char* caption, int pin) {
    if (m_pGraph != nullptr && m_pGraph->GetState() != 0) return FALSE;
    if (m_pFilter == nullptr) return FALSE;
    wchar_t wideCaption[kCaptionChars + 1] = {};
    if (caption != nullptr) MultiByteToWideChar(CP_ACP, 0, caption, -1, wideCaption, kCaptionChars);

    CComPtr<IUnknown> object;
    if (what == 0) {
        object = m_pFilter;
    } else if (what == 1) {
        ICaptureGraphBuilder2* builder = m_pGraph != nullptr ? m_pGraph->GetCaptureGraphBuilder() : nullptr;
        CComPtr<IAMStreamConfig> config;
        if (builder == nullptr ||
            FAILED(builder->FindInterface(&CapturePinCategory(pin), &MEDIATYPE_Video, m_pFilter, IID_IAMStreamConfig,
                                          reinterpret_cast<void**>(&config))) ||
            config == nullptr) {
            return FALSE;
        }
        object = config;
    } else {
        return FALSE;
    }
    CComPtr<ISpecifyPropertyPages> pages;
    if (FAILED(object->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages))) || pages == nullptr) {
        return FALSE;
    }
    CAUUID list = {0, nullptr};
    if (FAILED(pages->GetPages(&list))) return FALSE;
    IUnknown* objects[1] = {object};
    const HRESULT hr = OleCreatePropertyFrame(owner, 30, 30, caption != nullptr ? wideCaption : nullptr, 1, objects,
                                              list.cElems, list.pElems, 0, 0, nullptr);
    CoTaskMemFree(list.pElems);
    return hr == S_OK ? TRUE : FALSE;
}

BOOL CCamCaptureFilter::HasI420Output() {
    if (m_pFilter == nullptr) return FALSE;
    CComPtr<IEnumPins> pins;
    if (FAILED(m_pFilter->EnumPins(&pins)) || pins == nullptr) return FALSE;
    CComPtr<IPin> output;
    for (CComPtr<IPin> pin; pins->Next(1, &pin, nullptr) == S_OK; pin.Release()) {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_OUTPUT) {
            output = pin;
            break;
        }
    }
    if (output == nullptr) return FALSE;
    CComPtr<IEnumMediaTypes> types;
    if (FAILED(output->EnumMediaTypes(&types)) || types == nullptr) return FALSE;
    BOOL found = FALSE;
    AM_MEDIA_TYPE* type = nullptr;
    while (!found && types->Next(1, &type, nullptr) == S_OK) {
        found = IsEqualGUID(type->subtype, MEDIASUBTYPE_I420) ? TRUE : FALSE;
        DeleteMediaType(type);
    }
    return found;
}

// ---- the USB camera ----

CFilterClassRecord CUsbCamFilter::s_classRecord(nullptr, &CLSID_VideoInputDeviceCategory, CUsbCamFilter::kDeviceName,
                                                &CUsbCamFilter::CreateInstance);

CRootFilter* CUsbCamFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CUsbCamFilter>(s_classRecord, graph, flag);
}

CUsbCamFilter::CUsbCamFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CCamCaptureFilter(owner, category, friendlyName, flag) {}

CUsbCamFilter::CUsbCamFilter(CRootGraph* owner, REFCLSID clsid) : CCamCaptureFilter(owner, clsid) {}

CUsbCamFilter::~CUsbCamFilter() = default;
