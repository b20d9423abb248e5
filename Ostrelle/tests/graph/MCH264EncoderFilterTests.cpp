// The MainConcept H.264 encoder wrapper over the simulated PC's installed encoder: its seven
// interfaces, its pins and the settings record (its forwarding slots are walked with the
// codecs').
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graph/MCH264EncoderFilter.h"
#include "graph/MCMpegCodecFilters.h"
#include "hwsim/installed/McMpegFilters.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

class MCH264Encoder : public SystemBench {
protected:
    CMCH264EncoderFilter* Add(CRootGraph& graph) {
        return AddOf<CMCH264EncoderFilter>(graph, CLSID_MCH264Encoder, "H.264");
    }
    hwsim::FilterBehaviour& Filter() { return Behaviour(CLSID_MCH264Encoder); }
};

}  // namespace

TEST_F(MCH264Encoder, GrowsPinsOnConnection) {
    CRootGraph graph;
    CMCH264EncoderFilter* encoder = Add(graph);
    ASSERT_NE(encoder, nullptr);
    EXPECT_TRUE(encoder->IsDyncPin());
    EXPECT_EQ(encoder->FindPin("Output"), nullptr);

    auto* decoder = dynamic_cast<CMCVideoDecoderFilter*>(graph.AddFilter(CLSID_MCMpegVideoDecoder, "Decoder"));
    ASSERT_NE(decoder, nullptr);
    ASSERT_TRUE(graph.ConnectByPinName(decoder, encoder, "Out", "Video In"));
    EXPECT_NE(encoder->FindPin("Audio In"), nullptr);
    EXPECT_NE(encoder->FindPin("Output"), nullptr);
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
