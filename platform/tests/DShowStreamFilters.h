// Streaming test filters: a source that stamps and fills samples from a pattern, a transform
// and a recording renderer, and helpers to wait for graph events on the platform clock.
#pragma once

#include <cstring>
#include <functional>
#include <mutex>
#include <vector>

#include "DShowTestFilters.h"
#include "evcode.h"
#include "platform/dshow/RendererBase.h"
#include "platform/dshow/SourceBase.h"
#include "platform/dshow/TransformBase.h"

namespace dshowtest {

using platform::dshow::RendererBase;
using platform::dshow::SourceBase;
using platform::dshow::TransformBase;

DEFINE_GUID(CLSID_TestSource, 0x7E57F117, 0x0002, 0x4000, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02);

// The bytes of sample `index`: its own pattern, so that order and content can be checked.
inline BYTE PatternByte(ULONGLONG index, size_t at) { return BYTE(index * 7 + at * 13); }

// A source with one output pin of `type`: a sample every `periodMs`, `count` of them (0: no
// end), then end of stream. `fill` may write the sample's bytes instead of the pattern.
class TestSource : public SourceBase {
public:
    TestSource(MediaType type, DWORD periodMs, ULONGLONG count, long sampleBytes)
        : SourceBase(CLSID_TestSource), m_period(periodMs), m_count(count), m_bytes(sampleBytes) {
        if (!type.FormatAs<VIDEOINFOHEADER>()) type.SetSampleSize(ULONG(sampleBytes), TRUE);
        AddPin(Out(L"Out", {std::move(type)}));
    }
    std::function<void(ULONGLONG index, BYTE* data, long size)> fill;
    // Called after the fill, for a sample that carries more (a media type change).
    std::function<void(ULONGLONG index, IMediaSample* sample)> decorate;
    // The bytes produced so far, in order.
    std::vector<BYTE> Produced() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_produced;
    }

protected:
    REFERENCE_TIME SampleTime(PinBase*, ULONGLONG index) override { return REFERENCE_TIME(index) * m_period * 10000; }
    HRESULT FillSample(PinBase*, ULONGLONG index, IMediaSample* sample) override {
        if (m_count && index >= m_count) return S_FALSE;
        BYTE* data;
        sample->GetPointer(&data);
        long size = std::min(m_bytes, sample->GetSize());
        if (fill) {
            fill(index, data, size);
        } else {
            for (long i = 0; i < size; ++i) data[i] = PatternByte(index, size_t(i));
        }
        sample->SetActualDataLength(size);
        if (decorate) decorate(index, sample);
        std::lock_guard<std::mutex> lock(m_lock);
        m_produced.insert(m_produced.end(), data, data + size);
        return S_OK;
    }

private:
    const DWORD m_period;
    const ULONGLONG m_count;
    const long m_bytes;
    mutable std::mutex m_lock;
    std::vector<BYTE> m_produced;
};

// A transform with an input of any type and an output of `type`, each byte plus one.
class TestTransform : public TransformBase {
public:
    explicit TestTransform(MediaType type) : TransformBase(CLSID_TestFilter) {
        AddPin(In(L"In"));
        AddPin(Out(L"Out", {std::move(type)}));
    }

protected:
    HRESULT Transform(PinBase*, IMediaSample* in, IMediaSample* out) override {
        BYTE *src, *dst;
        in->GetPointer(&src);
        out->GetPointer(&dst);
        long n = std::min(in->GetActualDataLength(), out->GetSize());
        for (long i = 0; i < n; ++i) dst[i] = BYTE(src[i] + 1);
        return out->SetActualDataLength(n);
    }
};

// A renderer that keeps what reaches it.
class TestRenderer : public RendererBase {
public:
    struct Received {
        REFERENCE_TIME start;
        bool hasTime;
        std::vector<BYTE> bytes;
    };
    explicit TestRenderer(std::vector<MediaType> types = {}) : RendererBase(CLSID_TestFilter) {
        AddPin(In(L"In", std::move(types)));
    }
    std::vector<Received> Samples() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_samples;
    }
    std::vector<BYTE> Bytes() const {
        std::vector<BYTE> all;
        for (auto& s : Samples()) all.insert(all.end(), s.bytes.begin(), s.bytes.end());
        return all;
    }

protected:
    HRESULT Render(PinBase*, IMediaSample* sample) override {
        BYTE* data;
        sample->GetPointer(&data);
        REFERENCE_TIME start = 0, stop = 0;
        bool hasTime = SUCCEEDED(sample->GetTime(&start, &stop));
        std::lock_guard<std::mutex> lock(m_lock);
        m_samples.push_back(Received{start, hasTime, std::vector<BYTE>(data, data + sample->GetActualDataLength())});
        return S_OK;
    }

private:
    mutable std::mutex m_lock;
    std::vector<Received> m_samples;
};

template <class T, class... Args>
CComPtr<IBaseFilter> Make(T** self, Args&&... args) {
    auto* filter = new T(std::forward<Args>(args)...);
    CComPtr<IBaseFilter> result;
    result.Attach(filter);
    if (self) *self = filter;
    return result;
}

// Waits (on the platform clock) up to `ms` for the event `code`; its first parameter in *param.
inline bool WaitForEvent(IGraphBuilder* graph, long code, DWORD ms, LONG_PTR* param = nullptr) {
    CComPtr<IMediaEventEx> events = As<IMediaEventEx>(graph);
    ULONGLONG end = platform::ClockNow() + ms;
    for (;;) {
        ULONGLONG now = platform::ClockNow();
        if (now >= end) return false;
        long got;
        LONG_PTR p1, p2;
        if (events->GetEvent(&got, &p1, &p2, long(end - now)) != S_OK) return false;
        events->FreeEventParams(got, p1, p2);
        if (got == code) {
            if (param) *param = p1;
            return true;
        }
    }
}

inline HRESULT Join(IGraphBuilder* graph, IBaseFilter* from, const wchar_t* out, IBaseFilter* to, const wchar_t* in) {
    return graph->ConnectDirect(PinOf(from, out), PinOf(to, in), nullptr);
}

}  // namespace dshowtest
