// The Sample Grabber: an input that takes the type set with SetMediaType (wildcards allowed),
// an output that offers the connected type, and the grabber's settings and callback. Each
// sample goes to the callback (SampleCB for method 0, BufferCB for method 1), is kept when
// buffering is on, and passes on to the output; in one-shot mode only the first sample since
// the filter left Stop does, and end of stream follows it.
#pragma once

#include <mutex>
#include <vector>

#include "TransformPins.h"
#include "platform/dshow/With.h"
#include "platform/dshow/SampleGrabberSettings.h"
#include "qedit.h"

namespace platform::dshow {

class SampleGrabberControl : public ISampleGrabber {
public:
    using Interface = ISampleGrabber;

    STDMETHODIMP SetOneShot(BOOL OneShot) override;
    STDMETHODIMP SetMediaType(const AM_MEDIA_TYPE* pType) override;
    STDMETHODIMP GetConnectedMediaType(AM_MEDIA_TYPE* pType) override;
    STDMETHODIMP SetBufferSamples(BOOL BufferThem) override;
    STDMETHODIMP GetCurrentBuffer(long* pBufferSize, long* pBuffer) override;
    STDMETHODIMP GetCurrentSample(IMediaSample** ppSample) override;
    STDMETHODIMP SetCallback(ISampleGrabberCB* pCallback, long WhichMethodToCallback) override;

    bool AcceptsInput(const AM_MEDIA_TYPE& mt) const;
    SampleGrabberSettings Settings() const;
    // Hands a sample to the callback and the buffer; S_FALSE once a one-shot grab was made
    // (*oneShot: this was that grab).
    HRESULT Grab(IMediaSample* sample, bool* oneShot);
    void ResetGrab();

protected:
    virtual ~SampleGrabberControl() = default;
    // The input's connection type; VFW_E_NOT_CONNECTED when it is not connected.
    virtual HRESULT InputConnectionType(AM_MEDIA_TYPE* mt) = 0;

private:
    mutable std::mutex m_lock;
    MediaType m_accepted;
    BOOL m_oneShot = FALSE;
    BOOL m_buffer = FALSE;
    CComPtr<ISampleGrabberCB> m_callback;
    long m_method = 0;
    bool m_grabbed = false;          // one-shot: the sample was taken
    bool m_hasBuffer = false;
    std::vector<BYTE> m_lastBuffer;  // with buffering on
};

class SampleGrabberFilter : public With<FilterBase, SampleGrabberControl> {
public:
    SampleGrabberFilter();

protected:
    void OnPinConnected(PinBase* pin) override;
    void OnPinDisconnected(PinBase* pin) override;
    HRESULT InputConnectionType(AM_MEDIA_TYPE* mt) override;
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;
    HRESULT OnReceive(PinBase* pin, IMediaSample* sample) override;
};

}  // namespace platform::dshow
