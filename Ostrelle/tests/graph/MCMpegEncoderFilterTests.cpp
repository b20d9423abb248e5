// The MainConcept MPEG encoder wrapper over the simulated PC's installed encoder: the presets,
// the set-up sequence and the mode nibble, read from the filter's call log (its forwarding slots
// are walked with the codecs').
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "graph/MCMpegEncoderFilter.h"
#include "graph/MCVideoRecord.h"
#include "hwsim/installed/McMpegFilters.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

class MCMpegEncoder : public SystemBench {
protected:
    CMCMpegEncoderFilter* Add(CRootGraph& graph) {
        return AddOf<CMCMpegEncoderFilter>(graph, CLSID_MCMpegEncoder, "Encoder");
    }
    hwsim::FilterBehaviour& Filter() { return Behaviour(CLSID_MCMpegEncoder); }
    std::vector<std::pair<std::string, int>> Slots() {
        std::vector<std::pair<std::string, int>> slots;
        for (const auto& call : Filter().Calls()) slots.emplace_back(call.iface, call.slot);
        return slots;
    }
    MC_VIDEO_SETTINGS StoredVideo() {
        MC_VIDEO_SETTINGS video = {};
        EXPECT_TRUE(Filter().Load(hwsim::kStoreVideoSettings + 13, &video));
        return video;
    }
};

}  // namespace

TEST_F(MCMpegEncoder, PresetsFillEveryFieldForBothStandards) {
    using Preset = BOOL (*)(MCEncoderSetup*, BOOL);
    struct Expected {
        Preset preset;
        int streamType, mpeg2, nibble;
        double bitRate;
        int width, palHeight, ntscHeight, presetClass;
    };
    const Expected expected[] = {
        {&CMCMpegEncoderFilter::GetPresetVCD, 1, 0, 1, 1150000.0, 352, 288, 240, 2},
        {&CMCMpegEncoderFilter::GetPresetDVD, 4, 1, 1, 7200000.0, 720, 576, 480, 4},
        {&CMCMpegEncoderFilter::GetPresetDVDLow, 4, 1, 1, 4500000.0, 720, 576, 480, 4},
        {&CMCMpegEncoderFilter::GetPresetSVCD, 3, 1, 1, 2200000.0, 480, 576, 480, 2},
        {&CMCMpegEncoderFilter::GetPresetMPEG1, 0, 0, 2, 4500000.0, 352, 288, 240, 2},
        {&CMCMpegEncoderFilter::GetPresetMPEG2, 2, 1, 2, 4500000.0, 720, 576, 480, 2},
    };
    for (const Expected& row : expected) {
        for (BOOL pal : {TRUE, FALSE}) {
            MCEncoderSetup setup;
            std::memset(&setup, 0x7F, sizeof(setup));
            ASSERT_TRUE(row.preset(&setup, pal));
            EXPECT_EQ(setup.nStreamType, row.streamType);
            EXPECT_EQ(setup.bPal, pal);
            EXPECT_EQ(setup.nMpeg2, row.mpeg2);
            EXPECT_EQ(setup.nModeNibble, row.nibble);
            EXPECT_EQ(setup.dBitRate, row.bitRate);
            EXPECT_EQ(setup.dMaxBitRate, 9800000.0);
            EXPECT_EQ(setup.nWidth, row.width);
            EXPECT_EQ(setup.nHeight, pal ? row.palHeight : row.ntscHeight);
            EXPECT_EQ(setup.nAudioValue, 11);
            EXPECT_EQ(setup.nPresetClass, row.presetClass);
        }
        EXPECT_FALSE(row.preset(nullptr, TRUE));
    }
}

TEST_F(MCMpegEncoder, ApplySetupConfiguresTheFilterInItsOrder) {
    CRootGraph graph;
    CMCMpegEncoderFilter* encoder = Add(graph);
    ASSERT_NE(encoder, nullptr);
    for (auto preset : {&CMCMpegEncoderFilter::GetPresetVCD, &CMCMpegEncoderFilter::GetPresetDVD}) {
        MCEncoderSetup setup;
        ASSERT_TRUE(preset(&setup, TRUE));
        Filter().ClearCalls();
        ASSERT_TRUE(encoder->ApplySetup(&setup));
        const std::vector<std::pair<std::string, int>> order = {
            {"IMCVideoSettings", 14}, {"IMCVideoSettings", 13}, {"IMCVideoParams", 4}, {"IMCVideoParams", 4},
            {"IMCAudioParams", 4},    {"IMCAudioSettings", 13}, {"IMCAudioSettings", 12}, {"IMCMuxSettings", 8}};
        EXPECT_EQ(Slots(), order);
        const auto calls = Filter().Calls();
        const DWORD type = static_cast<DWORD>(setup.nStreamType);
        EXPECT_EQ(calls[0].args, (std::vector<ULONGLONG>{type, 1}));
        EXPECT_EQ(calls[2].args, (std::vector<ULONGLONG>{0x61, 0}));
        EXPECT_EQ(calls[3].args, (std::vector<ULONGLONG>{0x60, 1}));
        EXPECT_EQ(calls[4].args, (std::vector<ULONGLONG>{0x60, 1}));
        EXPECT_EQ(calls[5].args, (std::vector<ULONGLONG>{type}));
        EXPECT_EQ(calls[7].args, (std::vector<ULONGLONG>{type}));

        const MC_VIDEO_SETTINGS video = StoredVideo();
        // Stream type 1 sets the integer at 0x30; another keeps the filter's default.
        EXPECT_EQ(MCField<int>(video, 0x30), setup.nStreamType == 1 ? 1 : 0x100 + 0x10 * setup.nStreamType + 1);
        EXPECT_EQ(MCField<double>(video, 0x40), setup.dBitRate);
        EXPECT_EQ(MCField<double>(video, 0x48), 9800000.0);
        EXPECT_EQ(MCField<int>(video, 0x198), setup.nWidth);
        EXPECT_EQ(MCField<int>(video, 0x19C), setup.nHeight);
        EXPECT_EQ(video.bytes[0x32C], (0xA5 & 0xE1) | (1 << 1));
        EXPECT_EQ(MCField<double>(video, 0x335), setup.dBitRate);
        EXPECT_EQ(video.bytes[0x334], 0xA5);

        MC_AUDIO_SETTINGS audio = {};
        ASSERT_TRUE(Filter().Load(hwsim::kStoreAudioSettings + 12, &audio));
        EXPECT_EQ(audio.dwField[0], 0u);
        EXPECT_EQ(audio.dwField[1], 2u);
        EXPECT_EQ(audio.dwField[2], 0x200 + 0x10 * type + 2);
        EXPECT_EQ(audio.dwField[3], 11u);
    }
    EXPECT_FALSE(encoder->ApplySetup(nullptr));
}

TEST_F(MCMpegEncoder, ApplySetupStopsAtAFailedStepAndKeepsWhatItWrote) {
    CRootGraph graph;
    CMCMpegEncoderFilter* encoder = Add(graph);
    ASSERT_NE(encoder, nullptr);
    MCEncoderSetup setup;
    CMCMpegEncoderFilter::GetPresetSVCD(&setup, FALSE);
    Filter().ClearCalls();
    Filter().FailSlot("IMCVideoParams", 4, E_FAIL);
    EXPECT_FALSE(encoder->ApplySetup(&setup));
    EXPECT_EQ(Slots().back(), std::make_pair(std::string("IMCVideoParams"), 4));
    EXPECT_EQ(MCField<int>(StoredVideo(), 0x198), 480);
    MC_AUDIO_SETTINGS audio;
    EXPECT_FALSE(Filter().Load(hwsim::kStoreAudioSettings + 12, &audio));
    std::vector<BYTE> muxType;
    EXPECT_FALSE(Filter().GetParam(hwsim::kStoreMuxSettings + 8, &muxType));

    // The multiplexer's answer is the set-up's.
    Filter().FailSlot("IMCMuxSettings", 8, E_FAIL);
    EXPECT_FALSE(encoder->ApplySetup(&setup));
    EXPECT_TRUE(encoder->ApplySetup(&setup));

    // A wrapper that found no audio settings stops where it needs them.
    Filter().RefuseInterface("IMCAudioSettings");
    CMCMpegEncoderFilter partial(&graph, CLSID_MCMpegEncoder);
    partial.SetUp();
    Filter().ClearCalls();
    EXPECT_FALSE(partial.ApplySetup(&setup));
    EXPECT_EQ(Slots().back(), std::make_pair(std::string("IMCAudioParams"), 4));
}

TEST_F(MCMpegEncoder, ModeNibbleTakesOnlyFourBits) {
    CRootGraph graph;
    CMCMpegEncoderFilter* encoder = Add(graph);
    ASSERT_NE(encoder, nullptr);
    struct Case {
        BYTE before;
        int value;
        BYTE after;
    };
    for (const Case& c : {Case{0xFF, 3, 0xE7}, Case{0x00, 3, 0x06}, Case{0x00, 0x13, 0x06}, Case{0xFF, -1, 0xFF},
                          Case{0x21, 0x1F0, 0x21}}) {
        MC_VIDEO_SETTINGS video = {};
        video.bytes[0x32C] = c.before;
        video.bytes[0x32B] = 0x5A;
        ASSERT_TRUE(encoder->SetVideoSettings(video));
        ASSERT_TRUE(encoder->SetVideoModeNibble(c.value));
        EXPECT_EQ(StoredVideo().bytes[0x32C], c.after) << c.value;
        EXPECT_EQ(StoredVideo().bytes[0x32B], 0x5A);
    }
    Filter().FailSlot("IMCVideoSettings", 12, E_FAIL);
    Filter().ClearCalls();
    EXPECT_FALSE(encoder->SetVideoModeNibble(1));
    EXPECT_EQ(Slots().size(), 1u);
}


TEST_F(MCMpegEncoder, AudioParam60GivesBackTheCallersValueAfterAFailedRead) {
    CRootGraph graph;
    CMCMpegEncoderFilter* encoder = Add(graph);
    ASSERT_NE(encoder, nullptr);
    ASSERT_TRUE(encoder->SetAudioParam60(44100));
    DWORD value = 7;
    EXPECT_TRUE(encoder->GetAudioParam60(&value));
    EXPECT_EQ(value, 44100u);
    value = 7;
    Filter().FailSlot("IMCAudioParams", 3, E_FAIL);
    EXPECT_FALSE(encoder->GetAudioParam60(&value));
    EXPECT_EQ(value, 7u);
    EXPECT_FALSE(encoder->GetAudioParam60(nullptr));
}
