// The filter graph manager: joining filters, connecting, rendering, running, and the refusals
// the system relies on.
#include "DShowTestFilters.h"
#include "platform/comservices.h"
#include "platform/dshow/GraphFilters.h"
#include "platform/runtime.h"

using namespace dshowtest;

namespace {

class Graph : public DShowTest {
protected:
    CComPtr<IGraphBuilder> graph = Create<IGraphBuilder>(CLSID_FilterGraph);

    // A source with one YUY2 output and a sink that takes any video, joined and connected.
    void ConnectedPair(CComPtr<IBaseFilter>& source, CComPtr<IBaseFilter>& sink) {
        source = MakeFilter({Out(L"Capture", {Yuy2()})});
        sink = MakeFilter({In(L"In", {AnyVideo()})});
        ASSERT_EQ(graph->AddFilter(source, L"Source"), S_OK);
        ASSERT_EQ(graph->AddFilter(sink, L"Sink"), S_OK);
        ASSERT_EQ(graph->Connect(PinOf(source, L"Capture"), PinOf(sink, L"In")), S_OK);
    }
};

TEST_F(Graph, AnswersEveryInterfaceOfTheManagerFromOneObject) {
    for (const IID* iid : {&IID_IFilterGraph2, &IID_IMediaControl, &IID_IMediaEventEx, &IID_IVideoWindow,
                           &IID_IMediaSeeking, &IID_IBasicVideo, &IID_IAMGraphStreams, &IID_IPersistStream}) {
        CComPtr<IUnknown> itf;
        EXPECT_EQ(graph->QueryInterface(*iid, reinterpret_cast<void**>(&itf)), S_OK) << platform::FormatGuid(*iid);
    }
    // The control interface answers IBasicVideo too, as the graph library asks it there.
    EXPECT_TRUE(As<IBasicVideo>(As<IMediaControl>(graph)));
}

TEST_F(Graph, DuplicateNameIsRenamedAndAnsweredWithDuplicateName) {
    auto a = MakeFilter({});
    auto b = MakeFilter({});
    auto c = MakeFilter({});
    EXPECT_EQ(graph->AddFilter(a, L"Capture"), S_OK);
    EXPECT_EQ(graph->AddFilter(b, L"Capture"), VFW_S_DUPLICATE_NAME);
    EXPECT_EQ(graph->AddFilter(c, L"Capture"), VFW_S_DUPLICATE_NAME);
    EXPECT_EQ(FilterName(a), L"Capture");
    EXPECT_EQ(FilterName(b), L"Capture 0001");
    EXPECT_EQ(FilterName(c), L"Capture 0002");
    CComPtr<IBaseFilter> found;
    EXPECT_EQ(graph->FindFilterByName(L"Capture 0001", &found), S_OK);
    EXPECT_EQ(found, b);
    EXPECT_EQ(graph->AddFilter(a, L"Again"), E_INVALIDARG) << "a filter joins a graph once";
}

TEST_F(Graph, LongNamesAreCutToTheNameField) {
    auto a = MakeFilter({});
    auto b = MakeFilter({});
    std::wstring longName(200, L'x');
    EXPECT_EQ(graph->AddFilter(a, longName.c_str()), S_OK);
    EXPECT_EQ(graph->AddFilter(b, longName.c_str()), VFW_S_DUPLICATE_NAME);
    EXPECT_EQ(FilterName(a), std::wstring(127, L'x'));
    EXPECT_EQ(FilterName(b), std::wstring(122, L'x') + L" 0001");
}

TEST_F(Graph, EnumFiltersListsFiltersInJoinOrderAndRemoveFilterLeavesTheGraph) {
    CComPtr<IBaseFilter> source, sink;
    ConnectedPair(source, sink);
    CComPtr<IEnumFilters> e;
    ASSERT_EQ(graph->EnumFilters(&e), S_OK);
    IBaseFilter* listed[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(e->Next(3, listed, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(listed[0], source);
    EXPECT_EQ(listed[1], sink);
    listed[0]->Release();
    listed[1]->Release();

    EXPECT_EQ(graph->RemoveFilter(sink), S_OK);
    EXPECT_FALSE(PeerOf(PinOf(source, L"Capture"))) << "both ends are disconnected";
    EXPECT_EQ(FilterName(sink), L"");
    FILTER_INFO info;
    sink->QueryFilterInfo(&info);
    EXPECT_EQ(info.pGraph, nullptr);
    EXPECT_EQ(graph->RemoveFilter(sink), VFW_E_NOT_FOUND);
}

TEST_F(Graph, ConnectNegotiatesADirectConnectionWithTheOutputsType) {
    CComPtr<IBaseFilter> source, sink;
    ConnectedPair(source, sink);
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(PinOf(sink, L"In")->ConnectionMediaType(&mt), S_OK);
    EXPECT_TRUE(MediaType(mt) == Yuy2());
    FreeMediaType(mt);
    EXPECT_EQ(PeerOf(PinOf(sink, L"In")), PinOf(source, L"Capture"));
    EXPECT_EQ(graph->Connect(PinOf(source, L"Capture"), PinOf(sink, L"In")), VFW_E_ALREADY_CONNECTED);
}

TEST_F(Graph, ConnectRefusesPinsOfFiltersOutsideTheGraph) {
    auto source = MakeFilter({Out(L"Out", {Yuy2()})});
    auto sink = MakeFilter({In(L"In")});
    ASSERT_EQ(graph->AddFilter(source, L"Source"), S_OK);
    EXPECT_EQ(graph->Connect(PinOf(source, L"Out"), PinOf(sink, L"In")), VFW_E_NOT_IN_GRAPH);
}

TEST_F(Graph, ConnectInsertsTheRegisteredConverterBetweenPinsThatDoNotConnectDirectly) {
    auto source = MakeFilter({Out(L"Capture", {Yuy2()})});
    auto sink = MakeFilter({In(L"In", {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB24)})});
    ASSERT_EQ(graph->AddFilter(source, L"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(sink, L"Sink"), S_OK);
    ASSERT_EQ(graph->Connect(PinOf(source, L"Capture"), PinOf(sink, L"In")), S_OK);

    CComPtr<IPin> upstream = PeerOf(PinOf(sink, L"In"));
    ASSERT_TRUE(upstream);
    PIN_INFO info;
    upstream->QueryPinInfo(&info);
    CComPtr<IBaseFilter> middle;
    middle.Attach(info.pFilter);
    CLSID clsid;
    middle->GetClassID(&clsid);
    EXPECT_EQ(clsid, CLSID_Colour);
    EXPECT_EQ(FilterName(middle), L"Color Space Converter");
    EXPECT_EQ(PeerOf(PinOf(source, L"Capture")), PinOf(middle, L"Input"));
    AM_MEDIA_TYPE mt;
    upstream->ConnectionMediaType(&mt);
    EXPECT_EQ(mt.subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader.biWidth, 720);
    FreeMediaType(mt);
}

TEST_F(Graph, ConnectFailsAndLeavesNoConverterBehindWhenNothingBridgesTheTypes) {
    auto source = MakeFilter({Out(L"Capture", {Yuy2()})});
    auto sink = MakeFilter({In(L"In", {MediaType(MEDIATYPE_Audio, GUID_NULL)})});
    ASSERT_EQ(graph->AddFilter(source, L"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(sink, L"Sink"), S_OK);
    EXPECT_EQ(graph->Connect(PinOf(source, L"Capture"), PinOf(sink, L"In")), VFW_E_CANNOT_CONNECT);
    CComPtr<IBaseFilter> converter;
    EXPECT_EQ(graph->FindFilterByName(L"Color Space Converter", &converter), VFW_E_NOT_FOUND);
    EXPECT_FALSE(PeerOf(PinOf(source, L"Capture")));
}

TEST_F(Graph, ConverterRegisteredByATestIsTriedByMerit) {
    // A filter class that turns YUY2 into a private subtype; the sink takes only that subtype.
    static const GUID kPrivate = platform::FourCCGuid(MAKEFOURCC('T', 'E', 'S', 'T'));
    static const CLSID kConverter = {0x7E57F117, 0x0002, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 2}};
    struct Converter : FilterBase {
        Converter() : FilterBase(kConverter) {
            AddPin(In(L"In", {Yuy2()}));
            AddPin(Out(L"Out", {MediaType(MEDIATYPE_Video, kPrivate)}));
        }
    };
    DWORD cookie = platform::RegisterComClass(kConverter, platform::ComCreatorOf<Converter>());
    DWORD entry = platform::dshow::RegisterGraphFilter(
        {kConverter, L"Private Converter", platform::dshow::GraphFilterRole::Intermediate, 0x900000});

    auto source = MakeFilter({Out(L"Capture", {Yuy2()})});
    auto sink = MakeFilter({In(L"In", {MediaType(MEDIATYPE_Video, kPrivate)})});
    graph->AddFilter(source, L"Source");
    graph->AddFilter(sink, L"Sink");
    EXPECT_EQ(graph->Connect(PinOf(source, L"Capture"), PinOf(sink, L"In")), S_OK);
    CComPtr<IBaseFilter> converter;
    EXPECT_EQ(graph->FindFilterByName(L"Private Converter", &converter), S_OK);

    platform::dshow::UnregisterGraphFilter(entry);
    platform::UnregisterComClass(cookie);
}

TEST_F(Graph, DisconnectOfOnePinIsRefusedWhileTheGraphRunsOrIsPaused) {
    CComPtr<IBaseFilter> source, sink;
    ConnectedPair(source, sink);
    auto control = As<IMediaControl>(graph);
    CComPtr<IPin> out = PinOf(source, L"Capture");

    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_EQ(graph->Disconnect(out), VFW_E_NOT_STOPPED);
    ASSERT_EQ(control->Pause(), S_OK);
    EXPECT_EQ(graph->Disconnect(out), VFW_E_NOT_STOPPED);
    EXPECT_EQ(graph->RemoveFilter(sink), VFW_E_NOT_STOPPED);
    ASSERT_EQ(control->Stop(), S_OK);

    // Disconnect breaks only the pin it is given; the other end stays until told.
    EXPECT_EQ(graph->Disconnect(out), S_OK);
    EXPECT_FALSE(PeerOf(out));
    EXPECT_EQ(PeerOf(PinOf(sink, L"In")), out);
    EXPECT_EQ(graph->Disconnect(PinOf(sink, L"In")), S_OK);
    EXPECT_EQ(graph->Disconnect(out), S_FALSE) << "nothing left to disconnect";
}

TEST_F(Graph, RunPauseAndStopMoveEveryFilterAndAFilterThatRefusesRunStopsThemAll) {
    TestFilter* refusing = nullptr;
    auto a = MakeFilter({});
    auto b = MakeFilter({}, &refusing);
    graph->AddFilter(a, L"A");
    graph->AddFilter(b, L"B");
    auto control = As<IMediaControl>(graph);
    FILTER_STATE state;
    OAFilterState graphState;

    ASSERT_EQ(control->Run(), S_OK);
    a->GetState(0, &state);
    EXPECT_EQ(state, State_Running);
    control->GetState(0, &graphState);
    EXPECT_EQ(graphState, State_Running);
    ASSERT_EQ(control->Pause(), S_OK);
    b->GetState(0, &state);
    EXPECT_EQ(state, State_Paused);
    ASSERT_EQ(control->Stop(), S_OK);
    a->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);

    refusing->runResult = E_FAIL;
    EXPECT_EQ(control->Run(), E_FAIL);
    a->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);
    control->GetState(0, &graphState);
    EXPECT_EQ(graphState, State_Stopped);
}

TEST_F(Graph, RenderEndsAVideoStreamInANewVideoRenderer) {
    auto source = MakeFilter({Out(L"Capture", {Yuy2()})});
    graph->AddFilter(source, L"Source");
    ASSERT_EQ(graph->Render(PinOf(source, L"Capture")), S_OK);
    CComPtr<IBaseFilter> renderer;
    ASSERT_EQ(graph->FindFilterByName(L"Video Renderer", &renderer), S_OK);
    EXPECT_EQ(PeerOf(PinOf(source, L"Capture")), PinOf(renderer, L"Input"));

    long width = 0, height = 0;
    EXPECT_EQ(As<IBasicVideo>(graph)->GetVideoSize(&width, &height), S_OK);
    EXPECT_EQ(width, 720);
    EXPECT_EQ(height, 576);
}

TEST_F(Graph, RenderExToExistingRenderersUsesTheRendererAlreadyInTheGraph) {
    auto source = MakeFilter({Out(L"Audio", {platform::dshow::PcmAudioType(2, 48000, 16)})});
    auto speaker = Create<IBaseFilter>(CLSID_DSoundRender);
    graph->AddFilter(source, L"Source");
    graph->AddFilter(speaker, L"Default sound");
    auto graph2 = As<IFilterGraph2>(graph);
    ASSERT_EQ(graph2->RenderEx(PinOf(source, L"Audio"), AM_RENDEREX_RENDERTOEXISTINGRENDERERS, nullptr), S_OK);
    EXPECT_TRUE(PeerOf(PinOf(speaker, L"Audio Input pin (rendered)")));

    auto other = MakeFilter({Out(L"Video", {Yuy2()})});
    graph->AddFilter(other, L"Other");
    EXPECT_EQ(graph2->RenderEx(PinOf(other, L"Video"), AM_RENDEREX_RENDERTOEXISTINGRENDERERS, nullptr),
              VFW_E_CANNOT_RENDER)
        << "no renderer in the graph takes video";
}

TEST_F(Graph, InjectedFailuresReachTheCaller) {
    CComPtr<IBaseFilter> source, sink;
    ConnectedPair(source, sink);
    auto control = As<IMediaControl>(graph);
    platform::InjectFailure("IMediaControl::Run", 1, E_UNEXPECTED);
    EXPECT_EQ(control->Run(), E_UNEXPECTED);
    OAFilterState state;
    control->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);

    graph->Disconnect(PinOf(source, L"Capture"));
    graph->Disconnect(PinOf(sink, L"In"));
    platform::InjectFailure("IGraphBuilder::Connect");
    EXPECT_EQ(graph->Connect(PinOf(source, L"Capture"), PinOf(sink, L"In")), VFW_E_CANNOT_CONNECT);
    EXPECT_EQ(graph->Connect(PinOf(source, L"Capture"), PinOf(sink, L"In")), S_OK);

    platform::InjectFailure("QueryInterface:IMediaEventEx");
    EXPECT_FALSE(As<IMediaEventEx>(graph));
    platform::InjectFailure("CoCreateInstance:" + platform::FormatGuid(CLSID_FilterGraph));
    CComPtr<IGraphBuilder> second;
    EXPECT_TRUE(FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                        reinterpret_cast<void**>(&second))));
}

TEST_F(Graph, VideoWindowAndSeekingStateIsGivenBackAsSet) {
    auto window = As<IVideoWindow>(graph);
    EXPECT_EQ(window->put_Owner(OAHWND(0x1234)), S_OK);
    EXPECT_EQ(window->put_WindowStyle(0x44000000), S_OK);
    EXPECT_EQ(window->SetWindowPosition(10, 20, 320, 240), S_OK);
    EXPECT_EQ(window->put_Visible(OATRUE), S_OK);
    OAHWND owner = 0;
    long style = 0, visible = 0, l, t, w, h;
    window->get_Owner(&owner);
    window->get_WindowStyle(&style);
    window->get_Visible(&visible);
    window->GetWindowPosition(&l, &t, &w, &h);
    EXPECT_EQ(owner, OAHWND(0x1234));
    EXPECT_EQ(style, 0x44000000);
    EXPECT_EQ(visible, OATRUE);
    EXPECT_EQ(std::vector<long>({l, t, w, h}), std::vector<long>({10, 20, 320, 240}));

    auto seeking = As<IMediaSeeking>(graph);
    LONGLONG position = 5000000, stop = 0;
    EXPECT_EQ(seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    position = 0;
    seeking->GetCurrentPosition(&position);
    seeking->GetStopPosition(&stop);
    EXPECT_EQ(position, 5000000);
    EXPECT_EQ(stop, 0);
    EXPECT_EQ(seeking->SetRate(0.0), E_INVALIDARG);
    EXPECT_EQ(seeking->SetRate(2.0), S_OK);
    double rate = 0;
    seeking->GetRate(&rate);
    EXPECT_EQ(rate, 2.0);
}

TEST_F(Graph, CurrentImageIsABitmapOfTheRenderedVideosSize) {
    auto source = MakeFilter({Out(L"Capture", {platform::dshow::VideoInfoType(MEDIASUBTYPE_RGB24, 8, 4, 24)})});
    graph->AddFilter(source, L"Source");
    auto basic = As<IBasicVideo>(graph);
    long size = 0;
    EXPECT_EQ(basic->GetCurrentImage(&size, nullptr), VFW_E_NOT_CONNECTED);
    ASSERT_EQ(graph->Render(PinOf(source, L"Capture")), S_OK);
    ASSERT_EQ(basic->GetCurrentImage(&size, nullptr), S_OK);
    EXPECT_EQ(size, 40 + 8 * 4 * 3);
    std::vector<long> image(size / sizeof(long) + 1);
    long small = 10;
    EXPECT_EQ(basic->GetCurrentImage(&small, image.data()), E_OUTOFMEMORY);
    ASSERT_EQ(basic->GetCurrentImage(&size, image.data()), S_OK);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(image.data());
    EXPECT_EQ(header->biWidth, 8);
    EXPECT_EQ(header->biSizeImage, 96u);
}

}  // namespace
