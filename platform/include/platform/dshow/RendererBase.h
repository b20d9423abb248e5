// The base of filters at the end of a stream (renderers and writers): samples reach Render on
// the upstream thread while the filter is paused or running and are counted; when every
// connected input has had end of stream the filter reports EC_COMPLETE to the graph. A flush
// of an input takes its end of stream back (and the completion, which the graph is told of
// with kEcCompleteWithdrawn), so a new end of stream completes again.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/dshow/FilterBase.h"

namespace platform::dshow {

// The graph's own event, never queued: a renderer that reported EC_COMPLETE was flushed.
constexpr long kEcCompleteWithdrawn = 0x7F01;

class PLATFORM_API RendererBase : public FilterBase {
public:
    using FilterBase::FilterBase;
    // Samples rendered since the filter last left Stop.
    long SamplesReceived() const { return m_received.load(); }

protected:
    virtual HRESULT Render(PinBase* pin, IMediaSample* sample) = 0;
    HRESULT OnReceive(PinBase* pin, IMediaSample* sample) override;
    HRESULT OnEndOfStream(PinBase* pin) override;
    void OnBeginFlush(PinBase* pin) override;
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;

private:
    std::atomic<long> m_received{0};
    std::mutex m_endLock;
    std::vector<PinBase*> m_ended;  // inputs at end of stream
    bool m_completed = false;       // EC_COMPLETE reported
};

}  // namespace platform::dshow
