// The MainConcept multiplexer, audio decoder and encoder, splitter, video decoder and encoder
// wrappers, reached through the registry over the simulated PC's installed filters: what each
// Init asks for, the video decoder's set-up and record, and every forwarding slot of these, the
// MPEG and H.264 encoders and the H.264 decoder.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "graph/MCH264DecoderFilter.h"
#include "graph/MCH264EncoderFilter.h"
#include "graph/MCMpegCodecFilters.h"
#include "graph/MCMpegEncoderFilter.h"
#include "hwsim/installed/McMpegFilters.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

using Args = std::vector<ULONGLONG>;
using Names = std::vector<std::string>;

constexpr DWORD kYUY2 = MAKEFOURCC('Y', 'U', 'Y', '2');
constexpr DWORD kBGR4 = MAKEFOURCC('B', 'G', 'R', '4');

class MCCodecWrappers : public SystemBench {
protected:
    hwsim::FilterBehaviour& Decoder() { return Behaviour(CLSID_MCMpegVideoDecoder); }
};

}  // namespace

TEST_F(MCCodecWrappers, MultiplexerInputAddedOnConnectionIsFoundByName) {
    CRootGraph graph;
    auto* encoder = AddOf<CMCAudioEncoderFilter>(graph, CLSID_MCMpegAudioEncoder, "Audio");
    auto* mux = AddOf<CMCMuxFilter>(graph, CLSID_MCMpegMultiplexer, "Mux");
    ASSERT_NE(encoder, nullptr);
    ASSERT_NE(mux, nullptr);
    EXPECT_EQ(mux->FindPin("Input 02"), nullptr);
    ASSERT_TRUE(graph.ConnectByPinName(encoder, mux, "Out", "Input 01"));
    CRootPin* added = mux->FindPin("Input 02");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(mux->GetPinCount(), 3);
}

TEST_F(MCCodecWrappers, InitAsksForEveryInterfaceInItsOrder) {
    struct Row {
        const CLSID* clsid;
        Names queries;
    };
    const Row rows[] = {
        {&CLSID_MCMpegMultiplexer, {"IMCMuxSettings", "IMCMuxParams", "IFileSinkFilter"}},
        {&CLSID_MCMpegAudioDecoder, {}},
        {&CLSID_MCMpegAudioEncoder, {"IMCAudioSettings", "IMCAudioParams"}},
        {&CLSID_MCMpegEncoder,
         {"IMCAudioSettings", "IMCAudioParams", "IMCMuxSettings", "IFileSinkFilter", "IMCVideoSettings", "IMCVideoParams"}},
        {&CLSID_MCMpegSplitter, {"IMCSplitterParams"}},
        {&CLSID_MCMpegVideoDecoder, {"IMCDecoderParams", "IMCDecoderOutput"}},
        {&CLSID_MCMpegVideoEncoder, {"IMCVideoSettings", "IMCVideoParams"}},
        {&CLSID_MCH264Encoder, {"IMCAudioSettings", "IMCAudioParams", "IMCMuxSettings", "IMCMuxParams", "IFileSinkFilter",
                                "IMCH264Settings", "IMCH264Params"}},
    };
    CRootGraph graph;
    for (const Row& row : rows) {
        Behaviour(*row.clsid).ClearCalls();
        ASSERT_NE(graph.AddFilter(*row.clsid, "Wrapped"), nullptr);
        EXPECT_EQ(Behaviour(*row.clsid).Queries(), row.queries);
    }

    // The first interface refused: every later one is still asked for, and the wrapper refused.
    for (const Row& row : rows) {
        if (row.queries.size() < 2 || *row.clsid == CLSID_MCMpegVideoDecoder) continue;
        hwsim::FilterBehaviour& filter = Behaviour(*row.clsid);
        filter.RefuseInterface(row.queries.front());
        filter.ClearCalls();
        EXPECT_EQ(graph.AddFilter(*row.clsid, "Refused"), nullptr);
        EXPECT_EQ(filter.Queries(), row.queries);
        filter.RefuseInterface(row.queries.front(), false);
    }
}

// The last interface refused: every one was asked for, the wrapper is invalid, and the others
// still forward. S_FALSE counts as an interface given.
TEST_F(MCCodecWrappers, LastInterfaceRefusedMakesTheWrapperInvalidYetTheOthersForward) {
    hwsim::FilterBehaviour& e = Behaviour(CLSID_MCMpegEncoder);
    hwsim::FilterBehaviour& h = Behaviour(CLSID_MCH264Encoder);
    hwsim::FilterBehaviour& m = Behaviour(CLSID_MCMpegMultiplexer);
    e.RefuseInterface("IMCVideoParams");
    h.RefuseInterface("IMCH264Params");
    m.RefuseInterface("IMCMuxParams");
    CRootGraph graph;
    EXPECT_EQ(graph.AddFilter(CLSID_MCMpegEncoder, "Refused"), nullptr);
    CMCMpegEncoderFilter mpeg(&graph, CLSID_MCMpegEncoder);
    CMCH264EncoderFilter h264(&graph, CLSID_MCH264Encoder);
    CMCMuxFilter mux(&graph, CLSID_MCMpegMultiplexer);
    for (hwsim::FilterBehaviour* filter : {&e, &h, &m}) filter->ClearCalls();
    EXPECT_FALSE(mpeg.SetUp());
    EXPECT_FALSE(h264.SetUp());
    EXPECT_FALSE(mux.SetUp());
    EXPECT_FALSE(mpeg.IsValid() || h264.IsValid() || mux.IsValid());
    EXPECT_EQ(e.Queries().size(), 6u);
    EXPECT_EQ(h.Queries().size(), 7u);
    EXPECT_EQ(m.Queries().size(), 3u);
    for (hwsim::FilterBehaviour* filter : {&e, &h, &m}) filter->ClearCalls();
    EXPECT_TRUE(mpeg.AudioSettings3(1) && mpeg.SetAudioParam(2, 3) && mpeg.MuxSettings3(4) &&
                mpeg.SetFileName("a.mpg") && mpeg.VideoSettings3(5));
    EXPECT_FALSE(mpeg.SetVideoParam(6, 7));
    EXPECT_TRUE(h264.SetMuxParam(0x25, 3) && h264.H264Settings5(1));
    EXPECT_FALSE(h264.SetH264Param(1, 2));
    EXPECT_TRUE(mux.SetFileName("C:\\Record\\mux.mpg") && mux.SetMuxStreamType(2));
    EXPECT_FALSE(mux.SetMuxParam25(1));
    EXPECT_EQ(e.Calls().size(), 5u);
    EXPECT_EQ(h.Calls().size(), 2u);
    EXPECT_EQ(m.Calls().size(), 2u);

    e.RefuseInterface("IMCVideoParams", false);
    e.AnswerSFalse("IMCVideoParams");
    EXPECT_NE(graph.AddFilter(CLSID_MCMpegEncoder, "Taken"), nullptr);
}

// The one file-name getter of the encoders and the multiplexer.
TEST_F(MCCodecWrappers, FileNameComesBackOnlyWhenItFits) {
    CRootGraph graph;
    const std::pair<const CLSID*, CMCMuxGroup*> sinks[] = {
        {&CLSID_MCMpegEncoder, AddOf<CMCMpegEncoderFilter>(graph, CLSID_MCMpegEncoder)},
        {&CLSID_MCH264Encoder, AddOf<CMCH264EncoderFilter>(graph, CLSID_MCH264Encoder)},
        {&CLSID_MCMpegMultiplexer, AddOf<CMCMuxFilter>(graph, CLSID_MCMpegMultiplexer)}};
    for (const auto& [clsid, sink] : sinks) {
        ASSERT_NE(sink, nullptr);
        char name[MAX_PATH] = "stale";
        EXPECT_TRUE(sink->GetFileName(name));
        EXPECT_STREQ(name, "");
        EXPECT_TRUE(sink->SetFileName("C:\\Record\\take1.mpg"));
        EXPECT_TRUE(sink->GetFileName(name));
        EXPECT_STREQ(name, "C:\\Record\\take1.mpg");
        char small[8] = "stale";
        EXPECT_FALSE(sink->GetFileName(small, sizeof(small)));
        EXPECT_STREQ(small, "");
        Behaviour(*clsid).FailSlot("IFileSinkFilter", 4, E_FAIL);
        EXPECT_FALSE(sink->GetFileName(name));
        EXPECT_STREQ(name, "");
    }
}

TEST_F(MCCodecWrappers, VideoDecoderAsksForYuy2OnlyThenClearsParameter20) {
    CRootGraph graph;
    Decoder().ClearCalls();
    ASSERT_NE(AddOf<CMCVideoDecoderFilter>(graph, CLSID_MCMpegVideoDecoder), nullptr);
    const auto calls = Decoder().Calls();
    ASSERT_EQ(calls.size(), 8u);
    const DWORD formats[] = {kYUY2, kBGR4, MAKEFOURCC('B', 'G', 'R', '3'), MAKEFOURCC('R', '5', '5', '5'),
                             MAKEFOURCC('R', '5', '6', '5'), MAKEFOURCC('U', 'Y', 'V', 'Y'), MAKEFOURCC('Y', 'V', '1', '2')};
    for (size_t i = 0; i < std::size(formats); ++i) {
        EXPECT_EQ(calls[i].iface, "IMCDecoderOutput");
        EXPECT_EQ(calls[i].slot, 5);
        EXPECT_EQ(calls[i].args, (Args{formats[i], i == 0 ? 1u : 0u})) << i;
    }
    EXPECT_EQ(0x32595559u, kYUY2);  // the FourCC as a little-endian value
    EXPECT_EQ(calls[7].iface, "IMCDecoderParams");
    EXPECT_EQ(calls[7].slot, 4);
    EXPECT_EQ(calls[7].args, (Args{0x20, 0}));

    // Parameter 0x20's answer is Init's.
    Decoder().FailSlot("IMCDecoderParams", 4, E_FAIL);
    EXPECT_EQ(graph.AddFilter(CLSID_MCMpegVideoDecoder, "Refused"), nullptr);
}

TEST_F(MCCodecWrappers, VideoDecoderRefusingBgr4StopsItsInit) {
    Decoder().Store(hwsim::kStoreRefusedFourCC, kBGR4);
    Decoder().ClearCalls();
    CRootGraph graph;
    EXPECT_EQ(graph.AddFilter(CLSID_MCMpegVideoDecoder, "Decoder"), nullptr);
    const auto calls = Decoder().Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args, (Args{kYUY2, 1}));
    EXPECT_EQ(calls[1].args, (Args{kBGR4, 0}));

    // Without its parameters the decoder is not asked for its output interface.
    Decoder().RefuseInterface("IMCDecoderParams");
    Decoder().ClearCalls();
    EXPECT_EQ(graph.AddFilter(CLSID_MCMpegVideoDecoder, "Decoder"), nullptr);
    EXPECT_EQ(Decoder().Queries(), Names{"IMCDecoderParams"});
    EXPECT_TRUE(Decoder().Calls().empty());
}

TEST_F(MCCodecWrappers, VideoDecoderRecordCarriesItsSizeAndField4) {
    CRootGraph graph;
    auto* decoder = AddOf<CMCVideoDecoderFilter>(graph, CLSID_MCMpegVideoDecoder);
    ASSERT_NE(decoder, nullptr);
    MC_DECODER_RECORD record = {};
    for (DWORD i = 1; i < 10; ++i) record.dwField[i] = 0x300 + i;
    Decoder().ClearCalls();
    ASSERT_TRUE(decoder->SetDecoderRecord(record));
    MC_DECODER_RECORD sent = record;
    sent.dwField[0] = 40;
    ASSERT_EQ(Decoder().Calls().size(), 1u);
    EXPECT_EQ(Decoder().Calls()[0].records, std::vector<std::vector<BYTE>>{hwsim::FilterBehaviour::Bytes(sent)});

    MC_DECODER_RECORD read = {};
    ASSERT_TRUE(decoder->GetDecoderRecord(&read));
    EXPECT_EQ(Decoder().Calls().back().args, Args{40});  // the size is set before the read
    EXPECT_EQ(read.dwField[9], 0x309u);

    ASSERT_TRUE(decoder->SetDecoderField4(0xBEEF));
    int field4 = 0;
    ASSERT_TRUE(decoder->GetDecoderField4(&field4));
    EXPECT_EQ(field4, 0xBEEF);
    ASSERT_TRUE(decoder->GetDecoderRecord(&read));
    EXPECT_EQ(read.dwField[3], 0x303u);
    EXPECT_EQ(read.dwField[5], 0x305u);

    // A failed read writes nothing.
    Decoder().FailSlot("IMCDecoderOutput", 6, E_FAIL, 2);
    Decoder().ClearCalls();
    EXPECT_FALSE(decoder->SetDecoderField4(1));
    EXPECT_FALSE(decoder->GetDecoderField4(&field4));
    ASSERT_EQ(Decoder().Calls().size(), 2u);
    EXPECT_EQ(Decoder().Calls()[0].slot, 6);
    EXPECT_EQ(Decoder().Calls()[1].slot, 6);
    // Null places are refused, not written through.
    EXPECT_FALSE(decoder->GetDecoderField4(nullptr));
    EXPECT_FALSE(decoder->GetDecoderRecord(nullptr));
}

TEST_F(MCCodecWrappers, AudioDecoderIsValidWithoutAnInterface) {
    Behaviour(CLSID_MCMpegAudioDecoder).ClearCalls();
    CRootGraph graph;
    auto* decoder = AddOf<CMCAudioDecoderFilter>(graph, CLSID_MCMpegAudioDecoder);
    ASSERT_NE(decoder, nullptr);
    EXPECT_TRUE(decoder->IsValid());
    EXPECT_EQ(decoder->GetPinCount(), 2);
    EXPECT_TRUE(Behaviour(CLSID_MCMpegAudioDecoder).Queries().empty());
}

// Each forward reaches its slot with the caller's arguments and answers the slot's failure with
// FALSE. The shared groups are walked once; each class is then seen to bind every group it has.
TEST_F(MCCodecWrappers, EveryForwardReachesItsSlotUnchangedAndEachClassBindsItsGroups) {
    CRootGraph graph;
    auto* mpeg = AddOf<CMCMpegEncoderFilter>(graph, CLSID_MCMpegEncoder);
    auto* h264 = AddOf<CMCH264EncoderFilter>(graph, CLSID_MCH264Encoder);
    auto* mux = AddOf<CMCMuxFilter>(graph, CLSID_MCMpegMultiplexer);
    auto* audio = AddOf<CMCAudioEncoderFilter>(graph, CLSID_MCMpegAudioEncoder);
    auto* video = AddOf<CMCVideoEncoderFilter>(graph, CLSID_MCMpegVideoEncoder);
    auto* splitter = AddOf<CMCSplitterFilter>(graph, CLSID_MCMpegSplitter);
    auto* decoder = AddOf<CMCVideoDecoderFilter>(graph, CLSID_MCMpegVideoDecoder);
    auto* h264Decoder = AddOf<CMCH264DecoderFilter>(graph, CLSID_MCH264VideoDecoder);
    ASSERT_TRUE(mpeg && h264 && mux && audio && video && splitter && decoder && h264Decoder);
    MCH264_OUTPUT_RECORD h264Record = {};
    DWORD out = 0;
    MC_AUDIO_SETTINGS audioRecord = {};
    MC_VIDEO_SETTINGS videoRecord = {};
    MC_MUX_SETTINGS muxRecord = {};
    muxRecord.bytes[107] = 0x99;
    struct Row {
        const CLSID* clsid;
        std::function<BOOL()> call;
        const char* iface;
        int slot;
        Args args;
    };
    const CLSID *a = &CLSID_MCMpegAudioEncoder, *v = &CLSID_MCMpegVideoEncoder, *m = &CLSID_MCMpegMultiplexer,
                *e = &CLSID_MCMpegEncoder, *h = &CLSID_MCH264Encoder, *d = &CLSID_MCH264VideoDecoder;
    const std::vector<Row> rows = {
        {a, [&] { return audio->AudioSettings3(0xA3); }, "IMCAudioSettings", 3, {0xA3}},
        {a, [&] { return audio->AudioSettings4(0xA4); }, "IMCAudioSettings", 4, {0xA4}},
        {a, [&] { return audio->AudioSettings5(0xA5); }, "IMCAudioSettings", 5, {0xA5}},
        {a, [&] { return audio->AudioSettings6(0xA6); }, "IMCAudioSettings", 6, {0xA6}},
        {a, [&] { return audio->AudioSettings7(0xA7); }, "IMCAudioSettings", 7, {0xA7}},
        {a, [&] { return audio->AudioSettings8(0xA8); }, "IMCAudioSettings", 8, {0xA8}},
        {a, [&] { return audio->AudioSettings9(0xA9); }, "IMCAudioSettings", 9, {0xA9}},
        {a, [&] { return audio->AudioSettings10(0xAA); }, "IMCAudioSettings", 10, {0xAA}},
        {a, [&] { return audio->AudioSettings11(0xAB); }, "IMCAudioSettings", 11, {0xAB}},
        {a, [&] { return audio->SetAudioSettings(audioRecord); }, "IMCAudioSettings", 12, {}},
        {a, [&] { return audio->GetAudioDefaults(3, &audioRecord); }, "IMCAudioSettings", 13, {3}},
        {a, [&] { return audio->AudioSettings14(0xAE); }, "IMCAudioSettings", 14, {0xAE}},
        {a, [&] { return audio->SetAudioParam(5, 6); }, "IMCAudioParams", 4, {5, 6}},
        {a, [&] { return audio->GetAudioParam(5, &out); }, "IMCAudioParams", 3, {5}},
        {v, [&] { return video->VideoSettings3(0xB3); }, "IMCVideoSettings", 3, {0xB3}},
        {v, [&] { return video->VideoSettings4(0xB4); }, "IMCVideoSettings", 4, {0xB4}},
        {v, [&] { return video->VideoSettings5(0xB5); }, "IMCVideoSettings", 5, {0xB5}},
        {v, [&] { return video->VideoSettings6(0xB6); }, "IMCVideoSettings", 6, {0xB6}},
        {v, [&] { return video->VideoSettings7(1, 2, 3); }, "IMCVideoSettings", 7, {1, 2, 3}},
        {v, [&] { return video->VideoSettings8(4, 5, 6); }, "IMCVideoSettings", 8, {4, 5, 6}},
        {v, [&] { return video->VideoSettings9(0xB9); }, "IMCVideoSettings", 9, {0xB9}},
        {v, [&] { return video->VideoSettings10(0xBA); }, "IMCVideoSettings", 10, {0xBA}},
        {v, [&] { return video->VideoSettings11(1, 2, 3, 4); }, "IMCVideoSettings", 11, {1, 2, 3, 4}},
        {v, [&] { return video->GetVideoSettings(&videoRecord); }, "IMCVideoSettings", 12, {}},
        {v, [&] { return video->SetVideoSettings(videoRecord); }, "IMCVideoSettings", 13, {}},
        {v, [&] { return video->GetVideoDefaults(2, 1, &videoRecord); }, "IMCVideoSettings", 14, {2, 1}},
        {v, [&] { return video->VideoSettings15(7, 8); }, "IMCVideoSettings", 15, {7, 8}},
        {v, [&] { return video->SetVideoParam(0x10, 0x20); }, "IMCVideoParams", 4, {0x10, 0x20}},
        {v, [&] { return video->GetVideoParam(0x10, &out); }, "IMCVideoParams", 3, {0x10}},
        {m, [&] { return mux->MuxSettings3(0xC3); }, "IMCMuxSettings", 3, {0xC3}},
        {m, [&] { return mux->MuxSettings4(0xC4); }, "IMCMuxSettings", 4, {0xC4}},
        {m, [&] { return mux->MuxSettings5(0xC5); }, "IMCMuxSettings", 5, {0xC5}},
        {m, [&] { return mux->SetMuxSettings(muxRecord); }, "IMCMuxSettings", 6, {}},
        {m, [&] { return mux->MuxSettings7(1, 2); }, "IMCMuxSettings", 7, {1, 2}},
        {m, [&] { return mux->SetMuxStreamType(4); }, "IMCMuxSettings", 8, {4}},
        {m, [&] { return mux->SetFileName(nullptr); }, "IFileSinkFilter", 3, {0}},
        {m, [&] { return mux->SetFileName("a.mpg"); }, "IFileSinkFilter", 3, {1}},
        {m, [&] { return mux->GetMuxParam(0x11, &out); }, "IMCMuxParams", 3, {0x11}},
        {m, [&] { return mux->SetMuxParam(0x12, 13); }, "IMCMuxParams", 4, {0x12, 13}},
        {m, [&] { return mux->SetMuxParam25(7); }, "IMCMuxParams", 4, {0x25, 7}},
        {e, [&] { return mpeg->SetAudioParam60(9); }, "IMCAudioParams", 4, {0x60, 9}},
        {e, [&] { return mpeg->SetAudioParam1(8); }, "IMCAudioParams", 4, {1, 8}},
        {e, [&] { return mpeg->SetVideoParam60(1); }, "IMCVideoParams", 4, {0x60, 1}},
        {e, [&] { return mpeg->GetVideoParam60(&out); }, "IMCVideoParams", 3, {0x60}},
        {e, [&] { return mpeg->SetVideoParam61(2); }, "IMCVideoParams", 4, {0x61, 2}},
        {e, [&] { return mpeg->GetVideoParam61(&out); }, "IMCVideoParams", 3, {0x61}},
        {h, [&] { return h264->H264Settings3(1, 2, 3); }, "IMCH264Settings", 3, {1, 2, 3}},
        {h, [&] { return h264->H264Settings4(4, 5, 6); }, "IMCH264Settings", 4, {4, 5, 6}},
        {h, [&] { return h264->H264Settings5(0xFFFFFFFF); }, "IMCH264Settings", 5, {0xFFFFFFFF}},
        {h, [&] { return h264->H264Settings7(7, 8, 9); }, "IMCH264Settings", 7, {7, 8, 9}},
        {h, [&] { return h264->H264Settings8(10, 11); }, "IMCH264Settings", 8, {10, 11}},
        {h, [&] { return h264->GetH264Param(0x40, &out); }, "IMCH264Params", 3, {0x40}},
        {h, [&] { return h264->SetH264Param(0x40, 12); }, "IMCH264Params", 4, {0x40, 12}},
        {&CLSID_MCMpegSplitter, [&] { return splitter->GetSplitterParam(0x31, &out); }, "IMCSplitterParams", 3, {0x31}},
        {&CLSID_MCMpegSplitter, [&] { return splitter->SetSplitterParam(0x32, 9); }, "IMCSplitterParams", 4, {0x32, 9}},
        {&CLSID_MCMpegVideoDecoder, [&] { return decoder->SetDecoderParam(0x41, 2); }, "IMCDecoderParams", 4, {0x41, 2}},
        {&CLSID_MCMpegVideoDecoder, [&] { return decoder->GetDecoderParam(0x41, &out); }, "IMCDecoderParams", 3, {0x41}},
        {&CLSID_MCMpegVideoDecoder, [&] { return decoder->DecoderOutput3(1, 2); }, "IMCDecoderOutput", 3, {1, 2}},
        {&CLSID_MCMpegVideoDecoder, [&] { return decoder->DecoderOutput4(3, 0xFFFFFFFF); }, "IMCDecoderOutput", 4, {3, 0xFFFFFFFF}},
        {&CLSID_MCMpegVideoDecoder, [&] { return decoder->SetOutputFormat(kBGR4, 1); }, "IMCDecoderOutput", 5, {kBGR4, 1}},
        {d, [&] { return h264Decoder->Output3(1, 2); }, "IMCH264DecoderOutput", 3, {1, 2}},
        {d, [&] { return h264Decoder->Output4(3, 4); }, "IMCH264DecoderOutput", 4, {3, 4}},
        {d, [&] { return h264Decoder->Output5(5, 0xFFFFFFFF); }, "IMCH264DecoderOutput", 5, {5, 0xFFFFFFFF}},
        {d, [&] { return h264Decoder->GetOutputRecord(&h264Record); }, "IMCH264DecoderOutput", 6, {ULONGLONG(uintptr_t(&h264Record))}},
        {d, [&] { return h264Decoder->SetOutputRecord(h264Record); }, "IMCH264DecoderOutput", 7, {}},
    };
    for (const Row& row : rows) {
        hwsim::FilterBehaviour& filter = Behaviour(*row.clsid);
        filter.ClearCalls();
        EXPECT_TRUE(row.call()) << row.iface << " " << row.slot;
        const auto calls = filter.Calls();
        ASSERT_EQ(calls.size(), 1u) << row.iface << " " << row.slot;
        EXPECT_EQ(calls[0].iface, row.iface);
        EXPECT_EQ(calls[0].slot, row.slot);
        EXPECT_EQ(calls[0].args, row.args) << row.iface << " " << row.slot;
        filter.FailSlot(row.iface, row.slot, E_FAIL);
        EXPECT_FALSE(row.call()) << row.iface << " " << row.slot;
    }

    // Every group a class offers reaches that class's own filter, through each of its interfaces.
    struct Binding {
        const CLSID* clsid;
        CMCAudioGroup* audio;
        CMCVideoGroup* video;
        CMCMuxGroup* mux;
        CMCMuxParamGroup* muxParams;
        Names ifaces;
    };
    const Binding bindings[] = {
        {e, mpeg, mpeg, mpeg, nullptr,
         {"IMCAudioSettings", "IMCAudioParams", "IMCVideoSettings", "IMCVideoParams", "IMCMuxSettings", "IFileSinkFilter"}},
        {h, h264, nullptr, h264, h264,
         {"IMCAudioSettings", "IMCAudioParams", "IMCMuxSettings", "IFileSinkFilter", "IMCMuxParams"}},
        {m, nullptr, nullptr, mux, mux, {"IMCMuxSettings", "IFileSinkFilter", "IMCMuxParams"}},
        {a, audio, nullptr, nullptr, nullptr, {"IMCAudioSettings", "IMCAudioParams"}},
        {v, nullptr, video, nullptr, nullptr, {"IMCVideoSettings", "IMCVideoParams"}},
    };
    for (const Binding& binding : bindings) {
        hwsim::FilterBehaviour& filter = Behaviour(*binding.clsid);
        filter.ClearCalls();
        bool sent = true;
        if (binding.audio) sent = binding.audio->AudioSettings3(1) && binding.audio->SetAudioParam(1, 1);
        if (binding.video) sent = sent && binding.video->VideoSettings3(1) && binding.video->SetVideoParam(1, 1);
        if (binding.mux) sent = sent && binding.mux->MuxSettings3(1) && binding.mux->SetFileName("b.mpg");
        if (binding.muxParams) sent = sent && binding.muxParams->SetMuxParam(1, 1);
        EXPECT_TRUE(sent);
        Names ifaces;
        for (const auto& call : filter.Calls()) ifaces.push_back(call.iface);
        EXPECT_EQ(ifaces, binding.ifaces);
    }

    // The records arrive whole, and values set read back through their get slot.
    for (DWORD i = 0; i < 10; ++i) h264Record.dwField[i] = 0x100 + i;
    MCH264_OUTPUT_RECORD h264Read = {};
    ASSERT_TRUE(h264Decoder->SetOutputRecord(h264Record) && h264Decoder->GetOutputRecord(&h264Read));
    EXPECT_EQ(hwsim::FilterBehaviour::Bytes(h264Read), hwsim::FilterBehaviour::Bytes(h264Record));
    Behaviour(*m).ClearCalls();
    ASSERT_TRUE(mux->SetMuxSettings(muxRecord));
    EXPECT_EQ(Behaviour(*m).Calls()[0].records[0], hwsim::FilterBehaviour::Bytes(muxRecord));
    Behaviour(*v).ClearCalls();
    ASSERT_TRUE(video->SetVideoSettings(videoRecord) && audio->SetAudioSettings(audioRecord));
    EXPECT_EQ(Behaviour(*v).Calls()[0].records[0].size(), 877u);
    EXPECT_EQ(Behaviour(*a).Calls().back().records[0].size(), 36u);
    ASSERT_TRUE(h264->SetH264Param(0x41, 0x77) && h264->GetH264Param(0x41, &out));
    EXPECT_EQ(out, 0x77u);
    ASSERT_TRUE(mux->SetMuxParam25(0x55) && mux->GetMuxParam(0x25, &out));
    EXPECT_EQ(out, 0x55u);
    // A null value place is the filter's E_POINTER, so FALSE.
    EXPECT_FALSE(decoder->GetDecoderParam(1, nullptr));
    EXPECT_FALSE(video->GetVideoSettings(nullptr));
    EXPECT_FALSE(h264->GetH264Param(0x41, nullptr));
}
