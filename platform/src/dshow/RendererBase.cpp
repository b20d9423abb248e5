// Renderers and writers: counting, and EC_COMPLETE at the end of every input's stream.
#include "platform/dshow/RendererBase.h"

#include <algorithm>

#include "evcode.h"

namespace platform::dshow {

HRESULT RendererBase::OnReceive(PinBase* pin, IMediaSample* sample) {
    HRESULT hr = Render(pin, sample);
    if (hr == S_OK) ++m_received;
    return hr;
}

HRESULT RendererBase::OnEndOfStream(PinBase* pin) {
    size_t inputs = 0;
    for (auto& p : Pins())
        if (p->Direction() == PINDIR_INPUT && p->IsConnected()) ++inputs;
    bool complete;
    {
        std::lock_guard<std::mutex> lock(m_endLock);
        if (std::find(m_ended.begin(), m_ended.end(), pin) == m_ended.end()) m_ended.push_back(pin);
        complete = !m_completed && m_ended.size() == inputs;
        m_completed = m_completed || complete;
    }
    if (complete) NotifyEvent(EC_COMPLETE, S_OK, 0);
    return S_OK;
}

void RendererBase::OnBeginFlush(PinBase* pin) {
    bool withdrawn;
    {
        std::lock_guard<std::mutex> lock(m_endLock);
        m_ended.erase(std::remove(m_ended.begin(), m_ended.end(), pin), m_ended.end());
        withdrawn = m_completed;
        m_completed = false;
    }
    if (withdrawn) NotifyEvent(kEcCompleteWithdrawn, 0, 0);
    FilterBase::OnBeginFlush(pin);
}

HRESULT RendererBase::OnStateChange(FILTER_STATE from, FILTER_STATE) {
    if (from == State_Stopped) {
        m_received = 0;
        std::lock_guard<std::mutex> lock(m_endLock);
        m_ended.clear();
        m_completed = false;
    }
    return S_OK;
}

}  // namespace platform::dshow
