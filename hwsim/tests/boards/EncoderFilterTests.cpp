// The board's MPEG encoder: its settings through the property set, the ports it takes, and
// the program stream it records (read back by libavformat, not by the writing code).
#include <gtest/gtest.h>

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "dshow.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/CardSignal.h"
#include "hwsim/boards/EncoderFilter.h"
#include "platform/devicetree.h"
#include "support/BenchFixture.h"
#include "support/RecordingReader.h"
#include "support/StreamSink.h"
#include "vfwmsgs.h"

namespace hwsim {
namespace {

class EncoderFilterTest : public BenchFixture {
protected:
    void SetUp() override {
        BenchFixture::SetUp();
        ASSERT_GE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), 0);
        bench = Bench::FromText(R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 97, "encoder": true},
                                              {"kind": "713x BDA Analog Capture", "tuner": 97, "encoder": true},
                                              {"kind": "713x BDA Analog Capture", "tuner": 97}],
                                    "stations": [{"kHz": 49750}, {"kHz": 471250}, {"kHz": 615250}]})");
        devices = std::make_unique<BenchDevices>(*bench);
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&graph)));
    }
    void TearDown() override {
        graph.Release();
        devices.reset();
        bench.reset();
        CoUninitialize();
        BenchFixture::TearDown();
    }
    Card& CardAt(size_t i) { return *bench->Cards()[i]; }
    CComPtr<IBaseFilter> Add(platform::DeviceId id, const wchar_t* name) {
        CComPtr<IBaseFilter> filter;
        EXPECT_EQ(S_OK, platform::BindDevice(id, IID_IBaseFilter, reinterpret_cast<void**>(&filter)));
        EXPECT_TRUE(SUCCEEDED(graph->AddFilter(filter, name)));
        return filter;
    }
    HRESULT Join(IBaseFilter* from, const wchar_t* out, IBaseFilter* to, const wchar_t* in) {
        return graph->ConnectDirect(PinNamed(from, out), PinNamed(to, in), nullptr);
    }
    void Tune(Card& card, long kHz) {
        const WORD n = WORD((38900 + kHz) * 16 / 1000);
        const BYTE bytes[4] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x04};
        ASSERT_EQ(I2CResult::Ack, card.Bus().WriteRaw(0xC0, bytes, 4));
    }

    std::unique_ptr<Bench> bench;
    std::unique_ptr<BenchDevices> devices;
    CComPtr<IGraphBuilder> graph;
};

TEST_F(EncoderFilterTest, EveryBoardWithTheEncoderRegistersOneInBenchOrder) {
    const auto encoders = platform::DevicesInCategory(KSCATEGORY_ENCODER);
    ASSERT_EQ(2u, encoders.size());
    EXPECT_EQ(devices->EncoderDevice(CardAt(0)), encoders[0]);
    EXPECT_EQ(devices->EncoderDevice(CardAt(1)), encoders[1]);
    EXPECT_EQ(0u, devices->EncoderDevice(CardAt(2)));
    platform::DeviceEntry entry;
    ASSERT_TRUE(platform::GetDevice(encoders[0], &entry));
    EXPECT_EQ(kEncoderDeviceName, entry.friendlyName);
}

TEST_F(EncoderFilterTest, TakesItsSettingsAndRefusesWrongSizeUnknownIdAndChangesWhileRunning) {
    CComPtr<IBaseFilter> encoder = Add(devices->EncoderDevice(CardAt(0)), L"Encoder");
    CComPtr<IKsPropertySet> properties;
    ASSERT_EQ(S_OK, encoder->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&properties)));
    auto set = [&](DWORD id, void* data, DWORD size) {
        return properties->Set(kEncoderPropertySet, id, data, size, data, size);
    };
    // The settings in the system's order: rates, GOP, then the rest.
    EncoderFilter::RateRecord rates{1, 4000000, 6000000};
    EXPECT_EQ(S_OK, set(0, &rates, sizeof(rates)));
    BYTE gop = 12;
    EXPECT_EQ(S_OK, set(2, &gop, 1));
    BYTE byte4 = 3;
    EXPECT_EQ(S_OK, set(4, &byte4, 1));
    for (DWORD id : {1u, 5u, 6u, 7u, 8u, 9u}) {
        DWORD value = 100 + id;
        EXPECT_EQ(S_OK, set(id, &value, 4)) << id;
    }
    WireLog& log = devices->EncoderLog(CardAt(0));
    ASSERT_EQ(9u, log.Size());
    EXPECT_EQ("rate mode 1 average 4000000 maximum 6000000", log.Requests()[0].what);

    EncoderFilter::RateRecord tooFast{1, 16000000, 16000000}, upsideDown{1, 7000000, 6000000};
    EXPECT_EQ(E_INVALIDARG, set(0, &tooFast, sizeof(tooFast)));
    EXPECT_EQ(E_INVALIDARG, set(0, &upsideDown, sizeof(upsideDown)));
    DWORD four = 30;
    EXPECT_EQ(E_INVALIDARG, set(2, &four, 4));
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, set(3, &four, 4));
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, set(10, &four, 4));

    CComPtr<IMediaFilter> filter;
    ASSERT_EQ(S_OK, encoder->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&filter)));
    ASSERT_EQ(S_OK, filter->Pause());
    gop = 30;
    EXPECT_EQ(VFW_E_NOT_STOPPED, set(2, &gop, 1));
    ASSERT_EQ(S_OK, filter->Stop());

    // Nothing refused changed anything.
    EncoderFilter::RateRecord read{};
    DWORD returned = 0;
    ASSERT_EQ(S_OK, properties->Get(kEncoderPropertySet, 0, &read, sizeof(read), &read, sizeof(read), &returned));
    EXPECT_EQ(0, std::memcmp(&rates, &read, sizeof(read)));
    BYTE gopRead = 0;
    ASSERT_EQ(S_OK, properties->Get(kEncoderPropertySet, 2, &gopRead, 1, &gopRead, 1, &returned));
    EXPECT_EQ(12, gopRead);
    DWORD value9 = 0;
    ASSERT_EQ(S_OK, properties->Get(kEncoderPropertySet, 9, &value9, 4, &value9, 4, &returned));
    EXPECT_EQ(109u, value9);
    int refused = 0;
    for (const WireRequest& request : log.Requests()) refused += request.result != S_OK;
    EXPECT_EQ(6, refused);
    EXPECT_EQ(VFW_E_NOT_STOPPED, log.Requests()[14].result);
}

TEST_F(EncoderFilterTest, TakesOnlyItsOwnBoardsPorts) {
    CComPtr<IBaseFilter> own = Add(devices->CaptureDevice(CardAt(0)), L"Capture 0");
    CComPtr<IBaseFilter> other = Add(devices->CaptureDevice(CardAt(1)), L"Capture 1");
    CComPtr<IBaseFilter> encoder = Add(devices->EncoderDevice(CardAt(0)), L"Encoder");
    EXPECT_TRUE(FAILED(Join(other, L"656", encoder, L"656")));
    EXPECT_TRUE(FAILED(Join(own, L"I2S", encoder, L"656")));
    EXPECT_EQ(S_OK, Join(own, L"656", encoder, L"656"));
    EXPECT_EQ(S_OK, Join(own, L"I2S", encoder, L"I2S"));
    EXPECT_EQ(nullptr, PinNamed(Add(devices->CaptureDevice(CardAt(2)), L"Capture 2"), L"656").p);
}

// A picture's luma as YUY2 (chroma grey), for the station code reader.
TEST_F(EncoderFilterTest, RecordsAProgramStreamOfTheStationThatLibavformatReads) {
    Tune(CardAt(0), 615250);
    CComPtr<IBaseFilter> capture = Add(devices->CaptureDevice(CardAt(0)), L"Capture");
    CComPtr<IBaseFilter> encoder = Add(devices->EncoderDevice(CardAt(0)), L"Encoder");
    CComPtr<IBaseFilter> writer;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_Dump, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                     reinterpret_cast<void**>(&writer)));
    ASSERT_EQ(S_OK, graph->AddFilter(writer, L"Dump"));
    const std::string path = (dir / "record.mpg").string();
    CComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(S_OK, writer->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&sink)));
    ASSERT_EQ(S_OK, sink->SetFileName(std::wstring(path.begin(), path.end()).c_str(), nullptr));
    ASSERT_EQ(S_OK, Join(capture, L"656", encoder, L"656"));
    ASSERT_EQ(S_OK, Join(capture, L"I2S", encoder, L"I2S"));
    ASSERT_EQ(S_OK, Join(encoder, L"MPEG Out 2", writer, L"Input"));
    StreamSink* live = new StreamSink();
    CComPtr<IBaseFilter> liveFilter;
    liveFilter.Attach(live);
    ASSERT_EQ(S_OK, graph->AddFilter(liveFilter, L"Live"));
    ASSERT_EQ(S_OK, Join(encoder, L"MPEG Out", liveFilter, L"In"));
    live->keepAll = true;
    RunFor(graph, 5000);
    graph.Release();

    const RecordingStreams got = ReadRecording(path, 2);
    ASSERT_TRUE(got.opened);
    EXPECT_TRUE(got.programStream);
    ASSERT_EQ(2u, got.streams);
    EXPECT_EQ(0x1E0, got.videoId);
    EXPECT_EQ(AV_CODEC_ID_MPEG2VIDEO, got.videoCodec);
    EXPECT_EQ(720, got.width);
    EXPECT_EQ(576, got.height);
    EXPECT_EQ(25, got.frameRate);
    EXPECT_EQ(0x1C0, got.audioId);
    EXPECT_EQ(AV_CODEC_ID_MP2, got.audioCodec);
    EXPECT_EQ(48000, got.sampleRate);
    EXPECT_GE(got.pictures, 5 * 25 - 3);
    EXPECT_GE(got.stationPictures, got.pictures - 2);

    // Both outputs carry the same stream.
    EXPECT_EQ(BenchFixture::ReadBytes(path), live->All());
}

}  // namespace
}  // namespace hwsim
