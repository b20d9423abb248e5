// The card manager's recording graph over filters of the tests' own: the encoder bound by the
// card's device index and set up in order, and the file writer connected to the encoder's second
// output (the recording fails when it cannot be).
#include <gtest/gtest.h>

#include <objbase.h>

#include <cstring>
#include <vector>

#include "CardMan.h"
#include "MPEG2Demultiplexer.h"
#include "StationFilterClasses.h"
#include "TestEncoderCard.h"
#include "cards/base/CardFilterClasses.h"
#include "graph/DumpFilter.h"
#include "graph/MpegEncoderFilter.h"
#include "support/GraphTestDoubles.h"

using namespace graphtest;

namespace {

constexpr GUID kVideoDecoderClsid = {0x0246CA20, 0x776D, 0x11D2, {0x80, 0x10, 0x00, 0x10, 0x4B, 0x9B, 0x85, 0x92}};
constexpr GUID kAudioDecoderClsid = {0x7E2E0DC1, 0x31FD, 0x11D2, {0x9C, 0x21, 0x00, 0x10, 0x4B, 0x38, 0x01, 0xF6}};

struct SetCall {
    ULONG id;
    std::vector<BYTE> data;
};

// A hardware encoder stand-in: "656" and "I2S" in, `outputs` program-stream outputs, and its
// property set recording every Set.
class TestEncoder : public TestFilter {
public:
    TestEncoder(int outputs, std::vector<SetCall>* calls) : TestFilter(GUID_NULL, Pins(outputs)) {
        Properties().AddSet(
            CMpegEncoderFilter::kPropertySet,
            [calls](platform::dshow::KsPropertyRequest& r) -> HRESULT {
                if (r.verb == platform::dshow::KsVerb::Set) {
                    const BYTE* bytes = static_cast<const BYTE*>(r.data);
                    calls->push_back({r.id, std::vector<BYTE>(bytes, bytes + r.dataLength)});
                }
                return S_OK;
            },
            [](ULONG, DWORD* support) -> HRESULT {
                *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
                return S_OK;
            });
    }
    static std::vector<platform::dshow::PinDescription> Pins(int outputs) {
        std::vector<platform::dshow::PinDescription> pins{InputPin(L"656"), InputPin(L"I2S")};
        for (int i = 0; i < outputs; ++i) {
            pins.push_back({PINDIR_OUTPUT, i == 0 ? L"Program" : L"Program 2", L"", GUID_NULL,
                            {MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM)}});
        }
        return pins;
    }
};

class RecordGraphTest : public cardtest::EncoderCardFixture {
protected:
    void SetUp() override {
        EncoderCardFixture::SetUp();
        cookies.push_back(RegisterTestFilterClass(
            kVideoDecoderClsid,
            {{PINDIR_INPUT, L"Video In", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO)}},
             {PINDIR_OUTPUT, L"Video Output", L"", GUID_NULL,
              {platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 720, 480, 16)}}}));
        cookies.push_back(RegisterTestFilterClass(
            kAudioDecoderClsid,
            {{PINDIR_INPUT, L"Audio In", L"", GUID_NULL, {MediaType(MEDIATYPE_Audio, GUID_NULL)}},
             {PINDIR_OUTPUT, L"PCM Out", L"", GUID_NULL, {platform::dshow::PcmAudioType(2, 48000, 16)}}}));
    }
    void TearDown() override {
        for (DWORD cookie : cookies) platform::UnregisterComClass(cookie);
        EncoderCardFixture::TearDown();
    }
    // The encoder of board `board`, fed by that board's capture device.
    platform::DeviceId AddEncoder(int outputs, std::vector<SetCall>* calls, int board) {
        platform::DeviceEntry entry;
        entry.upstream = {{captures[board], L"656", L"656"}, {captures[board], L"I2S", L"I2S"}};
        entry.category = KSCATEGORY_ENCODER;
        entry.friendlyName = L"Rivesk MPEG Encoder";
        entry.factory = [outputs, calls](REFIID riid, void** ppv) -> HRESULT {
            return platform::CreateComObject<TestEncoder>(riid, ppv, outputs, calls);
        };
        return platform::AddDevice(std::move(entry));
    }
    std::vector<DWORD> cookies;
};

TEST_F(RecordGraphTest, TheCardsEncoderTakesItsSettingsInOrderAndFeedsTheFileWriterAndTheLivePicture) {
    std::vector<SetCall> first, second;
    platform::DeviceId secondEncoder = AddEncoder(2, &second, 1);
    AddEncoder(2, &first, 0);
    CCardMan& man = Open(1);
    ASSERT_TRUE(man.BuildEncoderGraph());
    EXPECT_EQ(BoundDevice(man.GetEncoder()), secondEncoder) << "the second card has its own board's encoder";
    EXPECT_TRUE(first.empty());
    ASSERT_EQ(second.size(), CCardMan::kEncoderSettingCount + 1);
    for (size_t i = 0; i < CCardMan::kEncoderSettingCount; ++i) {
        const EncoderSetting& s = CCardMan::kEncoderSettings[i];
        EXPECT_EQ(second[i].id, s.id);
        ASSERT_EQ(second[i].data.size(), s.size) << "id " << s.id;
        DWORD value = 0;
        std::memcpy(&value, second[i].data.data(), s.size);
        EXPECT_EQ(value, s.value) << "id " << s.id;
    }
    const std::vector<ULONG> order{9, 8, 6, 7, 5, 4, 2, 1, 0};
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(second[i].id, order[i]);
    ASSERT_EQ(second.back().data.size(), 12u);
    DWORD rates[3];
    std::memcpy(rates, second.back().data.data(), sizeof(rates));
    EXPECT_EQ(rates[0], 0u);
    EXPECT_EQ(rates[1], 4500000u);
    EXPECT_EQ(rates[2], 9800000u);

    ASSERT_TRUE(man.ConnectEncoderGraph());
    CRootPin* writerIn = man.GetDumpFilter()->FindPinByDirection(PINDIR_INPUT, FALSE);
    ASSERT_NE(writerIn, nullptr) << "the file writer is connected";
    EXPECT_EQ(writerIn->GetPeer()->GetFilter(), man.GetEncoder());
    EXPECT_STREQ(writerIn->GetPeer()->GetName(), "Program 2");
    EXPECT_TRUE(man.GetDemux()->FindPin("Video")->IsConnected());
    EXPECT_TRUE(man.GetDemux()->FindPin("Audio")->IsConnected());
    EXPECT_TRUE(man.GetVideoDecoder()->FindPin("Video Output")->IsConnected());

    man.StopRecord();
    EXPECT_EQ(man.GetDumpFilter(), nullptr);
    EXPECT_EQ(man.GetEncoder(), nullptr);
    EXPECT_NE(man.GetDemux(), nullptr) << "the live picture's filters stay";
}

TEST_F(RecordGraphTest, AnEncoderWithoutASecondOutputFailsTheRecordingInsteadOfWritingNothing) {
    std::vector<SetCall> calls;
    AddEncoder(1, &calls, 0);
    CCardMan& man = Open(0);
    ASSERT_TRUE(man.BuildEncoderGraph());
    EXPECT_FALSE(man.ConnectEncoderGraph());
    man.StopGraph();
    EXPECT_FALSE(man.StartRecord("recording.mpg"));
    EXPECT_NE(man.GetGraph().GetState(), GRAPH_STATE_RUNNING);
}

TEST_F(RecordGraphTest, ACardWithoutItsOwnEncoderCannotRecord) {
    std::vector<SetCall> calls;
    AddEncoder(2, &calls, 0);
    CCardMan& man = Open(1);
    EXPECT_FALSE(man.BuildEncoderGraph()) << "one encoder, the first board's";
    EXPECT_EQ(man.GetEncoder(), nullptr);
    EXPECT_FALSE(man.ConnectEncoderGraph());
    EXPECT_TRUE(calls.empty());
}

TEST_F(RecordGraphTest, TheEncoderCardsPreviewRunsThroughItsEncoder) {
    std::vector<SetCall> calls;
    AddEncoder(2, &calls, 0);
    CCardMan& man = Open(0);
    ASSERT_TRUE(man.IsCardKind11());
    EXPECT_TRUE(man.BuildEncoderPreview());
    ASSERT_NE(man.GetVmr(), nullptr);
    CRootPin* shown = man.GetVmr()->FindPinByDirection(PINDIR_INPUT, FALSE);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->GetPeer()->GetFilter(), man.GetVideoDecoder());
    EXPECT_EQ(calls.size(), CCardMan::kEncoderSettingCount + 1);
}

}  // namespace
