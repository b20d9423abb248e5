// The colour space converter: takes uncompressed YUV or RGB video and offers it as RGB32,
// RGB24, RGB565 or RGB555 of the same size. The graph inserts it when two video pins do not
// connect directly.
#pragma once

#include "TransformPins.h"

namespace platform::dshow {

class ColourConverterFilter : public FilterBase {
public:
    ColourConverterFilter();

protected:
    void OnPinConnected(PinBase* pin) override;
    void OnPinDisconnected(PinBase* pin) override;
};

}  // namespace platform::dshow
