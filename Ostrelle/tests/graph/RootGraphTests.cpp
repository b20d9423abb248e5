// The filter graph: its life, running, connections, the disconnect retry, graph events, device
// names and graph files.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/GraphTestDoubles.h"
#include "platform/comservices.h"
#include "platform/runtime.h"

using namespace graphtest;

namespace {

const GUID kSplitClsid = TestClsid(0x0103);

class FilterGraph : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        m_cookies[0] = RegisterTestFilterClass(kSourceClsid, {OutputPin(L"Out")});
        m_cookies[1] = RegisterTestFilterClass(kSinkClsid, {InputPin(L"In")});
        m_cookies[2] = RegisterTestFilterClass(kSplitClsid, {InputPin(L"In"), OutputPin(L"Out A"), OutputPin(L"Out B")});
    }
    void TearDown() override {
        for (DWORD cookie : m_cookies) platform::UnregisterComClass(cookie);
        GraphTest::TearDown();
    }
    // Adds "Source" and "Sink" to the graph and connects them.
    static void AddConnectedPair(CRootGraph& graph, CRootFilter** source, CRootFilter** sink) {
        *source = graph.AddFilter(kSourceClsid, "Source");
        *sink = graph.AddFilter(kSinkClsid, "Sink");
        ASSERT_TRUE(graph.ConnectFilters(*source, *sink));
    }
    DWORD m_cookies[3] = {};
};

// A window of this thread that collects posted messages.
class MessageWindow {
public:
    MessageWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "GraphEventTestWindow";
        RegisterClassA(&windowClass);
        m_hWnd = CreateWindowExA(0, "GraphEventTestWindow", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    ~MessageWindow() { DestroyWindow(m_hWnd); }
    // The next WM_GRAPH_EVENT waiting, as (wParam, lParam); false when none.
    bool Next(WPARAM* wParam, LPARAM* lParam) {
        MSG msg;
        if (!PeekMessageA(&msg, m_hWnd, WM_GRAPH_EVENT, WM_GRAPH_EVENT, PM_REMOVE)) return false;
        *wParam = msg.wParam;
        *lParam = msg.lParam;
        return true;
    }
    HWND m_hWnd;
};

void QueueEvent(CRootGraph& graph, long code, LONG_PTR param1) {
    CComPtr<IMediaEventSink> sink;
    ASSERT_TRUE(SUCCEEDED(graph.GetGraphBuilder()->QueryInterface(IID_PPV_ARGS(&sink))));
    ASSERT_TRUE(SUCCEEDED(sink->Notify(code, param1, 0)));
}

}  // namespace

TEST_F(FilterGraph, LivesInTheRunningObjectTableAndReleasesEverythingAtTheEnd) {
    { CRootGraph warmUp; }  // the stand-in's process-wide objects come with the first graph
    long objectsBefore = platform::LiveComObjectCount();
    {
        CRootGraph graph;
        ASSERT_NE(graph.GetGraphBuilder(), nullptr);
        ASSERT_NE(graph.GetCaptureGraphBuilder(), nullptr);
        auto entries = platform::RunningObjectEntries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].displayName.rfind(L"!FilterGraph ", 0), 0u);
        EXPECT_NE(entries[0].displayName.find(L" pid "), std::wstring::npos);
        ASSERT_NE(graph.AddFilter(kSourceClsid, "Source"), nullptr);
        EXPECT_EQ(platform::ApartmentDepth(), 1);
    }
    EXPECT_TRUE(platform::RunningObjectEntries().empty());
    EXPECT_EQ(platform::ApartmentDepth(), 0);
    EXPECT_EQ(platform::LiveComObjectCount(), objectsBefore);
}

TEST_F(FilterGraph, FailedMakeLeavesAGraphWithoutInterfaces) {
    platform::InjectFailure("QueryInterface:IMediaControl", 1);
    CRootGraph graph;
    EXPECT_EQ(graph.GetGraphBuilder(), nullptr);
    EXPECT_EQ(graph.GetMediaControl(), nullptr);
    EXPECT_EQ(graph.SetState(GRAPH_STATE_RUNNING), E_POINTER);
    EXPECT_EQ(graph.SyncUsingStreamOffset(TRUE), E_POINTER);
    EXPECT_EQ(graph.AddFilter(kSourceClsid, "Source"), nullptr);
    EXPECT_TRUE(platform::RunningObjectEntries().empty());
    EXPECT_EQ(platform::ApartmentDepth(), 0);
}

TEST_F(FilterGraph, SetUpFailureIsShownOverTheMainWindowOnly) {
    struct Box {
        HWND owner;
        std::string text;
        std::string caption;
        UINT type;
    };
    std::vector<Box> boxes;
    platform::SetMessageBoxHandler([&boxes](HWND owner, const char* text, const char* caption, UINT type) {
        boxes.push_back({owner, text, caption, type});
        return IDOK;
    });
    platform::InjectFailure("QueryInterface:IMediaSeeking", 2);
    { CRootGraph withoutMainWindow; }
    EXPECT_TRUE(boxes.empty());

    CWinApp app("GraphTest");
    MessageWindow window;
    CWnd main;
    main.Attach(window.m_hWnd);
    app.m_pMainWnd = &main;
    { CRootGraph graph; }
    app.m_pMainWnd = nullptr;
    main.Detach();
    platform::SetMessageBoxHandler(nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, window.m_hWnd);
    EXPECT_EQ(boxes[0].text, "Cannot get IID_IMediaSeeking interface");
    EXPECT_EQ(boxes[0].caption, "");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_TASKMODAL | MB_ICONEXCLAMATION));
}

TEST_F(FilterGraph, VideoWindowForwardsGiveBackWhatWasSet) {
    CRootGraph graph;
    RECT position = {10, 20, 330, 260};
    EXPECT_EQ(graph.SetVideoWindowPosition(position), S_OK);
    POINT at = {};
    SIZE size = {};
    EXPECT_EQ(graph.GetVideoWindowPosition(&at, &size), S_OK);
    EXPECT_EQ(at.x, 10);
    EXPECT_EQ(at.y, 20);
    EXPECT_EQ(size.cx, 320);
    EXPECT_EQ(size.cy, 240);
    EXPECT_EQ(graph.SetVideoVisible(TRUE), S_OK);
    EXPECT_TRUE(graph.IsVideoVisible());
    EXPECT_EQ(graph.SetVideoVisible(FALSE), S_OK);
    EXPECT_FALSE(graph.IsVideoVisible());
}

TEST_F(FilterGraph, ResetTakesFiltersOutOfTheGraphButKeepsTheWrappers) {
    CRootGraph graph;
    CRootFilter *source, *sink;
    ASSERT_NO_FATAL_FAILURE(AddConnectedPair(graph, &source, &sink));
    ASSERT_TRUE(graph.Run());
    graph.ResetGraph();
    EXPECT_EQ(graph.GetState(), GRAPH_STATE_STOPPED);
    EXPECT_FALSE(source->FindPin("Out")->IsConnected());
    EXPECT_FALSE(source->IsInGraph());
    EXPECT_FALSE(sink->IsInGraph());
    EXPECT_EQ(graph.FindFilter("Source"), source);
    EXPECT_FALSE(graph.RemoveFromGraph("Source"));
    EXPECT_TRUE(graph.AddToGraph(source));
    EXPECT_TRUE(graph.RemoveFromGraph("Source"));
}

TEST_F(FilterGraph, RenderExEndsAStreamAndTellsDynamicFilters) {
    const GUID kVideoSource = TestClsid(0x0104);
    RegisterTestFilterClass(kVideoSource, {{PINDIR_OUTPUT, L"Out", L"", GUID_NULL,
                                            {platform::dshow::VideoInfoType(MEDIASUBTYPE_RGB32, 320, 240, 32)}}});
    CRootGraph graph;
    CRootFilter* source = graph.AddFilter(kVideoSource, "Source");
    platform::ClearTrace();
    EXPECT_TRUE(SUCCEEDED(graph.RenderEx(source->FindPin("Out"), 0)));
    CComPtr<IPin> connected;
    EXPECT_EQ(source->FindPin("Out")->GetPin()->ConnectedTo(&connected), S_OK);
    // The wrappers are not told of the renderer's pin; only dynamic filters rebuild their lists.
    EXPECT_FALSE(source->FindPin("Out")->IsConnected());
    EXPECT_FALSE(platform::TraceContains("OnConnectStatusChange"));
}

TEST_F(FilterGraph, RunningGraphIsNotRunAgainAndStateChangesOnlyOnSuccess) {
    CRootGraph graph;
    ASSERT_NE(graph.AddFilter(kSourceClsid, "Source"), nullptr);
    EXPECT_TRUE(graph.Run());
    EXPECT_TRUE(graph.Run());
    EXPECT_EQ(TestFilter::RunRequests(), 1);
    EXPECT_EQ(graph.GetState(), GRAPH_STATE_RUNNING);

    EXPECT_EQ(graph.SetState(3), E_FAIL);
    EXPECT_EQ(graph.GetState(), GRAPH_STATE_RUNNING);

    platform::InjectFailure("IMediaControl::Pause", 1);
    EXPECT_FALSE(graph.Pause());
    EXPECT_EQ(graph.GetState(), GRAPH_STATE_RUNNING);
    EXPECT_TRUE(graph.Pause());
    EXPECT_EQ(graph.GetState(), GRAPH_STATE_PAUSED);
    EXPECT_TRUE(graph.Stop());
    EXPECT_EQ(graph.GetState(), GRAPH_STATE_STOPPED);

    // A stop a filter refuses leaves a running graph paused: it runs again when asked.
    EXPECT_TRUE(graph.Run());
    platform::InjectFailure("IMediaFilter::Stop", 1);
    EXPECT_FALSE(graph.Stop());
    EXPECT_EQ(graph.GetState(), GRAPH_STATE_PAUSED);
    EXPECT_TRUE(graph.Run());
    OAFilterState state = -1;
    graph.GetMediaControl()->GetState(0, &state);
    EXPECT_EQ(state, State_Running);
}

TEST_F(FilterGraph, DuplicateNamesAreAddedAndForeignWrappersAreLeftAlone) {
    CRootGraph graph;
    CRootFilter* first = graph.AddFilter(kSourceClsid, "Same");
    CRootFilter* second = graph.AddFilter(kSourceClsid, "Same");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(graph.GetFilterList(), second);
    EXPECT_EQ(second->GetNext(), first);
    EXPECT_EQ(graph.FindFilter("Same"), second);

    CRootGraph other;
    CRootFilter* foreign = other.AddFilter(kSinkClsid, "Foreign");
    graph.RemoveFilter(foreign);
    EXPECT_EQ(other.FindFilter("Foreign"), foreign);
    EXPECT_TRUE(foreign->IsInGraph());
    EXPECT_EQ(graph.GetFilterList(), second);

    graph.RemoveFilter(second);
    EXPECT_EQ(graph.GetFilterList(), first);
    EXPECT_EQ(first->GetNext(), nullptr);
}

TEST_F(FilterGraph, AttachWrapperTakesOnlyValidWrappersItCouldAdd) {
    CRootGraph graph;
    auto* invalid = new CRootFilter(&graph, static_cast<IBaseFilter*>(nullptr));
    EXPECT_FALSE(graph.AttachWrapper(invalid));
    delete invalid;

    auto* wrapper = new CRootFilter(&graph, kSinkClsid);
    wrapper->SetName("Mine");
    platform::InjectFailure("IFilterGraph::AddFilter", 1);
    EXPECT_FALSE(graph.AttachWrapper(wrapper));
    EXPECT_EQ(graph.GetFilterList(), nullptr);
    EXPECT_TRUE(graph.AttachWrapper(wrapper));
    EXPECT_EQ(graph.FindFilter("Mine"), wrapper);
}

TEST_F(FilterGraph, ConnectRecordsPeersAndRefusesPinsAlreadyConnected) {
    CRootGraph graph;
    CRootFilter* source = graph.AddFilter(kSourceClsid, "Source");
    CRootFilter* split = graph.AddFilter(kSplitClsid, "Split");
    CRootFilter* sink = graph.AddFilter(kSinkClsid, "Sink");
    ASSERT_TRUE(source && split && sink);

    EXPECT_TRUE(graph.ConnectFilters(source, split));
    CRootPin* out = source->FindPin("Out");
    CRootPin* in = split->FindPin("In");
    EXPECT_EQ(out->GetPeer(), in);
    EXPECT_EQ(in->GetPeer(), out);

    // A second connection of a pin whose wrapper records a peer is refused without the graph.
    platform::InjectFailure("IGraphBuilder::Connect", 0);
    EXPECT_FALSE(graph.Connect(out, sink->FindPin("In")));
    EXPECT_EQ(out->GetPeer(), in);

    // Two output pins upstream (one of them free): no single pin to connect.
    EXPECT_FALSE(graph.ConnectFilters(split, sink));
    EXPECT_TRUE(graph.ConnectByPinName(split, sink, nullptr, ""));
    EXPECT_EQ(split->FindPin("Out A")->GetPeer(), sink->FindPin("In"));
    EXPECT_FALSE(graph.ConnectByPinName(split, sink, "No Such Pin", nullptr));
}

TEST_F(FilterGraph, DisconnectClearsRecordedPeersOrDisconnectsBothEndsDirectly) {
    CRootGraph graph;
    CRootFilter *source, *sink;
    ASSERT_NO_FATAL_FAILURE(AddConnectedPair(graph, &source, &sink));
    CRootPin* out = source->FindPin("Out");
    CRootPin* in = sink->FindPin("In");

    graph.Disconnect(in);
    EXPECT_EQ(out->GetPeer(), nullptr);
    EXPECT_EQ(in->GetPeer(), nullptr);
    CComPtr<IPin> connected;
    EXPECT_EQ(out->GetPin()->ConnectedTo(&connected), VFW_E_NOT_CONNECTED);

    // Connected behind the wrappers' back: both ends are disconnected, the wrappers not told.
    ASSERT_TRUE(SUCCEEDED(graph.GetGraphBuilder()->ConnectDirect(out->GetPin(), in->GetPin(), nullptr)));
    graph.Disconnect(out);
    EXPECT_EQ(out->GetPin()->ConnectedTo(&connected), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(in->GetPin()->ConnectedTo(&connected), VFW_E_NOT_CONNECTED);
}

TEST_F(FilterGraph, DisconnectRetryAgainstRefusingGraphCostsNoRealTime) {
    CRootGraph graph;
    CRootFilter *source, *sink;
    ASSERT_NO_FATAL_FAILURE(AddConnectedPair(graph, &source, &sink));
    ASSERT_TRUE(graph.Run());

    platform::InjectFailure("IFilterGraph::Disconnect", 3);
    ULONGLONG before = platform::ClockNow();
    auto realStart = std::chrono::steady_clock::now();
    graph.DisconnectPin(source->FindPin("Out")->GetPin());
    EXPECT_GE(platform::ClockNow() - before, 3u * CRootGraph::kDisconnectRetryMs);
    EXPECT_LT(platform::ClockNow() - before, 4u * CRootGraph::kDisconnectRetryMs);
    EXPECT_EQ(graph.GetState(), GRAPH_STATE_STOPPED);
    EXPECT_TRUE(platform::TraceContains("Disconnect Failed! Sleep 200!"));
    CComPtr<IPin> connected;
    EXPECT_EQ(source->FindPin("Out")->GetPin()->ConnectedTo(&connected), VFW_E_NOT_CONNECTED);

    // A graph that never gives in: 200 attempts, 40 s on the test clock, then it gives up.
    platform::InjectFailure("IFilterGraph::Disconnect", 1000);
    before = platform::ClockNow();
    graph.DisconnectPin(sink->FindPin("In")->GetPin());
    EXPECT_GE(platform::ClockNow() - before, 200u * CRootGraph::kDisconnectRetryMs);
    EXPECT_LT(platform::ClockNow() - before, 201u * CRootGraph::kDisconnectRetryMs);
    EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(10));
}

TEST_F(FilterGraph, DisconnectingAPinThatIsNotConnectedIsDoneAtOnce) {
    CRootGraph graph;
    CRootFilter* source = graph.AddFilter(kSourceClsid, "Source");
    ASSERT_EQ(graph.GetGraphBuilder()->Disconnect(source->FindPin("Out")->GetPin()), S_FALSE);
    platform::ClearTrace();  // what earlier tests of this process traced
    ULONGLONG before = platform::ClockNow();
    graph.DisconnectPin(source->FindPin("Out")->GetPin());
    EXPECT_LT(platform::ClockNow() - before, CRootGraph::kDisconnectRetryMs);
    EXPECT_FALSE(platform::TraceContains("Disconnect Failed!"));
}

TEST_F(FilterGraph, HandleGraphEventsStopsDrainingAfterAnAbort) {
    CRootGraph graph;
    MessageWindow window;
    QueueEvent(graph, EC_PAUSED, 0);
    QueueEvent(graph, EC_VIDEO_SIZE_CHANGED, MAKELONG(720, 576));
    QueueEvent(graph, EC_ERRORABORT, E_OUTOFMEMORY);
    QueueEvent(graph, EC_PAUSED, 0);

    graph.HandleGraphEvents(window.m_hWnd);
    WPARAM wParam;
    LPARAM lParam;
    ASSERT_TRUE(window.Next(&wParam, &lParam));
    EXPECT_EQ(lParam, GRAPH_EVENT_PAUSED);
    EXPECT_EQ(wParam, 0u);
    ASSERT_TRUE(window.Next(&wParam, &lParam));
    EXPECT_EQ(lParam, GRAPH_EVENT_VIDEO_SIZE_CHANGED);
    EXPECT_EQ(wParam, static_cast<WPARAM>(MAKELONG(720, 576)));
    ASSERT_TRUE(window.Next(&wParam, &lParam));
    EXPECT_EQ(lParam, GRAPH_EVENT_ERROR_ABORT);
    EXPECT_EQ(static_cast<HRESULT>(wParam), E_OUTOFMEMORY);
    EXPECT_FALSE(window.Next(&wParam, &lParam));

    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    EXPECT_EQ(graph.GetEvent(&code, &p1, &p2, 0), S_OK);
    EXPECT_EQ(code, EC_PAUSED);
    graph.FreeEventParams(code, p1, p2);

    QueueEvent(graph, EC_ERRORABORT, static_cast<LONG>(0x80070070));
    graph.HandleGraphEvents(window.m_hWnd);
    ASSERT_TRUE(window.Next(&wParam, &lParam));
    EXPECT_EQ(lParam, GRAPH_EVENT_DISK_FULL);
    EXPECT_EQ(wParam, 0u);
}

TEST_F(FilterGraph, SavedGraphFileLoadsBackAndAttachesItsFilters) {
    std::string path = platform::StateDir() + "/preview.grf";
    {
        CRootGraph graph;
        CRootFilter *source, *sink;
        ASSERT_NO_FATAL_FAILURE(AddConnectedPair(graph, &source, &sink));
        ASSERT_EQ(graph.SaveGraphFile(path.c_str()), S_OK);
    }
    CRootGraph graph;
    const std::string tooLong = platform::StateDir() + "/" + std::string(260, 'g');
    EXPECT_EQ(graph.SaveGraphFile(tooLong.c_str()), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(graph.LoadGraphFile(tooLong.c_str()), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(graph.LoadGraphFile((path + ".missing").c_str()), STG_E_FILENOTFOUND);
    ASSERT_EQ(graph.LoadGraphFile(path.c_str()), S_OK);
    graph.AttachAllFilters();
    CRootFilter* source = graph.FindFilter("Source");
    CRootFilter* sink = graph.FindFilter("Sink");
    ASSERT_NE(source, nullptr);
    ASSERT_NE(sink, nullptr);
    EXPECT_STREQ(source->GetDeviceName(), "Source");
    CComPtr<IPin> connected;
    ASSERT_EQ(source->FindPin("Out")->GetPin()->ConnectedTo(&connected), S_OK);
    EXPECT_EQ(connected.p, sink->FindPin("In")->GetPin());

    // Attaching again wraps nothing twice.
    graph.AttachAllFilters();
    int wrappers = 0;
    for (CRootFilter* wrapper = graph.GetFilterList(); wrapper != nullptr; wrapper = wrapper->GetNext()) ++wrappers;
    EXPECT_EQ(wrappers, 2);
}
