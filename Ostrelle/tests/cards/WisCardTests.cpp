// The WIS encoder box end to end on its simulated board ("Jorsk A/V Capture"): opening on the
// driver's capability block and the profile file in the Windows folder, the EEPROM, keys and
// video decoder through the WIS driver's extended I2C requests, the encoder settings written to
// the simulated video pins, the audio pin, and the box's crossbar.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "access/WisAccess.h"
#include "cards/encoders/JorskFilters.h"
#include "dvdmedia.h"
#include "hwsim/boards/WisBox.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/StreamConfigMixin.h"
#include "platform/runtime.h"
#include "support/CardBench.h"
#include "support/HolderProcess.h"
#include "support/EepromBench.h"
#include "wisencodercontrol.h"

namespace {

using platform::dshow::MediaType;

constexpr LONG kPal = 0x7F0;
constexpr LONG kNtsc = 0x807;
// Stream settings of the shipped file, in file order.
constexpr int kMpeg1 = 0;
constexpr int kMpeg2 = 1;
constexpr int kMpeg4 = 2;
constexpr int kDivx = 3;

std::string ProfilePath() { return platform::StateDir() + "/windows/video_profiles.txt"; }

// A box with maker byte 'Q' at 0x11 and model byte 0 at 0x10, tuner 72 fitted; one 525-line station.
std::string BoxBench() {
    return EepromBench({{"Jorsk A/V Capture", 72, {{0x10, 0}, {0x11, 'Q'}}, ""}},
                       R"([{"kHz": 49750, "lines": 525}, {"kHz": 471250}])");
}

// The pin's current format, as the simulated pin keeps it.
MediaType PinFormat(CTVCardFilter& card, const char* name) {
    CRootPin* pin = card.FindPin(name);
    EXPECT_NE(nullptr, pin) << name;
    if (pin == nullptr) return MediaType();
    CComPtr<IAMStreamConfig> config;
    EXPECT_EQ(S_OK, pin->GetPin()->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)));
    AM_MEDIA_TYPE* mt = nullptr;
    EXPECT_EQ(S_OK, config->GetFormat(&mt));
    MediaType copy(*mt);
    DeleteMediaType(mt);
    return copy;
}

const TCFG_FORMAT_EXTENSION* ExtensionAt(const MediaType& format, size_t offset) {
    if (format.FormatSize() < offset + sizeof(TCFG_FORMAT_EXTENSION)) return nullptr;
    return reinterpret_cast<const TCFG_FORMAT_EXTENSION*>(format.Format() + offset);
}

class WisCard : public CardBench {
protected:
    void SetUp() override {
        std::filesystem::remove(ProfilePath());
        // The box starts from the bench's image, not from an earlier test's state file.
        Load(BoxBench().c_str());
    }
    void TearDown() override {
        CardBench::TearDown();
        std::filesystem::remove(ProfilePath());
    }

    hwsim::WisBoxDriver& Box() { return static_cast<hwsim::WisBoxDriver&>(Driver(Board(0))); }
    CJorskCaptureFilter* Open() { return dynamic_cast<CJorskCaptureFilter*>(OpenCard(Board(0))); }
    static void WriteProfiles(const std::string& text) { std::ofstream(ProfilePath()) << text; }
};

// ---- opening ----

TEST_F(WisCard, OpensOnTheBoxWithCapabilitiesProfilesAndTheDefaultTuner) {
    ASSERT_TRUE(std::filesystem::exists(ProfilePath()));
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(ACCESS_KIND_WIS, card->GetAccessKind());
    EXPECT_NE(nullptr, dynamic_cast<CWisAccess*>(card->GetAccess()));
    EXPECT_STREQ("WIS GO7007SB A/V Capture", card->GetTunerName());
    EXPECT_EQ(4u, card->GetCapabilities().streamCount);
    EXPECT_EQ(6u, card->GetCapabilities().resolutionCount);
    EXPECT_EQ(4u, card->GetProfileTables().stream.count);
    EXPECT_EQ(5u, card->GetProfileTables().bitrate.count);
    EXPECT_EQ('L', card->GetFactoryLetter());  // 'Q' is no maker the station knows
    EXPECT_EQ(72, card->GetTunerModel());       // model byte 0
    ASSERT_NE(nullptr, card->GetTuner());
    EXPECT_EQ(72, card->GetTuner()->GetModelCode());
    EXPECT_EQ(0, card->SetAudioSource(1, TRUE));
    EXPECT_EQ((std::vector<std::string>{"GetCapabilities"}), Box().Encoder().Calls());
}

TEST_F(WisCard, AKnownMakerAndModelAreReadAsTheyStand) {
    Poke(Board(0), 0x10, {5, 'P'});
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    EXPECT_EQ('P', card->GetFactoryLetter());
    EXPECT_EQ(5, card->GetTunerModel());
}

// As the base card does: a maker byte that could not be read leaves 'N', which becomes 'T'; a
// model byte 0xFF becomes the base's fallback model 4.
TEST_F(WisCard, AnUnreadMakerAndAModelByteFFTakeTheBaseFallbacks) {
    Poke(Board(0), 0x10, {0xFF});
    Board(0).Eeprom().NackTransfers(0, 0, 1);  // the maker byte's read, the first on the bus
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    EXPECT_EQ('T', card->GetFactoryLetter());
    EXPECT_EQ(4, card->GetTunerModel());
}

TEST_F(WisCard, RemoteControlMutexHeldByAnotherProcessGivesTheMessageAndNoCard) {
    std::vector<std::string> boxes;
    platform::SetMessageBoxHandler([&boxes](HWND, const char* text, const char*, UINT) {
        boxes.push_back(text);
        return IDOK;
    });
    {
        HolderProcess holder(false);
        ASSERT_EQ("ready", holder.Answer());
        EXPECT_EQ(nullptr, Open());
        EXPECT_EQ(0, holder.Release());
    }
    EXPECT_EQ((std::vector<std::string>{"Initfilter lock failed"}), boxes);
    platform::SetMessageBoxHandler(nullptr);
    EXPECT_NE(nullptr, Open());
}

TEST_F(WisCard, NoCardWithoutTheProfileFileOrWithAnErrorInIt) {
    std::filesystem::remove(ProfilePath());
    EXPECT_EQ(nullptr, Open());
    WriteProfiles("name = MPEG2\n");  // a key before the first section
    EXPECT_EQ(nullptr, Open());
}

TEST_F(WisCard, NoCardWhenAnEncoderInterfaceIsMissingOrFails) {
    Box().Encoder().SetAbsent("IWisEncoderControl", true);
    EXPECT_EQ(nullptr, Open());
    Box().Encoder().SetAbsent("IWisEncoderControl", false);
    Box().Encoder().SetFailing("GetCapabilities", true);
    EXPECT_EQ(nullptr, Open());
    Box().Encoder().SetFailing("GetCapabilities", false);
    Box().Encoder().SetAbsent("IWisI2C", true);
    EXPECT_EQ(nullptr, Open());
}

// The literal reading walks 31 stream capabilities of a 30-entry array.
TEST_F(WisCard, CapabilityBlockWhoseCountsExceedItsArraysIsRefused) {
    Box().SetOverstatedCounts(true);
    EXPECT_EQ(nullptr, Open());
    Box().SetOverstatedCounts(false);
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    Box().SetOverstatedCounts(true);
    EncoderCapabilities caps = {};
    EXPECT_FALSE(card->QueryCapabilities(&caps));
    EXPECT_EQ(0u, caps.streamCount);
}

// ---- the box's bus ----

TEST_F(WisCard, WholeEepromGoesThroughTheExtendedRequestsFiftyMillisecondsApart) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    std::vector<ULONGLONG> times;
    std::mutex lock;
    Box().SetRequestHook([&](const hwsim::WireRequest&) {
        std::lock_guard<std::mutex> guard(lock);
        times.push_back(platform::ClockNow());
    });
    std::vector<BYTE> image(256);
    for (int i = 0; i < 256; ++i) image[i] = static_cast<BYTE>(255 - i);
    Box().Log().Clear();
    EXPECT_EQ(S_OK, card->I2CWrite(image.data(), 256));
    EXPECT_EQ(image, Board(0).Eeprom().Contents());
    std::vector<BYTE> back(256);
    int count = 256;
    EXPECT_EQ(S_OK, card->ReadEeprom(back.data(), 0, &count));
    Box().SetRequestHook(nullptr);
    EXPECT_EQ(256, count);
    EXPECT_EQ(image, back);
    ASSERT_EQ(512u, times.size());
    for (size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], 50u) << i;
    const std::vector<hwsim::WireRequest> requests = Box().Log().Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(hwsim::WisDriver::kWriteHeadered, requests.front().id);
    EXPECT_EQ(hwsim::WisDriver::kReadSub, requests.back().id);
    ExpectWholeEepromThroughTheCard(*card, Board(0), "Jorsk A/V Capture");
}

TEST_F(WisCard, EepromCallsRefuseBadArgumentsBeforeTheBus) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    Box().Log().Clear();
    BYTE buffer[4] = {};
    int count = 4;
    EXPECT_EQ(E_POINTER, card->ReadEeprom(nullptr, 0, &count));
    EXPECT_EQ(E_POINTER, card->ReadEeprom(buffer, 0, nullptr));
    EXPECT_EQ(E_POINTER, card->WriteEeprom(nullptr, 0, &count, 0));
    EXPECT_EQ(E_POINTER, card->WriteEeprom(buffer, 0, nullptr, 0));
    EXPECT_EQ(E_INVALIDARG, card->ReadEeprom(buffer, 253, &count));
    EXPECT_EQ(E_INVALIDARG, card->WriteEeprom(buffer, 253, &count, 0));
    count = 0;
    EXPECT_EQ(E_INVALIDARG, card->ReadEeprom(buffer, 0, &count));
    EXPECT_EQ(E_INVALIDARG, card->I2CWrite(nullptr, 4));
    EXPECT_EQ(E_FAIL, card->I2CWrite(buffer, 1));
    EXPECT_TRUE(Box().Log().Requests().empty());
}

// Literally a read of which one byte failed answered S_OK, and a write answered the last byte's result.
TEST_F(WisCard, EepromFailuresAreReportedAndEveryOtherByteStillMoves) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    Poke(Board(0), 0x40, {1, 2, 3, 4});
    BYTE buffer[4] = {9, 9, 9, 9};
    int count = 4;
    Board(0).Eeprom().NackTransfers(2, 0, 1);  // the second byte's read (address, then the repeated start)
    EXPECT_EQ(E_FAIL, card->ReadEeprom(buffer, 0x40, &count));
    EXPECT_EQ(3, count);
    EXPECT_EQ((std::vector<BYTE>{1, 9, 3, 4}), std::vector<BYTE>(buffer, buffer + 4));

    BYTE bytes[3] = {0x51, 0x52, 0x53};
    count = 3;
    Board(0).Eeprom().NackTransfers(0, 0, 1);  // the first byte
    EXPECT_EQ(E_FAIL, card->WriteEeprom(bytes, 0x50, &count, 0));
    EXPECT_EQ(3, count);
    EXPECT_EQ(0xFF, Board(0).Eeprom().Contents()[0x50]);
    EXPECT_EQ(0x52, Board(0).Eeprom().Contents()[0x51]);
    EXPECT_EQ(0x53, Board(0).Eeprom().Contents()[0x52]);
}

TEST_F(WisCard, RemoteKeysComeFromTheKeyController) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    BYTE key = 0x77;
    EXPECT_FALSE(card->GetRemoteData(&key));
    EXPECT_EQ(0x77, key);
    Board(0).PressKey(0x21);
    Board(0).PressKey(0x22);
    EXPECT_TRUE(card->GetRemoteData(&key));
    EXPECT_EQ(0x21, key);
    EXPECT_TRUE(card->GetRemoteData(&key));
    EXPECT_EQ(0x22, key);
    EXPECT_FALSE(card->GetRemoteData(&key));
    EXPECT_TRUE(platform::TraceContains("GetRemote hr = 0, byData = 0"));
    Board(0).KeyController().Poke(hwsim::kBoxKeyWiring.readyRegister, 2);
    key = 0x77;
    EXPECT_FALSE(card->GetRemoteData(&key));
    EXPECT_EQ(0x77, key);
}

TEST_F(WisCard, StandardIsNtscOnA525LineStationAndPalOtherwise) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    long standard = 0;
    ASSERT_TRUE(card->TuneWithStandard(49750));
    EXPECT_TRUE(card->DetectVideoStandard(&standard));
    EXPECT_EQ(AnalogVideo_NTSC_M, standard);
    ASSERT_TRUE(card->TuneWithStandard(471250));
    EXPECT_TRUE(card->DetectVideoStandard(&standard));
    EXPECT_EQ(AnalogVideo_PAL_D, standard);
    Board(0).Chip("decoder")->NackTransfers(0, 0, -1);
    standard = 7;
    EXPECT_FALSE(card->DetectVideoStandard(&standard));
    EXPECT_EQ(7, standard);
}

// ---- encoder settings on the video pins ----

TEST_F(WisCard, Mpeg2At720x576SetsBothPinsWithTheExtensionBehindTheNormalBlock) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    ASSERT_TRUE(card->SetEncoderProfile(kPal, kMpeg2, 25025, 720, 576, 4000000, FALSE, FALSE, 0, 0));
    for (const char* pin : {"Video Capture", "Video Preview"}) {
        const MediaType format = PinFormat(*card, pin);
        ASSERT_TRUE(IsEqualGUID(FORMAT_MPEG2Video, format.FormatType())) << pin;
        const auto* info = reinterpret_cast<const MPEG2VIDEOINFO*>(format.Format());
        EXPECT_EQ(400000, info->hdr.AvgTimePerFrame);
        EXPECT_EQ(720, info->hdr.bmiHeader.biWidth);
        EXPECT_EQ(576, info->hdr.bmiHeader.biHeight);
        EXPECT_EQ(622080u, info->hdr.bmiHeader.biSizeImage);
        EXPECT_EQ(720u, info->hdr.dwPictAspectRatioX);
        EXPECT_EQ(576u, info->hdr.dwPictAspectRatioY);
        EXPECT_EQ(4000000u, info->hdr.dwBitRate);
        const TCFG_FORMAT_EXTENSION* extension = ExtensionAt(format, offsetof(MPEG2VIDEOINFO, dwSequenceHeader));
        ASSERT_NE(nullptr, extension) << pin;
        EXPECT_STREQ("MPEG2", extension->stream.head.name);
        EXPECT_STREQ("720x576", extension->resolution.head.name);
        EXPECT_STREQ("25 fps", extension->framerate.head.name);
        EXPECT_STREQ("Medium", extension->bitrate.head.name);
    }
    EXPECT_TRUE(Box().Extensions().empty());  // only MPEG-4 formats go to the driver's extension call
}

TEST_F(WisCard, NtscProfileGivesTheNtscFrameTime) {
    Box().SetCurrentProfile("DVD", kNtsc);
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    ASSERT_TRUE(card->SetEncoderProfile(kNtsc, kMpeg2, 30000, 720, 480, 8000000, FALSE, FALSE, 0, 0));
    const MediaType format = PinFormat(*card, "Video Preview");
    const auto* info = reinterpret_cast<const MPEG2VIDEOINFO*>(format.Format());
    EXPECT_EQ(333666, info->hdr.AvgTimePerFrame);
    // The PAL frame rate is not among the NTSC profile's combinations.
    EXPECT_FALSE(card->SetEncoderProfile(kPal, kMpeg2, 25025, 720, 576, 4000000, FALSE, FALSE, 0, 0));
}

TEST_F(WisCard, Mpeg4FormatsCarryTheirCodeAndGoToTheDriversExtensionCall) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    ASSERT_TRUE(card->SetEncoderProfile(kPal, kMpeg4, 25025, 352, 288, 2000000, FALSE, FALSE, 0, 0));
    MediaType format = PinFormat(*card, "Video Capture");
    ASSERT_TRUE(IsEqualGUID(FORMAT_VideoInfo, format.FormatType()));
    const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(format.Format());
    EXPECT_EQ(0x04504D57u, vih->bmiHeader.biCompression);
    EXPECT_EQ(152064u, vih->bmiHeader.biSizeImage);
    const TCFG_FORMAT_EXTENSION* extension = ExtensionAt(format, sizeof(VIDEOINFOHEADER));
    ASSERT_NE(nullptr, extension);
    EXPECT_EQ(2000000u, extension->bitrate.target_bitrate);
    const std::vector<std::string> calls = Box().Encoder().Calls();
    EXPECT_EQ(2, std::count(calls.begin(), calls.end(), "SetFormatExtension 4 352 288 25025 2000000"));
    ASSERT_EQ(2u, Box().Extensions().size());
    EXPECT_STREQ("MPEG4", Box().Extensions()[0].stream.head.name);

    ASSERT_TRUE(card->SetEncoderProfile(kPal, kDivx, 25025, 352, 288, 2000000, FALSE, FALSE, 0, 0));
    format = PinFormat(*card, "Video Capture");
    EXPECT_EQ(MAKEFOURCC('D', 'I', 'V', 'X'),
              reinterpret_cast<const VIDEOINFOHEADER*>(format.Format())->bmiHeader.biCompression);

    Box().Encoder().SetAbsent("IWisFormatExtension", true);
    EXPECT_TRUE(card->SetEncoderProfile(kPal, kMpeg4, 25025, 352, 288, 2000000, FALSE, FALSE, 0, 0));
    EXPECT_EQ(4u, Box().Extensions().size());
}

TEST_F(WisCard, FixedQualityAndTheHighestBitRate) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    ASSERT_TRUE(card->SetEncoderProfile(kPal, kMpeg2, 25025, 720, 576, 0, TRUE, TRUE, 9000000, 7));
    const MediaType format = PinFormat(*card, "Video Capture");
    const TCFG_FORMAT_EXTENSION* extension = ExtensionAt(format, offsetof(MPEG2VIDEOINFO, dwSequenceHeader));
    ASSERT_NE(nullptr, extension);
    EXPECT_STREQ("High", extension->bitrate.head.name);
    EXPECT_EQ(0u, extension->bitrate.target_bitrate);
    EXPECT_EQ(9000000u, extension->bitrate.peak_bitrate);
    EXPECT_EQ(100, extension->bitrate.lambda);
    EXPECT_EQ(7, extension->bitrate.IQ);
    EXPECT_EQ(7, extension->bitrate.BQ);
}

TEST_F(WisCard, HighestBitRateTakesTheEarlierOfTwoEqualMaxima) {
    std::filesystem::create_directories(std::filesystem::path(ProfilePath()).parent_path());
    WriteProfiles(R"([bitratesetting]
name = First
target_bitrate = 6000000
Q = 0
[bitratesetting]
name = Second
target_bitrate = 6000000
Q = 0
[bitratesetting]
name = Lower
target_bitrate = 3000000
Q = 0
[streamsetting]
name = MPEG2
compress_mode = 1
sequence = 3
[frameratesetting]
name = "25 fps"
tv_standard = PAL
frame_rate = 25025
[resolutionsetting]
name = 720x576
tv_standard = PAL
width = 720
height = 576
)");
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    ASSERT_TRUE(card->SetEncoderProfile(kPal, 0, 25025, 720, 576, 0, TRUE, FALSE, 0, 0));
    const MediaType format = PinFormat(*card, "Video Capture");
    const TCFG_FORMAT_EXTENSION* extension = ExtensionAt(format, offsetof(MPEG2VIDEOINFO, dwSequenceHeader));
    ASSERT_NE(nullptr, extension);
    EXPECT_STREQ("First", extension->bitrate.head.name);
}

TEST_F(WisCard, SettingsThatCannotBeCombinedLeaveThePinsUntouched) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    const MediaType capture = PinFormat(*card, "Video Capture");
    const MediaType preview = PinFormat(*card, "Video Preview");
    // The driver allows MPEG-1 only at the 352-pixel sizes.
    EXPECT_FALSE(card->SetEncoderProfile(kPal, kMpeg1, 25025, 720, 576, 1150000, FALSE, FALSE, 0, 0));
    EXPECT_FALSE(card->SetEncoderProfile(kPal, kMpeg2, 30000, 720, 576, 4000000, FALSE, FALSE, 0, 0));
    EXPECT_FALSE(card->SetEncoderProfile(kPal, kMpeg2, 25025, 720, 577, 4000000, FALSE, FALSE, 0, 0));
    EXPECT_FALSE(card->SetEncoderProfile(kPal, kMpeg2, 25025, 720, 576, 4000001, FALSE, FALSE, 0, 0));
    EXPECT_FALSE(card->SetEncoderProfile(kPal, 4, 25025, 720, 576, 4000000, FALSE, FALSE, 0, 0));
    Box().SetCurrentProfile("Unknown", kPal);
    EXPECT_FALSE(card->SetEncoderProfile(kPal, kMpeg2, 25025, 720, 576, 4000000, FALSE, FALSE, 0, 0));
    EXPECT_TRUE(capture == PinFormat(*card, "Video Capture"));
    EXPECT_TRUE(preview == PinFormat(*card, "Video Preview"));
    Box().SetCurrentProfile("DVD", kPal);
    EXPECT_TRUE(card->SetEncoderProfile(kPal, kMpeg1, 25025, 352, 288, 1150000, FALSE, FALSE, 0, 0));
}

// Literally the 1428 bytes would be written past a block with room for fewer.
TEST_F(WisCard, ABlockWithoutRoomForTheExtensionIsSetWithoutIt) {
    Box().SetShortFormatBlocks(true);
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    platform::ClearTrace();
    ASSERT_TRUE(card->SetEncoderProfile(kPal, kMpeg2, 25025, 720, 576, 4000000, FALSE, FALSE, 0, 0));
    const MediaType format = PinFormat(*card, "Video Capture");
    const size_t normal = offsetof(MPEG2VIDEOINFO, dwSequenceHeader);
    ASSERT_EQ(normal + hwsim::kWisShortBlockRoom, format.FormatSize());
    EXPECT_EQ(622080u, reinterpret_cast<const MPEG2VIDEOINFO*>(format.Format())->hdr.bmiHeader.biSizeImage);
    for (size_t i = normal; i < format.FormatSize(); ++i) EXPECT_EQ(0, format.Format()[i]) << i;
    EXPECT_TRUE(platform::TraceContains("no room for the encoder extension"));
    EXPECT_TRUE(card->SetEncoderProfile(kPal, kMpeg4, 25025, 352, 288, 2000000, FALSE, FALSE, 0, 0));
    EXPECT_TRUE(Box().Extensions().empty());
}

TEST_F(WisCard, FrameRateZeroOrAFailingSetFormatGivesFalse) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    const MediaType before = PinFormat(*card, "Video Capture");
    CComPtr<IAMStreamConfig> config;
    ASSERT_EQ(S_OK, card->FindPin("Video Capture")->GetPin()->QueryInterface(IID_IAMStreamConfig,
                                                                           reinterpret_cast<void**>(&config)));
    EncoderConfig c = {};
    c.stream.compress_mode = 1;
    c.resolution.width = 720;
    c.resolution.height = 576;
    EXPECT_FALSE(card->ApplyPinFormat(config, &c));
    EXPECT_TRUE(before == PinFormat(*card, "Video Capture"));
    c.framerate.frame_rate = 25025;
    platform::InjectFailure("IAMStreamConfig::SetFormat");
    EXPECT_FALSE(card->ApplyPinFormat(config, &c));
    EXPECT_TRUE(platform::TraceContains("wisproxy: set pin format failed"));
    c.stream.compress_mode = 2;
    EXPECT_FALSE(card->ApplyPinFormat(config, &c));
    EXPECT_FALSE(card->ApplyPinFormat(nullptr, &c));
}

TEST_F(WisCard, BitRateRangeAndFrameRateNames) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    DWORD min = 0;
    DWORD max = 0;
    EXPECT_TRUE(card->GetBitrateRange(kPal, 720, 576, &min, &max));
    EXPECT_EQ(1000000u, min);
    EXPECT_EQ(9800000u, max);
    EXPECT_FALSE(card->GetCombinations().empty());
    EXPECT_TRUE(card->GetBitrateRange(AnalogVideo_NTSC_M, 352, 240, &min, &max));
    EXPECT_EQ(500000u, min);
    EXPECT_EQ(3000000u, max);
    EXPECT_FALSE(card->GetBitrateRange(kPal, 720, 480, &min, &max));

    CStringArray names;
    EXPECT_TRUE(card->ListFrameRateNames(kNtsc, names));
    ASSERT_EQ(3, names.GetSize());
    EXPECT_STREQ("29.97 fps", names[0]);
    EXPECT_STREQ("14.99 fps", names[2]);
    EXPECT_TRUE(card->ListFrameRateNames(kPal, names));
    ASSERT_EQ(1, names.GetSize());
    EXPECT_STREQ("25 fps", names[0]);
    EXPECT_FALSE(card->ListFrameRateNames(AnalogVideo_PAL_D, names));
    EXPECT_EQ(0, names.GetSize());
}

// ---- the audio pin ----

// Literally TRUE came back whatever SetFormat answered.
TEST_F(WisCard, AudioFormatIsSetAndReadOnTheAudioPin) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    AudioFormatInfo info = {};
    ASSERT_TRUE(card->GetAudioFormat(&info));
    EXPECT_EQ(48000u, info.samplesPerSec);
    EXPECT_EQ(WAVE_FORMAT_PCM, info.formatTag);
    AudioFormatInfo wanted = {WAVE_FORMAT_PCM, 32000, 1, 16, 2, 64000, 0, 9};
    EXPECT_TRUE(card->SetAudioFormat(&wanted));
    info.extraSize = 5;
    ASSERT_TRUE(card->GetAudioFormat(&info));
    EXPECT_EQ(32000u, info.samplesPerSec);
    EXPECT_EQ(1u, info.channels);
    EXPECT_EQ(2, info.blockAlign);
    EXPECT_EQ(64000u, info.avgBytesPerSec);
    EXPECT_EQ(0, info.extraSize);

    wanted.formatTag = 0x55;
    EXPECT_FALSE(card->SetAudioFormat(&wanted));
    wanted = {WAVE_FORMAT_PCM, 48000, 2, 16, 4, 192000, 0, 0};
    platform::InjectFailure("IAMStreamConfig::SetFormat");
    EXPECT_FALSE(card->SetAudioFormat(&wanted));
    ASSERT_TRUE(card->GetAudioFormat(&info));
    EXPECT_EQ(32000u, info.samplesPerSec);
}

// ---- blocks smaller than their structure, on a pin of the test's own ----

class BareFilter : public platform::dshow::With<platform::dshow::FilterBase> {
public:
    BareFilter() : With(CLSID_NULL) {}
};

// An MPEG-2 setting of the size at 25 fps.
EncoderConfig Mpeg2At(DWORD width, DWORD height) {
    EncoderConfig c = {};
    c.stream.compress_mode = 1;
    c.resolution.width = width;
    c.resolution.height = height;
    c.framerate.frame_rate = 25025;
    return c;
}

CComPtr<IAMStreamConfig> PinOffering(CComPtr<BareFilter>& filter, std::vector<platform::dshow::StreamCapability> caps) {
    filter.Attach(new BareFilter());
    CComPtr<platform::dshow::PinBase> pin;
    pin.Attach(new platform::dshow::StreamConfigPin(
        filter, platform::dshow::PinDescription{PINDIR_OUTPUT, L"Out", L"", PIN_CATEGORY_CAPTURE, {}}, std::move(caps)));
    filter->AddPin(pin);
    CComPtr<IAMStreamConfig> config;
    pin->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config));
    return config;
}

// Literally the header fields were read and written in a block too small to hold them.
TEST_F(WisCard, BlocksSmallerThanTheirStructureAreNeitherTakenNorWritten) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    std::vector<BYTE> tiny(40, 0);
    CComPtr<BareFilter> filter;
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    CComPtr<IAMStreamConfig> video = PinOffering(
        filter, {platform::dshow::StreamCapability::Video(
                    MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, tiny.data(), 40), caps)});
    ASSERT_NE(nullptr, video);
    EncoderConfig c = Mpeg2At(0, 0);
    EXPECT_FALSE(card->ApplyPinFormat(video, &c));

    AUDIO_STREAM_CONFIG_CAPS audioCaps = {};
    CComPtr<BareFilter> audioFilter;
    CComPtr<IAMStreamConfig> audio = PinOffering(
        audioFilter, {platform::dshow::StreamCapability::Audio(
                         MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, tiny.data(), 10), audioCaps)});
    ASSERT_NE(nullptr, audio);
    AudioFormatInfo info = {0, 48000, 2, 16, 4, 192000, 0, 0};
    EXPECT_FALSE(card->ApplyAudioFormat(audio, &info));
    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(S_OK, audio->GetFormat(&mt));
    EXPECT_EQ(10u, mt->cbFormat);
    EXPECT_EQ(std::vector<BYTE>(10, 0), std::vector<BYTE>(mt->pbFormat, mt->pbFormat + 10));
    DeleteMediaType(mt);
}

TEST_F(WisCard, ASequenceHeaderThatDoesNotFitItsBlockIsRefusedNotWrapped) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    const size_t head = offsetof(MPEG2VIDEOINFO, dwSequenceHeader);
    std::vector<BYTE> block(head + sizeof(TCFG_FORMAT_EXTENSION), 0);
    auto* info = reinterpret_cast<MPEG2VIDEOINFO*>(block.data());
    info->hdr.bmiHeader.biWidth = 720;
    info->hdr.bmiHeader.biHeight = 576;
    info->cbSequenceHeader = static_cast<DWORD>(0x100000000ULL - head + 8);  // head + it wraps to 8 in 32 bits
    CComPtr<BareFilter> filter;
    CComPtr<IAMStreamConfig> video = PinOffering(
        filter, {platform::dshow::StreamCapability::Video(
                    MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, block.data(),
                              static_cast<ULONG>(block.size())),
                    VIDEO_STREAM_CONFIG_CAPS{})});
    ASSERT_NE(nullptr, video);
    EncoderConfig c = Mpeg2At(720, 576);
    EXPECT_FALSE(card->ApplyPinFormat(video, &c));
    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(S_OK, video->GetFormat(&mt));
    EXPECT_EQ(block, std::vector<BYTE>(mt->pbFormat, mt->pbFormat + mt->cbFormat));
    DeleteMediaType(mt);
}

TEST_F(WisCard, SettingIndexesPastTheFilesTablesAreRefused) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    // The shipped file: 4 stream, 4 frame-rate, 6 resolution and 5 bit-rate entries.
    const ProfileTables& tables = card->GetProfileTables();
    ASSERT_EQ(4u, tables.framerate.count);
    ASSERT_EQ(6u, tables.resolution.count);
    ASSERT_EQ(5u, tables.bitrate.count);
    ASSERT_TRUE(card->RefreshCombinations());
    // Past the counts, in every combination of entries that are there.
    int valid = 0;
    for (int stream = 0; stream < 4; ++stream) {
        for (int rate = 0; rate < 4; ++rate) {
            valid += card->IsFrameRateValid(stream, rate);
            EXPECT_FALSE(card->IsResolutionValid(stream, rate, 6));
            for (int resolution = 0; resolution < 6; ++resolution)
                EXPECT_FALSE(card->IsBitrateAllowed(stream, rate, resolution, 5));
        }
        EXPECT_FALSE(card->IsFrameRateValid(stream, 4));
        EXPECT_FALSE(card->IsBitrateAllowed(stream, 0, 6, 0));
    }
    EXPECT_GT(valid, 0);
    EXPECT_FALSE(card->IsFrameRateValid(4, 0));
}

TEST_F(WisCard, AFrameRateNameFillingItsFieldIsTakenToItsSixtyFourBytes) {
    CJorskCaptureFilter* card = Open();
    ASSERT_NE(nullptr, card);
    // The driver's block as it handed it: a PAL name of 64 bytes without a terminator.
    auto& caps = const_cast<EncoderCapabilities&>(card->GetCapabilities());
    for (DWORD i = 0; i < caps.framerateCount; ++i) {
        if (caps.framerates[i].tv_standard != static_cast<DWORD>(kPal)) continue;
        std::memset(caps.framerates[i].head.name, 'n', sizeof caps.framerates[i].head.name);
        std::memset(caps.framerates[i].head.desc, 'd', sizeof caps.framerates[i].head.desc);
    }
    CStringArray names;
    ASSERT_TRUE(card->ListFrameRateNames(kPal, names));
    ASSERT_EQ(1, names.GetSize());
    EXPECT_EQ(std::string(64, 'n'), std::string(names[0]));
}

// ---- the crossbar ----

TEST_F(WisCard, JorskCrossbarSharesAudioInputFourAndRefusesPinsOutOfRange) {
    auto* crossbar = dynamic_cast<CJorskCrossbarFilter*>(
        Graph().AddDeviceFilter(AM_KSCATEGORY_CROSSBAR, "Jorsk CrossBar", "Xbar", 0, 0));
    ASSERT_NE(nullptr, crossbar);
    EXPECT_EQ(3, crossbar->GetAudioRoute(0));
    EXPECT_EQ(4, crossbar->GetAudioRoute(1));
    EXPECT_EQ(4, crossbar->GetAudioRoute(2));
    EXPECT_EQ(2, crossbar->GetVideoRoute(2));
    EXPECT_FALSE(crossbar->RoutePins(-1, 0));
    EXPECT_FALSE(crossbar->RoutePins(0, 2));
    EXPECT_TRUE(crossbar->SetAudioInput(2));
    EXPECT_EQ(4, Board(0).AudioRoute());
    EXPECT_TRUE(crossbar->RoutePins(1, 0));
    EXPECT_EQ(1, Board(0).VideoRoute());
}

}  // namespace
