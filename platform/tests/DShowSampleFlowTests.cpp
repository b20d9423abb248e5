// The data path of the DirectShow stand-in: sources, transforms and renderers on the virtual
// clock, graph state order, end of stream and streaming errors, writers, the tee and the grabber.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

#include "DShowStreamFilters.h"
#include "platform/dshow/MediaSample.h"
#include "platform/durablefile.h"
#include "platform/winfile.h"

namespace dshowtest {
namespace {

using platform::dshow::MediaSample;

class SampleFlowTest : public DShowTest {
protected:
    CComPtr<IGraphBuilder> graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    CComPtr<IMediaControl> control = As<IMediaControl>(graph);

    CComPtr<IBaseFilter> Add(CComPtr<IBaseFilter> filter, const wchar_t* name) {
        EXPECT_EQ(graph->AddFilter(filter, name), S_OK);
        return filter;
    }
};

MediaType Stream() { return MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM); }

std::vector<BYTE> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

TEST_F(SampleFlowTest, SourceTransformRendererDeliversEverySampleInOrderThenCompletes) {
    TestSource* source;
    TestRenderer* renderer;
    auto src = Add(Make(&source, Stream(), 40, 10, 100), L"Source");
    auto mid = Add(Make<TestTransform>(nullptr, Stream()), L"Transform");
    auto end = Add(Make(&renderer), L"Renderer");
    ASSERT_EQ(Join(graph, src, L"Out", mid, L"In"), S_OK);
    ASSERT_EQ(Join(graph, mid, L"Out", end, L"In"), S_OK);

    ULONGLONG started = platform::ClockNow();
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(WaitForEvent(graph, EC_COMPLETE, 5000));
    EXPECT_EQ(platform::ClockNow() - started, 400u);  // ten samples 40 ms apart, then the end
    auto samples = renderer->Samples();
    ASSERT_EQ(samples.size(), 10u);
    for (size_t i = 0; i < samples.size(); ++i) {
        EXPECT_TRUE(samples[i].hasTime);
        EXPECT_EQ(samples[i].start, REFERENCE_TIME(i) * 400000);
        ASSERT_EQ(samples[i].bytes.size(), 100u);
        EXPECT_EQ(samples[i].bytes[5], BYTE(PatternByte(i, 5) + 1));
    }
    EXPECT_EQ(control->Stop(), S_OK);
}

TEST_F(SampleFlowTest, AWaitOnThePlatformClockSeesExactlyTheSamplesStampedUntilThen) {
    TestRenderer* renderer;
    auto src = Add(Make<TestSource>(nullptr, Stream(), 40, 0, 16), L"Source");
    auto end = Add(Make(&renderer), L"Renderer");
    ASSERT_EQ(Join(graph, src, L"Out", end, L"In"), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    Sleep(130);
    EXPECT_EQ(renderer->Samples().size(), 4u);  // 0, 40, 80 and 120 ms
    // Pause holds the stream and the stream time; Run goes on with the next sample's stamp,
    // and the stream time from where it paused (160 ms have run).
    ASSERT_EQ(control->Pause(), S_OK);
    Sleep(500);
    EXPECT_EQ(renderer->Samples().size(), 4u);
    ASSERT_EQ(control->Run(), S_OK);
    Sleep(30);
    auto samples = renderer->Samples();
    ASSERT_EQ(samples.size(), 5u);
    EXPECT_EQ(samples.back().start, 4 * 400000);
    EXPECT_EQ(renderer->StreamTime(), 4 * 400000);
    EXPECT_EQ(control->Stop(), S_OK);
    // Without a clock the graph runs unclocked: the samples come, the stream has no time.
    CComPtr<IReferenceClock> clock;
    ASSERT_EQ(As<IMediaFilter>(graph)->SetSyncSource(nullptr), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    Sleep(50);
    EXPECT_GT(renderer->Samples().size(), 5u);
    EXPECT_EQ(renderer->StreamTime(), 0);
    EXPECT_EQ(As<IMediaFilter>(graph)->GetSyncSource(&clock), S_OK);
    EXPECT_EQ(clock, nullptr);
    EXPECT_EQ(control->Stop(), S_OK);
}

// A flush takes an end of stream back: the renderer's next one completes the graph again.
TEST_F(SampleFlowTest, AFlushAfterTheEndOfTheStreamLetsANewEndCompleteAgain) {
    auto src = Add(Make<TestSource>(nullptr, Stream(), 40, 3, 16), L"Source");
    auto end = Add(Make<TestRenderer>(nullptr), L"Renderer");
    ASSERT_EQ(Join(graph, src, L"Out", end, L"In"), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(WaitForEvent(graph, EC_COMPLETE, 1000));
    CComPtr<IPin> input = PinOf(end, L"In");
    EXPECT_EQ(input->EndOfStream(), S_OK);
    EXPECT_FALSE(WaitForEvent(graph, EC_COMPLETE, 100)) << "a second end without a flush completes nothing";
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(input->BeginFlush(), S_OK);
        ASSERT_EQ(input->EndFlush(), S_OK);
        ASSERT_EQ(input->EndOfStream(), S_OK);
        EXPECT_TRUE(WaitForEvent(graph, EC_COMPLETE, 100)) << round;
    }
    EXPECT_EQ(control->Stop(), S_OK);
}

TEST_F(SampleFlowTest, AllocatorPropertiesCannotChangeWhileASampleIsOut) {
    CComPtr<platform::dshow::MemAllocator> allocator;
    allocator.Attach(new platform::dshow::MemAllocator());
    ALLOCATOR_PROPERTIES request{2, 1000, 1, 0}, actual;
    ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
    ASSERT_EQ(allocator->Commit(), S_OK);
    CComPtr<IMediaSample> held, second, third;
    ASSERT_EQ(allocator->GetBuffer(&held, nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(allocator->GetBuffer(&second, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(allocator->GetBuffer(&third, nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);  // both out
    std::thread waiter([&] { EXPECT_EQ(allocator->GetBuffer(&third, nullptr, nullptr, 0), S_OK); });
    second.Release();  // the waiter takes it
    waiter.join();
    EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_ALREADY_COMMITTED);
    ASSERT_EQ(allocator->Decommit(), S_OK);
    third.Release();
    request.cbBuffer = 2000;
    EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_BUFFERS_OUTSTANDING);
    held.Release();
    EXPECT_EQ(allocator->SetProperties(&request, &actual), S_OK);
    EXPECT_EQ(actual.cbBuffer, 2000);
}

TEST_F(SampleFlowTest, RunPauseStopAHundredTimesLeavesNoThreadAndNoSample) {
    int threadsBefore = platform::LiveThreadCount();
    TestRenderer* a;
    TestRenderer* b;
    auto src = Add(Make<TestSource>(nullptr, Stream(), 10, 0, 64), L"Source");
    auto tee = Add(Create<IBaseFilter>(CLSID_InfTee), L"Tee");
    auto ra = Add(Make(&a), L"A");
    auto rb = Add(Make(&b), L"B");
    ASSERT_EQ(Join(graph, src, L"Out", tee, L"Input"), S_OK);
    ASSERT_EQ(Join(graph, tee, L"Output1", ra, L"In"), S_OK);
    ASSERT_EQ(Join(graph, tee, L"Output2", rb, L"In"), S_OK);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(control->Run(), S_OK);
        Sleep(25);
        ASSERT_EQ(control->Pause(), S_OK);
        ASSERT_EQ(control->Run(), S_OK);
        Sleep(5);
        ASSERT_EQ(control->Stop(), S_OK);
    }
    EXPECT_EQ(platform::LiveThreadCount(), threadsBefore);
    EXPECT_EQ(MediaSample::Alive(), 0);
    // The tee gave every sample to both outputs.
    EXPECT_GT(a->Samples().size(), 0u);
    EXPECT_EQ(a->Bytes(), b->Bytes());
}

TEST_F(SampleFlowTest, FileWriterHoldsExactlyTheBytesTheSourceProducedAfterStop) {
    TestSource* source;
    auto src = Add(Make(&source, Stream(), 20, 0, 1000), L"Source");
    auto writer = Add(Create<IBaseFilter>(CLSID_FileWriter), L"Writer");
    std::string path = platform::StateDir() + "/capture.mpg";
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(100000, 'x');  // an older, longer file leaves nothing behind
    }
    auto sink = As<IFileSinkFilter2>(writer);
    ASSERT_EQ(sink->SetFileName(std::wstring(path.begin(), path.end()).c_str(), nullptr), S_OK);
    ASSERT_EQ(Join(graph, src, L"Out", writer, L"in"), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    Sleep(1010);
    std::vector<std::string> calls;
    platform::RecordFileCalls([&](const std::string& call) {
        if (call.rfind("write ", 0) != 0) calls.push_back(call);
    });
    ASSERT_EQ(control->Stop(), S_OK);
    platform::RecordFileCalls(nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"sync " + path, "sync-folder " + platform::StateDir()}))
        << "synced as it is closed";
    std::vector<BYTE> produced = source->Produced();
    EXPECT_EQ(produced.size(), 51u * 1000);
    EXPECT_EQ(ReadFile(path), produced);

    // A file that cannot be created fails the pause, so Run fails.
    ASSERT_EQ(sink->SetFileName(L"/nonexistent-folder/x.mpg", nullptr), S_OK);
    EXPECT_TRUE(FAILED(control->Run()));
    OAFilterState state;
    control->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);
}

TEST_F(SampleFlowTest, StreamingFailuresEndTheStreamWithErrorAbort) {
    auto src = Add(Make<TestSource>(nullptr, Stream(), 10, 0, 100), L"Source");
    auto writer = Add(Create<IBaseFilter>(CLSID_Dump), L"Dump");
    std::string path = platform::StateDir() + "/dump.bin";
    ASSERT_EQ(As<IFileSinkFilter2>(writer)->SetFileName(std::wstring(path.begin(), path.end()).c_str(), nullptr), S_OK);
    ASSERT_EQ(Join(graph, src, L"Out", writer, L"Input"), S_OK);

    // A full disk after three writes.
    platform::InjectFailure("WriteFile", 1, ERROR_DISK_FULL, 3);
    ASSERT_EQ(control->Run(), S_OK);
    LONG_PTR hr = 0;
    ASSERT_TRUE(WaitForEvent(graph, EC_ERRORABORT, 1000, &hr));
    EXPECT_EQ(HRESULT(hr), HRESULT(0x80070070));
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(ReadFile(path).size(), 300u);  // what was written before the disk was full

    // A full disk at the first write: the file made for it is not left behind.
    std::remove(path.c_str());
    platform::InjectFailure("WriteFile", 1, ERROR_DISK_FULL);
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(WaitForEvent(graph, EC_ERRORABORT, 1000, &hr));
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    // A name that is a symbolic link is refused; what it leads to is not written.
    const std::string target = platform::StateDir() + "/target.bin";
    { std::ofstream(target, std::ios::binary) << "mine"; }
    ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
    EXPECT_TRUE(FAILED(control->Run()));
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(ReadFile(target), (std::vector<BYTE>{'m', 'i', 'n', 'e'}));
    std::remove(path.c_str());

    // A failure injected into one pin's Receive.
    platform::InjectFailure("IMemInputPin::Receive:Input", 1, E_UNEXPECTED, 5);
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(WaitForEvent(graph, EC_ERRORABORT, 1000, &hr));
    EXPECT_EQ(HRESULT(hr), E_UNEXPECTED);
    ASSERT_EQ(control->Stop(), S_OK);

    // An allocator that does not commit refuses the start.
    platform::InjectFailure("IMemAllocator::Commit", 1, E_OUTOFMEMORY);
    EXPECT_EQ(control->Run(), E_OUTOFMEMORY);
}

class CountingCallback : public platform::ComObject<ISampleGrabberCB> {
public:
    std::vector<double> times;
    std::vector<long> lengths;
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override {
        times.push_back(time);
        lengths.push_back(sample->GetActualDataLength());
        return S_OK;
    }
    STDMETHODIMP BufferCB(double time, BYTE*, long length) override {
        times.push_back(time);
        lengths.push_back(length);
        return S_OK;
    }
};

TEST_F(SampleFlowTest, GrabberCallsBackForEverySampleOrOnlyTheFirstInOneShotMode) {
    TestRenderer* renderer;
    auto src = Add(Make<TestSource>(nullptr, Stream(), 40, 5, 50), L"Source");
    auto grabber = Add(Create<IBaseFilter>(CLSID_SampleGrabber), L"Grabber");
    auto end = Add(Make(&renderer), L"Renderer");
    auto grab = As<ISampleGrabber>(grabber);
    ASSERT_EQ(grab->SetMediaType(&Stream().Get()), S_OK);
    ASSERT_EQ(Join(graph, src, L"Out", grabber, L"Input"), S_OK);
    ASSERT_EQ(Join(graph, grabber, L"Output", end, L"In"), S_OK);
    CComPtr<CountingCallback> callback;
    callback.Attach(new CountingCallback());
    for (long method : {1L, 0L}) {
        callback->times.clear();
        ASSERT_EQ(grab->SetCallback(callback, method), S_OK);
        ASSERT_EQ(grab->SetBufferSamples(TRUE), S_OK);
        ASSERT_EQ(control->Run(), S_OK);
        ASSERT_TRUE(WaitForEvent(graph, EC_COMPLETE, 1000));
        ASSERT_EQ(control->Stop(), S_OK);
        EXPECT_EQ(callback->times, (std::vector<double>{0, 0.04, 0.08, 0.12, 0.16})) << method;
        long size = 0;
        ASSERT_EQ(grab->GetCurrentBuffer(&size, nullptr), S_OK);
        std::vector<BYTE> last(static_cast<size_t>(size));
        ASSERT_EQ(grab->GetCurrentBuffer(&size, reinterpret_cast<long*>(last.data())), S_OK);
        EXPECT_EQ(last, renderer->Samples().back().bytes);
    }
    EXPECT_EQ(renderer->Samples().size(), 10u);

    callback->times.clear();
    ASSERT_EQ(grab->SetOneShot(TRUE), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(WaitForEvent(graph, EC_COMPLETE, 1000));
    Sleep(200);
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(callback->times.size(), 1u);
    EXPECT_EQ(renderer->Samples().size(), 11u);
}

}  // namespace
}  // namespace dshowtest
