// The data path's speed: YUY2 frames from a source through the VMR-9 into its video window
// on the headless display under the virtual clock, against a plain copy of one frame and
// against the same conversion by swscale (nearest neighbour) in the same run, and the
// demultiplexer's program-stream throughput.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <vector>

#include "bdaiface.h"
#include "dshow.h"
#include "evcode.h"
#include "platform/display.h"
#include "platform/dshow/SourceBase.h"
#include "platform/runtime.h"

extern "C" {
#include <libswscale/swscale.h>
}

// Every allocation through operator new in the process, counted. (The library's operator
// delete frees what malloc gave; the compiler cannot see that.)
std::atomic<long long> g_allocations{0};

void* operator new(size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

namespace {

using platform::dshow::MediaType;
using platform::dshow::PinBase;
using platform::dshow::PinDescription;

const CLSID kBenchSource = {0x7E57F117, 0x00BF, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0xBF}};

// Samples of one type every `periodMs` (0: as fast as they are taken), each from `fill`, which
// answers the sample's length, or -1 for the end of the stream.
class BenchSource : public platform::dshow::SourceBase {
public:
    BenchSource(MediaType type, DWORD periodMs, std::function<long(ULONGLONG, BYTE*, long)> fill)
        : SourceBase(kBenchSource), m_period(periodMs), m_fill(std::move(fill)) {
        AddPin(PinDescription{PINDIR_OUTPUT, L"Out", L"", GUID_NULL, {std::move(type)}});
    }

protected:
    REFERENCE_TIME SampleTime(PinBase*, ULONGLONG index) override { return REFERENCE_TIME(index) * m_period * 10000; }
    HRESULT FillSample(PinBase*, ULONGLONG index, IMediaSample* sample) override {
        BYTE* data;
        sample->GetPointer(&data);
        long length = m_fill(index, data, sample->GetSize());
        return length < 0 ? S_FALSE : sample->SetActualDataLength(length);
    }

private:
    DWORD m_period;
    std::function<long(ULONGLONG, BYTE*, long)> m_fill;
};

template <class I>
CComPtr<I> Make(REFCLSID clsid) {
    CComPtr<I> object;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, platform::InterfaceTraits<I>::Iid(),
                     reinterpret_cast<void**>(&object));
    return object;
}

CComPtr<IPin> PinOf(IBaseFilter* filter, const wchar_t* id) {
    CComPtr<IPin> pin;
    filter->FindPin(id, &pin);
    return pin;
}

// The real time of one cache-warm copy of a 720x576 YUY2 frame (829,440 bytes), in seconds.
double FrameCopySeconds() {
    std::vector<BYTE> from(720 * 576 * 2, 0x5A), to(from.size());
    using Clock = std::chrono::steady_clock;
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const int copies = 50;
        const auto start = Clock::now();
        for (int i = 0; i < copies; ++i) {
            from[size_t(i)] = BYTE(i);
            std::memcpy(to.data(), from.data(), from.size());
            benchmark::DoNotOptimize(to.data());
            benchmark::ClobberMemory();
        }
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count() / copies);
    }
    return best;
}

// The real time of one conversion of a 720x576 YUY2 frame into a width x height 32-bit picture
// by swscale with SWS_POINT (nearest neighbour), measured as the copy is, in seconds.
double SwscaleSeconds(int width, int height) {
    SwsContext* context = sws_getContext(720, 576, AV_PIX_FMT_YUYV422, width, height, AV_PIX_FMT_BGR0, SWS_POINT,
                                         nullptr, nullptr, nullptr);
    if (!context) return 0;
    std::vector<uint8_t> from(720 * 576 * 2, 0x5A), to(size_t(width) * size_t(height) * 4);
    const uint8_t* source[4] = {from.data()};
    uint8_t* target[4] = {to.data()};
    const int sourceStride[4] = {720 * 2}, targetStride[4] = {width * 4};
    using Clock = std::chrono::steady_clock;
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const int conversions = 5;
        const auto start = Clock::now();
        for (int i = 0; i < conversions; ++i) {
            from[size_t(i)] = uint8_t(i);
            sws_scale(context, source, sourceStride, 0, 576, target, targetStride);
            benchmark::DoNotOptimize(to.data());
            benchmark::ClobberMemory();
        }
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count() / conversions);
    }
    sws_freeContext(context);
    return best;
}

constexpr UINT_PTR kSecondTimer = 1;

LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

// The median and the best of a run's figures.
struct Spread {
    double median, best;
};
Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) return {0, 0};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front()};
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// One second of 25 frames/s video per iteration; the window paints as its thread's messages
// are pumped. The video window is a child of the size the arguments give, as a page's preview
// is. Reported, as the median of the run's iterations and (`_best`) their best: the real time
// per frame shown, that of one plain copy of a frame and that of swscale's conversion to the
// window's size (timed side by side, each iteration), the frame's and swscale's against the
// copy; per frame shown, the process's CPU time, the source's filling of the frame and the
// allocations.
void Vmr9Yuy2FramesIntoVideoWindow(benchmark::State& state) {
    platform::UseVirtualClock(true);
    platform::StartDisplay(platform::DisplayKind::Headless);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        auto graph = Make<IGraphBuilder>(CLSID_FilterGraph);
        CComPtr<IBaseFilter> source;
        double fillSeconds = 0;  // the streaming thread's, read once the stream has stopped
        source.Attach(new BenchSource(platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 720, 576, 16), 40,
                                      [&fillSeconds](ULONGLONG i, BYTE* data, long size) {
                                          const auto start = std::chrono::steady_clock::now();
                                          std::fill(data, data + size, BYTE(i));
                                          fillSeconds += std::chrono::duration<double>(
                                                             std::chrono::steady_clock::now() - start)
                                                             .count();
                                          return size;
                                      }));
        auto vmr = Make<IBaseFilter>(CLSID_VideoMixingRenderer9);
        graph->AddFilter(source, L"Source");
        graph->AddFilter(vmr, L"VMR");
        if (FAILED(graph->ConnectDirect(PinOf(source, L"Out"), PinOf(vmr, L"VMR Input0"), nullptr))) {
            state.SkipWithError("no connection");
            return;
        }
        const int width = int(state.range(0)), height = int(state.range(1));
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = "BenchOwner";
        RegisterClassA(&wc);
        HWND owner = CreateWindowExA(0, "BenchOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 720, 576, nullptr, nullptr,
                                     nullptr, nullptr);
        CComPtr<IVideoWindow> window;
        graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&window));
        window->put_Owner(OAHWND(owner));
        window->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
        window->SetWindowPosition(0, 0, width, height);
        CComPtr<IMediaControl> control;
        graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
        control->Run();
        using Clock = std::chrono::steady_clock;
        CComPtr<IQualProp> quality;
        vmr->QueryInterface(IID_IQualProp, reinterpret_cast<void**>(&quality));
        int drawn = 0;
        quality->get_FramesDrawn(&drawn);
        long long allocations = 0;
        int64_t frames = 0, shown = 0;
        double cpuSeconds = 0;
        std::vector<double> frameSeconds, copySeconds, swscaleSeconds;
        for (auto _ : state) {
            const long long allocated = g_allocations.load();
            const double cpu = ProcessCpuSeconds();
            const auto start = Clock::now();
            // A second of the stream: the window's thread waits for its messages (as a page's
            // message loop does) until the second's timer.
            SetTimer(owner, kSecondTimer, 1000, nullptr);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) && !(msg.message == WM_TIMER && msg.hwnd == owner))
                DispatchMessageA(&msg);
            KillTimer(owner, kSecondTimer);
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            cpuSeconds += ProcessCpuSeconds() - cpu;
            allocations += g_allocations.load() - allocated;
            const int before = drawn;
            quality->get_FramesDrawn(&drawn);
            if (drawn > before) frameSeconds.push_back(seconds / (drawn - before));
            shown += drawn - before;
            frames += 25;
            state.PauseTiming();
            copySeconds.push_back(FrameCopySeconds());
            swscaleSeconds.push_back(SwscaleSeconds(width, height));
            state.ResumeTiming();
        }
        RECT client{};
        GetClientRect(GetWindow(owner, GW_CHILD), &client);
        if (client.right != width || client.bottom != height) state.SkipWithError("the video window has another size");
        control->Stop();
        window->put_Owner(0);
        DestroyWindow(owner);
        state.SetItemsProcessed(frames);
        if (shown) {
            const Spread frame = SpreadOf(frameSeconds), copy = SpreadOf(copySeconds),
                         swscale = SpreadOf(swscaleSeconds);
            state.counters["frame_us"] = frame.median * 1e6;
            state.counters["frame_best_us"] = frame.best * 1e6;
            state.counters["copy_us"] = copy.median * 1e6;
            state.counters["copy_best_us"] = copy.best * 1e6;
            state.counters["swscale_us"] = swscale.median * 1e6;
            state.counters["swscale_best_us"] = swscale.best * 1e6;
            state.counters["frame_per_copy"] = frame.median / copy.median;
            state.counters["frame_per_swscale"] = frame.median / swscale.median;
            state.counters["swscale_per_copy"] = swscale.median / copy.median;
            state.counters["cpu_us"] = cpuSeconds / double(shown) * 1e6;
            state.counters["fill_us"] = fillSeconds / double(shown) * 1e6;
            state.counters["allocs_per_frame"] = double(allocations) / double(shown);
        }
    }
    CoUninitialize();
}
BENCHMARK(Vmr9Yuy2FramesIntoVideoWindow)
    ->Args({360, 288})
    ->Args({320, 240})
    ->Args({720, 576})
    ->MinTime(1.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A program stream of video and audio PES packets in packs, 4 MiB per iteration.
std::shared_ptr<std::vector<BYTE>> ProgramStream() {
    auto stream = std::make_shared<std::vector<BYTE>>();
    for (int n = 0; stream->size() < (4u << 20); ++n) {
        const BYTE pack[14] = {0, 0, 1, 0xBA, 0x44, 0, 4, 0, 4, 1, 0x01, 0x89, 0xC3, 0xF8};
        stream->insert(stream->end(), pack, pack + 14);
        for (BYTE id : {BYTE(0xE0), BYTE(0xC0)}) {
            size_t payload = id == 0xE0 ? 2000 : 576;
            size_t length = 8 + payload;
            const BYTE head[14] = {0, 0, 1, id, BYTE(length >> 8), BYTE(length), 0x81, 0x80, 5, 0x21, 0, 1, 0, 1};
            stream->insert(stream->end(), head, head + 14);
            stream->insert(stream->end(), payload, BYTE(n));
        }
    }
    return stream;
}

void DemultiplexerProgramStreamThroughput(benchmark::State& state) {
    platform::UseVirtualClock(true);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        auto stream = ProgramStream();
        const long piece = 32 * 1024;
        const ULONGLONG pieces = (stream->size() + piece - 1) / piece;
        int64_t bytes = 0;
        for (auto _ : state) {
            auto graph = Make<IGraphBuilder>(CLSID_FilterGraph);
            MediaType type(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);
            type.SetSampleSize(ULONG(piece), TRUE);
            CComPtr<IBaseFilter> source;
            source.Attach(new BenchSource(type, 0, [stream, pieces, piece](ULONGLONG i, BYTE* data, long) -> long {
                if (i >= pieces) return -1;
                size_t from = size_t(i) * piece, n = std::min<size_t>(piece, stream->size() - from);
                std::copy(stream->begin() + long(from), stream->begin() + long(from + n), data);
                return long(n);
            }));
            auto demux = Make<IBaseFilter>(CLSID_MPEG2Demultiplexer);
            auto writer = Make<IBaseFilter>(CLSID_Dump);
            graph->AddFilter(source, L"Source");
            graph->AddFilter(demux, L"Demux");
            graph->AddFilter(writer, L"Dump");
            CComPtr<IMpeg2Demultiplexer> pins;
            demux->QueryInterface(IID_IMpeg2Demultiplexer, reinterpret_cast<void**>(&pins));
            MediaType video(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO);
            CComPtr<IPin> out;
            pins->CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&video.Get()), const_cast<LPWSTR>(L"Video"), &out);
            CComPtr<IMPEG2StreamIdMap> map;
            out->QueryInterface(IID_IMPEG2StreamIdMap, reinterpret_cast<void**>(&map));
            map->MapStreamId(0xE0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0);
            graph->ConnectDirect(PinOf(source, L"Out"), PinOf(demux, L"MPEG-2 Stream"), nullptr);
            graph->ConnectDirect(out, PinOf(writer, L"Input"), nullptr);
            CComPtr<IMediaControl> control;
            graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
            CComPtr<IMediaEventEx> events;
            graph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events));
            control->Run();
            long code = 0;
            LONG_PTR p1, p2;
            while (events->GetEvent(&code, &p1, &p2, INFINITE) == S_OK && code != EC_COMPLETE) {
            }
            control->Stop();
            bytes += int64_t(stream->size());
        }
        state.SetBytesProcessed(bytes);
    }
    CoUninitialize();
}
BENCHMARK(DemultiplexerProgramStreamThroughput)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
