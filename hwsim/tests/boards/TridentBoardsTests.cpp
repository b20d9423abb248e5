// The Trident bridge boards: the RiriRir PCI card (its TV tuner device offering TV only), the
// Ivlen and Yolm USB boxes (a TV-audio device into the crossbar's tuner audio input, no tuner
// device), each on the vendor-command driver with the I2C key controller at 0xBB, the kind's
// UYVY capture capabilities and the crossbar with tuner, composite and S-video inputs in order.
#include <gtest/gtest.h>

#include <mtype.h>

#include <memory>
#include <string>
#include <vector>

#include "dshow.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/drivers/VendorCommandDriver.h"
#include "platform/devicetree.h"
#include "support/PluggedBench.h"

namespace hwsim {
namespace {

class TridentBoards : public PluggedBench {
protected:
    void SetUp() override {
        PluggedBench::SetUp();
        Plug(R"({"cards": [{"kind": "RiriRir Capture", "tuner": 5},
              {"kind": "Ivlen Capture", "tuner": 5},
              {"kind": "Trident Yolm Capture", "tuner": 5}]})");
    }
};

struct Uyvy {
    long standard;
    LONG cx;
    LONG cy;
    bool operator==(const Uyvy&) const = default;
};

// The UYVY capabilities of the capture pin, in order.
std::vector<Uyvy> UyvyCapabilities(IBaseFilter* filter) {
    std::vector<Uyvy> found;
    CComPtr<IPin> pin;
    EXPECT_EQ(S_OK, filter->FindPin(L"Capture", &pin));
    CComPtr<IAMStreamConfig> config;
    EXPECT_EQ(S_OK, pin->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)));
    if (!config) return found;
    int count = 0;
    int size = 0;
    EXPECT_EQ(S_OK, config->GetNumberOfCapabilities(&count, &size));
    EXPECT_EQ(int(sizeof(VIDEO_STREAM_CONFIG_CAPS)), size);
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* type = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps = {};
        EXPECT_EQ(S_OK, config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)));
        if (IsEqualGUID(type->subtype, MEDIASUBTYPE_UYVY)) {
            found.push_back({caps.VideoStandard, caps.MaxCroppingSize.cx, caps.MaxCroppingSize.cy});
        }
        DeleteMediaType(type);
    }
    return found;
}

TEST_F(TridentBoards, EachBoardOffersItsKindsUyvyCapabilitiesSomeWithoutAStandard) {
    const long pal = AnalogVideo_PAL_B | AnalogVideo_PAL_D | AnalogVideo_PAL_G | AnalogVideo_PAL_I;
    const std::vector<Uyvy> expected[] = {
        {{AnalogVideo_NTSC_M, 640, 480}, {pal, 720, 576}, {0, 768, 576}},
        {{0, 800, 600}, {pal, 704, 576}, {AnalogVideo_NTSC_M, 720, 480}},
        {{AnalogVideo_NTSC_M, 720, 480}, {0, 720, 576}},
    };
    for (size_t i = 0; i < 3; ++i) {
        auto filter = Bind<IBaseFilter>(devices->CaptureDevice(CardAt(i)));
        ASSERT_TRUE(filter);
        EXPECT_EQ(expected[i], UyvyCapabilities(filter)) << CardAt(i).FriendlyName();
    }
}

TEST_F(TridentBoards, BoardsAnswerTheVendorCommandsAndCarryTheKeyControllerAt0xBB) {
    for (size_t i = 0; i < 3; ++i) {
        Card& board = CardAt(i);
        EXPECT_NE(nullptr, dynamic_cast<VendorCommandDriver*>(&devices->Driver(board))) << board.FriendlyName();
        EXPECT_EQ(0x5D, board.KeyController().Wiring().address7) << board.FriendlyName();
        EXPECT_EQ(0x30, board.KeyController().Wiring().readyRegister);
        EXPECT_EQ(0x31, board.KeyController().Wiring().keyRegister);
    }
}

TEST_F(TridentBoards, PciTunerOffersTvOnlyAndRecordsTheModePut) {
    ASSERT_NE(0u, devices->TunerDevice(CardAt(0)));
    auto tuner = Bind<IAMTVTuner>(devices->TunerDevice(CardAt(0)));
    ASSERT_TRUE(tuner);
    long modes = 0;
    ASSERT_EQ(S_OK, tuner->GetAvailableModes(&modes));
    EXPECT_EQ(long(AMTUNER_MODE_TV), modes);
    EXPECT_EQ(E_INVALIDARG, tuner->put_Mode(AMTUNER_MODE_FM_RADIO));
    EXPECT_EQ(0u, devices->TVAudioDevice(CardAt(0)));
}

TEST_F(TridentBoards, UsbBoxesHaveATvAudioDeviceIntoTheCrossbarAndNoTuner) {
    const wchar_t* names[] = {L"Ivlen TvAudio", L"Trident Yolm TvAudio"};
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(0u, devices->TunerDevice(CardAt(i)));
        platform::DeviceEntry audio, crossbar;
        ASSERT_TRUE(platform::GetDevice(devices->TVAudioDevice(CardAt(i)), &audio));
        EXPECT_EQ(names[i - 1], audio.friendlyName);
        ASSERT_TRUE(platform::GetDevice(devices->CrossbarDevice(CardAt(i)), &crossbar));
        ASSERT_EQ(1u, crossbar.upstream.size());
        EXPECT_EQ(devices->TVAudioDevice(CardAt(i)), crossbar.upstream[0].device);
        EXPECT_EQ(L"Audio Tuner In", crossbar.upstream[0].pin);
    }
}

TEST_F(TridentBoards, CrossbarInputsAreTunerCompositeSVideoForVideoThenAudio) {
    for (size_t i = 0; i < 3; ++i) {
        auto crossbar = Bind<IAMCrossbar>(devices->CrossbarDevice(CardAt(i)));
        ASSERT_TRUE(crossbar);
        long outputs = 0;
        long inputs = 0;
        ASSERT_EQ(S_OK, crossbar->get_PinCounts(&outputs, &inputs));
        EXPECT_EQ(7, inputs);
        const long types[] = {PhysConn_Video_Tuner, PhysConn_Video_Composite, PhysConn_Video_SVideo,
                              PhysConn_Video_YRYBY, PhysConn_Audio_Tuner,     PhysConn_Audio_Line,
                              PhysConn_Audio_Line};
        for (long pin = 0; pin < 7; ++pin) {
            long related = 0;
            long type = 0;
            ASSERT_EQ(S_OK, crossbar->get_CrossbarPinInfo(TRUE, pin, &related, &type));
            EXPECT_EQ(types[pin], type) << pin;
        }
        long routed = -2;
        ASSERT_EQ(S_OK, crossbar->get_IsRoutedTo(1, &routed));
        EXPECT_EQ(4, routed);  // a fresh board listens to its tuner
    }
}

}  // namespace
}  // namespace hwsim
