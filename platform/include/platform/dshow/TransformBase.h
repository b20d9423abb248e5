// The base of synchronous transforms: a sample received on an input is transformed into a
// sample from the first connected output's allocator, on the upstream thread, which then
// delivers it (with the input's time stamps and flags). Without a connected output the sample
// is dropped. The filter makes its own pins.
#pragma once

#include "platform/dshow/FilterBase.h"

namespace platform::dshow {

class PLATFORM_API TransformBase : public FilterBase {
public:
    using FilterBase::FilterBase;

protected:
    // Writes `in` transformed into `out` (and its data length). S_FALSE drops the sample.
    virtual HRESULT Transform(PinBase* pin, IMediaSample* in, IMediaSample* out) = 0;
    HRESULT OnReceive(PinBase* pin, IMediaSample* sample) override;
};

}  // namespace platform::dshow
