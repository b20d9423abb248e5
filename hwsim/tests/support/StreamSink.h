// A renderer for stream tests: keeps the number of samples, the last one's bytes, the start
// times of those stamped and the connection type, and runs graphs for a stretch of the platform clock.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "dshow.h"
#include "platform/comptr.h"
#include "platform/dshow/RendererBase.h"
#include "platform/winbase.h"

namespace hwsim {

// {5A1D0CFF-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kStreamSinkClsid = {0x5A1D0CFF, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

class StreamSink : public platform::dshow::RendererBase {
public:
    explicit StreamSink(std::vector<platform::dshow::MediaType> types = {}) : RendererBase(kStreamSinkClsid) {
        AddPin(platform::dshow::PinDescription{PINDIR_INPUT, L"In", L"", GUID_NULL, std::move(types)});
    }
    std::vector<BYTE> Last() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_last;
    }
    std::vector<BYTE> All() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_all;
    }
    std::vector<REFERENCE_TIME> Stamps() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_stamps;
    }
    platform::dshow::MediaType Type() { return FindPinByName(L"In")->ConnectionType(); }
    bool keepAll = false;

protected:
    HRESULT Render(platform::dshow::PinBase*, IMediaSample* sample) override {
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        REFERENCE_TIME start, stop;
        std::lock_guard<std::mutex> lock(m_lock);
        if (SUCCEEDED(sample->GetTime(&start, &stop))) m_stamps.push_back(start);
        m_last.assign(data, data + sample->GetActualDataLength());
        if (keepAll) m_all.insert(m_all.end(), m_last.begin(), m_last.end());
        return S_OK;
    }

private:
    mutable std::mutex m_lock;
    std::vector<BYTE> m_last;
    std::vector<BYTE> m_all;
    std::vector<REFERENCE_TIME> m_stamps;
};

inline CComPtr<IPin> PinNamed(IBaseFilter* filter, const wchar_t* name) {
    CComPtr<IPin> pin;
    filter->FindPin(name, &pin);
    return pin;
}

// Runs the graph for `ms` of the platform clock, then stops it.
inline void RunFor(IGraphBuilder* graph, DWORD ms) {
    CComPtr<IMediaControl> control;
    ASSERT_EQ(S_OK, graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control)));
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    Sleep(ms);
    ASSERT_EQ(S_OK, control->Stop());
}

}  // namespace hwsim
