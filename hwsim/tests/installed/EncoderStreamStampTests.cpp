// The simulated encoder's program stream through the MPEG-2 demultiplexer: the time stamps of
// its video (with B-frames) and its audio (which starts a little ahead of the video) are small,
// and each stream's rise, also when the stream's PTS wraps in the middle.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "bdaiface.h"
#include "dshow.h"
#include "hwsim/chips/Mpeg2Encoder.h"
#include "platform/dshow/SourceBase.h"
#include "support/BenchFixture.h"
#include "support/StreamSink.h"

namespace hwsim {
namespace {

using platform::dshow::MediaType;
using platform::dshow::PinBase;

// {5A1D0D00-7F3B-4C8E-9D21-3B6E0A4F7C11}
constexpr CLSID kBytesSourceClsid = {0x5A1D0D00, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x11}};

// A program stream's bytes in 4 KiB samples, one every millisecond, then end of stream.
class BytesSource : public platform::dshow::SourceBase {
public:
    explicit BytesSource(std::vector<BYTE> bytes) : SourceBase(kBytesSourceClsid), m_bytes(std::move(bytes)) {
        MediaType type(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);
        type.SetSampleSize(kPiece, TRUE);
        AddPin(platform::dshow::PinDescription{PINDIR_OUTPUT, L"Out", L"", GUID_NULL, {type}});
    }

protected:
    static constexpr ULONG kPiece = 4096;
    REFERENCE_TIME SampleTime(PinBase*, ULONGLONG index) override { return REFERENCE_TIME(index) * 10000; }
    HRESULT FillSample(PinBase*, ULONGLONG index, IMediaSample* sample) override {
        const size_t from = size_t(index) * kPiece;
        if (from >= m_bytes.size()) return S_FALSE;
        const size_t n = std::min<size_t>(kPiece, m_bytes.size() - from);
        BYTE* data;
        sample->GetPointer(&data);
        std::copy(m_bytes.begin() + long(from), m_bytes.begin() + long(from + n), data);
        return sample->SetActualDataLength(long(n));
    }

private:
    std::vector<BYTE> m_bytes;
};

// Two seconds of a moving picture and a tone, coded by the simulated encoder.
std::vector<BYTE> EncodedSeconds() {
    Mpeg2Encoder encoder;
    Mpeg2Encoder::Settings settings;
    settings.width = 352;
    settings.height = 288;
    EXPECT_TRUE(encoder.Open(settings));
    std::vector<BYTE> uyvy(352 * 288 * 2);
    std::vector<int16_t> sound(1920 * 2);
    for (int frame = 0; frame < 50; ++frame) {
        for (size_t i = 0; i < uyvy.size(); ++i) uyvy[i] = BYTE(i % 2 ? 16 + (i / 2 + frame * 8) % 220 : 128);
        EXPECT_TRUE(encoder.EncodeVideo(uyvy.data(), uyvy.size()));
        for (size_t i = 0; i < sound.size(); ++i) sound[i] = int16_t((i / 2 + frame * 1920) % 48 * 600 - 14400);
        EXPECT_TRUE(encoder.EncodeAudio(sound.data(), 1920));
    }
    encoder.Flush();
    return encoder.TakeOutput();
}

uint64_t ReadStamp(const BYTE* p) {
    return (uint64_t(p[0] & 0x0E) << 29) | (uint64_t(p[1]) << 22) | (uint64_t(p[2] & 0xFE) << 14) |
           (uint64_t(p[3]) << 7) | (uint64_t(p[4]) >> 1);
}

void WriteStamp(BYTE* p, uint64_t stamp) {
    p[0] = BYTE((p[0] & 0xF1) | ((stamp >> 29) & 0x0E));
    p[1] = BYTE(stamp >> 22);
    p[2] = BYTE(0x01 | ((stamp >> 14) & 0xFE));
    p[3] = BYTE(stamp >> 7);
    p[4] = BYTE(0x01 | ((stamp << 1) & 0xFE));
}

// Moves every PTS and DTS of the stream's PES packets by `shift` on the 33-bit circle.
void ShiftStamps(std::vector<BYTE>& stream, uint64_t shift) {
    for (size_t at = 0; at + 14 <= stream.size();) {
        BYTE* p = &stream[at];
        if (p[0] || p[1] || p[2] != 1) {
            ++at;
            continue;
        }
        if (p[3] == 0xBA) {
            at += 14 + (p[13] & 7);
            continue;
        }
        const size_t length = 6 + (size_t(p[4]) << 8 | p[5]);
        const bool pes = p[3] == 0xBD || (p[3] >= 0xC0 && p[3] <= 0xEF);
        if (pes && (p[6] & 0xC0) == 0x80) {
            if (p[7] & 0x80) WriteStamp(p + 9, (ReadStamp(p + 9) + shift) & ((1ull << 33) - 1));
            if (p[7] & 0x40) WriteStamp(p + 14, (ReadStamp(p + 14) + shift) & ((1ull << 33) - 1));
        }
        at += p[3] >= 0xBB ? length : 4;
    }
}

// The first PTS of `id` in the stream.
uint64_t FirstPts(const std::vector<BYTE>& stream, BYTE id) {
    for (size_t at = 0; at + 14 <= stream.size(); ++at) {
        const BYTE* p = &stream[at];
        if (!p[0] && !p[1] && p[2] == 1 && p[3] == id && (p[7] & 0x80)) return ReadStamp(p + 9);
    }
    return 0;
}

class EncoderStreamStampTest : public BenchFixture {
protected:
    void SetUp() override {
        BenchFixture::SetUp();
        ASSERT_GE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), 0);
    }
    void TearDown() override {
        CoUninitialize();
        BenchFixture::TearDown();
    }

    // The stamps the demultiplexer gives the stream's video and audio.
    void Demultiplex(std::vector<BYTE> stream, std::vector<REFERENCE_TIME>* video, std::vector<REFERENCE_TIME>* audio) {
        CComPtr<IGraphBuilder> graph;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&graph)));
        CComPtr<IBaseFilter> source, demux, videoSink, audioSink;
        source.Attach(new BytesSource(std::move(stream)));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MPEG2Demultiplexer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&demux)));
        auto* videoOut = new StreamSink();
        auto* audioOut = new StreamSink();
        videoSink.Attach(videoOut);
        audioSink.Attach(audioOut);
        for (auto [filter, name] : {std::pair{source.p, L"Source"}, {demux.p, L"Demux"}, {videoSink.p, L"V"},
                                    {audioSink.p, L"A"}})
            ASSERT_EQ(S_OK, graph->AddFilter(filter, name));
        CComPtr<IMpeg2Demultiplexer> pins;
        ASSERT_EQ(S_OK, demux->QueryInterface(IID_IMpeg2Demultiplexer, reinterpret_cast<void**>(&pins)));
        const MediaType videoType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO);
        const MediaType audioType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload);
        for (auto [type, name, id] : {std::tuple{&videoType, L"Video", 0xE0}, {&audioType, L"Audio", 0xC0}}) {
            CComPtr<IPin> pin;
            ASSERT_EQ(S_OK, pins->CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&type->Get()), const_cast<LPWSTR>(name),
                                                  &pin));
            CComPtr<IMPEG2StreamIdMap> map;
            ASSERT_EQ(S_OK, pin->QueryInterface(IID_IMPEG2StreamIdMap, reinterpret_cast<void**>(&map)));
            ASSERT_EQ(S_OK, map->MapStreamId(ULONG(id), MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0));
        }
        ASSERT_EQ(S_OK, graph->ConnectDirect(PinNamed(source, L"Out"), PinNamed(demux, L"MPEG-2 Stream"), nullptr));
        ASSERT_EQ(S_OK, graph->ConnectDirect(PinNamed(demux, L"Video"), PinNamed(videoSink, L"In"), nullptr));
        ASSERT_EQ(S_OK, graph->ConnectDirect(PinNamed(demux, L"Audio"), PinNamed(audioSink, L"In"), nullptr));
        RunFor(graph, 2000);
        *video = videoOut->Stamps();
        *audio = audioOut->Stamps();
    }

    // Every stamp lies within a second of the two seconds the stream lasts, the first within a
    // second of its start, and they rise: each is later than every stamp `reordered` or more
    // samples before it (video's B-frames are sent after the picture that follows them).
    static void ExpectSmallAndRising(const std::vector<REFERENCE_TIME>& stamps, size_t reordered) {
        ASSERT_GE(stamps.size(), 20u);
        for (size_t i = reordered; i < stamps.size(); ++i)
            EXPECT_GT(stamps[i], *std::max_element(stamps.begin(), stamps.begin() + long(i - reordered + 1))) << i;
        EXPECT_LT(std::abs(stamps.front()), 10000000);
        for (REFERENCE_TIME t : stamps) {
            EXPECT_GT(t, -10000000);
            EXPECT_LT(t, 30000000);
        }
    }
};

TEST_F(EncoderStreamStampTest, VideoAndAudioStampsAreSmallAndRiseAlsoAcrossAPtsWrap) {
    const std::vector<BYTE> stream = EncodedSeconds();
    ASSERT_GT(stream.size(), 100000u);
    // The stream as the encoder makes it: its audio starts ahead of its video.
    ASSERT_LT(FirstPts(stream, 0xC0), FirstPts(stream, 0xE0));

    std::vector<REFERENCE_TIME> video, audio;
    Demultiplex(stream, &video, &audio);
    ExpectSmallAndRising(video, 3);
    ExpectSmallAndRising(audio, 1);

    // The same stream with its PTS wrapping past 2^33 a second in.
    std::vector<BYTE> wrapped = stream;
    ShiftStamps(wrapped, (1ull << 33) - 90000 - FirstPts(stream, 0xC0));
    ASSERT_GT(FirstPts(wrapped, 0xE0), FirstPts(wrapped, 0xC0));
    std::vector<REFERENCE_TIME> wrappedVideo, wrappedAudio;
    Demultiplex(wrapped, &wrappedVideo, &wrappedAudio);
    ExpectSmallAndRising(wrappedVideo, 3);
    ExpectSmallAndRising(wrappedAudio, 1);
    EXPECT_EQ(wrappedVideo, video);
    EXPECT_EQ(wrappedAudio, audio);
}

}  // namespace
}  // namespace hwsim
