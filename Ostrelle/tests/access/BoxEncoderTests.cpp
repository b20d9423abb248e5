// The encoder-settings routines against the simulated box driver's property stores: the read
// and write orders, property 1's two forms by the registry flag, the record capacity with its
// traces, the GOP, pre-filter and option properties, and the settings dump.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "access/Mpeg2BoxAccess.h"
#include "hwsim/drivers/BoxDriver.h"
#include "hwsim/drivers/BoxRecordCapacity.h"
#include "platform/registry_preset.h"
#include "support/BoxBoard.h"

namespace {

const char kDriverKey[] = "SYSTEM\\CurrentControlSet\\Services\\Conexant\\Parameters\\iVac15\\Driver";

class BoxEncoderTest : public BoxBoardTest<BoxBoard::Family::Mpeg2Box> {
protected:
    hwsim::BoxDriver& Driver() { return board.DriverAs<hwsim::BoxDriver>(); }
    // The ids of the Gets or Sets of the wire log, in order.
    std::vector<DWORD> Ids(hwsim::WireRequest::Verb verb)
    {
        std::vector<DWORD> ids;
        for (const hwsim::WireRequest& request : board.Driver().Log().Requests()) {
            if (request.verb == verb) ids.push_back(request.id);
        }
        return ids;
    }
    void Preset(DWORD id, std::vector<BYTE> bytes) { Driver().Store().Store(hwsim::kBoxPropertySet, id, bytes.data(), bytes.size()); }
    std::vector<BYTE> Stored(DWORD id, size_t size) { return Driver().Store().Bytes(hwsim::kBoxPropertySet, id, size); }

    const CBoxEncoder& encoder = CMpeg2BoxAccess::Encoder();
    BoxEncoderTest() { capacity.Attach(new hwsim::BoxRecordCapacity); }

    CComPtr<hwsim::BoxRecordCapacity> capacity;
};

TEST_F(BoxEncoderTest, FullReadFillsTheRecordInItsPropertyOrder)
{
    Preset(0, {10, 0, 0, 0});
    Preset(1, {1, 0, 0, 0, 0xA0, 0x0F, 7, 0, 0, 0, 0x11, 0x22, 0, 0, 5, 0, 0, 0});
    Preset(6, {0x34, 0x12, 0, 0, 0x78, 0x56, 0, 0});
    Preset(0x3C, {3, 0, 0, 0});
    PREFILTERINFO info = DefaultPreFilterInfo();
    Preset(0x2A, std::vector<BYTE>(reinterpret_cast<BYTE*>(&info), reinterpret_cast<BYTE*>(&info) + sizeof(info)));
    capacity->SetCapacity(4096);

    BOX_ENCODER_SETTINGS settings = {};
    ASSERT_TRUE(encoder.GetSettingStreamFromFilter(&settings, board.Filter(), capacity, FALSE));
    EXPECT_EQ((std::vector<DWORD>{2, 4, 0x3C, 0x32, 0, 0x36, 3, 0x0B, 0x0C, 5, 0x0D, 7, 6, 1, 0x2A}),
              Ids(hwsim::WireRequest::Verb::Get));
    EXPECT_EQ(10, settings.bStreamOutputMode);
    EXPECT_EQ(1, settings.bEncodingMode);
    EXPECT_EQ(4000, settings.wVideoBitrate);
    EXPECT_EQ(7u, settings.bVariance);
    EXPECT_EQ(0x2211u, settings.dwMuxRate);
    EXPECT_EQ(5u, settings.dwVBRPadding);
    EXPECT_EQ(0x1234, settings.wStream20);
    EXPECT_EQ(0x5678, settings.wStream22);
    EXPECT_EQ(3, settings.bTVDecodeFormat);
    EXPECT_EQ(200u, settings.PreFilterInfo.dwDNRSmoothFactor);
    EXPECT_EQ(4096u, settings.dwStorageCap);
    for (const hwsim::WireRequest& request : board.Driver().Log().Requests()) {
        if (request.id == 1 && request.verb == hwsim::WireRequest::Verb::Get) {
            EXPECT_EQ(18u, request.dataLength);
        }
    }

    board.Clear();
    ASSERT_TRUE(encoder.GetShortSettingStreamFromFilter(&settings, board.Filter(), TRUE));
    EXPECT_EQ((std::vector<DWORD>{2, 4, 0x3C, 0x32, 0, 0x36, 3, 0x0B, 0x0C, 5, 0x0D, 7, 6, 1}),
              Ids(hwsim::WireRequest::Verb::Get));
    EXPECT_EQ(4096u, settings.dwStorageCap);
    for (const hwsim::WireRequest& request : board.Driver().Log().Requests()) {
        if (request.id == 1 && request.verb == hwsim::WireRequest::Verb::Get) {
            EXPECT_EQ(10u, request.dataLength);
        }
    }
}

TEST_F(BoxEncoderTest, FullWriteSendsItsPropertiesAndTheCapacity)
{
    BOX_ENCODER_SETTINGS settings = {};
    settings.bStreamOutputMode = 12;
    settings.bEncodingMode = 2;
    settings.wVideoBitrate = 6000;
    settings.bVariance = 9;
    settings.dwMuxRate = 0x10203;
    settings.dwVBRPadding = 4;
    settings.bTransportOutputMode = 1;
    settings.dwStorageCap = 2048;
    ASSERT_TRUE(encoder.SetSettingStreamToFilter(&settings, board.Filter(), capacity, FALSE));
    EXPECT_EQ((std::vector<DWORD>{0, 3, 0x36, 6, 0x0B, 0x0C, 5, 0x0D, 7, 1, 0x32, 0x3E}),
              Ids(hwsim::WireRequest::Verb::Set));
    EXPECT_EQ((std::vector<BYTE>{12, 0, 0, 0}), Stored(0, 4));
    EXPECT_EQ((std::vector<BYTE>{2, 0, 0, 0, 0x70, 0x17, 9, 0, 0, 0, 3, 2, 1, 0, 4, 0, 0, 0}), Stored(1, 18));
    EXPECT_EQ(std::vector<BYTE>(8, 0), Stored(0x3E, 8));
    EXPECT_EQ(2048u, capacity->Capacity());
    EXPECT_TRUE(platform::TraceContains("SetRecordCapacity : 2048 MB succeed!\n"));

    board.Clear();
    ASSERT_TRUE(encoder.SetShortSettingStreamToFilter(&settings, board.Filter(), TRUE));
    EXPECT_EQ((std::vector<DWORD>{0, 3, 6, 0x0B, 0x0C, 5, 0x0D, 7, 1, 0x3E}), Ids(hwsim::WireRequest::Verb::Set));
    for (const hwsim::WireRequest& request : board.Driver().Log().Requests()) {
        if (request.id == 1 && request.verb == hwsim::WireRequest::Verb::Set) {
            EXPECT_EQ((std::vector<BYTE>{2, 0, 0, 0, 0x70, 0x17, 9, 0, 0, 0}), request.data);
        }
    }
}

TEST_F(BoxEncoderTest, RegistryFlagPicksTheOldBitrateForm)
{
    EXPECT_TRUE(CBoxEncoder::IsOldEncoderBitrateInterface());  // no value: the old form
    ASSERT_TRUE(platform::PresetRegistryDword(HKEY_LOCAL_MACHINE, kDriverKey, "OldEncoderBitrateInterface", 0));
    EXPECT_FALSE(CBoxEncoder::IsOldEncoderBitrateInterface());
    ASSERT_TRUE(platform::PresetRegistryDword(HKEY_LOCAL_MACHINE, kDriverKey, "OldEncoderBitrateInterface", 1));
    EXPECT_TRUE(CBoxEncoder::IsOldEncoderBitrateInterface());
}

TEST_F(BoxEncoderTest, RecordCapacityFailuresAreTracedAndReported)
{
    BOX_ENCODER_SETTINGS settings = {};
    capacity->FailCalls(true);
    EXPECT_FALSE(encoder.GetSettingStreamFromFilter(&settings, board.Filter(), capacity, FALSE));
    EXPECT_TRUE(platform::TraceContains("GetRecordCapacity failed\n"));
    EXPECT_FALSE(encoder.SetSettingStreamToFilter(&settings, board.Filter(), capacity, FALSE));
    EXPECT_TRUE(platform::TraceContains("SetRecordCapacity failed\n"));

    capacity->FailCalls(false);
    capacity->ThrowOnSet(true);
    platform::ClearTrace();
    EXPECT_FALSE(encoder.SetSettingStreamToFilter(&settings, board.Filter(), capacity, FALSE));
    EXPECT_TRUE(platform::TraceContains("Exception occured on SetRecordCapacity"));
    EXPECT_FALSE(platform::TraceContains("succeed"));
}

TEST_F(BoxEncoderTest, RefusedPropertiesAreTracedAndTheOthersStillGo)
{
    board.Driver().OverrideSupport(hwsim::kBoxPropertySet, 3, hwsim::KsDriver::kSupportGet);
    board.Driver().OverrideSupport(hwsim::kBoxPropertySet, 5, 0);
    BOX_ENCODER_SETTINGS settings = {};
    EXPECT_FALSE(encoder.SetShortSettingStreamToFilter(&settings, board.Filter(), FALSE));
    EXPECT_TRUE(platform::TraceContains("IKsPropertySet->SetProperty  method is not supported!(ID=3)\n"));
    EXPECT_TRUE(platform::TraceContains("IKsPropertySet->QuerySupported IVAC_VIDEO_RESOLUTION failed\n"));
    EXPECT_EQ((std::vector<DWORD>{0, 6, 0x0B, 0x0C, 0x0D, 7, 1, 0x3E}), Ids(hwsim::WireRequest::Verb::Set));

    platform::ClearTrace();
    platform::InjectFailure("IKsPropertySet::Get");
    EXPECT_FALSE(encoder.GetShortSettingStreamFromFilter(&settings, board.Filter(), FALSE));
    EXPECT_TRUE(platform::TraceContains("IKsPropertySet->GetProperty failed(ID=2)\n"));
}

TEST_F(BoxEncoderTest, GopPreFilterAndOptionProperties)
{
    ASSERT_TRUE(encoder.SetGopSize(board.Filter(), 15, 1));
    EXPECT_EQ((std::vector<BYTE>{15}), Stored(0x3F, 1));
    EXPECT_EQ((std::vector<BYTE>{1}), Stored(0x40, 1));
    board.Driver().OverrideSupport(hwsim::kBoxPropertySet, 0x40, 0);
    platform::ClearTrace();
    EXPECT_FALSE(encoder.SetGopSize(board.Filter(), 12, 0));
    EXPECT_EQ("CMpeg2BoxAccess::GetSettingStreamFromFilter - IKsPropertySet->Set IVAC_GOP_SIZE failed\n",
              platform::TraceText());  // once, and nothing else

    PREFILTERINFO info = DefaultPreFilterInfo();
    info.dwDNRMode = 3;
    ASSERT_TRUE(encoder.SetPreFilter(board.Filter(), &info));
    PREFILTERINFO back = {};
    ASSERT_TRUE(encoder.GetPreFilter(board.Filter(), &back));
    EXPECT_EQ(0, std::memcmp(&info, &back, sizeof(info)));

    board.Clear();
    ASSERT_TRUE(encoder.SetStreamOptions(board.Filter()));
    std::vector<std::vector<BYTE>> sent;
    for (const hwsim::WireRequest& request : board.Driver().Log().Requests()) {
        if (request.verb == hwsim::WireRequest::Verb::Set) sent.push_back(request.data);
    }
    EXPECT_EQ((std::vector<std::vector<BYTE>>{{3, 0, 0, 0, 1}, {3, 0, 0, 0, 0}, {13, 0, 0, 0, 1}, {13, 0, 0, 0, 0}}),
              sent);
    EXPECT_EQ((std::vector<DWORD>{22, 24, 22, 24}), Ids(hwsim::WireRequest::Verb::Set));

    DWORD format = 2;
    EXPECT_FALSE(encoder.SetTVEncodeFormat(board.Filter(), nullptr));
    EXPECT_FALSE(encoder.SetTVEncodeFormat(nullptr, &format));
    ASSERT_TRUE(encoder.SetTVEncodeFormat(board.Filter(), &format));
    EXPECT_EQ((std::vector<BYTE>{2, 0, 0, 0}), Stored(4, 4));
}

TEST_F(BoxEncoderTest, DumpMatchesTheGoldenFile)
{
    BOX_ENCODER_SETTINGS settings = {};
    settings.bStreamOutputMode = 10;
    settings.bVideoInMode = 1;
    settings.bTVEncodeFormat = 2;
    settings.bTVDecodeFormat = 3;
    settings.dwStorageCap = 4096;
    settings.wVideoBitrate = 6000;
    settings.bEncodingMode = 1;
    settings.bVariance = 2;
    settings.dwMuxRate = 10080;
    settings.dwVBRPadding = 0;
    settings.bVideoResolution = 4;
    settings.bMPEGAudLayer = 2;
    settings.bAudioSamplingRate = 1;
    settings.bAudioDataRate = 12;
    settings.bAudioOutputMode = 0;
    settings.bCRCState = 1;
    settings.bGOPStructure = 3;
    settings.bAudioEncodingMode = 0;
    settings.bClosedGOP = 1;
    settings.bInverseTel = 0;
    settings.bTransportOutputMode = 1;
    settings.nSharpness = -3;
    settings.nBrightness = 128;
    settings.nContrast = 64;
    settings.nSaturation = 70;
    settings.nHue = -5;
    settings.PreFilterInfo = DefaultPreFilterInfo();
    const std::string path = platform::HomeDir() + "/settings dump.txt";
    ASSERT_TRUE(DumpEncoderSettings(settings, path.c_str()));
    std::ifstream dumped(path, std::ios::binary);
    std::ifstream golden(std::string(BOX_TEST_DATA) + "/EncoderSettingsDump.txt", std::ios::binary);
    ASSERT_TRUE(golden.good());
    std::stringstream a, b;
    a << dumped.rdbuf();
    b << golden.rdbuf();
    EXPECT_EQ(b.str(), a.str());
    EXPECT_FALSE(DumpEncoderSettings(settings, (platform::HomeDir() + "/no such folder/dump.txt").c_str()));
}

}  // namespace
