// The USB camera "Usb_Cam_Capture".
#include "hwsim/boards/UsbCamera.h"

#include <cstring>

#include "objbase.h"
#include "platform/dshow/CapabilityPin.h"

namespace hwsim {

using platform::dshow::PinDescription;
using platform::dshow::StreamCapability;

namespace {

class CameraPin : public platform::dshow::With<platform::dshow::CapabilityPin, PropertyPagesMixin> {
public:
    CameraPin(platform::dshow::FilterBase* filter, PinDescription description,
              std::vector<StreamCapability> capabilities)
        : With(filter, std::move(description), std::move(capabilities)) {
        SetPages({kCameraFormatPage});
    }
};

std::vector<StreamCapability> Capabilities(std::initializer_list<std::pair<GUID, WORD>> formats) {
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = FORMAT_VideoInfo;
    caps.InputSize = {640, 480};
    caps.MinOutputSize = {160, 120};
    caps.MaxOutputSize = {640, 480};
    caps.MinFrameInterval = 333333;
    caps.MaxFrameInterval = 1000000;
    std::vector<StreamCapability> capabilities;
    for (auto [subtype, bits] : formats) {
        capabilities.push_back(StreamCapability::Video(platform::dshow::VideoInfoType(subtype, 640, 480, bits), caps));
    }
    return capabilities;
}

}  // namespace

STDMETHODIMP PropertyPagesMixin::GetPages(CAUUID* pPages) {
    if (!pPages) return E_POINTER;
    pPages->cElems = 0;
    pPages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID) * m_pages.size()));
    if (!pPages->pElems) return E_OUTOFMEMORY;
    if (!m_pages.empty()) std::memcpy(pPages->pElems, m_pages.data(), sizeof(GUID) * m_pages.size());
    pPages->cElems = static_cast<ULONG>(m_pages.size());
    return S_OK;
}

UsbCameraFilter::UsbCameraFilter(std::shared_ptr<DeviceDriver> driver)
    : With(kUsbCameraFilterClsid), m_driver(std::move(driver)) {
    CComPtr<platform::dshow::PinBase> capture;
    capture.Attach(new CameraPin(this, PinDescription{PINDIR_OUTPUT, L"Capture", L"", PIN_CATEGORY_CAPTURE, {}},
                                 Capabilities({{MEDIASUBTYPE_I420, 12}, {MEDIASUBTYPE_YUY2, 16}, {MEDIASUBTYPE_RGB24, 24}})));
    AddPin(capture);
    CComPtr<platform::dshow::PinBase> preview;
    preview.Attach(new CameraPin(this, PinDescription{PINDIR_OUTPUT, L"Preview", L"", PIN_CATEGORY_PREVIEW, {}},
                                 Capabilities({{MEDIASUBTYPE_YUY2, 16}, {MEDIASUBTYPE_RGB24, 24}})));
    AddPin(preview);
    SetTVFormats(AnalogVideo_NTSC_M | AnalogVideo_PAL_B, AnalogVideo_PAL_B);
    SetProcAmpRange(VideoProcAmp_Brightness, {-64, 64, 1, 0, VideoProcAmp_Flags_Manual});
    SetProcAmpRange(VideoProcAmp_Contrast, {0, 100, 1, 50, VideoProcAmp_Flags_Manual});
    SetProcAmpRange(VideoProcAmp_Saturation, {0, 100, 1, 64, VideoProcAmp_Flags_Manual});
    SetPages({kCameraPage});
}

STDMETHODIMP UsbCameraFilter::QueryInterface(REFIID riid, void** ppv) {
    if (ppv && (m_driver->Refuses<IAMAnalogVideoDecoder>(riid) || m_driver->Refuses<IAMVideoProcAmp>(riid) ||
                m_driver->Refuses<ISpecifyPropertyPages>(riid))) {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    return With::QueryInterface(riid, ppv);
}

}  // namespace hwsim
