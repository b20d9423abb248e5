// Pins of the system filters whose types follow another pin: an output pin that offers what
// its filter's input was connected with (and takes nothing before that), and connects again
// when the input does with another type.
#pragma once

#include <algorithm>

#include "evcode.h"
#include "platform/dshow/FilterBase.h"
#include "platform/winbase.h"
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

// A connected following output whose input was connected again with another type (a format
// set upstream) is connected again with one of `types`, the old subtype first, so that the
// change reaches the filters downstream. One that nothing downstream takes is left unconnected,
// and the application hears of it (EC_ERRORABORT, VFW_E_TYPE_NOT_ACCEPTED).
inline void ConnectAgain(PinBase* pin, const std::vector<MediaType>& types) {
    CComPtr<IPin> peer = pin->Peer();
    const MediaType old = pin->ConnectionType();
    if (!peer || std::find(types.begin(), types.end(), old) != types.end()) return;
    std::vector<const MediaType*> order;
    for (const MediaType& t : types)
        if (IsEqualGUID(t.Subtype(), old.Subtype())) order.push_back(&t);
    for (const MediaType& t : types)
        if (!IsEqualGUID(t.Subtype(), old.Subtype())) order.push_back(&t);
    peer->Disconnect();
    pin->Disconnect();
    for (const MediaType* t : order)
        if (SUCCEEDED(pin->Connect(peer, &t->Get()))) return;
    OutputDebugStringA("FollowInput - the new type is taken by no pin downstream: output left unconnected\n");
    if (FilterBase* filter = pin->Filter()) filter->NotifyEvent(EC_ERRORABORT, VFW_E_TYPE_NOT_ACCEPTED, 0);
}

// Gives the filter's following output pins the types `types` (none: they take nothing), and
// has the connected ones follow them.
inline void FollowInput(FilterBase* filter, const std::vector<MediaType>& types) {
    for (auto& pin : filter->Pins()) {
        if (pin->Direction() != PINDIR_OUTPUT || !dynamic_cast<FollowingOutputPin*>(pin.p)) continue;
        pin->SetMediaTypes(types);
        if (!types.empty()) ConnectAgain(pin, types);
    }
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
