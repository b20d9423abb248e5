// The interfaces the drivers' filters and the system filters mix in: crossbar routing, stream
// formats, tuner, TV audio, decoder and picture controls, file names, the overlay mixer's
// input and the sample grabber.
#include "DShowTestFilters.h"
#include "mpconfig.h"
#include "platform/dshow/AnalogVideoDecoderMixin.h"
#include "platform/dshow/AudioInputMixerMixin.h"
#include "platform/dshow/CrossbarMixin.h"
#include "platform/dshow/StreamConfigMixin.h"
#include "platform/dshow/TVAudioMixin.h"
#include "platform/dshow/TVTunerMixin.h"
#include "platform/dshow/VideoProcAmpMixin.h"
#include "platform/dshow/With.h"

using namespace dshowtest;
using namespace platform::dshow;

namespace {

// A capture device with everything a card's capture filter offers, and a driver that
// refuses what its hardware cannot do.
struct Card : With<FilterBase, CrossbarMixin, TVTunerMixin, TVAudioMixin, AnalogVideoDecoderMixin, VideoProcAmpMixin> {
    Card() : With(CLSID_TestFilter) {
        ConfigureCrossbar({{PhysConn_Video_Tuner, 3}, {PhysConn_Video_Composite, -1}, {PhysConn_Video_SVideo, -1},
                           {PhysConn_Audio_Tuner, 0}, {PhysConn_Audio_Line, -1}},
                          {{PhysConn_Video_VideoDecoder, 1}, {PhysConn_Audio_AudioDecoder, 0}}, {0, 3});
        AnalogVideoDecoderMixin::SetTVFormats(AnalogVideo_PAL_D | AnalogVideo_PAL_B | AnalogVideo_NTSC_M,
                                              AnalogVideo_PAL_D);
        TVTunerMixin::SetTVFormats(AnalogVideo_PAL_D | AnalogVideo_NTSC_M, AnalogVideo_PAL_D);
        SetAvailableModes(AMTUNER_MODE_TV | AMTUNER_MODE_FM_RADIO);
        SetProcAmpRange(VideoProcAmp_Brightness, {0, 255, 1, 128});
    }
    long locked = 1;
    long refusedRoute = -1;

protected:
    HRESULT OnRoute(long output, long input) override { return input == refusedRoute ? E_FAIL : S_OK; }
    HRESULT HorizontalLocked(long* value) override {
        *value = locked;
        return S_OK;
    }
    HRESULT OnChannel(long channel, long, long) override { return channel == 13 ? E_FAIL : S_OK; }
};

class Mixins : public DShowTest {
protected:
    Card* card = new Card;
    CComPtr<IBaseFilter> filter = Own(card);

    static CComPtr<IBaseFilter> Own(IBaseFilter* f) {
        CComPtr<IBaseFilter> p;
        p.Attach(f);
        return p;
    }
};

TEST_F(Mixins, CrossbarRoutesVideoToVideoAndAudioToAudioWithinItsPins) {
    auto xbar = As<IAMCrossbar>(filter);
    ASSERT_TRUE(xbar);
    long outputs = 0, inputs = 0;
    EXPECT_EQ(xbar->get_PinCounts(&outputs, &inputs), S_OK);
    EXPECT_EQ(outputs, 2);
    EXPECT_EQ(inputs, 5);
    EXPECT_EQ(xbar->CanRoute(0, 2), S_OK);
    EXPECT_EQ(xbar->CanRoute(0, 4), S_FALSE) << "audio does not go to the video output";
    EXPECT_EQ(xbar->Route(0, 2), S_OK);
    EXPECT_EQ(xbar->Route(1, 1), E_FAIL);
    EXPECT_EQ(xbar->Route(0, 5), E_INVALIDARG);
    EXPECT_EQ(xbar->Route(2, 0), E_INVALIDARG);
    long routed = -2;
    xbar->get_IsRoutedTo(0, &routed);
    EXPECT_EQ(routed, 2);
    card->refusedRoute = 1;
    EXPECT_EQ(xbar->Route(0, 1), E_FAIL);
    xbar->get_IsRoutedTo(0, &routed);
    EXPECT_EQ(routed, 2) << "a route the driver refuses changes nothing";
    long related = 0, type = 0;
    EXPECT_EQ(xbar->get_CrossbarPinInfo(TRUE, 0, &related, &type), S_OK);
    EXPECT_EQ(related, 3);
    EXPECT_EQ(type, PhysConn_Video_Tuner);
    EXPECT_EQ(xbar->Route(1, -1), S_OK);
    xbar->get_IsRoutedTo(1, &routed);
    EXPECT_EQ(routed, -1);
}

TEST_F(Mixins, DecoderTakesOnlyAvailableStandardsAndReportsTheDriversLock) {
    auto decoder = As<IAMAnalogVideoDecoder>(filter);
    EXPECT_EQ(decoder->put_TVFormat(AnalogVideo_NTSC_M), S_OK);
    long format = 0, lines = 0, locked = -1;
    decoder->get_TVFormat(&format);
    decoder->get_NumberOfLines(&lines);
    EXPECT_EQ(format, AnalogVideo_NTSC_M);
    EXPECT_EQ(lines, 525);
    EXPECT_EQ(decoder->put_TVFormat(AnalogVideo_SECAM_L), E_INVALIDARG);
    EXPECT_EQ(decoder->put_TVFormat(AnalogVideo_PAL_D | AnalogVideo_PAL_B), E_INVALIDARG) << "one standard at a time";
    card->locked = 0;
    EXPECT_EQ(decoder->get_HorizontalLocked(&locked), S_OK);
    EXPECT_EQ(locked, 0);
    platform::InjectFailure("IAMAnalogVideoDecoder::get_HorizontalLocked");
    locked = 7;
    EXPECT_EQ(decoder->get_HorizontalLocked(&locked), E_FAIL);
    EXPECT_EQ(locked, 7);
}

TEST_F(Mixins, TunerKeepsChannelModeAndCountryAndTheDriverCanRefuseAChannel) {
    auto tuner = As<IAMTVTuner>(filter);
    ASSERT_TRUE(As<IAMTuner>(filter));
    EXPECT_EQ(tuner->put_Mode(AMTUNER_MODE_TV), S_OK);
    EXPECT_EQ(tuner->put_Mode(AMTUNER_MODE_DSS), E_INVALIDARG);
    EXPECT_EQ(tuner->put_Channel(1, 0, 0), S_OK);
    EXPECT_EQ(tuner->put_Channel(13, 0, 0), E_FAIL);
    long channel, v, a;
    tuner->get_Channel(&channel, &v, &a);
    EXPECT_EQ(channel, 1);
    EXPECT_EQ(tuner->put_CountryCode(86), S_OK);
    long country = 0;
    tuner->get_CountryCode(&country);
    EXPECT_EQ(country, 86);
}

TEST_F(Mixins, TvAudioTakesOnlyAvailableModes) {
    auto audio = As<IAMTVAudio>(filter);
    EXPECT_EQ(audio->put_TVAudioMode(AMTVAUDIO_MODE_MONO), S_OK);
    EXPECT_EQ(audio->put_TVAudioMode(AMTVAUDIO_MODE_LANG_B), E_INVALIDARG);
    long mode = 0;
    audio->get_TVAudioMode(&mode);
    EXPECT_EQ(mode, AMTVAUDIO_MODE_MONO);
}

TEST_F(Mixins, ProcAmpKeepsValuesWithinTheirRange) {
    auto amp = As<IAMVideoProcAmp>(filter);
    long value = 0, flags = 0;
    EXPECT_EQ(amp->Get(VideoProcAmp_Brightness, &value, &flags), S_OK);
    EXPECT_EQ(value, 128);
    EXPECT_EQ(amp->Set(VideoProcAmp_Brightness, 200, VideoProcAmp_Flags_Manual), S_OK);
    EXPECT_EQ(amp->Set(VideoProcAmp_Brightness, 256, VideoProcAmp_Flags_Manual), E_INVALIDARG);
    EXPECT_EQ(amp->Set(VideoProcAmp_Hue, 0, VideoProcAmp_Flags_Manual), E_PROP_ID_UNSUPPORTED);
    amp->Get(VideoProcAmp_Brightness, &value, &flags);
    EXPECT_EQ(value, 200);
}

TEST_F(Mixins, AudioInputMixerKeepsLevelsWithinTheirRange) {
    struct Line : With<PinBase, AudioInputMixerMixin> {
        using With::With;
    };
    auto* capture = new TestFilter({});
    CComPtr<IBaseFilter> owner = Own(capture);
    CComPtr<PinBase> pin;
    pin.Attach(new Line(capture, In(L"Line")));
    capture->AddPin(pin);
    auto mixer = As<IAMAudioInputMixer>(static_cast<IPin*>(pin.p));
    ASSERT_TRUE(mixer);
    EXPECT_EQ(mixer->put_Enable(FALSE), S_OK);
    EXPECT_EQ(mixer->put_MixLevel(0.25), S_OK);
    EXPECT_EQ(mixer->put_MixLevel(1.5), E_INVALIDARG);
    BOOL enabled = TRUE;
    double level = 0;
    mixer->get_Enable(&enabled);
    mixer->get_MixLevel(&level);
    EXPECT_FALSE(enabled);
    EXPECT_EQ(level, 0.25);
}

TEST_F(Mixins, StreamConfigSetsOnlyAFormatOfItsCapabilitiesAndThePinOffersIt) {
    auto capture = new TestFilter({});
    CComPtr<IBaseFilter> owner = Own(capture);
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = FORMAT_VideoInfo;
    CComPtr<PinBase> pin;
    pin.Attach(new StreamConfigPin(capture, Out(L"Capture", {}, PIN_CATEGORY_CAPTURE),
                                   {StreamCapability::Video(Yuy2(), caps),
                                    StreamCapability::Video(VideoInfoType(MEDIASUBTYPE_UYVY, 352, 288, 16), caps)}));
    capture->AddPin(pin);
    auto config = As<IAMStreamConfig>(static_cast<IPin*>(pin.p));
    ASSERT_TRUE(config);
    int count = 0, size = 0;
    config->GetNumberOfCapabilities(&count, &size);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(size, int(sizeof(VIDEO_STREAM_CONFIG_CAPS)));

    MediaType small = VideoInfoType(MEDIASUBTYPE_UYVY, 352, 288, 16);
    EXPECT_EQ(config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&small.Get())), S_OK);
    MediaType rgb = Rgb24();
    EXPECT_EQ(config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&rgb.Get())), VFW_E_INVALIDMEDIATYPE);
    AM_MEDIA_TYPE* current = nullptr;
    ASSERT_EQ(config->GetFormat(&current), S_OK);
    EXPECT_TRUE(MediaType(*current) == small);
    DeleteMediaType(current);
    ASSERT_EQ(pin->MediaTypes().size(), 1u);
    EXPECT_TRUE(pin->MediaTypes().front() == small) << "the pin offers the format set";
}

TEST_F(Mixins, StreamConfigReconnectsAConnectedPinWithTheNewFormatWhileStopped) {
    auto graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    auto* capture = new TestFilter({});
    CComPtr<IBaseFilter> owner = Own(capture);
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = FORMAT_VideoInfo;
    const MediaType small = VideoInfoType(MEDIASUBTYPE_UYVY, 352, 288, 16);
    CComPtr<PinBase> pin;
    pin.Attach(new StreamConfigPin(capture, Out(L"Capture", {}, PIN_CATEGORY_CAPTURE),
                                   {StreamCapability::Video(Yuy2(), caps), StreamCapability::Video(small, caps),
                                    StreamCapability::Video(Rgb24(), caps)}));
    capture->AddPin(pin);
    CComPtr<IBaseFilter> renderer = MakeFilter({In(L"In", {Yuy2(), small})});
    graph->AddFilter(owner, L"Capture");
    graph->AddFilter(renderer, L"Renderer");
    ASSERT_EQ(graph->Connect(pin, PinOf(renderer, L"In")), S_OK);
    auto config = As<IAMStreamConfig>(static_cast<IPin*>(pin.p));
    auto video = As<IBasicVideo>(graph);
    long width = 0;

    ASSERT_EQ(config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&small.Get())), S_OK);
    EXPECT_TRUE(pin->ConnectionType() == small);
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(PinOf(renderer, L"In")->ConnectionMediaType(&mt), S_OK);
    EXPECT_TRUE(MediaType(mt) == small) << "the far end took the new type too";
    FreeMediaType(mt);
    ASSERT_EQ(video->get_VideoWidth(&width), S_OK);
    EXPECT_EQ(width, 352);

    const MediaType rgb = Rgb24();
    EXPECT_EQ(config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&rgb.Get())), VFW_E_TYPE_NOT_ACCEPTED);
    EXPECT_TRUE(pin->ConnectionType() == small) << "a refused format leaves the connection as it was";

    ASSERT_EQ(As<IMediaControl>(graph)->Run(), S_OK);
    const MediaType yuy2 = Yuy2();
    EXPECT_EQ(config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&yuy2.Get())), VFW_E_NOT_STOPPED);
    EXPECT_TRUE(pin->ConnectionType() == small);
    ASSERT_EQ(As<IMediaControl>(graph)->Stop(), S_OK);
    ASSERT_EQ(config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&yuy2.Get())), S_OK);
    ASSERT_EQ(video->get_VideoWidth(&width), S_OK);
    EXPECT_EQ(width, 720);

    // A tee between follows the new format; when nothing after it takes it, the application hears.
    auto tee = Create<IBaseFilter>(CLSID_InfTee);
    graph->AddFilter(tee, L"Tee");
    ASSERT_EQ(graph->Disconnect(PinOf(renderer, L"In")), S_OK);
    ASSERT_EQ(graph->Disconnect(pin), S_OK);
    ASSERT_EQ(graph->Connect(pin, PinOf(tee, L"Input")), S_OK);
    ASSERT_EQ(graph->Connect(PinOf(tee, L"Output1"), PinOf(renderer, L"In")), S_OK);
    ASSERT_EQ(config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&rgb.Get())), S_OK);
    long code;
    LONG_PTR param1, param2;
    ASSERT_EQ(As<IMediaEvent>(graph)->GetEvent(&code, &param1, &param2, 0), S_OK);
    EXPECT_EQ(code, EC_ERRORABORT);
    EXPECT_EQ(HRESULT(param1), VFW_E_TYPE_NOT_ACCEPTED);
}

TEST_F(Mixins, FileWriterKeepsItsNameAndAnEmptyNameClearsIt) {
    auto writer = Create<IBaseFilter>(CLSID_FileWriter);
    auto sink = As<IFileSinkFilter2>(writer);
    ASSERT_TRUE(sink);
    EXPECT_EQ(sink->SetFileName(L"C:\\rec\\10_20_30.mpg", nullptr), S_OK);
    LPOLESTR name = nullptr;
    ASSERT_EQ(sink->GetCurFile(&name, nullptr), S_OK);
    EXPECT_STREQ(name, L"C:\\rec\\10_20_30.mpg");
    CoTaskMemFree(name);
    EXPECT_EQ(sink->SetFileName(nullptr, nullptr), S_OK);
    ASSERT_EQ(sink->GetCurFile(&name, nullptr), S_OK);
    EXPECT_EQ(name, nullptr);
    EXPECT_TRUE(As<IFileSinkFilter>(Create<IBaseFilter>(CLSID_Dump)));
}

TEST_F(Mixins, OverlayInputPinConfiguresColourControlsByFlag) {
    auto mixer = Create<IBaseFilter>(CLSID_OverlayMixer);
    auto config = As<IMixerPinConfig2>(PinOf(mixer, L"Input0"));
    ASSERT_TRUE(config);
    DDCOLORCONTROL colors = {};
    colors.dwSize = sizeof(colors);
    colors.dwFlags = DDCOLOR_HUE;
    colors.lHue = -90;
    colors.lBrightness = 1;  // not flagged: not set
    ASSERT_EQ(config->SetOverlaySurfaceColorControls(&colors), S_OK);
    DDCOLORCONTROL read = {};
    ASSERT_EQ(config->GetOverlaySurfaceColorControls(&read), S_OK);
    EXPECT_EQ(read.lHue, -90);
    EXPECT_EQ(read.lBrightness, 750);
    COLORKEY key = {CK_RGB, 0, RGB(255, 0, 255), RGB(255, 0, 255)};
    EXPECT_EQ(config->SetColorKey(&key), S_OK);
    COLORKEY back = {};
    DWORD color = 0;
    config->GetColorKey(&back, &color);
    EXPECT_EQ(back.LowColorValue, RGB(255, 0, 255));
    EXPECT_EQ(config->SetAspectRatioMode(AM_ARMODE_LETTER_BOX), S_OK);
    AM_ASPECT_RATIO_MODE mode;
    config->GetAspectRatioMode(&mode);
    EXPECT_EQ(mode, AM_ARMODE_LETTER_BOX);
}

TEST_F(Mixins, SampleGrabberTakesOnlyItsMediaTypeAndReportsTheConnectedOne) {
    auto graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    auto grabber = Create<IBaseFilter>(CLSID_SampleGrabber);
    auto control = As<ISampleGrabber>(grabber);
    MediaType wanted(MEDIATYPE_Video, MEDIASUBTYPE_RGB24);
    ASSERT_EQ(control->SetMediaType(&wanted.Get()), S_OK);
    auto yuv = MakeFilter({Out(L"Out", {Yuy2()})});
    auto rgb = MakeFilter({Out(L"Out", {Rgb24()})});
    graph->AddFilter(yuv, L"Yuv");
    graph->AddFilter(rgb, L"Rgb");
    graph->AddFilter(grabber, L"Grabber");
    AM_MEDIA_TYPE mt;
    EXPECT_EQ(control->GetConnectedMediaType(&mt), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(PinOf(yuv, L"Out")->Connect(PinOf(grabber, L"Input"), nullptr), VFW_E_NO_ACCEPTABLE_TYPES);
    ASSERT_EQ(graph->Connect(PinOf(rgb, L"Out"), PinOf(grabber, L"Input")), S_OK);
    ASSERT_EQ(control->GetConnectedMediaType(&mt), S_OK);
    EXPECT_EQ(mt.subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader.biBitCount, 24);
    FreeMediaType(mt);
    EXPECT_EQ(control->SetCallback(nullptr, 2), E_INVALIDARG);
    EXPECT_EQ(control->SetCallback(nullptr, 1), S_OK);
}

}  // namespace
