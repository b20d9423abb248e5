// Renderers and writers: counting, and EC_COMPLETE at the end of every input's stream.
#include "platform/dshow/RendererBase.h"

#include "evcode.h"

namespace platform::dshow {

HRESULT RendererBase::OnReceive(PinBase* pin, IMediaSample* sample) {
    HRESULT hr = Render(pin, sample);
    if (hr == S_OK) ++m_received;
    return hr;
}

HRESULT RendererBase::OnEndOfStream(PinBase*) {
    size_t inputs = 0;
    for (auto& pin : Pins())
        if (pin->Direction() == PINDIR_INPUT && pin->IsConnected()) ++inputs;
    if (size_t(++m_ended) == inputs) NotifyEvent(EC_COMPLETE, S_OK, 0);
    return S_OK;
}

HRESULT RendererBase::OnStateChange(FILTER_STATE from, FILTER_STATE) {
    if (from == State_Stopped) {
        m_received = 0;
        m_ended = 0;
    }
    return S_OK;
}

}  // namespace platform::dshow
