// The card manager on the test station's bench, end to end: the preview shows the tuned
// station's picture in the video window (through the VMR-9, or the Overlay Mixer and Video
// Renderer without it) and plays its tone, noise without a station, the composite picture
// within two frames of SelectInput(1), and a five-second recording that FFmpeg reads back while
// the live picture comes through the demultiplexer and the decoders.
#include <gtest/gtest.h>

#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CardMan.h"
#include "MultiCardMan.h"
#include "StationFilterClasses.h"
#include "cards/base/CardFilterClasses.h"
#include "cards/base/TVCardFilter.h"
#include "graph/MpegEncoderFilter.h"
#include "graph/FilterClassRecord.h"
#include "platform/dshow/AudioMeter.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/CardSignal.h"
#include "platform/runtime.h"
#include "platform/testoperator.h"
#include "support/RecordingReader.h"

using hwsim::CardSignal;

namespace {

constexpr float kStationKHz[] = {479250, 168250};  // places 0 and 1 of the bench's list
constexpr float kNoStationKHz = 503250;
constexpr int kWindowWidth = 360, kWindowHeight = 288;

LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// RGB of a 0xRRGGBB pixel, each within `tolerance` of `rgb`.
bool Near(uint32_t pixel, const std::array<BYTE, 3>& rgb, int tolerance) {
    const int got[3] = {int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)};
    for (int c = 0; c < 3; ++c) {
        if (std::abs(got[c] - rgb[c]) > tolerance) return false;
    }
    return true;
}

class TestStationTest : public testing::Test {
protected:
    TestStationTest() {
        CoInitialize(nullptr);
        RegisterGraphFilterClasses();
        RegisterCardFilterClasses();
        RegisterStationFilterClasses();
        bench = hwsim::Bench::Load(
            (std::filesystem::path(hwsim::Bench::DefaultPath()).parent_path() / "test-station.json").string());
        devices = std::make_unique<hwsim::BenchDevices>(*bench);
        EXPECT_TRUE(cards.Init());
        EXPECT_EQ(cards.CreateAll(), 1);
        // The bench's EEPROM is blank, as before the station writes it: the fitted tuner is named.
        EXPECT_TRUE(Card().GetCardFilter()->SetTunerModel(95));
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = "CardVideoOwner";
        RegisterClassA(&wc);
        owner = CreateWindowExA(0, "CardVideoOwner", "video", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, kWindowWidth,
                                kWindowHeight, nullptr, nullptr, nullptr, nullptr);
        // The owner's client area is the video's size.
        RECT client{};
        GetClientRect(owner, &client);
        MoveWindow(owner, 0, 0, 2 * kWindowWidth - client.right, 2 * kWindowHeight - client.bottom, TRUE);
        Card().SetVideoWnd(owner);
    }
    ~TestStationTest() override {
        cards.ReleaseAll();
        DestroyWindow(owner);
        devices.reset();
        bench.reset();
        platform::ClearFailures();
        CoUninitialize();
    }
    CCardMan& Card() { return *cards.GetCard(0); }
    void Tune(float kHz) { ASSERT_TRUE(Card().GetCardFilter()->SetTVChannelFreq(kHz)); }

    // Runs the clock on while the windows paint.
    void RunFor(DWORD ms) {
        for (DWORD t = 0; t < ms; t += 20) {
            Sleep(20);
            Pump();
        }
    }
    platform::Screenshot Shot() {
        Pump();
        platform::TestOperator op;
        return op.TakeScreenshot(owner);
    }
    // The video window shows the eight bars in the order of `place` (the "colorBars" pattern is
    // the order of place 0).
    void ExpectBars(const platform::Screenshot& shot, int place) {
        ASSERT_GE(shot.width, kWindowWidth);
        ASSERT_GE(shot.height, kWindowHeight);
        for (int bar = 0; bar < 8; ++bar) {
            const uint32_t px = shot.At(bar * kWindowWidth / 8 + kWindowWidth / 16, kWindowHeight / 3);
            EXPECT_TRUE(Near(px, CardSignal::kBarRgb[CardSignal::BarColour(place, bar)], 6))
                << "bar " << bar << " is " << std::hex << px;
        }
    }
    int BarsMatching(const platform::Screenshot& shot, int place) {
        int matching = 0;
        for (int bar = 0; bar < 8; ++bar) {
            const uint32_t px = shot.At(bar * kWindowWidth / 8 + kWindowWidth / 16, kWindowHeight / 3);
            matching += Near(px, CardSignal::kBarRgb[CardSignal::BarColour(place, bar)], 6);
        }
        return matching;
    }
    static int FramesAt(CRootFilter* renderer) {
        CComPtr<IQualProp> quality;
        if (renderer == nullptr ||
            FAILED(renderer->GetFilter()->QueryInterface(IID_IQualProp, reinterpret_cast<void**>(&quality)))) {
            return -1;
        }
        int drawn = 0, dropped = 0;
        quality->get_FramesDrawn(&drawn);
        quality->get_FramesDroppedInRenderer(&dropped);
        return drawn + dropped;
    }

    std::unique_ptr<hwsim::Bench> bench;
    std::unique_ptr<hwsim::BenchDevices> devices;
    CMultiCardMan cards;
    HWND owner = nullptr;
};

TEST_F(TestStationTest, PreviewShowsTheStationWithItsToneAndNoiseWithoutOne) {
    Tune(kStationKHz[1]);
    ASSERT_TRUE(Card().SelectInput(0));
    ASSERT_TRUE(Card().BuildPreview());
    ASSERT_NE(Card().GetVmr(), nullptr);
    ASSERT_NE(Card().GetAudioRender(), nullptr);
    RunFor(200);
    ExpectBars(Shot(), 1);
    EXPECT_GE(FramesAt(Card().GetVmr()), 4);
    // The station's tone reaches "Audio Render".
    RunFor(1000);
    CComPtr<IAudioMeter> meter;
    ASSERT_TRUE(SUCCEEDED(Card().GetAudioRender()->GetFilter()->QueryInterface(IID_IAudioMeter,
                                                                                 reinterpret_cast<void**>(&meter))));
    double peak = 0, frequency = 0;
    ASSERT_EQ(meter->GetLevel(&peak, &frequency), S_OK);
    EXPECT_GT(peak, 0.05);
    EXPECT_NEAR(frequency, CardSignal::StationToneHz(1), 5);

    Card().StopGraph();
    Tune(kNoStationKHz);
    ASSERT_TRUE(Card().BuildPreview());
    RunFor(200);
    const platform::Screenshot noise = Shot();
    EXPECT_LE(BarsMatching(noise, 1), 2);
    EXPECT_LE(BarsMatching(noise, 0), 2);
    // Noise: neighbouring pixels differ.
    int differing = 0;
    for (int x = 10; x < 110; ++x) differing += noise.At(x, kWindowHeight / 2) != noise.At(x + 1, kWindowHeight / 2);
    EXPECT_GT(differing, 50);
}

TEST_F(TestStationTest, CompositeShowsWithinTwoFramesOfSelectInput) {
    Tune(kStationKHz[1]);
    ASSERT_TRUE(Card().BuildPreview());
    RunFor(200);
    ExpectBars(Shot(), 1);
    ASSERT_TRUE(Card().SelectInput(1));
    EXPECT_EQ(Card().GetCurrentInput(), 1);
    RunFor(80);  // two frames at 25 a second
    ExpectBars(Shot(), 0);
}

TEST_F(TestStationTest, WithoutTheVmr9TheOverlayChainShowsTheSame) {
    platform::InjectFailure("CoCreateInstance:" + platform::FormatGuid(CLSID_VideoMixingRenderer9), 100);
    Tune(kStationKHz[1]);
    ASSERT_TRUE(Card().BuildPreview());
    EXPECT_EQ(Card().GetVmr(), nullptr);
    ASSERT_NE(Card().GetOverlay(), nullptr);
    ASSERT_NE(Card().GetVideoRender(), nullptr);
    RunFor(200);
    ExpectBars(Shot(), 1);
    EXPECT_GE(FramesAt(Card().GetVideoRender()), 4);
}

TEST_F(TestStationTest, FiveSecondsRecordedAreAProgramStreamOfTheStationAndTheLivePictureGoesOn) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("cardman-record-" + std::to_string(GetCurrentProcessId()) + ".mpg")).string();
    std::remove(path.c_str());
    Tune(kStationKHz[1]);
    ASSERT_TRUE(Card().StartRecord(path.c_str()));
    EXPECT_EQ(Card().GetGraph().GetState(), GRAPH_STATE_RUNNING);
    ASSERT_TRUE(Card().SetVideoWindow(owner, nullptr));  // as the record page shows it
    RunFor(5000);
    // The live picture: the station through the demultiplexer, the decoders and the renderer.
    const int live = FramesAt(Card().GetVmr());
    EXPECT_GE(live, 5 * 25 - 10);
    ExpectBars(Shot(), 1);
    Card().StopRecord();
    EXPECT_EQ(Card().GetEncoder(), nullptr);
    EXPECT_EQ(Card().GetDumpFilter(), nullptr);

    const hwsim::RecordingStreams got = hwsim::ReadRecording(path, 1);
    ASSERT_TRUE(got.opened);
    EXPECT_TRUE(got.programStream);
    ASSERT_EQ(got.streams, 2u);
    EXPECT_EQ(got.videoId, 0x1E0);
    EXPECT_EQ(got.videoCodec, AV_CODEC_ID_MPEG2VIDEO);
    EXPECT_EQ(got.width, 720);
    EXPECT_EQ(got.height, 576);
    EXPECT_EQ(got.frameRate, 25);
    EXPECT_EQ(got.audioId, 0x1C0);
    EXPECT_EQ(got.audioCodec, AV_CODEC_ID_MP2);
    EXPECT_EQ(got.sampleRate, 48000);
    EXPECT_GE(got.pictures, 5 * 25 - 3);
    EXPECT_GE(got.stationPictures, 5 * 25 - 3);
    std::remove(path.c_str());
}

// Three cards of one name, the encoder fitted on the second and third: the second card binds
// its own board's encoder (not the second encoder of the name, which is the third board's) and
// records; the first card, without one, binds none.
TEST(CardManEncoderBinding, EachCardBindsItsOwnBoardsEncoder) {
    CoInitialize(nullptr);
    RegisterGraphFilterClasses();
    RegisterCardFilterClasses();
    RegisterStationFilterClasses();
    {
        auto bench = hwsim::Bench::FromText(R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 95},
                                                          {"kind": "713x BDA Analog Capture", "tuner": 95, "encoder": true},
                                                          {"kind": "713x BDA Analog Capture", "tuner": 95, "encoder": true}]})");
        auto devices = std::make_unique<hwsim::BenchDevices>(*bench);
        CMultiCardMan cards;
        ASSERT_TRUE(cards.Init());
        ASSERT_EQ(cards.CreateAll(), 3);
        const std::string path = (std::filesystem::temp_directory_path() / "cardman-own-encoder.mpg").string();
        CCardMan& second = *cards.GetCard(1);
        EXPECT_TRUE(second.StartRecord(path.c_str()));
        ASSERT_NE(second.GetEncoder(), nullptr);
        EXPECT_TRUE(second.GetEncoder()->FindPin("656")->IsConnected());
        second.StopRecord();
        EXPECT_FALSE(cards.GetCard(0)->StartRecord(path.c_str()));
        EXPECT_EQ(cards.GetCard(0)->GetEncoder(), nullptr);
        std::filesystem::remove(path);
        cards.ReleaseAll();
    }
    CoUninitialize();
}

}  // namespace
