// The USB camera "Usb_Cam_Capture": its filter has a video decoder, a processing amplifier with
// ranges, and property pages; its capture and preview pins offer their formats through
// IAMStreamConfig (the capture pin I420 first), and the capture pin's stream config has
// property pages of its own. Interfaces can be absent (DeviceDriver); GetFormat fails through
// the platform's failure injection ("IAMStreamConfig::GetFormat").
#pragma once

#include <memory>
#include <vector>

#include "hwsim/drivers/DeviceDriver.h"
#include "ocidl.h"
#include "platform/dshow/AnalogVideoDecoderMixin.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/VideoProcAmpMixin.h"
#include "platform/dshow/With.h"

namespace hwsim {

// {5A1D0C07-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kUsbCameraFilterClsid = {0x5A1D0C07, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};
// The camera's property pages: the filter's, then the stream config's.
// {5A1D0C08-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kCameraPage = {0x5A1D0C08, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};
// {5A1D0C09-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kCameraFormatPage = {0x5A1D0C09, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

// ISpecifyPropertyPages over a fixed list of pages.
class PropertyPagesMixin : public ISpecifyPropertyPages {
public:
    using Interface = ISpecifyPropertyPages;
    void SetPages(std::vector<CLSID> pages) { m_pages = std::move(pages); }
    STDMETHODIMP GetPages(CAUUID* pPages) override;

protected:
    virtual ~PropertyPagesMixin() = default;

private:
    std::vector<CLSID> m_pages;
};

class UsbCameraFilter
    : public platform::dshow::With<platform::dshow::FilterBase, platform::dshow::AnalogVideoDecoderMixin,
                                   platform::dshow::VideoProcAmpMixin, PropertyPagesMixin> {
public:
    explicit UsbCameraFilter(std::shared_ptr<DeviceDriver> driver);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;

private:
    const std::shared_ptr<DeviceDriver> m_driver;
};

}  // namespace hwsim
