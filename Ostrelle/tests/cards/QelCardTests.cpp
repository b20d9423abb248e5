// The Qel card ("713x_4 TV Card Capture") opened through the graph on its simulated board: its
// property-set access, its tuner from the standard EEPROM layout, the whole EEPROM, its access
// set-up, its TV tuner interface upstream, and its crossbar.
#include <gtest/gtest.h>

#include "support/CardBench.h"
#include "cards/saa713x/QelCardFilter.h"
#include "platform/runtime.h"

namespace {

using QelCard = CardBench;

CQelCardFilter* AsQel(CTVCardFilter* card) { return dynamic_cast<CQelCardFilter*>(card); }

TEST_F(QelCard, OpensThroughTheGraphWithItsAccessAndTheTunerOfItsEeprom) {
    Poke(QelBoard(), 0x20, {'T', 5});
    CQelCardFilter* card = AsQel(OpenCard(QelBoard()));
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(ACCESS_KIND_QEL, card->GetAccessKind());
    EXPECT_EQ(5, card->GetTunerModel());
    EXPECT_EQ('T', card->GetFactoryLetter());
    EXPECT_EQ(5, card->GetTuner()->GetModelCode());
    EXPECT_STREQ("PhTVTune", card->GetTunerName());
    EXPECT_NE(nullptr, card->GetCapturePin());
    // The driver was opened once, before anything else.
    const auto wire = Driver(QelBoard()).Log().Lines();
    ASSERT_FALSE(wire.empty());
    EXPECT_NE(std::string::npos, wire.front().find("SAA.1"));

    // The tuner answers and locks on a station.
    EXPECT_TRUE(card->SetTVChannelFreq(49750));
    EXPECT_TRUE(card->GetTunerStatus());
    EXPECT_TRUE(card->SetTVChannelFreq(55250));
    EXPECT_FALSE(card->GetTunerStatus());
}

TEST_F(QelCard, EepromModel95OpensTheTda8275aTuner) {
    Load(R"({"cards": [{"kind": "713x BDA Analog Capture"}, {"kind": "713x_4 TV Card Capture", "tuner": 95,
             "eeprom": {"hex": ""}}], "stations": [{"kHz": 49750}]})");
    Poke(QelBoard(), 0x20, {'P', 95});
    CQelCardFilter* card = AsQel(OpenCard(QelBoard()));
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(95, card->GetTuner()->GetModelCode());
    EXPECT_EQ('P', card->GetFactoryLetter());
}

TEST_F(QelCard, WritesAndReadsBackItsWholeEepromThroughTheGraphCard) {
    CTVCardFilter* card = OpenCard(QelBoard());
    ASSERT_NE(nullptr, card);
    std::vector<BYTE> image(256);
    for (int i = 0; i < 256; ++i) image[i] = static_cast<BYTE>(i * 3 + 1);
    int count = 256;
    EXPECT_EQ(S_OK, card->WriteEeprom(image.data(), 0, &count, 2));
    EXPECT_EQ(image, QelBoard().Eeprom().Contents());
    std::vector<BYTE> back(256);
    EXPECT_EQ(S_OK, card->ReadEeprom(back.data(), 0, &count));
    EXPECT_EQ(image, back);
}

TEST_F(QelCard, AccessSetUpWithoutFilterOrWhenTheDriverRefuses) {
    TestCard<CQelCardFilter> bare;
    EXPECT_EQ(E_POINTER, bare.InitAccess());
    EXPECT_EQ(ACCESS_KIND_NONE, bare.GetAccessKind());
    EXPECT_EQ(nullptr, bare.GetAccess());

    // No property set: the access object goes and the card is not created.
    platform::InjectFailure("QueryInterface:IKsPropertySet", 1);
    EXPECT_EQ(nullptr, Graph().AddDeviceFilter(CLSID_VideoInputDeviceCategory, "713x_4 TV Card Capture", "Card", 0, 0));
    platform::ClearFailures();

    // The driver refuses the open: E_FAIL, the access object stays with kind 21.
    CQelCardFilter* card = AsQel(OpenCard(QelBoard()));
    ASSERT_NE(nullptr, card);
    card->ReleaseAccess();
    EXPECT_EQ(nullptr, card->GetTuner());
    EXPECT_EQ(ACCESS_KIND_NONE, card->GetAccessKind());
    platform::InjectFailure("IKsPropertySet::Set", 1);
    EXPECT_EQ(E_FAIL, card->InitAccess());
    EXPECT_NE(nullptr, card->GetAccess());
    EXPECT_EQ(ACCESS_KIND_QEL, card->GetAccessKind());
}

TEST_F(QelCard, FindsTheTunerInterfaceUpstreamOnceAndKeepsIt) {
    CQelCardFilter* card = AsQel(OpenCard(QelBoard()));
    ASSERT_NE(nullptr, card);
    CComPtr<IAMTVTuner> tuner;
    EXPECT_EQ(E_POINTER, card->GetTVTuner(&tuner));  // no tuner filter yet
    EXPECT_EQ(S_OK, card->FindTunerInterface());
    ASSERT_EQ(S_OK, card->GetTVTuner(&tuner));
    EXPECT_NE(nullptr, tuner);
    platform::InjectFailure("ICaptureGraphBuilder2::FindInterface", 2);
    EXPECT_EQ(S_OK, card->FindTunerInterface());  // the graph is not asked again
    platform::ClearFailures();
    EXPECT_EQ(E_POINTER, card->GetTVTuner(nullptr));
}

TEST_F(QelCard, CrossbarKeepsTheDefaultRoutes) {
    CRootFilter* filter = Graph().AddDeviceFilter(AM_KSCATEGORY_CROSSBAR, "713x_4 TV Card Crossbar", "Xbar", 0, 0);
    auto* crossbar = dynamic_cast<CQelCrossbarFilter*>(filter);
    ASSERT_NE(nullptr, crossbar);
    EXPECT_TRUE(crossbar->SetVideoInput(2));
}

TEST_F(QelCard, SecondBoardOfTheKindOpensAsTheSecondInstance) {
    Load(R"({"cards": [{"kind": "713x_4 TV Card Capture", "tuner": 5},
                       {"kind": "713x_4 TV Card Capture", "tuner": 5}]})");
    Poke(Board(0), 0x20, {'T', 5});
    Poke(Board(1), 0x20, {'X', 33});
    CTVCardFilter* second = OpenCard(Board(1), 1);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(33, second->GetTunerModel());
    EXPECT_EQ('X', second->GetFactoryLetter());
}

}  // namespace
