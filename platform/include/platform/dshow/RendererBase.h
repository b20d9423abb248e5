// The base of filters at the end of a stream (renderers and writers): samples reach Render on
// the upstream thread while the filter is paused or running and are counted; when every
// connected input has had end of stream the filter reports EC_COMPLETE to the graph.
#pragma once

#include <atomic>

#include "platform/dshow/FilterBase.h"

namespace platform::dshow {

class PLATFORM_API RendererBase : public FilterBase {
public:
    using FilterBase::FilterBase;
    // Samples rendered since the filter last left Stop.
    long SamplesReceived() const { return m_received.load(); }

protected:
    virtual HRESULT Render(PinBase* pin, IMediaSample* sample) = 0;
    HRESULT OnReceive(PinBase* pin, IMediaSample* sample) override;
    HRESULT OnEndOfStream(PinBase* pin) override;
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;

private:
    std::atomic<long> m_received{0};
    std::atomic<long> m_ended{0};
};

}  // namespace platform::dshow
