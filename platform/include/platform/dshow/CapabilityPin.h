// An output pin with IAMStreamConfig that offers the media type of every capability, the format
// set first (an audio converter's or a camera's output). A connected pin takes a new format as
// StreamConfigPin does.
#pragma once

#include <mutex>
#include <vector>

#include "platform/dshow/StreamConfigMixin.h"

namespace platform::dshow {

class PLATFORM_API CapabilityPin : public StreamConfigPin {
public:
    CapabilityPin(FilterBase* filter, PinDescription description, std::vector<StreamCapability> capabilities);

    // New capabilities: the format becomes the first one's type, and every type is offered.
    void ChangeCapabilities(std::vector<StreamCapability> capabilities);

protected:
    HRESULT OnSetFormat(const MediaType& format) override;

private:
    void Offer(const MediaType* first);

    std::mutex m_typesLock;
    std::vector<MediaType> m_types;  // the capabilities' types, in their order
};

}  // namespace platform::dshow
