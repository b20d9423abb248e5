// The MPEG-1 Stream Splitter: one input for an MPEG-1 system stream; its video and audio outputs
// appear once the input is connected and go when it is disconnected (those still connected stay
// until they are disconnected). The stand-in does not parse the stream: samples that reach the
// input are taken and dropped.
#pragma once

#include "platform/dshow/ConnectionPins.h"
#include "platform/dshow/FilterBase.h"

namespace platform::dshow {

class Mpeg1SplitterFilter : public FilterBase {
public:
    Mpeg1SplitterFilter();

protected:
    void OnPinConnected(PinBase* pin) override;
    void OnPinDisconnected(PinBase* pin) override;

private:
    ConnectionPins m_outputs;
};

}  // namespace platform::dshow
