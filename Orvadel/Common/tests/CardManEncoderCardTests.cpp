// The card manager's branches for cards of the encoder kind (access kind 11), on a test card
// class of that kind over a device of the tests' own, and its answers for a card row without
// crossbar and for a card that did not open.
#include <gtest/gtest.h>

#include <objbase.h>

#include <utility>
#include <vector>

#include "CardMan.h"
#include "StationFilterClasses.h"
#include "cards/base/CardFilterClasses.h"
#include "TestEncoderCard.h"
#include "cards/base/TVCardFilter.h"

using namespace graphtest;

namespace {

using cardtest::CTestEncoderCard;
constexpr const char* kCardName = cardtest::kEncoderCardName;
constexpr const char* kCrossbarName = cardtest::kEncoderCardCrossbar;

using EncoderCardTest = cardtest::EncoderCardFixture;

TEST_F(EncoderCardTest, InputsAreRoutedByTheCardItselfVideoThenAudio) {
    CCardMan& man = Open();
    ASSERT_TRUE(man.IsCardKind11());
    EXPECT_EQ(man.GetCrossbar(), nullptr) << "no crossbar device: the card still opens";
    EXPECT_TRUE(man.HasAudioPin());
    const struct {
        int input;
        long video, audio;
    } cases[] = {{0, 0, 3}, {1, 2, 4}, {2, 1, 4}, {3, 0, 4}, {-1, 0, 4}, {9, 0, 4}};
    for (const auto& c : cases) {
        CTestEncoderCard::s_routes.clear();
        EXPECT_TRUE(man.SelectInput(c.input)) << "input " << c.input;
        std::vector<std::pair<long, long>> expected{{c.video, 0}, {c.audio, 1}};
        EXPECT_EQ(CTestEncoderCard::s_routes, expected) << "input " << c.input;
        EXPECT_EQ(man.GetCurrentInput(), c.input);
    }
    // A refused audio route leaves the current input; a non-zero answer other than 1 takes the
    // input but is no success.
    CTestEncoderCard::s_audioRouteResult = FALSE;
    EXPECT_FALSE(man.Set3DYCReg(1));
    EXPECT_EQ(man.GetCurrentInput(), 9);
    CTestEncoderCard::s_audioRouteResult = 2;
    EXPECT_FALSE(man.Set3DYCReg(1));
    EXPECT_EQ(man.GetCurrentInput(), 1);
}

TEST_F(EncoderCardTest, AudioCaptureOfTheCardsIndexJoinsTheRenderersWhenEepromByteZeroSaysSo) {
    AddTestDevice(CLSID_AudioInputDeviceCategory, L"Conexant 2388x Audio Capture Plus", {OutputPin(L"Out")});
    AddTestDevice(CLSID_AudioInputDeviceCategory, L"Conexant 2388x Audio Capture", {OutputPin(L"Out")});
    platform::DeviceId second =
        AddTestDevice(CLSID_AudioInputDeviceCategory, L"Conexant 2388x Audio Capture (2", {OutputPin(L"Out")});

    CTestEncoderCard::s_byte0 = 0x11;
    Open().AddRenderers();
    EXPECT_EQ(card->GetAudioCapture(), nullptr);
    EXPECT_EQ(card->GetSoundRender(), nullptr);

    CTestEncoderCard::s_byte0 = 0x12;
    Open().AddRenderers();
    ASSERT_NE(card->GetAudioCapture(), nullptr);
    EXPECT_STREQ(card->GetAudioCapture()->GetName(), "Conexant 2388x Audio Capture");
    ASSERT_NE(card->GetSoundRender(), nullptr);
    EXPECT_STREQ(card->GetSoundRender()->GetName(), "Default sound");
    EXPECT_TRUE(card->GetAudioCapture()->IsInGraph());

    Open(1).AddRenderers();
    ASSERT_NE(card->GetAudioCapture(), nullptr);
    EXPECT_EQ(BoundDevice(card->GetAudioCapture()), second);
}

TEST_F(EncoderCardTest, RowWithoutCrossbarAnswersTrueUntouchedAndAClosedCardAnswersFalse) {
    CCardMan bare(CCardName(kCardName, "", 0));
    EXPECT_TRUE(bare.MuteAudio());
    EXPECT_TRUE(bare.SelectInput(5));
    EXPECT_TRUE(bare.BuildPreview());
    EXPECT_TRUE(bare.StartRecord("/nonexistent/x.mpg"));
    EXPECT_EQ(bare.GetGraph().GetFilterList(), nullptr) << "nothing entered the graph";
    EXPECT_FALSE(bare.GetIoFlag()) << "getters still need the card";

    CCardMan closed(CCardName("No Such Capture", kCrossbarName, 0));
    EXPECT_FALSE(closed.Create());
    EXPECT_FALSE(closed.MuteAudio());
    EXPECT_FALSE(closed.SelectInput(0));
    EXPECT_FALSE(closed.SetVideoSize(SIZE{720, 576}));
    EXPECT_FALSE(closed.BuildPreview());
    EXPECT_FALSE(closed.StartSearch(nullptr, 10, nullptr, 0));
    EXPECT_FALSE(closed.IsSearching());
    closed.Release();
    closed.Release();
    EXPECT_EQ(closed.GetGraph().GetFilterList(), nullptr);
}

TEST_F(EncoderCardTest, WithoutTheVmr9TheOverlayMixerAndVideoRendererComeInAndFilledSlotsStay) {
    CCardMan& man = Open();
    ASSERT_TRUE(man.AddVideoRenderer());
    ASSERT_NE(man.GetVmr(), nullptr);
    EXPECT_TRUE(man.GetVmr()->IsCreatedByClsid());
    EXPECT_STREQ(man.GetVmr()->GetName(), "VMR");
    CRootFilter* vmr = man.GetVmr();
    EXPECT_TRUE(man.AddVideoRenderer());
    EXPECT_EQ(man.GetVmr(), vmr);
    EXPECT_EQ(man.GetOverlay(), nullptr);

    platform::InjectFailure("CoCreateInstance:" + platform::FormatGuid(CLSID_VideoMixingRenderer9), 10);
    Open();
    ASSERT_TRUE(card->AddVideoRenderer());
    EXPECT_EQ(card->GetVmr(), nullptr);
    ASSERT_NE(card->GetOverlay(), nullptr);
    ASSERT_NE(card->GetVideoRender(), nullptr);
    EXPECT_STREQ(card->GetOverlay()->GetName(), "Overlay");
    EXPECT_STREQ(card->GetVideoRender()->GetName(), "Video Render");
}

}  // namespace
