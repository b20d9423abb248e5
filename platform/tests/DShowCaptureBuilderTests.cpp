// The capture graph builder: pins by category and type, interfaces up and down the graph, a
// card's upstream devices brought in, rendering a capture stream.
#include "DShowTestFilters.h"
#include "platform/dshow/CrossbarMixin.h"
#include "platform/dshow/StreamConfigMixin.h"
#include "platform/dshow/TVAudioMixin.h"
#include "platform/dshow/TVTunerMixin.h"
#include "platform/dshow/With.h"

using namespace dshowtest;
using platform::dshow::With;

namespace {

MediaType AnalogVideo() { return MediaType(MEDIATYPE_AnalogVideo, GUID_NULL); }
MediaType AnalogAudio() { return MediaType(MEDIATYPE_AnalogAudio, GUID_NULL); }

struct Tuner : With<FilterBase, platform::dshow::TVTunerMixin> {
    Tuner() : With(CLSID_TestFilter) {
        AddPin(Out(L"Analog Video", {AnalogVideo()}));
        AddPin(Out(L"Analog Audio", {AnalogAudio()}));
    }
};

struct TvAudio : With<FilterBase, platform::dshow::TVAudioMixin> {
    TvAudio() : With(CLSID_TestFilter) {
        AddPin(In(L"TVAudio In", {AnalogAudio()}));
        AddPin(Out(L"TVAudio Out", {AnalogAudio()}));
    }
};

struct Crossbar : With<FilterBase, platform::dshow::CrossbarMixin> {
    Crossbar() : With(CLSID_TestFilter) {
        AddPin(In(L"Video Tuner In", {AnalogVideo()}));
        AddPin(In(L"Video Composite In", {AnalogVideo()}));
        AddPin(In(L"Audio Tuner In", {AnalogAudio()}));
        AddPin(Out(L"Video Decoder Out", {AnalogVideo()}));
        AddPin(Out(L"Audio Decoder Out", {AnalogAudio()}));
        ConfigureCrossbar({{PhysConn_Video_Tuner, 2}, {PhysConn_Video_Composite, -1}, {PhysConn_Audio_Tuner, 0}},
                          {{PhysConn_Video_VideoDecoder, 1}, {PhysConn_Audio_AudioDecoder, 0}}, {0, 2});
    }
};

struct Capture : FilterBase {
    Capture() : FilterBase(CLSID_TestFilter) {
        AddPin(In(L"Analog Video In", {AnalogVideo()}));
        CComPtr<PinBase> capture;
        VIDEO_STREAM_CONFIG_CAPS caps = {};
        caps.guid = FORMAT_VideoInfo;
        caps.VideoStandard = AnalogVideo_PAL_D;
        capture.Attach(new platform::dshow::StreamConfigPin(
            this, Out(L"Capture", {}, PIN_CATEGORY_CAPTURE),
            {platform::dshow::StreamCapability::Video(Yuy2(), caps),
             platform::dshow::StreamCapability::Video(platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 352, 288, 16),
                                                      caps)}));
        AddPin(capture);
        AddPin(Out(L"Preview", {Yuy2()}, PIN_CATEGORY_PREVIEW));
    }
};

template <class T>
platform::DeviceFilterFactory Factory() {
    return [](REFIID riid, void** ppv) { return platform::CreateComObject<T>(riid, ppv); };
}

class CaptureBuilder : public DShowTest {
protected:
    CComPtr<IGraphBuilder> graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    CComPtr<ICaptureGraphBuilder2> builder = Create<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2);
    platform::DeviceId tuner = 0, tvAudio = 0, crossbar = 0, capture = 0;

    void SetUp() override {
        ASSERT_EQ(builder->SetFiltergraph(graph), S_OK);
        tuner = platform::AddDevice({KSCATEGORY_TVTUNER, L"713x BDA Analog TvTuner", Factory<Tuner>()});
        tvAudio = platform::AddDevice({KSCATEGORY_TVAUDIO, L"713x BDA Analog TvAudio", Factory<TvAudio>(),
                                       {{tuner, L"Analog Audio", L"TVAudio In"}}});
        crossbar = platform::AddDevice({AM_KSCATEGORY_CROSSBAR, L"713x BDA Analog Xbar", Factory<Crossbar>(),
                                        {{tuner, L"Analog Video", L"Video Tuner In"},
                                         {tvAudio, L"TVAudio Out", L"Audio Tuner In"}}});
        capture = platform::AddDevice({CLSID_VideoInputDeviceCategory, L"713x BDA Analog Capture", Factory<Capture>(),
                                       {{crossbar, L"Video Decoder Out", L"Analog Video In"}}});
    }

    CComPtr<IBaseFilter> AddDevice(platform::DeviceId id, const wchar_t* name) {
        CComPtr<IBaseFilter> filter;
        EXPECT_EQ(platform::BindDevice(id, IID_IBaseFilter, reinterpret_cast<void**>(&filter)), S_OK);
        EXPECT_EQ(graph->AddFilter(filter, name), S_OK);
        return filter;
    }

    CComPtr<IBaseFilter> InGraph(const wchar_t* name) {
        CComPtr<IBaseFilter> filter;
        graph->FindFilterByName(name, &filter);
        return filter;
    }
};

TEST_F(CaptureBuilder, FindsTheOutputPinOfACategoryAndMajorType) {
    auto card = AddDevice(capture, L"Card");
    CComPtr<IPin> pin;
    ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, card, IID_IPin,
                                     reinterpret_cast<void**>(&pin)),
              S_OK);
    EXPECT_EQ(pin, PinOf(card, L"Capture"));
    pin.Release();
    EXPECT_EQ(builder->FindInterface(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, card, IID_IPin,
                                     reinterpret_cast<void**>(&pin)),
              S_OK);
    EXPECT_EQ(pin, PinOf(card, L"Preview"));
    pin.Release();
    EXPECT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, card, IID_IPin,
                                     reinterpret_cast<void**>(&pin)),
              E_FAIL)
        << "the card's capture pin carries no interleaved stream";

    CComPtr<IAMStreamConfig> config;
    ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, card, IID_IAMStreamConfig,
                                     reinterpret_cast<void**>(&config)),
              S_OK);
    EXPECT_EQ(As<IPin>(config), PinOf(card, L"Capture")) << "the capture pin's own stream configuration";
}

TEST_F(CaptureBuilder, LookingUpstreamBringsTheCardsCrossbarTunerAndTvAudioIntoTheGraph) {
    auto card = AddDevice(capture, L"Card");
    CComPtr<IAMTVTuner> tv;
    ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, card, IID_IAMTVTuner,
                                     reinterpret_cast<void**>(&tv)),
              S_OK);
    auto xbar = InGraph(L"713x BDA Analog Xbar");
    auto tunerFilter = InGraph(L"713x BDA Analog TvTuner");
    auto audio = InGraph(L"713x BDA Analog TvAudio");
    ASSERT_TRUE(xbar && tunerFilter && audio);
    EXPECT_EQ(As<IBaseFilter>(tv), tunerFilter);
    EXPECT_EQ(PeerOf(PinOf(card, L"Analog Video In")), PinOf(xbar, L"Video Decoder Out"));
    EXPECT_EQ(PeerOf(PinOf(xbar, L"Video Tuner In")), PinOf(tunerFilter, L"Analog Video"));
    EXPECT_EQ(PeerOf(PinOf(xbar, L"Audio Tuner In")), PinOf(audio, L"TVAudio Out"));
    EXPECT_EQ(PeerOf(PinOf(audio, L"TVAudio In")), PinOf(tunerFilter, L"Analog Audio"));
    EXPECT_FALSE(PeerOf(PinOf(xbar, L"Video Composite In")));

    // A second search finds what is there and brings nothing in twice.
    CComPtr<IAMCrossbar> routes;
    CComPtr<IAMTVAudio> tvAudioControl;
    EXPECT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, card, IID_IAMCrossbar,
                                     reinterpret_cast<void**>(&routes)),
              S_OK);
    EXPECT_EQ(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, card, IID_IAMTVAudio,
                                     reinterpret_cast<void**>(&tvAudioControl)),
              S_OK);
    for (auto id : {tuner, tvAudio, crossbar}) EXPECT_EQ(platform::DeviceBindCount(id), 1);
}

TEST_F(CaptureBuilder, AnUpstreamDeviceTheApplicationAddedIsReused) {
    auto xbar = AddDevice(crossbar, L"Crossbar");
    auto card = AddDevice(capture, L"Card");
    CComPtr<IAMCrossbar> routes;
    ASSERT_EQ(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, card, IID_IAMCrossbar,
                                     reinterpret_cast<void**>(&routes)),
              S_OK);
    EXPECT_EQ(As<IBaseFilter>(routes), xbar);
    EXPECT_EQ(platform::DeviceBindCount(crossbar), 1);
    EXPECT_FALSE(InGraph(L"713x BDA Analog Xbar"));
}

TEST_F(CaptureBuilder, SearchesThatFindNothingAnswerNoInterface) {
    auto card = AddDevice(capture, L"Card");
    CComPtr<IFileSinkFilter> sink;
    EXPECT_EQ(builder->FindInterface(&LOOK_DOWNSTREAM_ONLY, nullptr, card, IID_IFileSinkFilter,
                                     reinterpret_cast<void**>(&sink)),
              E_NOINTERFACE);
    EXPECT_FALSE(InGraph(L"713x BDA Analog Xbar")) << "a downstream search brings no upstream device in";

    auto writer = Create<IBaseFilter>(CLSID_Dump);
    graph->AddFilter(writer, L"Dump Filter");
    ASSERT_EQ(graph->Connect(PinOf(card, L"Preview"), PinOf(writer, L"Input")), S_OK);
    EXPECT_EQ(builder->FindInterface(&LOOK_DOWNSTREAM_ONLY, nullptr, card, IID_IFileSinkFilter,
                                     reinterpret_cast<void**>(&sink)),
              S_OK);
    EXPECT_EQ(As<IBaseFilter>(sink), writer);
}

TEST_F(CaptureBuilder, FindInterfaceNeedsAGraphAndCanBeMadeToFail) {
    auto card = AddDevice(capture, L"Card");
    auto lonely = Create<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2);
    CComPtr<IPin> pin;
    EXPECT_EQ(lonely->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, card, IID_IPin,
                                    reinterpret_cast<void**>(&pin)),
              E_UNEXPECTED);
    EXPECT_EQ(builder->SetFiltergraph(graph), E_UNEXPECTED) << "the graph is given once";
    platform::InjectFailure("ICaptureGraphBuilder2::FindInterface");
    EXPECT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, card, IID_IPin,
                                     reinterpret_cast<void**>(&pin)),
              E_FAIL);
}

TEST_F(CaptureBuilder, FindPinPicksByDirectionCategoryAndConnection) {
    auto card = AddDevice(capture, L"Card");
    CComPtr<IPin> pin;
    EXPECT_EQ(builder->FindPin(card, PINDIR_OUTPUT, nullptr, nullptr, FALSE, 1, &pin), S_OK);
    EXPECT_EQ(pin, PinOf(card, L"Preview"));
    pin.Release();
    EXPECT_EQ(builder->FindPin(card, PINDIR_OUTPUT, &PIN_CATEGORY_PREVIEW, nullptr, FALSE, 1, &pin), E_FAIL);
    EXPECT_EQ(builder->FindPin(PinOf(card, L"Capture"), PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, nullptr, TRUE, 0, &pin),
              S_OK);
}

TEST_F(CaptureBuilder, RenderStreamConnectsTheCapturePinToARendererAndBringsTheCardsDevicesIn) {
    auto card = AddDevice(capture, L"Card");
    auto renderer = Create<IBaseFilter>(CLSID_VideoMixingRenderer9);
    graph->AddFilter(renderer, L"VMR");
    ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, card, nullptr, renderer), S_OK);
    EXPECT_EQ(PeerOf(PinOf(card, L"Capture")), PinOf(renderer, L"VMR Input0"));
    EXPECT_TRUE(InGraph(L"713x BDA Analog TvTuner"));
    ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, card, nullptr, nullptr), S_OK);
    EXPECT_TRUE(InGraph(L"Video Renderer"));
}

}  // namespace
