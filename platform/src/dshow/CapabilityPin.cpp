// Output pins that offer every capability.
#include "platform/dshow/CapabilityPin.h"

#include "StoreLocked.h"

namespace platform::dshow {

namespace {

std::vector<MediaType> TypesOf(const std::vector<StreamCapability>& capabilities) {
    std::vector<MediaType> types;
    for (const StreamCapability& c : capabilities) types.push_back(c.mediaType);
    return types;
}

}  // namespace

CapabilityPin::CapabilityPin(FilterBase* filter, PinDescription description,
                             std::vector<StreamCapability> capabilities)
    : StreamConfigPin(filter, std::move(description), capabilities), m_types(TypesOf(capabilities)) {
    Offer(nullptr);
}

void CapabilityPin::ChangeCapabilities(std::vector<StreamCapability> capabilities) {
    StoreLocked(m_typesLock, std::tie(m_types), TypesOf(capabilities));
    SetCapabilities(std::move(capabilities));
    Offer(nullptr);
}

HRESULT CapabilityPin::OnSetFormat(const MediaType& format) {
    if (Peer()) return StreamConfigPin::OnSetFormat(format);
    Offer(&format);
    return S_OK;
}

void CapabilityPin::Offer(const MediaType* first) {
    std::vector<MediaType> offered;
    if (first) offered.push_back(*first);
    {
        std::lock_guard<std::mutex> lock(m_typesLock);
        for (const MediaType& type : m_types)
            if (!first || !(type == *first)) offered.push_back(type);
    }
    SetMediaTypes(std::move(offered));
}

}  // namespace platform::dshow
