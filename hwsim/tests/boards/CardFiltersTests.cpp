// What a card's filters answer beyond its property sets: the TV tuner upstream of the crossbar,
// the capture filter's video decoder lock and its capture format.
#include <gtest/gtest.h>

#include "support/PluggedBench.h"
#include "dshow.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/TunerFilter.h"
#include "platform/devicetree.h"

namespace hwsim {
namespace {

class CardFiltersTest : public PluggedBench {
protected:
    void SetUp() override {
        PluggedBench::SetUp();
        Plug(R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 32},
              {"kind": "713x_4 TV Card Capture", "tuner": 32}]})");
    }
};

TEST_F(CardFiltersTest, TunerOfEachKindFeedsItsCrossbar) {
    const wchar_t* names[] = {L"713x BDA Analog TvTuner", L"PhTVTune"};
    for (size_t i = 0; i < 2; ++i) {
        platform::DeviceEntry tuner, crossbar;
        ASSERT_TRUE(platform::GetDevice(devices->TunerDevice(CardAt(i)), &tuner));
        EXPECT_EQ(names[i], tuner.friendlyName);
        EXPECT_TRUE(IsEqualGUID(KSCATEGORY_TVTUNER, tuner.category));
        ASSERT_TRUE(platform::GetDevice(devices->CrossbarDevice(CardAt(i)), &crossbar));
        ASSERT_EQ(2u, crossbar.upstream.size());
        EXPECT_EQ(devices->TunerDevice(CardAt(i)), crossbar.upstream[0].device);
        EXPECT_EQ(L"Video Tuner In", crossbar.upstream[0].pin);
        EXPECT_EQ(L"Audio Tuner In", crossbar.upstream[1].pin);
    }
    auto tuner = Bind<IAMTVTuner>(devices->TunerDevice(CardAt(1)));
    long formats = 0;
    EXPECT_EQ(S_OK, tuner->get_AvailableTVFormats(&formats));
    EXPECT_EQ(kCardStandards, formats);

    CardAt(1).Unplug();
    EXPECT_EQ(kDeviceGone, tuner->put_Channel(5, AMTUNER_SUBCHAN_DEFAULT, AMTUNER_SUBCHAN_DEFAULT));
    EXPECT_EQ(1u, platform::DevicesInCategory(KSCATEGORY_TVTUNER).size());
    devices.reset();
    EXPECT_TRUE(platform::DevicesInCategory(KSCATEGORY_TVTUNER).empty());
}

TEST_F(CardFiltersTest, DecoderIsLockedWhileTheBridgeSeesAPicture) {
    auto decoder = Bind<IAMAnalogVideoDecoder>(devices->CaptureDevice(CardAt(0)));
    long locked = -1;
    EXPECT_EQ(S_OK, decoder->get_HorizontalLocked(&locked));
    EXPECT_EQ(0, locked);
    CardAt(0).Bridge().SetReadHook(Saa713x::kVideoStatus, [](DWORD) { return 1u; });
    EXPECT_EQ(S_OK, decoder->get_HorizontalLocked(&locked));
    EXPECT_EQ(1, locked);
    CardAt(0).Unplug();
    EXPECT_EQ(kDeviceGone, decoder->get_HorizontalLocked(&locked));
}

TEST_F(CardFiltersTest, CapturePinStartsInYuy2AndTakesTheOtherFormats) {
    auto filter = Bind<IBaseFilter>(devices->CaptureDevice(CardAt(1)));
    CComPtr<IPin> pin;
    ASSERT_EQ(S_OK, filter->FindPin(L"Capture", &pin));
    CComPtr<IAMStreamConfig> stream;
    ASSERT_EQ(S_OK, pin->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&stream)));
    int count = 0, size = 0;
    EXPECT_EQ(S_OK, stream->GetNumberOfCapabilities(&count, &size));
    EXPECT_EQ(4, count);  // YUY2, RGB24, UYVY, YV12
    AM_MEDIA_TYPE* format = nullptr;
    ASSERT_EQ(S_OK, stream->GetFormat(&format));
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_YUY2, format->subtype));
    format->subtype = MEDIASUBTYPE_RGB24;
    EXPECT_EQ(S_OK, stream->SetFormat(format));
    DeleteMediaType(format);
}

}  // namespace
}  // namespace hwsim
