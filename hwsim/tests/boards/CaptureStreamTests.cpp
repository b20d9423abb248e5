// The capture filter's streams: what the crossbar's routes carry, at the standard's rate, in
// the formats its pins take.
#include <gtest/gtest.h>

#include <cmath>

#include "dshow.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/CardSignal.h"
#include "platform/devicetree.h"
#include "support/PluggedBench.h"
#include "support/StreamSink.h"

namespace hwsim {
namespace {

using platform::dshow::MediaType;

constexpr BYTE kWhiteLuma = 235;
constexpr BYTE kYellowLuma = 210;

class CaptureStreamTest : public PluggedBench {
protected:
    void SetUp() override {
        PluggedBench::SetUp();
        ASSERT_GE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), 0);
        Plug(R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 97, "encoder": true,
                            "composite": {"pattern": "colorBars", "toneHz": 1000}}],
                 "stations": [{"kHz": 49750}, {"kHz": 471250}]})");
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&graph)));
        capture = Bind<IBaseFilter>(devices->CaptureDevice(card()));
        ASSERT_EQ(S_OK, graph->AddFilter(capture, L"Capture"));
    }
    void TearDown() override {
        graph.Release();
        capture.Release();
        devices.reset();
        bench.reset();
        CoUninitialize();
        PluggedBench::TearDown();
    }
    Card& card() { return CardAt(0); }
    CComPtr<IAMAnalogVideoDecoder> Decoder() {
        CComPtr<IAMAnalogVideoDecoder> decoder;
        EXPECT_EQ(S_OK, capture->QueryInterface(IID_IAMAnalogVideoDecoder, reinterpret_cast<void**>(&decoder)));
        return decoder;
    }
    // Tunes the card's PLL to a picture carrier.
    void Tune(long kHz) {
        const WORD n = WORD((38900 + kHz) * 16 / 1000);
        const BYTE bytes[4] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x04};
        ASSERT_EQ(I2CResult::Ack, card().Bus().WriteRaw(0xC0, bytes, 4));
    }
    StreamSink* AddSink(const wchar_t* pin) {
        auto* sink = new StreamSink();
        CComPtr<IBaseFilter> filter;
        filter.Attach(sink);
        EXPECT_TRUE(SUCCEEDED(graph->AddFilter(filter, pin)));
        EXPECT_EQ(S_OK, graph->ConnectDirect(PinNamed(capture, pin), PinNamed(filter, L"In"), nullptr));
        return sink;
    }
    void Route(long video, long audio) {
        auto crossbar = Bind<IAMCrossbar>(devices->CrossbarDevice(card()));
        ASSERT_EQ(S_OK, crossbar->Route(0, video));
        ASSERT_EQ(S_OK, crossbar->Route(1, audio));
    }

    CComPtr<IGraphBuilder> graph;
    CComPtr<IBaseFilter> capture;
};

// Sign changes of the left channel: two a cycle.
int Crossings(const std::vector<BYTE>& pcm) {
    const auto* samples = reinterpret_cast<const int16_t*>(pcm.data());
    int crossings = 0;
    for (size_t i = 2; i < pcm.size() / 2; i += 2) crossings += (samples[i] >= 0) != (samples[i - 2] >= 0);
    return crossings;
}

TEST_F(CaptureStreamTest, TunerOnAStationStreamsItsBarsItsCodeAndItsTone) {
    Tune(471250);
    StreamSink* video = AddSink(L"Capture");
    StreamSink* audio = AddSink(L"Audio");
    RunFor(graph, 1000);
    // 25 pictures a second of 720x576 YUY2.
    EXPECT_NEAR(25, video->SamplesReceived(), 1);
    const std::vector<BYTE> picture = video->Last();
    ASSERT_EQ(720u * 576 * 2, picture.size());
    EXPECT_EQ(1, CardSignal::ReadPlace(picture.data(), 720, 576));
    EXPECT_EQ(video->SamplesReceived() - 1, CardSignal::ReadFrameCount(picture.data(), 720, 576));
    EXPECT_EQ(kYellowLuma, picture[0]);  // the second station's bars start one colour on
    // 40 ms of the tone of the second place: 750 Hz.
    EXPECT_NEAR(25, audio->SamplesReceived(), 1);
    ASSERT_EQ(1920u * 4, audio->Last().size());
    EXPECT_NEAR(2 * CardSignal::StationToneHz(1) * 0.04, Crossings(audio->Last()), 2);

    long locked = 0;
    CComPtr<IAMAnalogVideoDecoder> decoder = Decoder();
    ASSERT_EQ(S_OK, decoder->get_HorizontalLocked(&locked));
    EXPECT_EQ(1, locked);
}

TEST_F(CaptureStreamTest, TunerWithoutAStationShowsTheSameNoiseForTheSameFrameAndSilence) {
    Tune(100000);
    const CardSignal signal = CardSignal::Video(card());
    EXPECT_EQ(CardSignal::Kind::Noise, signal.kind);
    std::vector<BYTE> a(90 * 72 * 2), b(a.size()), c(a.size());
    signal.DrawYuy2(7, 90, 72, a.data());
    CardSignal::Video(card()).DrawYuy2(7, 90, 72, b.data());
    signal.DrawYuy2(8, 90, 72, c.data());
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(-1, CardSignal::ReadPlace(a.data(), 90, 72));

    StreamSink* audio = AddSink(L"Audio");
    RunFor(graph, 200);
    EXPECT_GT(audio->SamplesReceived(), 0);
    EXPECT_EQ(std::vector<BYTE>(1920 * 4, 0), audio->Last());
    long locked = 1;
    CComPtr<IAMAnalogVideoDecoder> decoder = Decoder();
    ASSERT_EQ(S_OK, decoder->get_HorizontalLocked(&locked));
    EXPECT_EQ(0, locked);
}

TEST_F(CaptureStreamTest, CompositeShowsTheBenchsPatternAtTheNtscRateInRgb) {
    Route(1, 4);
    CComPtr<IAMAnalogVideoDecoder> decoder = Decoder();
    ASSERT_EQ(S_OK, decoder->put_TVFormat(AnalogVideo_NTSC_M));
    CComPtr<IAMStreamConfig> config;
    ASSERT_EQ(S_OK, PinNamed(capture, L"Capture")->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)));
    MediaType rgb = platform::dshow::VideoInfoType(MEDIASUBTYPE_RGB24, 320, 240, 24, 333667);
    ASSERT_EQ(S_OK, config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&rgb.Get())));
    StreamSink* video = AddSink(L"Capture");
    StreamSink* audio = AddSink(L"Audio");
    RunFor(graph, 1001);
    EXPECT_NEAR(30, video->SamplesReceived(), 1);
    const std::vector<BYTE> picture = video->Last();
    ASSERT_EQ(320u * 240 * 3, picture.size());
    // Bottom-up BGR: the first bar is white, the second yellow, the last black.
    EXPECT_EQ((std::vector<BYTE>{255, 255, 255}), std::vector<BYTE>(picture.begin(), picture.begin() + 3));
    const size_t yellow = 60 * 3;
    EXPECT_EQ((std::vector<BYTE>{0, 255, 255}), std::vector<BYTE>(picture.begin() + yellow, picture.begin() + yellow + 3));
    EXPECT_NEAR(2 * 1000 * 0.04, Crossings(audio->Last()), 2);
    long locked = 0;
    ASSERT_EQ(S_OK, decoder->get_HorizontalLocked(&locked));
    EXPECT_EQ(1, locked);

    // Nothing is plugged into S-video: black, silence, no lock.
    Route(2, 5);
    ASSERT_EQ(S_OK, decoder->get_HorizontalLocked(&locked));
    EXPECT_EQ(0, locked);
    EXPECT_EQ(CardSignal::Kind::None, CardSignal::Video(card()).kind);
    EXPECT_EQ(0, CardSignal::Audio(card()).toneHz);
}

TEST_F(CaptureStreamTest, CaptureSizesStayWithinTheStandardsLinesAndThe656PortFollows) {
    CComPtr<IAMStreamConfig> config;
    ASSERT_EQ(S_OK, PinNamed(capture, L"Capture")->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)));
    MediaType wide = platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 722, 576, 16);
    EXPECT_NE(S_OK, config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&wide.Get())));
    MediaType pal = platform::dshow::VideoInfoType(MEDIASUBTYPE_UYVY, 720, 576, 16);
    EXPECT_EQ(S_OK, config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&pal.Get())));
    CComPtr<IAMAnalogVideoDecoder> decoder = Decoder();
    ASSERT_EQ(S_OK, decoder->put_TVFormat(AnalogVideo_NTSC_M));
    EXPECT_NE(S_OK, config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&pal.Get())));
    MediaType ntsc = platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 352, 240, 16);
    EXPECT_EQ(S_OK, config->SetFormat(const_cast<AM_MEDIA_TYPE*>(&ntsc.Get())));

    StreamSink* port = AddSink(L"656");
    const MediaType portType = port->Type();
    const auto* info = portType.FormatAs<VIDEOINFOHEADER>();
    ASSERT_NE(nullptr, info);
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_UYVY, port->Type().Subtype()));
    EXPECT_EQ(352, info->bmiHeader.biWidth);
    EXPECT_EQ(240, std::abs(info->bmiHeader.biHeight));
    EXPECT_EQ(333667, info->AvgTimePerFrame);
    StreamSink* i2s = AddSink(L"I2S");
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_PCM, i2s->Type().Subtype()));
}

}  // namespace
}  // namespace hwsim
