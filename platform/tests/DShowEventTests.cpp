// The filter graph's event queue: events from filters and from the graph itself, taken in
// order, waited for on the platform clock, and announced to a notify window.
#include "DShowTestFilters.h"
#include "platform/winuser.h"

using namespace dshowtest;

namespace {

class GraphEvents : public DShowTest {
protected:
    CComPtr<IGraphBuilder> graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    CComPtr<IMediaEventEx> events = As<IMediaEventEx>(graph);

    long Next(LONG_PTR* p1 = nullptr, long timeout = 0) {
        long code = -1;
        LONG_PTR a = 0, b = 0;
        if (events->GetEvent(&code, &a, &b, timeout) != S_OK) return -1;
        events->FreeEventParams(code, a, b);
        if (p1) *p1 = a;
        return code;
    }
};

TEST_F(GraphEvents, FiltersAndTheGraphQueueEventsThatAreTakenInOrder) {
    TestFilter* source = nullptr;
    auto filter = MakeFilter({}, &source);
    graph->AddFilter(filter, L"Source");
    EXPECT_EQ(source->NotifyEvent(EC_VIDEO_SIZE_CHANGED, MAKELONG(720, 576), 0), S_OK);
    ASSERT_EQ(As<IMediaControl>(graph)->Pause(), S_OK);  // the graph reports EC_PAUSED
    As<IMediaEventSink>(graph)->Notify(EC_ERRORABORT, LONG_PTR(0x80070070), 0);

    LONG_PTR p1 = 0;
    EXPECT_EQ(Next(&p1), EC_VIDEO_SIZE_CHANGED);
    EXPECT_EQ(p1, MAKELONG(720, 576));
    EXPECT_EQ(Next(), EC_PAUSED);
    EXPECT_EQ(Next(&p1), EC_ERRORABORT);
    EXPECT_EQ(p1, LONG_PTR(0x80070070));
    EXPECT_EQ(Next(), -1) << "the queue is empty";
}

TEST_F(GraphEvents, AFilterOutsideAGraphHasNowhereToReport) {
    TestFilter* source = nullptr;
    auto filter = MakeFilter({}, &source);
    EXPECT_EQ(source->NotifyEvent(EC_COMPLETE, 0, 0), E_UNEXPECTED);
}

TEST_F(GraphEvents, GetEventWaitsOnThePlatformClockAndGivesUpWithAbort) {
    long code;
    LONG_PTR a, b;
    DWORD before = GetTickCount();
    EXPECT_EQ(events->GetEvent(&code, &a, &b, 500), E_ABORT);
    EXPECT_GE(GetTickCount() - before, 500u);

    OAEVENT handle = 0;
    ASSERT_EQ(events->GetEventHandle(&handle), S_OK);
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 0), DWORD(WAIT_TIMEOUT));
    As<IMediaEventSink>(graph)->Notify(EC_COMPLETE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 0), DWORD(WAIT_OBJECT_0))
        << "the handle is signalled while events wait";
    EXPECT_EQ(Next(nullptr, 500), EC_COMPLETE);
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 0), DWORD(WAIT_TIMEOUT));
}

TEST_F(GraphEvents, AnEventFromAnotherThreadEndsAWait) {
    auto reporter = [](LPVOID graph) -> DWORD {
        Sleep(300);
        static_cast<IMediaEventSink*>(graph)->Notify(EC_COMPLETE, 1, 0);
        return 0;
    };
    CComPtr<IMediaEventSink> sink = As<IMediaEventSink>(graph);
    HANDLE thread = CreateThread(nullptr, 0, reporter, sink.p, 0, nullptr);
    LONG_PTR p1 = 0;
    EXPECT_EQ(Next(&p1, INFINITE), EC_COMPLETE);
    EXPECT_EQ(p1, 1);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

TEST_F(GraphEvents, TheNotifyWindowGetsItsMessagePerEventUnlessNotificationIsOff) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "GraphOwner";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "GraphOwner", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(events->SetNotifyWindow(reinterpret_cast<OAHWND>(window), WM_APP + 7, 0x55), S_OK);
    As<IMediaEventSink>(graph)->Notify(EC_COMPLETE, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_APP + 7));
    EXPECT_EQ(msg.lParam, 0x55);

    events->SetNotifyFlags(AM_MEDIAEVENT_NONOTIFY);
    As<IMediaEventSink>(graph)->Notify(EC_COMPLETE, 0, 0);
    EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    DestroyWindow(window);
}

}  // namespace
