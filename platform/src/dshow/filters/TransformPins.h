// Pins of the system filters whose types follow another pin: an output pin that offers what
// its filter's input was connected with (and takes nothing before that).
#pragma once

#include "platform/dshow/FilterBase.h"
#include "vfwmsgs.h"

namespace platform::dshow {

class FollowingOutputPin : public PinBase {
public:
    FollowingOutputPin(FilterBase* filter, std::wstring name)
        : PinBase(filter, PinDescription{PINDIR_OUTPUT, std::move(name), L"", GUID_NULL, {}}) {}

protected:
    HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) const override {
        return MediaTypes().empty() ? VFW_E_NOT_CONNECTED : PinBase::CheckMediaType(mt);
    }
};

// Gives the filter's following output pins the types `types` (none: they take nothing).
inline void FollowInput(FilterBase* filter, const std::vector<MediaType>& types) {
    for (auto& pin : filter->Pins())
        if (pin->Direction() == PINDIR_OUTPUT && dynamic_cast<FollowingOutputPin*>(pin.p)) pin->SetMediaTypes(types);
}

}  // namespace platform::dshow

namespace platform::dshow {

// Drops the free pins of `direction` but one (filters that grow a pin per connection).
inline void KeepOneFreePin(FilterBase* filter, PIN_DIRECTION direction) {
    bool keptOne = false;
    for (auto& pin : filter->Pins()) {
        if (pin->Direction() != direction || pin->IsConnected()) continue;
        if (keptOne) filter->RemovePin(pin);
        keptOne = true;
    }
}

}  // namespace platform::dshow
