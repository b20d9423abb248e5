// The Sample Grabber.
#include "SampleGrabber.h"

#include <cstring>

#include "dshow/Inject.h"
#include "dshow/StoreLocked.h"

namespace platform::dshow {

namespace {

class GrabberInputPin : public PinBase {
public:
    explicit GrabberInputPin(SampleGrabberFilter* filter)
        : PinBase(filter, PinDescription{PINDIR_INPUT, L"Input"}), m_grabber(filter) {}

protected:
    HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) const override {
        return m_grabber->AcceptsInput(mt) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }

private:
    SampleGrabberFilter* m_grabber;  // the owner, which outlives its use of the pin
};

}  // namespace

STDMETHODIMP SampleGrabberControl::SetOneShot(BOOL OneShot) {
    HRESULT hr;
    if (Injected("ISampleGrabber::SetOneShot", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_oneShot), OneShot);
}

STDMETHODIMP SampleGrabberControl::SetMediaType(const AM_MEDIA_TYPE* pType) {
    if (!pType) return E_POINTER;
    HRESULT hr;
    if (Injected("ISampleGrabber::SetMediaType", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    // Only the GUIDs select; a format block given with them does not narrow the choice.
    m_accepted = MediaType(pType->majortype, pType->subtype, pType->formattype);
    return S_OK;
}

bool SampleGrabberControl::AcceptsInput(const AM_MEDIA_TYPE& mt) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_accepted.Accepts(mt);
}

STDMETHODIMP SampleGrabberControl::GetConnectedMediaType(AM_MEDIA_TYPE* pType) {
    if (!pType) return E_POINTER;
    HRESULT hr;
    if (Injected("ISampleGrabber::GetConnectedMediaType", E_FAIL, &hr)) return hr;
    return InputConnectionType(pType);
}

STDMETHODIMP SampleGrabberControl::SetBufferSamples(BOOL BufferThem) {
    HRESULT hr;
    if (Injected("ISampleGrabber::SetBufferSamples", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_buffer), BufferThem);
}

// With buffering on: the last sample's bytes (their size when pBuffer is null); before the first
// sample VFW_E_WRONG_STATE.
STDMETHODIMP SampleGrabberControl::GetCurrentBuffer(long* pBufferSize, long* pBuffer) {
    if (!pBufferSize) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_buffer) return E_INVALIDARG;
    if (!m_hasBuffer) return VFW_E_WRONG_STATE;
    long size = long(m_lastBuffer.size());
    if (pBuffer) {
        if (*pBufferSize < size) return E_OUTOFMEMORY;
        std::memcpy(pBuffer, m_lastBuffer.data(), m_lastBuffer.size());
    }
    *pBufferSize = size;
    return S_OK;
}

HRESULT SampleGrabberControl::Grab(IMediaSample* sample, bool* oneShot) {
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return E_POINTER;
    long length = sample->GetActualDataLength();
    CComPtr<ISampleGrabberCB> callback;
    long method;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_oneShot && m_grabbed) return S_FALSE;
        m_grabbed = true;
        *oneShot = m_oneShot;
        if (m_buffer) {
            m_lastBuffer.assign(data, data + length);
            m_hasBuffer = true;
        }
        callback = m_callback;
        method = m_method;
    }
    REFERENCE_TIME start = 0, stop = 0;
    sample->GetTime(&start, &stop);
    double time = double(start) / 1e7;
    if (callback && method == 0) callback->SampleCB(time, sample);
    if (callback && method == 1) callback->BufferCB(time, data, length);
    return S_OK;
}

void SampleGrabberControl::ResetGrab() { StoreLocked(m_lock, std::tie(m_grabbed), false); }

STDMETHODIMP SampleGrabberControl::GetCurrentSample(IMediaSample** ppSample) {
    if (ppSample) *ppSample = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP SampleGrabberControl::SetCallback(ISampleGrabberCB* pCallback, long WhichMethodToCallback) {
    if (WhichMethodToCallback != 0 && WhichMethodToCallback != 1) return E_INVALIDARG;
    HRESULT hr;
    if (Injected("ISampleGrabber::SetCallback", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_callback, m_method), pCallback, WhichMethodToCallback);
}

SampleGrabberSettings SampleGrabberControl::Settings() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return SampleGrabberSettings{m_oneShot, m_buffer, m_callback.p, m_method};
}

bool ReadSampleGrabberSettings(IBaseFilter* filter, SampleGrabberSettings* settings) {
    auto* grabber = filter ? dynamic_cast<SampleGrabberFilter*>(static_cast<FilterBase*>(filter)) : nullptr;
    if (!grabber || !settings) return false;
    *settings = grabber->Settings();
    return true;
}

SampleGrabberFilter::SampleGrabberFilter() : With(CLSID_SampleGrabber) {
    CComPtr<PinBase> input, output;
    input.Attach(new GrabberInputPin(this));
    output.Attach(new FollowingOutputPin(this, L"Output"));
    AddPin(input);
    AddPin(output);
}

HRESULT SampleGrabberFilter::InputConnectionType(AM_MEDIA_TYPE* mt) {
    PinBase* input = FindPinByName(L"Input");
    return input ? input->ConnectionMediaType(mt) : VFW_E_NOT_CONNECTED;
}

void SampleGrabberFilter::OnPinConnected(PinBase* pin) {
    if (pin->Direction() == PINDIR_INPUT) FollowInput(this, {pin->ConnectionType()});
}

void SampleGrabberFilter::OnPinDisconnected(PinBase* pin) {
    if (pin->Direction() == PINDIR_INPUT) FollowInput(this, {});
}

HRESULT SampleGrabberFilter::OnStateChange(FILTER_STATE from, FILTER_STATE) {
    if (from == State_Stopped) ResetGrab();
    return S_OK;
}

HRESULT SampleGrabberFilter::OnReceive(PinBase*, IMediaSample* sample) {
    bool oneShot = false;
    HRESULT hr = Grab(sample, &oneShot);
    if (hr != S_OK) return hr;
    auto outputs = ConnectedOutputs();
    if (!outputs.empty()) hr = outputs.front()->Deliver(sample);
    if (oneShot && !outputs.empty()) outputs.front()->DeliverEndOfStream();
    return hr;
}

}  // namespace platform::dshow
