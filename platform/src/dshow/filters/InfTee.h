// The Infinite Pin Tee: one input, and a new output pin whenever every output is connected,
// so that there is always one free output; each output offers the input's type. Every sample
// goes to every connected output.
#pragma once

#include "platform/dshow/FilterBase.h"

namespace platform::dshow {

class InfTeeFilter : public FilterBase {
public:
    InfTeeFilter();

protected:
    void OnPinConnected(PinBase* pin) override;
    void OnPinDisconnected(PinBase* pin) override;
    HRESULT OnReceive(PinBase* pin, IMediaSample* sample) override;

private:
    void AddOutput();
    int m_nextOutput = 1;
};

}  // namespace platform::dshow
