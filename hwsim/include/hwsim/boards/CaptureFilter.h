// A card's capture filter as its driver publishes it: the analog video and audio inputs that
// the card's crossbar feeds, the capture output (with IAMStreamConfig) and the preview output,
// the driver's private property sets on IKsPropertySet (and on a kernel handle, for a driver
// that has one), the video decoder
// (IAMAnalogVideoDecoder, horizontally locked while the bridge's video status bit is set, which
// follows the picture the fitted tuner delivers) and the picture controls (IAMVideoProcAmp). Every bind of the device makes a filter of its own; all of them carry
// their requests to the card's one driver. Once the card is unplugged the driver answers every
// property request itself, with kDeviceGone, whatever set it names.
#pragma once

#include <memory>

#include "hwsim/drivers/KsDriver.h"
#include "platform/dshow/AnalogVideoDecoderMixin.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/VideoProcAmpMixin.h"
#include "platform/dshow/With.h"

namespace hwsim {

// {5A1D0C01-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kCaptureFilterClsid = {0x5A1D0C01, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

class CaptureFilter
    : public platform::dshow::With<platform::dshow::FilterBase, platform::dshow::AnalogVideoDecoderMixin,
                                   platform::dshow::VideoProcAmpMixin> {
public:
    // `interleavedPin`: a second capture pin ("Interleaved") that offers the interleaved
    // media type, as the MPEG encoder cards' drivers have.
    explicit CaptureFilter(std::shared_ptr<KsDriver> driver, bool interleavedPin = false);

    // Noted on the card ("capture").
    STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;

    // Also answers the driver's private interfaces (KsDriver::QueryDriverInterface).
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP Set(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                     LPVOID pPropData, DWORD cbPropData) override;
    STDMETHODIMP Get(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                     LPVOID pPropData, DWORD cbPropData, DWORD* pcbReturned) override;
    STDMETHODIMP QuerySupported(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) override;

    KsDriver& Driver() const { return *m_driver; }

protected:
    // The bridge's video status bit; kDeviceGone once the card is unplugged.
    HRESULT HorizontalLocked(long* locked) override;

private:
    const std::shared_ptr<KsDriver> m_driver;
};

}  // namespace hwsim
