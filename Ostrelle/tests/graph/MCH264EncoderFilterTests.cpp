// The MainConcept H.264 encoder wrapper over the simulated PC's installed encoder: its seven
// interfaces, its pins, the settings record and every forwarding slot.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graph/MCH264EncoderFilter.h"
#include "graph/MCMpegCodecFilters.h"
#include "hwsim/installed/McMpegFilters.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

using Args = std::vector<ULONGLONG>;

class MCH264Encoder : public SystemBench {
protected:
    CMCH264EncoderFilter* Add(CRootGraph& graph) {
        return dynamic_cast<CMCH264EncoderFilter*>(graph.AddFilter(CLSID_MCH264Encoder, "H.264"));
    }
    hwsim::FilterBehaviour& Filter() { return Behaviour(CLSID_MCH264Encoder); }
};

}  // namespace

TEST_F(MCH264Encoder, OpensSevenInterfacesAndGrowsPinsOnConnection) {
    Filter().ClearCalls();
    CRootGraph graph;
    CMCH264EncoderFilter* encoder = Add(graph);
    ASSERT_NE(encoder, nullptr);
    EXPECT_EQ(Filter().Queries(),
              (std::vector<std::string>{"IMCAudioSettings", "IMCAudioParams", "IMCMuxSettings", "IMCMuxParams",
                                        "IFileSinkFilter", "IMCH264Settings", "IMCH264Params"}));
    EXPECT_TRUE(encoder->IsDyncPin());
    EXPECT_EQ(encoder->FindPin("Output"), nullptr);

    auto* decoder = dynamic_cast<CMCVideoDecoderFilter*>(graph.AddFilter(CLSID_MCMpegVideoDecoder, "Decoder"));
    ASSERT_NE(decoder, nullptr);
    ASSERT_TRUE(graph.ConnectByPinName(decoder, encoder, "Out", "Video In"));
    EXPECT_NE(encoder->FindPin("Audio In"), nullptr);
    EXPECT_NE(encoder->FindPin("Output"), nullptr);
}

TEST_F(MCH264Encoder, WithoutH264ParamsIsInvalidButStillReachesItsMultiplexer) {
    Filter().RefuseInterface("IMCH264Params");
    CRootGraph graph;
    EXPECT_EQ(Add(graph), nullptr);

    CMCH264EncoderFilter encoder(&graph, CLSID_MCH264Encoder);
    Filter().ClearCalls();
    EXPECT_FALSE(encoder.SetUp());
    EXPECT_FALSE(encoder.IsValid());
    EXPECT_EQ(Filter().Queries().size(), 7u);
    EXPECT_TRUE(encoder.SetMuxParam(0x25, 3));
    EXPECT_TRUE(encoder.H264Settings5(1));
    EXPECT_FALSE(encoder.SetH264Param(1, 2));
    const auto calls = Filter().Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].iface, "IMCMuxParams");
    EXPECT_EQ(calls[0].args, (Args{0x25, 3}));
}

TEST_F(MCH264Encoder, SettingsRecordArrivesWholeInOneCall) {
    CRootGraph graph;
    CMCH264EncoderFilter* encoder = Add(graph);
    ASSERT_NE(encoder, nullptr);
    auto settings = std::make_unique<MC_H264_SETTINGS>();
    for (size_t i = 0; i < sizeof(settings->bytes); ++i) settings->bytes[i] = static_cast<BYTE>(i * 7 + 3);
    Filter().ClearCalls();
    ASSERT_TRUE(encoder->SetH264Settings(*settings));
    const auto calls = Filter().Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].slot, 6);
    ASSERT_EQ(calls[0].records.size(), 1u);
    ASSERT_EQ(calls[0].records[0].size(), 8320u);
    EXPECT_EQ(calls[0].records[0], hwsim::FilterBehaviour::Bytes(*settings));
}

TEST_F(MCH264Encoder, FileNameComesBackOnlyWhenItFits) {
    CRootGraph graph;
    CMCH264EncoderFilter* encoder = Add(graph);
    ASSERT_NE(encoder, nullptr);
    char name[MAX_PATH] = "stale";
    EXPECT_TRUE(encoder->GetFileName(name));
    EXPECT_STREQ(name, "");
    EXPECT_TRUE(encoder->SetFileName("C:\\Record\\take.264"));
    EXPECT_TRUE(encoder->GetFileName(name));
    EXPECT_STREQ(name, "C:\\Record\\take.264");
    char small[10] = "stale";
    EXPECT_FALSE(encoder->GetFileName(small, sizeof(small)));
    EXPECT_STREQ(small, "");
}

TEST_F(MCH264Encoder, EveryForwardReachesItsSlotUnchanged) {
    CRootGraph graph;
    CMCH264EncoderFilter* e = Add(graph);
    ASSERT_NE(e, nullptr);
    DWORD out = 0;
    MC_AUDIO_SETTINGS audio = {};
    MC_MUX_SETTINGS mux = {};
    struct Row {
        std::function<BOOL()> call;
        const char* iface;
        int slot;
        Args args;
    };
    const std::vector<Row> rows = {
        {[&] { return e->AudioSettings3(0xA3); }, "IMCAudioSettings", 3, {0xA3}},
        {[&] { return e->AudioSettings4(0xA4); }, "IMCAudioSettings", 4, {0xA4}},
        {[&] { return e->AudioSettings5(0xA5); }, "IMCAudioSettings", 5, {0xA5}},
        {[&] { return e->AudioSettings6(0xA6); }, "IMCAudioSettings", 6, {0xA6}},
        {[&] { return e->AudioSettings7(0xA7); }, "IMCAudioSettings", 7, {0xA7}},
        {[&] { return e->AudioSettings8(0xA8); }, "IMCAudioSettings", 8, {0xA8}},
        {[&] { return e->AudioSettings9(0xA9); }, "IMCAudioSettings", 9, {0xA9}},
        {[&] { return e->AudioSettings10(0xAA); }, "IMCAudioSettings", 10, {0xAA}},
        {[&] { return e->AudioSettings11(0xAB); }, "IMCAudioSettings", 11, {0xAB}},
        {[&] { return e->SetAudioSettings(audio); }, "IMCAudioSettings", 12, {}},
        {[&] { return e->GetAudioDefaults(2, &audio); }, "IMCAudioSettings", 13, {2}},
        {[&] { return e->AudioSettings14(0xAE); }, "IMCAudioSettings", 14, {0xAE}},
        {[&] { return e->GetAudioParam(5, &out); }, "IMCAudioParams", 3, {5}},
        {[&] { return e->SetAudioParam(5, 6); }, "IMCAudioParams", 4, {5, 6}},
        {[&] { return e->MuxSettings3(0xC3); }, "IMCMuxSettings", 3, {0xC3}},
        {[&] { return e->MuxSettings4(0xC4); }, "IMCMuxSettings", 4, {0xC4}},
        {[&] { return e->MuxSettings5(0xC5); }, "IMCMuxSettings", 5, {0xC5}},
        {[&] { return e->SetMuxSettings(mux); }, "IMCMuxSettings", 6, {}},
        {[&] { return e->MuxSettings7(1, 2); }, "IMCMuxSettings", 7, {1, 2}},
        {[&] { return e->SetMuxStreamType(3); }, "IMCMuxSettings", 8, {3}},
        {[&] { return e->GetMuxParam(0x21, &out); }, "IMCMuxParams", 3, {0x21}},
        {[&] { return e->SetMuxParam(0x21, 4); }, "IMCMuxParams", 4, {0x21, 4}},
        {[&] { return e->SetFileName(nullptr); }, "IFileSinkFilter", 3, {0}},
        {[&] { return e->H264Settings3(1, 2, 3); }, "IMCH264Settings", 3, {1, 2, 3}},
        {[&] { return e->H264Settings4(4, 5, 6); }, "IMCH264Settings", 4, {4, 5, 6}},
        {[&] { return e->H264Settings5(0xFFFFFFFF); }, "IMCH264Settings", 5, {0xFFFFFFFF}},
        {[&] { return e->H264Settings7(7, 8, 9); }, "IMCH264Settings", 7, {7, 8, 9}},
        {[&] { return e->H264Settings8(10, 11); }, "IMCH264Settings", 8, {10, 11}},
        {[&] { return e->GetH264Param(0x40, &out); }, "IMCH264Params", 3, {0x40}},
        {[&] { return e->SetH264Param(0x40, 12); }, "IMCH264Params", 4, {0x40, 12}},
    };
    for (const Row& row : rows) {
        Filter().ClearCalls();
        EXPECT_TRUE(row.call()) << row.iface << " " << row.slot;
        const auto calls = Filter().Calls();
        ASSERT_EQ(calls.size(), 1u) << row.iface << " " << row.slot;
        EXPECT_EQ(calls[0].iface, row.iface);
        EXPECT_EQ(calls[0].slot, row.slot);
        EXPECT_EQ(calls[0].args, row.args) << row.iface << " " << row.slot;
        Filter().FailSlot(row.iface, row.slot, E_FAIL);
        EXPECT_FALSE(row.call()) << row.iface << " " << row.slot;
    }
    ASSERT_TRUE(e->SetH264Param(0x41, 0x77));
    ASSERT_TRUE(e->GetH264Param(0x41, &out));
    EXPECT_EQ(out, 0x77u);
    EXPECT_FALSE(e->GetH264Param(0x41, nullptr));
}
