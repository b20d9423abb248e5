// IAMStreamConfig for capture pins: the pin's capabilities (a media type and a
// VIDEO_STREAM_CONFIG_CAPS or AUDIO_STREAM_CONFIG_CAPS each) and its current format.
// StreamConfigPin keeps the pin's offered media type in step with the format set.
#pragma once

#include <mutex>
#include <vector>

#include "platform/dshow/PinBase.h"
#include "platform/dshow/With.h"

namespace platform::dshow {

struct StreamCapability {
    MediaType mediaType;
    std::vector<BYTE> caps;  // a VIDEO_STREAM_CONFIG_CAPS or AUDIO_STREAM_CONFIG_CAPS

    static StreamCapability Video(MediaType mt, const VIDEO_STREAM_CONFIG_CAPS& caps);
    static StreamCapability Audio(MediaType mt, const AUDIO_STREAM_CONFIG_CAPS& caps);
};

class PLATFORM_API StreamConfigMixin : public IAMStreamConfig {
public:
    using Interface = IAMStreamConfig;

    // The capabilities; the current format becomes the first one's media type.
    void SetCapabilities(std::vector<StreamCapability> capabilities);
    MediaType CurrentFormat() const;

    // The format must have the major type, subtype and format type of one capability
    // (VFW_E_INVALIDMEDIATYPE otherwise).
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** ppmt) override;
    STDMETHODIMP GetNumberOfCapabilities(int* piCount, int* piSize) override;
    STDMETHODIMP GetStreamCaps(int iIndex, AM_MEDIA_TYPE** ppmt, BYTE* pSCC) override;

protected:
    virtual ~StreamConfigMixin() = default;
    // The format is about to be set; a failure refuses it.
    virtual HRESULT OnSetFormat(const MediaType& format) { return S_OK; }

private:
    mutable std::mutex m_lock;
    std::vector<StreamCapability> m_capabilities;
    MediaType m_format;
};

// An output pin with IAMStreamConfig that offers the format set. A connected pin is connected
// again with the new format (both ends take it); that needs the filter stopped
// (VFW_E_NOT_STOPPED) and the peer's consent (VFW_E_TYPE_NOT_ACCEPTED).
class PLATFORM_API StreamConfigPin : public With<PinBase, StreamConfigMixin> {
public:
    StreamConfigPin(FilterBase* filter, PinDescription description, std::vector<StreamCapability> capabilities);

protected:
    HRESULT OnSetFormat(const MediaType& format) override;
};

}  // namespace platform::dshow
