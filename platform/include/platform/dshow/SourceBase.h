// The base of filters that produce samples: while the filter runs, each connected output pin
// has a streaming thread (a platform thread) that waits on the platform clock until the next
// sample is due, has the filter fill it and delivers it downstream, where it travels
// synchronously through the transforms to the renderers. Leaving Run (and EndStreaming) ends
// and joins the threads, so every sample produced has been delivered; Pause holds the stream,
// and the next Run goes on with the following sample.
//
// A sample that the filter reports as the end (S_FALSE) sends end of stream; a failure, or a
// failure from downstream, ends the stream and reports EC_ERRORABORT with its HRESULT.
#pragma once

#include <memory>
#include <vector>

#include "platform/dshow/FilterBase.h"

namespace platform::dshow {

class PLATFORM_API SourceBase : public FilterBase {
public:
    explicit SourceBase(REFCLSID clsid);
    void EndStreaming() override;

protected:
    ~SourceBase() override;
    // The stream time of sample `index` on `pin` (100 ns units from the stream's start): when
    // it is due and its start time stamp. Called on the pin's streaming thread.
    virtual REFERENCE_TIME SampleTime(PinBase* pin, ULONGLONG index) = 0;
    // Fills sample `index` (its time stamps are set from SampleTime, as a sync point). S_OK
    // delivers it, S_FALSE ends the stream instead, a failure aborts it.
    virtual HRESULT FillSample(PinBase* pin, ULONGLONG index, IMediaSample* sample) = 0;

    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;

private:
    struct Stream;
    static DWORD WINAPI StreamMain(LPVOID param);
    void RunStream(Stream& stream);
    void StopStreams();

    std::vector<std::unique_ptr<Stream>> m_streams;  // while running; changed under the filter lock
    std::vector<std::pair<PinBase*, ULONGLONG>> m_next;  // the next sample of each pin, over pauses
};

}  // namespace platform::dshow
