// The Fimbrel card end to end on its simulated board, opened through the graph: the tuner,
// crossbar and TV-audio devices its search brings in (and its destructor takes out), the
// tuner device put to TV mode, the access on the capture filter with the EEPROM at 0xA0 and
// the tuner at 0xA0/0xA1, the Xceive chip on the sound-IF road of kind 13, keys from the
// controller at 0xBA, the crossbar routed output first, a card without an owner graph, and
// the encoder device's wrapper on its own property set.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <typeinfo>
#include <vector>

#include "access/FimbrelAccess.h"
#include "cards/encoders/FimbrelCardFilter.h"
#include "cards/encoders/FimbrelEncoderFilter.h"
#include "hwsim/boards/CrossbarFilter.h"
#include "hwsim/boards/TVAudioFilter.h"
#include "hwsim/boards/TunerFilter.h"
#include "hwsim/chips/XceiveTuner.h"
#include "platform/runtime.h"
#include "support/CardBench.h"
#include "support/EepromBench.h"
#include "tuners/XCeive2028.h"

namespace {

constexpr const char* kFimbrel = CFimbrelCardFilter::kCaptureName;

// The Fimbrel board with `model` fitted and named at 0xA0/0xA1 of its EEPROM.
std::string FimbrelBench(int model, int letter) {
    return EepromBench({{kFimbrel, model, {{0xA0, letter}, {0xA1, model}}, ""}}, R"([{"kHz": 471250}])");
}

class FimbrelCard : public CardBench {
protected:
    void SetUp() override {}
    CFimbrelCardFilter* Open(int model = 5, int letter = 'T') {
        Load(FimbrelBench(model, letter).c_str());
        return dynamic_cast<CFimbrelCardFilter*>(OpenCard(Board(0)));
    }
};

TEST_F(FimbrelCard, OpensOnItsCaptureFilterWithItsUpstreamDevicesAndPutsTheTunerToTv) {
    CFimbrelCardFilter* card = Open();
    ASSERT_NE(nullptr, card);
    hwsim::Card& board = Board(0);
    ASSERT_NE(nullptr, card->GetAccess());
    EXPECT_EQ(typeid(CFimbrelAccess), typeid(*card->GetAccess()));
    EXPECT_EQ(ACCESS_KIND_FIMBREL, card->GetAccessKind());
    EXPECT_EQ(100, card->GetRemotePeriod());
    EXPECT_STREQ("Conexant Fimbrel Tuner", card->GetTunerName());
    EXPECT_TRUE(card->HasTunerFilter());
    EXPECT_EQ('T', card->GetFactoryLetter());
    ASSERT_NE(nullptr, card->GetTuner());
    EXPECT_EQ(5, card->GetTuner()->GetModelCode());

    EXPECT_EQ(std::vector<std::string>({"+capture", "+crossbar", "+tuner", "+tv audio", "-capture", "+capture"}),
              board.GraphLog());
    ASSERT_EQ(1u, InGraph<hwsim::TunerFilter>(Graph()).size());
    EXPECT_EQ(std::vector<std::string>({"put_Mode " + std::to_string(AMTUNER_MODE_TV)}),
              InGraph<hwsim::TunerFilter>(Graph()).front()->Calls());
    // The access runs on the capture filter: the tuner device carries no request.
    ExpectWholeEepromThroughTheCard(*card, board, kFimbrel);
    EXPECT_EQ(0, InGraph<hwsim::TunerFilter>(Graph()).front()->PropertyRequests());

    CComPtr<IAMTVAudio> audio;
    EXPECT_EQ(S_OK, card->GetTvAudio(&audio));
    EXPECT_EQ(E_NOTIMPL, card->SetAudioSource(0, TRUE));
    Driver(board).Log().Clear();
    EXPECT_EQ(0, card->ReadEepromByte7());
    EXPECT_EQ(0u, Driver(board).Log().Size());

    board.ClearGraphLog();
    Graph().RemoveFilter(card);
    EXPECT_EQ(std::vector<std::string>({"-capture", "-tuner", "-tv audio", "-crossbar"}), board.GraphLog());
    EXPECT_TRUE(InGraph<hwsim::TunerFilter>(Graph()).empty());
}

TEST_F(FimbrelCard, XceiveChipLoadsTheSoundIfPatchesAndResetsOnLineOne) {
    CFimbrelCardFilter* card = Open(91, 'E');
    ASSERT_NE(nullptr, card);
    ASSERT_NE(nullptr, dynamic_cast<CXCeive2028*>(card->GetTuner()));
    auto* chip = dynamic_cast<hwsim::XceiveTuner*>(Board(0).Chip("tuner"));
    ASSERT_NE(nullptr, chip);
    const size_t pulses = chip->ResetPulses().size();
    ASSERT_TRUE(card->SetTunerStandard(AnalogVideo_SECAM_K));
    EXPECT_EQ("XcBasePalSecam", chip->Base());
    EXPECT_EQ("XcPatchSifDk", chip->Patch());  // the standard road would have loaded XcPatchDk
    EXPECT_TRUE(chip->Tunable()) << chip->LoadError();
    ASSERT_GT(chip->ResetPulses().size(), pulses);
    EXPECT_EQ(20u, chip->ResetPulses()[pulses].HeldMs());
}

TEST_F(FimbrelCard, XceiveTunerReportsTheStationOnEveryStatusRead) {
    CFimbrelCardFilter* card = Open(91, 'E');
    ASSERT_NE(nullptr, card);
    auto* chip = dynamic_cast<hwsim::XceiveTuner*>(Board(0).Chip("tuner"));
    ASSERT_NE(nullptr, chip);
    ASSERT_TRUE(card->SetTunerStandard(AnalogVideo_PAL_D));
    ASSERT_TRUE(card->SetTVChannelFreq(471250.0f));
    for (int read = 0; read < 5; ++read) {
        SCOPED_TRACE(read);
        EXPECT_TRUE(card->GetTunerStatus());
        EXPECT_TRUE(chip->Tunable()) << chip->LoadError();
    }
    ASSERT_TRUE(card->SetTVChannelFreq(175250.0f));  // nothing on air there
    EXPECT_FALSE(card->GetTunerStatus());
    ASSERT_TRUE(card->SetTVChannelFreq(471250.0f));
    EXPECT_TRUE(card->GetTunerStatus());
}

TEST_F(FimbrelCard, KeysComeFromTheControllerAtBAWhenItsReadyRegisterReadsOne) {
    CFimbrelCardFilter* card = Open();
    ASSERT_NE(nullptr, card);
    hwsim::I2CKeyController& keys = Board(0).KeyController();
    BYTE key = 0;
    EXPECT_FALSE(card->GetRemoteData(&key));
    keys.Poke(0xAA, 2);
    EXPECT_FALSE(card->GetRemoteData(&key));
    keys.Poke(0xAA, 0);
    Board(0).PressKey(0x3C);
    ASSERT_TRUE(card->GetRemoteData(&key));
    EXPECT_EQ(0x3C, key);
    EXPECT_FALSE(card->GetRemoteData(&key));

    KeyWindow window;
    card->SetNotifyWindow(window.Window());
    Board(0).PressKey(0x12);
    Board(0).PressKey(0x13);
    ASSERT_TRUE(card->StartRemoteThread());
    EXPECT_EQ(std::vector<WPARAM>({0x12, 0x13}), window.WaitForKeys(2, 2000));
    card->StopRemoteThread();
}

TEST_F(FimbrelCard, RouteCrossbarTakesTheOutputFirst) {
    CFimbrelCardFilter* card = Open();
    ASSERT_NE(nullptr, card);
    CComPtr<IAMCrossbar> crossbar;
    ASSERT_EQ(S_OK, card->GetCrossbar(&crossbar));
    ASSERT_NE(nullptr, crossbar.p);
    EXPECT_EQ(E_POINTER, card->GetCrossbar(nullptr));
    EXPECT_EQ(E_POINTER, card->GetTvAudio(nullptr));
    EXPECT_TRUE(card->RouteCrossbar(0, 2));
    EXPECT_EQ(2, RoutedTo(crossbar, 0));
    EXPECT_TRUE(card->RouteCrossbar(1, 5));
    EXPECT_EQ(5, RoutedTo(crossbar, 1));
    EXPECT_FALSE(card->RouteCrossbar(0, -1));
    EXPECT_FALSE(card->RouteCrossbar(2, 0));
    EXPECT_EQ(2, RoutedTo(crossbar, 0));
}

TEST_F(FimbrelCard, CrossbarRoutesAudioFromInputFive) {
    Load(FimbrelBench(5, 'T').c_str());
    auto* crossbar = dynamic_cast<CFimbrelCrossbarFilter*>(
        Graph().AddDeviceFilter(AM_KSCATEGORY_CROSSBAR, CFimbrelCrossbarFilter::kCrossbarName, "Xbar", 0, 0));
    ASSERT_NE(nullptr, crossbar);
    for (int source = 0; source < 3; ++source) {
        EXPECT_EQ(source, crossbar->GetVideoRoute(source));
        EXPECT_EQ(5 + source, crossbar->GetAudioRoute(source));
    }
    EXPECT_TRUE(crossbar->SetAudioInput(1));
}

// Without an owner graph nothing is searched: no tuner device, and the access opens on the
// capture filter without the card, instead of calling through a missing graph.
TEST_F(FimbrelCard, WithoutAnOwnerGraphTheAccessOpensWithoutTheCard) {
    Load(FimbrelBench(5, 'T').c_str());
    Graph();  // COM on this thread; the card is not the graph's
    CFimbrelCardFilter card(nullptr, &CLSID_VideoInputDeviceCategory, kFimbrel, 0);
    ASSERT_TRUE(card.SetUp());
    EXPECT_FALSE(card.HasTunerFilter());
    ASSERT_NE(nullptr, card.GetAccess());
    EXPECT_EQ(typeid(CFimbrelAccess), typeid(*card.GetAccess()));
    ExpectWholeEepromThroughTheCard(card, Board(0), kFimbrel);
    IAMCrossbar* crossbar = reinterpret_cast<IAMCrossbar*>(1);
    EXPECT_EQ(S_OK, card.GetCrossbar(&crossbar));
    EXPECT_EQ(nullptr, crossbar);
    IAMTVAudio* audio = nullptr;
    EXPECT_EQ(E_POINTER, card.GetTvAudio(&audio));
    EXPECT_FALSE(card.RouteCrossbar(0, 0));
    EXPECT_EQ(std::vector<std::string>(), Board(0).GraphLog());
}

TEST_F(FimbrelCard, EncoderWrapperSetsAndGetsOnTheFimbrelSet) {
    Load(FimbrelBench(5, 'T').c_str());
    auto* encoder = dynamic_cast<CFimbrelEncoderFilter*>(
        Graph().AddDeviceFilter(KSCATEGORY_ENCODER, CFimbrelEncoderFilter::kEncoderName, "Encoder", 0, 0));
    ASSERT_NE(nullptr, encoder);
    EXPECT_EQ(CFimbrelEncoderFilter::kFimbrelEncoderSet, encoder->GetPropertySet());
    hwsim::WireLog& log = Devices().EncoderLog(Board(0));
    log.Clear();
    BYTE settings[4] = {9, 8, 7, 6};
    EXPECT_TRUE(encoder->SetProperty(5, settings, sizeof(settings)));
    BYTE back[4] = {};
    EXPECT_TRUE(encoder->GetProperty(5, back, sizeof(back)));
    EXPECT_TRUE(std::equal(std::begin(settings), std::end(settings), std::begin(back)));
    ASSERT_EQ(2u, log.Size());

    // The MPEG encoder's usual set is not this device's.
    CMpegEncoderFilter other(nullptr, encoder->GetFilter());
    ASSERT_TRUE(other.SetUp());
    EXPECT_FALSE(other.SetProperty(5, settings, sizeof(settings)));
    EXPECT_FALSE(other.GetProperty(5, back, sizeof(back)));
}

}  // namespace
