// Sources: one streaming thread per connected output pin while running.
#include "platform/dshow/SourceBase.h"

#include <algorithm>

#include "evcode.h"
#include "platform/runtime.h"

namespace platform::dshow {

struct SourceBase::Stream {
    SourceBase* source;
    CComPtr<PinBase> pin;
    ULONGLONG index;
    HANDLE stop;
    HANDLE thread = nullptr;
};

SourceBase::SourceBase(REFCLSID clsid) : FilterBase(clsid) {}

SourceBase::~SourceBase() { StopStreams(); }

HRESULT SourceBase::OnStateChange(FILTER_STATE from, FILTER_STATE to) {
    if (from == State_Running) StopStreams();
    if (to != State_Running) {
        if (to == State_Stopped) m_next.clear();
        return S_OK;
    }
    for (auto& pin : ConnectedOutputs()) {
        auto stream = std::make_unique<Stream>();
        stream->source = this;
        stream->pin = pin;
        auto next = std::find_if(m_next.begin(), m_next.end(), [&](auto& n) { return n.first == pin.p; });
        stream->index = next == m_next.end() ? 0 : next->second;
        stream->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        stream->thread = CreateThread(nullptr, 0, StreamMain, stream.get(), 0, nullptr);
        if (!stream->thread) {
            CloseHandle(stream->stop);
            StopStreams();
            return E_OUTOFMEMORY;
        }
        m_streams.push_back(std::move(stream));
    }
    return S_OK;
}

void SourceBase::EndStreaming() {
    std::lock_guard<CriticalSection> changing(StateLock());
    StopStreams();
}

void SourceBase::StopStreams() {
    for (auto& s : m_streams) SetEvent(s->stop);
    for (auto& s : m_streams) {
        WaitForSingleObject(s->thread, INFINITE);
        CloseHandle(s->thread);
        CloseHandle(s->stop);
        auto next = std::find_if(m_next.begin(), m_next.end(), [&](auto& n) { return n.first == s->pin.p; });
        if (next == m_next.end())
            m_next.emplace_back(s->pin.p, s->index);
        else
            next->second = s->index;
    }
    m_streams.clear();
}

DWORD WINAPI SourceBase::StreamMain(LPVOID param) {
    auto* stream = static_cast<Stream*>(param);
    stream->source->RunStream(*stream);
    return 0;
}

// Sample n is due when the clock has moved SampleTime(n) on from where the stream (re)started.
void SourceBase::RunStream(Stream& stream) {
    PinBase* pin = stream.pin;
    const ULONGLONG begin = ClockNow() - ULONGLONG(SampleTime(pin, stream.index) / 10000);
    for (;;) {
        REFERENCE_TIME start = SampleTime(pin, stream.index);
        ULONGLONG due = begin + ULONGLONG(start / 10000);
        ULONGLONG now = ClockNow();
        DWORD wait = due > now ? DWORD(due - now) : 0;
        if (WaitForSingleObject(stream.stop, wait) == WAIT_OBJECT_0) return;
        CComPtr<IMediaSample> sample;
        HRESULT hr = pin->GetDeliveryBuffer(&sample);
        if (SUCCEEDED(hr)) {
            REFERENCE_TIME stop = SampleTime(pin, stream.index + 1);
            sample->SetTime(&start, &stop);
            sample->SetSyncPoint(TRUE);
            hr = FillSample(pin, stream.index, sample);
            if (hr == S_FALSE) {
                pin->DeliverEndOfStream();
                return;
            }
            if (SUCCEEDED(hr)) hr = pin->Deliver(sample);
        }
        if (FAILED(hr)) {
            NotifyEvent(EC_ERRORABORT, hr, 0);
            return;
        }
        ++stream.index;
        if (hr == S_FALSE) return;  // downstream takes no more
    }
}

}  // namespace platform::dshow
