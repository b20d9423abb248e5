// The WIS encoder box on a bench: the profile file put into the Windows folder, the chips on its
// bus, its encoder interfaces with their faults, and its pins' format blocks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "dshow.h"
#include "dvdmedia.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/WisBox.h"
#include "hwsim/boards/WisEncoderCapabilities.h"
#include "support/BenchFixture.h"
#include "wisdriver.h"
#include "wisencodercontrol.h"

namespace hwsim {
namespace {

class WisBoxTest : public BenchFixture {
protected:
    void Plug() {
        devices.reset();
        bench = Bench::FromText(R"({"cards": [{"kind": "Jorsk A/V Capture", "tuner": 72}],
                                    "stations": [{"kHz": 49750, "lines": 525}]})");
        devices = std::make_unique<BenchDevices>(*bench);
    }
    void TearDown() override {
        devices.reset();
        bench.reset();
        BenchFixture::TearDown();
    }
    std::filesystem::path ProfileFile() const { return dir / "state" / "windows" / "video_profiles.txt"; }
    WisBoxDriver& Driver() { return static_cast<WisBoxDriver&>(devices->Driver(*bench->Cards()[0])); }
    CComPtr<IBaseFilter> Filter() {
        CComPtr<IBaseFilter> filter;
        EXPECT_EQ(S_OK, platform::BindDevice(devices->CaptureDevice(*bench->Cards()[0]), IID_IBaseFilter,
                                             reinterpret_cast<void**>(&filter)));
        return filter;
    }

    std::unique_ptr<Bench> bench;
    std::unique_ptr<BenchDevices> devices;
};

TEST_F(WisBoxTest, PluggingTheBoxInstallsTheProfileFileUnlessOneIsThere) {
    Plug();
    ASSERT_TRUE(std::filesystem::exists(ProfileFile()));
    EXPECT_EQ(std::filesystem::file_size(WisProfileFileSource()), std::filesystem::file_size(ProfileFile()));
    std::ofstream(ProfileFile()) << "[streamsetting]\n";
    Plug();
    EXPECT_EQ(16u, std::filesystem::file_size(ProfileFile()));
}

TEST_F(WisBoxTest, BusCarriesEepromKeyControllerAndDecoderWithThe525LineBit) {
    Plug();
    CComPtr<IWisI2C> i2c;
    ASSERT_EQ(S_OK, Filter()->QueryInterface(IID_IWisI2C, reinterpret_cast<void**>(&i2c)));
    BYTE value = 0;
    EXPECT_EQ(S_OK, i2c->ReadSub(0xA0, 8, 0x10, &value, WisDriver::kFlags));
    EXPECT_EQ(S_OK, i2c->ReadSub(0xBB, 8, 0x30, &value, WisDriver::kFlags));
    EXPECT_EQ(0, value);
    EXPECT_EQ(S_OK, i2c->ReadSub(0x41, 8, 0x1F, &value, WisDriver::kFlags));
    EXPECT_EQ(0x40, value & 0x60);  // no picture before the tuner is tuned
}

TEST_F(WisBoxTest, EncoderInterfacesAnswerTheBlockAndCanBeAbsentOrFail) {
    Plug();
    CComPtr<IWisEncoderControl> control;
    ASSERT_EQ(S_OK, Filter()->QueryInterface(IID_IWisEncoderControl, reinterpret_cast<void**>(&control)));
    auto caps = std::make_unique<EncoderCapabilities>();
    EXPECT_EQ(S_OK, control->GetCapabilities(caps.get()));
    EXPECT_EQ(3u, caps->profileCount);
    Driver().SetOverstatedCounts(true);
    EXPECT_EQ(S_OK, control->GetCapabilities(caps.get()));
    EXPECT_EQ(31u, caps->streamCount);
    EncoderConfig config = {};
    EXPECT_EQ(S_OK, control->GetCurrentConfig(&config));
    EXPECT_STREQ("DVD", config.profileName);
    EXPECT_EQ(0x7F0, config.standard);
    Driver().Encoder().SetFailing("GetCurrentConfig", true);
    EXPECT_EQ(E_FAIL, control->GetCurrentConfig(&config));

    CComPtr<IWisFormatExtension> extension;
    ASSERT_EQ(S_OK, control->QueryInterface(IID_IWisFormatExtension, reinterpret_cast<void**>(&extension)));
    TCFG_FORMAT_EXTENSION block = {};
    block.stream.compress_mode = 4;
    DWORD answer = 9;
    EXPECT_EQ(S_OK, extension->SetFormatExtension(&block, &answer));
    EXPECT_EQ(1u, Driver().Extensions().size());
    Driver().Encoder().SetAbsent("IWisFormatExtension", true);
    extension.Release();
    EXPECT_EQ(E_NOINTERFACE, Filter()->QueryInterface(IID_IWisFormatExtension, reinterpret_cast<void**>(&extension)));
}

// Every video capability's block: its normal part, then room for the extension (or the short
// room); MPEG-4's biSize counts the extension.
TEST_F(WisBoxTest, VideoBlocksHaveRoomForTheExtensionUnlessShort) {
    for (bool shortBlocks : {false, true}) {
        Plug();
        Driver().SetShortFormatBlocks(shortBlocks);
        const ULONG room = shortBlocks ? kWisShortBlockRoom : kWisExtensionSize;
        CComPtr<IPin> pin;
        ASSERT_EQ(S_OK, Filter()->FindPin(L"Video Preview", &pin));
        CComPtr<IAMStreamConfig> config;
        ASSERT_EQ(S_OK, pin->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)));
        int count = 0;
        int size = 0;
        ASSERT_EQ(S_OK, config->GetNumberOfCapabilities(&count, &size));
        EXPECT_EQ(2 + 6 + 4 * 6, count);
        VIDEO_STREAM_CONFIG_CAPS caps;
        for (int i = 0; i < count; ++i) {
            AM_MEDIA_TYPE* mt = nullptr;
            ASSERT_EQ(S_OK, config->GetStreamCaps(i, &mt, reinterpret_cast<BYTE*>(&caps)));
            ULONG normal = 0;
            if (IsEqualGUID(mt->formattype, FORMAT_MPEGVideo)) normal = offsetof(MPEG1VIDEOINFO, bSequenceHeader);
            if (IsEqualGUID(mt->formattype, FORMAT_MPEG2Video)) normal = offsetof(MPEG2VIDEOINFO, dwSequenceHeader);
            if (IsEqualGUID(mt->formattype, FORMAT_VideoInfo)) {
                normal = sizeof(VIDEOINFOHEADER);
                EXPECT_EQ(sizeof(BITMAPINFOHEADER) + kWisExtensionSize,
                          reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat)->bmiHeader.biSize);
            }
            EXPECT_EQ(normal + room, mt->cbFormat) << i;
            DeleteMediaType(mt);
        }
    }
}

}  // namespace
}  // namespace hwsim
