// The audio renderers' measurements and the MPEG-2 demultiplexer's program-stream parsing.
#include <cmath>

#include "DShowStreamFilters.h"
#include "bdaiface.h"
#include "platform/dshow/AudioMeter.h"

namespace dshowtest {
namespace {

class StreamGraphTest : public DShowTest {
protected:
    CComPtr<IGraphBuilder> graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    CComPtr<IMediaControl> control = As<IMediaControl>(graph);
};

TEST_F(StreamGraphTest, AudioRendererMeasuresAOneKilohertzTone) {
    TestSource* source;
    auto src = Make(&source, platform::dshow::PcmAudioType(2, 48000, 16), 10, 0, 480 * 4);
    source->fill = [](ULONGLONG index, BYTE* data, long size) {
        for (long k = 0; k < size / 4; ++k) {
            double t = double(index * 480 + ULONGLONG(k)) / 48000;
            auto v = int16_t(std::lround(0.5 * 32767 * std::sin(2 * M_PI * 1000 * t)));
            for (int ch = 0; ch < 2; ++ch) {
                data[4 * k + 2 * ch] = BYTE(v);
                data[4 * k + 2 * ch + 1] = BYTE(uint16_t(v) >> 8);
            }
        }
    };
    auto renderer = Create<IBaseFilter>(CLSID_DSoundRender);
    ASSERT_EQ(graph->AddFilter(src, L"Tone"), S_OK);
    ASSERT_EQ(graph->AddFilter(renderer, L"Default sound"), S_OK);
    ASSERT_EQ(Join(graph, src, L"Out", renderer, L"Audio Input pin (rendered)"), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    Sleep(1500);
    ASSERT_EQ(control->Stop(), S_OK);
    auto meter = As<IAudioMeter>(renderer);
    ASSERT_TRUE(meter);
    ULONGLONG frames = 0;
    double peak = 0, frequency = 0;
    meter->GetFramesReceived(&frames);
    meter->GetLevel(&peak, &frequency);
    EXPECT_EQ(frames, 151u * 480);
    EXPECT_NEAR(peak, 0.5, 0.01);
    EXPECT_NEAR(frequency, 1000, 20);

    // Only PCM connects.
    auto mpeg = Make<TestSource>(nullptr, MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO, FORMAT_WaveFormatEx),
                                 10, 0, 100);
    auto other = Create<IBaseFilter>(CLSID_AudioRender);
    ASSERT_EQ(graph->AddFilter(mpeg, L"Mpeg"), S_OK);
    ASSERT_EQ(graph->AddFilter(other, L"Audio Render"), S_OK);
    EXPECT_TRUE(FAILED(Join(graph, mpeg, L"Out", other, L"Audio Input pin (rendered)")));
}

// ---- a hand-made program stream ----

void Pts(std::vector<BYTE>& out, uint64_t pts) {
    out.push_back(BYTE(0x21 | ((pts >> 29) & 0x0E)));
    out.push_back(BYTE(pts >> 22));
    out.push_back(BYTE(0x01 | ((pts >> 14) & 0xFE)));
    out.push_back(BYTE(pts >> 7));
    out.push_back(BYTE(0x01 | ((pts << 1) & 0xFE)));
}

void Pack(std::vector<BYTE>& out, int stuffing) {
    BYTE header[14] = {0, 0, 1, 0xBA, 0x44, 0, 4, 0, 4, 1, 0x01, 0x89, 0xC3, BYTE(0xF8 | stuffing)};
    out.insert(out.end(), header, header + 14);
    out.insert(out.end(), size_t(stuffing), 0xFF);
}

void SystemHeader(std::vector<BYTE>& out) {
    BYTE header[] = {0, 0, 1, 0xBB, 0, 12, 0x80, 0x01, 0x89, 0x04, 0xE1, 0xFF, 0xE0, 0xE0, 0xE8, 0xC0, 0xC0, 0x20};
    out.insert(out.end(), header, header + sizeof header);
}

void Pes(std::vector<BYTE>& out, BYTE id, const std::vector<BYTE>& payload, bool withPts, uint64_t pts) {
    size_t length = 3 + (withPts ? 5 : 0) + payload.size();
    BYTE head[] = {0, 0, 1, id, BYTE(length >> 8), BYTE(length), 0x81, BYTE(withPts ? 0x80 : 0), BYTE(withPts ? 5 : 0)};
    out.insert(out.end(), head, head + sizeof head);
    if (withPts) Pts(out, pts);
    out.insert(out.end(), payload.begin(), payload.end());
}

std::vector<BYTE> Payload(BYTE id, int n, size_t size) {
    std::vector<BYTE> p(size);
    for (size_t i = 0; i < size; ++i) p[i] = BYTE(id + n * 31 + i);
    return p;
}

// Pieces of a prime length, so that start codes, headers and payloads are cut everywhere.
void FeedInPieces(TestSource* source, std::shared_ptr<std::vector<BYTE>> stream, size_t piece) {
    source->fill = [stream, piece](ULONGLONG, BYTE*, long) {};
    source->decorate = [stream, piece](ULONGLONG index, IMediaSample* sample) {
        size_t from = size_t(index) * piece;
        size_t n = from < stream->size() ? std::min(piece, stream->size() - from) : 0;
        BYTE* data;
        sample->GetPointer(&data);
        std::memcpy(data, stream->data() + from, n);
        sample->SetActualDataLength(long(n));
    };
}

// A graph of a program stream's source, the demultiplexer and a renderer per output pin.
class DemuxGraphTest : public StreamGraphTest {
protected:
    CComPtr<IBaseFilter> demux = Create<IBaseFilter>(CLSID_MPEG2Demultiplexer);
    std::vector<CComPtr<IBaseFilter>> renderers;

    // The source of `stream` in pieces of `piece` bytes, connected to the demultiplexer.
    CComPtr<IBaseFilter> StreamSource(TestSource** source, std::shared_ptr<std::vector<BYTE>> stream, size_t piece) {
        auto src = Make(source, MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM), 10,
                        (stream->size() + piece - 1) / piece, long(piece));
        FeedInPieces(*source, stream, piece);
        EXPECT_EQ(graph->AddFilter(src, L"Source"), S_OK);
        EXPECT_EQ(graph->AddFilter(demux, L"Demux"), S_OK);
        EXPECT_EQ(Join(graph, src, L"Out", demux, L"MPEG-2 Stream"), S_OK);
        return src;
    }
    // An output pin named `name` of `type` carrying stream `id` (with a substream filter and
    // data offset), rendered.
    TestRenderer* Demultiplexed(const wchar_t* name, const MediaType& type, ULONG id,
                                ULONG substream = SUBSTREAM_FILTER_VAL_NONE, int offset = 0) {
        CComPtr<IPin> pin;
        EXPECT_EQ(As<IMpeg2Demultiplexer>(demux)->CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&type.Get()),
                                                                  const_cast<LPWSTR>(name), &pin),
                  S_OK);
        EXPECT_EQ(As<IMPEG2StreamIdMap>(pin)->MapStreamId(id, MPEG2_PROGRAM_ELEMENTARY_STREAM, substream, offset), S_OK);
        TestRenderer* renderer;
        renderers.push_back(Make(&renderer));
        EXPECT_EQ(graph->AddFilter(renderers.back(), name), S_OK);
        EXPECT_EQ(Join(graph, demux, name, renderers.back(), L"In"), S_OK);
        return renderer;
    }
};

TEST_F(DemuxGraphTest, DemultiplexerDeliversEachMappedStreamsBytesWithItsTimeStamps) {
    auto stream = std::make_shared<std::vector<BYTE>>();
    std::vector<BYTE> video, audio;
    std::vector<REFERENCE_TIME> videoTimes, audioTimes;
    // Audio starts 20 ms before video; from packet 6 on a second recording is spliced in, its PTS
    // three hours on: its stamps go on from the last ones. An unmapped stream far off moves nothing.
    const uint64_t base = 900000, splice = 3 * 3600 * 90000ull;
    for (int n = 0; n < 12; ++n) {
        Pack(*stream, n % 3);
        if (n == 0) SystemHeader(*stream);
        Pes(*stream, 0xBD, Payload(0xBD, n, 200), true, base + splice * 2);  // not mapped: dropped
        const uint64_t spliced = n >= 6 ? splice : 0;
        auto v = Payload(0xE0, n, 1000 + 397 * size_t(n));
        Pes(*stream, 0xE0, v, true, base + spliced + 3600u * n);
        video.insert(video.end(), v.begin(), v.end());
        videoTimes.push_back(REFERENCE_TIME(3600) * (n < 6 ? n : n - 1) * 1000 / 9);
        auto a = Payload(0xC0, n, 576);
        Pes(*stream, 0xC0, a, n % 2 == 0, base + spliced - 1800 + 2160u * n);
        audio.insert(audio.end(), a.begin(), a.end());
        if (n % 2 == 0) audioTimes.push_back(REFERENCE_TIME(2160 * (n < 6 ? n : n - 2) - 1800) * 1000 / 9);
        if (n % 4 == 1) stream->insert(stream->end(), {0x00, 0x00, 0x01, 0x42, 0x17, 0x00, 0x00, 0xFF, 0x55});  // garbage
    }
    stream->insert(stream->end(), {0, 0, 1, 0xB9});

    TestSource* source;
    StreamSource(&source, stream, 1009);
    TestRenderer* videoOut = Demultiplexed(L"Video", MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO), 0xE0, 0);
    TestRenderer* audioOut = Demultiplexed(L"Audio", MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO), 0xC0, 0);
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(WaitForEvent(graph, EC_COMPLETE, 5000));
    ASSERT_EQ(control->Stop(), S_OK);

    EXPECT_EQ(videoOut->Bytes(), video);
    EXPECT_EQ(audioOut->Bytes(), audio);
    std::vector<REFERENCE_TIME> gotVideo, gotAudio;
    for (auto& s : videoOut->Samples()) gotVideo.push_back(s.start);
    for (auto& s : audioOut->Samples())
        if (s.hasTime) gotAudio.push_back(s.start);
    EXPECT_EQ(gotVideo, videoTimes);
    EXPECT_EQ(gotAudio, audioTimes);
}

TEST_F(DemuxGraphTest, PrivateStreamOneIsSplitBySubstreamAndDeliveredFromTheDataOffset) {
    auto stream = std::make_shared<std::vector<BYTE>>();
    std::vector<BYTE> ac3, lpcm, all;
    for (int n = 0; n < 6; ++n) {
        Pack(*stream, 0);
        BYTE substream = n % 2 ? 0xA0 : 0x80;
        std::vector<BYTE> payload = Payload(BYTE(n), n, 300);
        payload[0] = substream;
        Pes(*stream, 0xBD, payload, true, 90000 + 3000u * n);
        (n % 2 ? lpcm : ac3).insert((n % 2 ? lpcm : ac3).end(), payload.begin() + (n % 2 ? 7 : 4), payload.end());
        all.insert(all.end(), payload.begin(), payload.end());
    }
    TestSource* source;
    StreamSource(&source, stream, 701);
    const MediaType audio(MEDIATYPE_Audio, GUID_NULL);
    TestRenderer* ac3Out = Demultiplexed(L"AC3", audio, 0xBD, 0x80, 4);
    TestRenderer* lpcmOut = Demultiplexed(L"LPCM", audio, 0xBD, 0xA0, 7);
    TestRenderer* allOut = Demultiplexed(L"All", audio, 0xBD);
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(WaitForEvent(graph, EC_COMPLETE, 5000));
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(ac3Out->Bytes(), ac3);
    EXPECT_EQ(lpcmOut->Bytes(), lpcm);
    EXPECT_EQ(allOut->Bytes(), all);
    EXPECT_EQ(ac3Out->Samples().size(), 3u);
}

// A source that seeks after the first half of a PES packet: it flushes, and the packets
// after the flush arrive whole and alone.
TEST_F(DemuxGraphTest, AFlushDropsThePacketCutShort) {
    auto stream = std::make_shared<std::vector<BYTE>>();
    Pack(*stream, 0);
    Pes(*stream, 0xE0, Payload(0xE0, 0, 1000), true, 90000);
    const size_t cut = stream->size() - 500;
    stream->resize(cut);
    std::vector<BYTE> after;
    for (int n = 1; n < 4; ++n) {
        Pack(*stream, 0);
        std::vector<BYTE> payload = Payload(0xE0, n, 400);
        Pes(*stream, 0xE0, payload, true, 90000 + 3600u * n);
        after.insert(after.end(), payload.begin(), payload.end());
    }
    TestSource* source;
    StreamSource(&source, stream, cut);
    TestRenderer* videoOut = Demultiplexed(L"Video", MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO), 0xE0);
    auto fed = source->decorate;
    CComPtr<IPin> input = PinOf(demux, L"MPEG-2 Stream");
    source->decorate = [&, fed](ULONGLONG index, IMediaSample* sample) {
        if (index == 1) {
            input->BeginFlush();
            input->EndFlush();
        }
        fed(index, sample);
    };
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(WaitForEvent(graph, EC_COMPLETE, 5000));
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(videoOut->Bytes(), after);
    EXPECT_EQ(videoOut->Samples().size(), 3u);
}

TEST_F(StreamGraphTest, DemultiplexerDropsATransportStreamWithOneTrace) {
    auto src = Make<TestSource>(nullptr, MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT), 10, 5, 188 * 7);
    auto demux = Create<IBaseFilter>(CLSID_MPEG2Demultiplexer);
    ASSERT_EQ(graph->AddFilter(src, L"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(demux, L"Demux"), S_OK);
    ASSERT_EQ(Join(graph, src, L"Out", demux, L"MPEG-2 Stream"), S_OK);
    platform::ClearTrace();
    ASSERT_EQ(control->Run(), S_OK);
    Sleep(100);
    ASSERT_EQ(control->Stop(), S_OK);
    std::string trace = platform::TraceText();
    const std::string line = "transport stream not parsed";
    ASSERT_NE(trace.find(line), std::string::npos);
    EXPECT_EQ(trace.find(line, trace.find(line) + 1), std::string::npos);
}

}  // namespace
}  // namespace dshowtest
