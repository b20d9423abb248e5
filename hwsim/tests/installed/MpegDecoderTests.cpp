// The installed MPEG decoders: the encoder's recording back to pictures and sound through the
// MPEG-2 demultiplexer, at the stream's own size; a damaged stream decodes to fewer pictures.
#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "bdaiface.h"
#include "dshow.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/CardSignal.h"
#include "hwsim/chips/Mpeg2Encoder.h"
#include "hwsim/installed/MpegDecoders.h"
#include "platform/devicetree.h"
#include "support/BenchFixture.h"
#include "support/StreamSink.h"

namespace hwsim {
namespace {

using platform::dshow::MediaType;

class MpegDecoderTest : public BenchFixture {
protected:
    void SetUp() override {
        BenchFixture::SetUp();
        ASSERT_GE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), 0);
        bench = Bench::FromText(R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 97, "encoder": true}],
                                    "stations": [{"kHz": 49750}, {"kHz": 471250}]})");
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
    CComPtr<IBaseFilter> Create(REFCLSID clsid, const wchar_t* name) {
        CComPtr<IBaseFilter> filter;
        EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&filter)));
        if (filter) {
            EXPECT_TRUE(SUCCEEDED(graph->AddFilter(filter, name)));
        }
        return filter;
    }
    CComPtr<IBaseFilter> Bind(platform::DeviceId id, const wchar_t* name) {
        CComPtr<IBaseFilter> filter;
        EXPECT_EQ(S_OK, platform::BindDevice(id, IID_IBaseFilter, reinterpret_cast<void**>(&filter)));
        EXPECT_TRUE(SUCCEEDED(graph->AddFilter(filter, name)));
        return filter;
    }
    StreamSink* Sink(const wchar_t* name, CComPtr<IBaseFilter>& holder) {
        auto* sink = new StreamSink();
        holder.Attach(sink);
        EXPECT_TRUE(SUCCEEDED(graph->AddFilter(holder, name)));
        return sink;
    }
    HRESULT Join(IBaseFilter* from, const wchar_t* out, IBaseFilter* to, const wchar_t* in) {
        return graph->ConnectDirect(PinNamed(from, out), PinNamed(to, in), nullptr);
    }
    // A demultiplexer output carrying one stream id.
    void DemuxPin(IBaseFilter* demux, const wchar_t* name, const MediaType& type, ULONG streamId) {
        CComPtr<IMpeg2Demultiplexer> control;
        ASSERT_EQ(S_OK, demux->QueryInterface(IID_IMpeg2Demultiplexer, reinterpret_cast<void**>(&control)));
        CComPtr<IPin> pin;
        ASSERT_EQ(S_OK, control->CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&type.Get()), const_cast<LPWSTR>(name), &pin));
        CComPtr<IMPEG2StreamIdMap> map;
        ASSERT_EQ(S_OK, pin->QueryInterface(IID_IMPEG2StreamIdMap, reinterpret_cast<void**>(&map)));
        ASSERT_EQ(S_OK, map->MapStreamId(streamId, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0));
    }

    std::unique_ptr<Bench> bench;
    std::unique_ptr<BenchDevices> devices;
    CComPtr<IGraphBuilder> graph;
};

TEST_F(MpegDecoderTest, TheRecordingDecodesToTheStationsPicturesAtTheStreamsSizeAndItsTone) {
    Card& card = *bench->Cards()[0];
    const WORD n = WORD((38900 + 471250) * 16 / 1000);
    const BYTE bytes[4] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x04};
    ASSERT_EQ(I2CResult::Ack, card.Bus().WriteRaw(0xC0, bytes, 4));

    CComPtr<IBaseFilter> capture = Bind(devices->CaptureDevice(card), L"Capture");
    CComPtr<IBaseFilter> encoder = Bind(devices->EncoderDevice(card), L"Encoder");
    CComPtr<IBaseFilter> demux = Create(CLSID_MPEG2Demultiplexer, L"Demux");
    CComPtr<IBaseFilter> videoDecoder = Create(kMpegVideoDecoderClsid, L"Video Dec");
    CComPtr<IBaseFilter> audioDecoder = Create(kMpegAudioDecoderClsid, L"Audio Dec");
    ASSERT_TRUE(demux && videoDecoder && audioDecoder);
    // The demultiplexer announces 720x480; the stream is 720x576.
    MPEG2VIDEOINFO info = {};
    info.hdr.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.hdr.bmiHeader.biWidth = 720;
    info.hdr.bmiHeader.biHeight = 480;
    DemuxPin(demux, L"Video", MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, &info, sizeof(info)),
             0xE0);
    DemuxPin(demux, L"Audio", MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload), 0xC0);
    CComPtr<IBaseFilter> pictures, sound;
    StreamSink* pictureSink = Sink(L"Pictures", pictures);
    StreamSink* soundSink = Sink(L"Sound", sound);
    EXPECT_EQ(nullptr, PinNamed(videoDecoder, L"Video Output").p);  // made once its input is connected

    ASSERT_EQ(S_OK, Join(capture, L"656", encoder, L"656"));
    ASSERT_EQ(S_OK, Join(capture, L"I2S", encoder, L"I2S"));
    ASSERT_EQ(S_OK, Join(encoder, L"MPEG Out", demux, L"MPEG-2 Stream"));
    ASSERT_EQ(S_OK, Join(demux, L"Video", videoDecoder, L"Video Input"));
    EXPECT_NE(nullptr, PinNamed(videoDecoder, L"Video Output").p);
    ASSERT_EQ(S_OK, Join(demux, L"Audio", audioDecoder, L"Audio Input"));
    ASSERT_EQ(S_OK, Join(videoDecoder, L"Video Output", pictures, L"In"));
    ASSERT_EQ(S_OK, Join(audioDecoder, L"Audio Output", sound, L"In"));
    RunFor(graph, 2000);

    EXPECT_GE(pictureSink->SamplesReceived(), 2 * 25 - 3);
    const MediaType pictureType = pictureSink->Type();
    const auto* format = pictureType.FormatAs<VIDEOINFOHEADER>();
    ASSERT_NE(nullptr, format);
    EXPECT_EQ(576, std::abs(format->bmiHeader.biHeight));
    const std::vector<BYTE> picture = pictureSink->Last();
    ASSERT_EQ(720u * 576 * 2, picture.size());
    EXPECT_EQ(1, CardSignal::ReadPlace(picture.data(), 720, 576));
    EXPECT_GT(soundSink->SamplesReceived(), 0);
    const std::vector<BYTE> pcm = soundSink->Last();
    ASSERT_FALSE(pcm.empty());
    int loud = 0;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2) loud += std::abs(int16_t(pcm[i] | pcm[i + 1] << 8)) > 2000;
    EXPECT_GT(loud, int(pcm.size() / 2 / 4));
}

TEST_F(MpegDecoderTest, ADamagedStreamDecodesToFewerPictures) {
    Mpeg2Encoder encoder;
    Mpeg2Encoder::Settings settings;
    settings.width = 352;
    settings.height = 288;
    ASSERT_TRUE(encoder.Open(settings));
    CardSignal station;
    station.kind = CardSignal::Kind::Station;
    std::vector<BYTE> yuy2(352 * 288 * 2), uyvy(yuy2.size());
    for (int frame = 0; frame < 50; ++frame) {
        station.DrawYuy2(ULONGLONG(frame), 352, 288, yuy2.data());
        for (size_t i = 0; i < yuy2.size(); i += 2) {
            uyvy[i] = yuy2[i + 1];
            uyvy[i + 1] = yuy2[i];
        }
        ASSERT_TRUE(encoder.EncodeVideo(uyvy.data(), uyvy.size()));
    }
    encoder.Flush();
    std::vector<BYTE> stream = encoder.TakeOutput();
    ASSERT_GT(stream.size(), 10000u);

    // The stream fed to the video decoder in 2 KiB pieces: whole, damaged, and noise.
    auto decode = [](const std::vector<BYTE>& bytes) {
        LibavDecoder decoder(AV_CODEC_ID_MPEG2VIDEO);
        int frames = 0;
        for (size_t at = 0; at < bytes.size(); at += 2048) {
            decoder.Feed(bytes.data() + at, std::min<size_t>(2048, bytes.size() - at), LibavDecoder::kNoTime,
                         [&](const AVFrame&) { ++frames; });
        }
        decoder.Drain([&](const AVFrame&) { ++frames; });
        return frames;
    };
    const int whole = decode(stream);
    EXPECT_GE(whole, 45);
    std::vector<BYTE> damaged = stream;
    for (size_t i = 100; i < damaged.size(); i += 4000) {
        for (size_t j = i; j < std::min(damaged.size(), i + 600); ++j) damaged[j] = BYTE(j * 31);
    }
    EXPECT_LT(decode(damaged), whole);
    std::vector<BYTE> noise(200000);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = BYTE((i * 2654435761u) >> 13);
    EXPECT_EQ(0, decode(noise));
}

}  // namespace
}  // namespace hwsim
