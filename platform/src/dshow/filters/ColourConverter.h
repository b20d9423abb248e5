// The colour space converter: takes YUY2, UYVY or RGB video and offers it as RGB32, RGB24,
// RGB565 or RGB555 of the same size, converting each sample. The graph inserts it when two
// video pins do not connect directly.
#pragma once

#include <vector>

#include "RowScaler.h"
#include "TransformPins.h"
#include "platform/dshow/TransformBase.h"

namespace platform::dshow {

class ColourConverterFilter : public TransformBase {
public:
    ColourConverterFilter();

protected:
    void OnPinConnected(PinBase* pin) override;
    void OnPinDisconnected(PinBase* pin) override;
    HRESULT Transform(PinBase* pin, IMediaSample* in, IMediaSample* out) override;

private:
    // The streaming thread's work space, kept from sample to sample.
    RowScaler m_scaler;
    std::vector<BYTE> m_row;
};

}  // namespace platform::dshow
