// A card's capture filter as its driver publishes it: the analog video and audio inputs that
// the card's crossbar feeds, the capture output (with IAMStreamConfig: YUY2 first, RGB24, UYVY
// (or the card kind's own UYVY capabilities), YV12, 90x72 up to 720 x the standard's 480 or
// 576 lines, cropping up to 720 x 576), the preview output (YUY2), the audio output (48 kHz
// stereo 16-bit PCM) and, on a board with the MPEG encoder, the "656" (UYVY at the capture size)
// and "I2S" (PCM) ports that feed it; the driver's private property
// sets on IKsPropertySet (and on a kernel handle, for a driver that has one), the video decoder
// (IAMAnalogVideoDecoder, horizontally locked while the bridge's video status bit is set, which
// follows the picture the fitted tuner delivers; on composite and S-video while the bench
// plugged a source there) and the picture controls (IAMVideoProcAmp).
//
// Each connected output streams while the graph runs what the crossbar's routes carry
// (CardSignal): pictures at the standard's rate (25 a second, 30000/1001 on the 525-line
// standards), sound in 40 ms samples. Every bind of the device makes a filter of its own; all
// of them carry their requests to the card's one driver. Once the card is unplugged the driver
// answers every property request itself, with kDeviceGone, whatever set it names, and the
// streams end with it.
#pragma once

#include <memory>

#include "hwsim/drivers/KsDriver.h"
#include "platform/dshow/AnalogVideoDecoderMixin.h"
#include "platform/dshow/SourceBase.h"
#include "platform/dshow/VideoProcAmpMixin.h"
#include "platform/dshow/With.h"

namespace hwsim {

// {5A1D0C01-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kCaptureFilterClsid = {0x5A1D0C01, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

class CaptureFilter
    : public platform::dshow::With<platform::dshow::SourceBase, platform::dshow::AnalogVideoDecoderMixin,
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
    // The picture size the capture pin's format gives (the "656" port's too).
    SIZE CaptureSize() const;
    // Lines of the standard set: 525 or 625.
    long Lines() const;

protected:
    // The bridge's video status bit on the tuner; on the other inputs whether a source is
    // plugged there. kDeviceGone once the card is unplugged.
    HRESULT HorizontalLocked(long* locked) override;
    HRESULT OnTVFormat(long standard) override;
    REFERENCE_TIME SampleTime(platform::dshow::PinBase* pin, ULONGLONG index) override;
    HRESULT FillSample(platform::dshow::PinBase* pin, ULONGLONG index, IMediaSample* sample) override;

private:
    friend class CapturePin;
    // The preview's and the 656 port's types after the standard or the capture size changed.
    void OfferTypes(long lines, SIZE capture);

    const std::shared_ptr<KsDriver> m_driver;
    platform::dshow::PinBase* m_capture = nullptr;
    platform::dshow::PinBase* m_preview = nullptr;
    platform::dshow::PinBase* m_port656 = nullptr;
};

}  // namespace hwsim
