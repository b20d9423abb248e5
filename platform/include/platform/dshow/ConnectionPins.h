// Output pins that exist only while a filter's input is connected, as splitters and decoders
// make them once they know their input's stream: the filter calls Connected and Disconnected
// from its OnPinConnected and OnPinDisconnected hooks. Outputs still connected when the input
// goes stay until they are disconnected too.
#pragma once

#include <functional>
#include <vector>

#include "platform/dshow/FilterBase.h"

namespace platform::dshow {

class ConnectionPins {
public:
    // Makes one output of the filter from its description; the default makes a plain PinBase.
    using Maker = std::function<void(FilterBase* filter, const PinDescription& output)>;

    explicit ConnectionPins(std::vector<PinDescription> outputs, Maker make = {})
        : m_outputs(std::move(outputs)), m_make(std::move(make)) {}

    // An input was connected: every output that is not there yet is added.
    void Connected(FilterBase* filter, PinBase* pin) const {
        if (pin->Direction() != PINDIR_INPUT) return;
        for (const PinDescription& output : m_outputs) {
            if (filter->FindPinByName(output.name) != nullptr) continue;
            if (m_make) {
                m_make(filter, output);
            } else {
                filter->AddPin(output);
            }
        }
    }

    // A pin was disconnected: with no input connected any more, the free outputs go.
    void Disconnected(FilterBase* filter, PinBase*) const {
        for (auto& pin : filter->Pins()) {
            if (pin->Direction() == PINDIR_INPUT && pin->IsConnected()) return;
        }
        for (const PinDescription& output : m_outputs) {
            PinBase* pin = filter->FindPinByName(output.name);
            if (pin != nullptr && pin->Direction() == PINDIR_OUTPUT && !pin->IsConnected()) filter->RemovePin(pin);
        }
    }

private:
    std::vector<PinDescription> m_outputs;
    Maker m_make;
};

}  // namespace platform::dshow
