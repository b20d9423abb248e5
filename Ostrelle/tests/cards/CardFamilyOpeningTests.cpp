// Every card and crossbar class of the base, Cranlow and SAA713x families opened through the
// graph on its simulated board: its class, access class and kind, tuner from the EEPROM,
// remote period and route table, the whole EEPROM written and read back through the card,
// the base cards on both of their drivers, and a board whose driver set is missing.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <typeinfo>

#include "access/KsDeviceControlAccess.h"
#include "access/KsPropertyAccess.h"
#include "access/MovrikAccess.h"
#include "access/VozeAccess.h"
#include "cards/saa713x/CranlowCardFilter.h"
#include "cards/saa713x/DirirCardFilter.h"
#include "cards/saa713x/DolbrayCardFilter.h"
#include "cards/saa713x/EbrinCardFilter.h"
#include "cards/saa713x/FosbryCardFilter.h"
#include "cards/saa713x/GrelmoCardFilter.h"
#include "cards/saa713x/MovrikCardFilter.h"
#include "cards/saa713x/OemCardFilter.h"
#include "cards/saa713x/PipCardFilter.h"
#include "cards/saa713x/SivrenCardFilter.h"
#include "cards/saa713x/TV713xCardFilter.h"
#include "cards/saa713x/TVAVCardFilter.h"
#include "cards/saa713x/TV_IOFilter.h"
#include "cards/saa713x/VozeCardFilter.h"
#include "cards/saa713x/WadrelCardFilter.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "support/CardBench.h"
#include "support/CardKindsBench.h"

namespace {

struct ClassRow {
    const std::type_info& card;
    const std::type_info& crossbar;
    const char* crossbarName;
    const std::type_info& access;  // on the kind's own driver
    int accessKind;
    int remotePeriod;
};

const std::map<std::string, ClassRow>& Rows() {
    static const std::map<std::string, ClassRow> rows = {
        {"713x TV Card Capture", {typeid(CTV713xCardFilter), typeid(C713xCrossbarFilter), "713x TV Card Crossbar",
                                  typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 100}},
        {"TV AV Capture", {typeid(CTVAVCardFilter), typeid(CTVAVCrossbarFilter), "TV AV Capture Crossbar",
                           typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 100}},
        {"Ebrin Capture", {typeid(CEbrinCardFilter), typeid(CEbrinCrossbarFilter), "Ebrin Crossbar",
                           typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 100}},
        {"Vorlane Cranlow Capture", {typeid(CCranlowCardFilter), typeid(CCranlowCrossbarFilter),
                                     "Vorlane Cranlow Crossbar", typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 140}},
        {"Castrel Capture", {typeid(COemCardFilter), typeid(COemCrossbarFilter), "Castrel Crossbar",
                             typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 140}},
        {"Grelmo TV Capture", {typeid(CGrelmoCardFilter), typeid(CGrelmoCrossbarFilter), "Grelmo TV Crossbar",
                               typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 140}},
        {"Fosbry TV Capture", {typeid(CFosbryCardFilter), typeid(CFosbryCrossbarFilter), "Fosbry TV Crossbar",
                               typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 140}},
        {"Dolbray TV Card Capture", {typeid(CDolbrayCardFilter), typeid(CDolbrayCrossbarFilter),
                                     "Dolbray TV Card Crossbar", typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 100}},
        {"713x_IO TV Card Capture", {typeid(CTV_IOFilter), typeid(CTV_IOCrossbarFilter), "713x_IO TV Card Crossbar",
                                     typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 100}},
        {"713x_3 TV Card Capture", {typeid(CDirirCardFilter), typeid(CDirirCrossbarFilter), "713x_3 TV Card Crossbar",
                                    typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 100}},
        {"713x_PIP TV Card Capture", {typeid(CPipCardFilter), typeid(CPipCrossbarFilter), "713x_PIP TV Card Crossbar",
                                      typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 100}},
        {"713x_Wadrel TV Card Capture", {typeid(CWadrelCardFilter), typeid(CWadrelCrossbarFilter),
                                         "713x_Wadrel TV Card Crossbar", typeid(CKsPropertyAccess),
                                         ACCESS_KIND_KS_PROPERTY, 140}},
        {"Sivren Video Capture", {typeid(CSivrenCardFilter), typeid(CSivrenCrossbarFilter), "Sivren Crossbar",
                                  typeid(CKsPropertyAccess), ACCESS_KIND_KS_PROPERTY, 100}},
        {"Movrik Video Capture", {typeid(CMovrikCardFilter), typeid(CMovrikCrossbarFilter), "Movrik Crossbar",
                                  typeid(CMovrikAccess), ACCESS_KIND_KS_PROPERTY, 100}},
        {"713x_D TV Card Capture", {typeid(CVozeCardFilter), typeid(CVozeCrossbarFilter), "713x_D TV Card Crossbar",
                                    typeid(CVozeAccess), ACCESS_KIND_VOZE, 100}},
    };
    return rows;
}

using CardFamilyOpening = CardBench;

TEST_F(CardFamilyOpening, EveryClassOpensOnItsBoardWithItsAccessTunerRoutesAndWholeEeprom) {
    EXPECT_EQ(Rows().size(), FamilyCardKinds().size());  // no kind of the family lost its mark
    Load(FamilyBench(FamilyCardKinds()).c_str());
    for (size_t i = 0; i < FamilyCardKinds().size(); ++i) {
        hwsim::Card& board = Board(i);
        const std::string name = board.FriendlyName();
        const ClassRow& row = Rows().at(name);
        CTVCardFilter* card = OpenCard(board);
        ASSERT_NE(nullptr, card) << name;
        EXPECT_EQ(row.card, typeid(*card)) << name;
        ASSERT_NE(nullptr, card->GetAccess()) << name;
        EXPECT_EQ(row.access, typeid(*card->GetAccess())) << name;
        EXPECT_EQ(row.accessKind, card->GetAccessKind()) << name;
        EXPECT_EQ(row.remotePeriod, card->GetRemotePeriod()) << name;
        EXPECT_EQ('T', card->GetFactoryLetter()) << name;
        ASSERT_NE(nullptr, card->GetTuner()) << name;
        EXPECT_EQ(5, card->GetTuner()->GetModelCode()) << name;
        EXPECT_TRUE(card->SetTVChannelFreq(49750)) << name;
        EXPECT_TRUE(card->GetTunerStatus()) << name;
        ExpectWholeEepromThroughTheCard(*card, board, name);

        auto* crossbar = dynamic_cast<CCrossbarFilter*>(
            Graph().AddDeviceFilter(AM_KSCATEGORY_CROSSBAR, row.crossbarName, "Xbar", 0, 0));
        ASSERT_NE(nullptr, crossbar) << row.crossbarName;
        EXPECT_EQ(row.crossbar, typeid(*crossbar)) << name;
        for (int source = 0; source < 3; ++source) {
            EXPECT_EQ(source, crossbar->GetVideoRoute(source)) << name;
            EXPECT_EQ(source + 3, crossbar->GetAudioRoute(source)) << name;
        }
        EXPECT_TRUE(crossbar->SetVideoInput(1)) << name;
        Graph().RemoveFilter(crossbar);
        Graph().RemoveFilter(card);
    }
}

TEST_F(CardFamilyOpening, BaseCardsOpenOnTheDeviceControlDriverWithKind1) {
    Load(FamilyBench(DeviceControlCardKinds(), true).c_str());
    for (size_t i = 0; i < DeviceControlCardKinds().size(); ++i) {
        hwsim::Card& board = Board(i);
        const std::string name = board.FriendlyName();
        CTVCardFilter* card = OpenCard(board);
        ASSERT_NE(nullptr, card) << name;
        EXPECT_EQ(Rows().at(name).card, typeid(*card)) << name;
        EXPECT_EQ(ACCESS_KIND_DEVICE_CONTROL, card->GetAccessKind()) << name;
        EXPECT_NE(nullptr, dynamic_cast<CKsDeviceControlAccess*>(card->GetAccess())) << name;
        ASSERT_NE(nullptr, card->GetTuner()) << name;
        EXPECT_EQ(5, card->GetTuner()->GetModelCode()) << name;
        ExpectWholeEepromThroughTheCard(*card, board, name);
        Graph().RemoveFilter(card);
    }
}

TEST_F(CardFamilyOpening, BoardWithoutItsDriverSetGivesAnInvalidCardThatTheGraphDrops) {
    Load(FamilyBench(FamilyCardKinds()).c_str());
    for (size_t i = 0; i < FamilyCardKinds().size(); ++i) {
        hwsim::Card& board = Board(i);
        for (DWORD id = 0; id <= 10; ++id) Driver(board).OverrideSupport(hwsim::kSaa713xPropertySet, id, 0);
        EXPECT_EQ(nullptr, OpenCard(board)) << board.FriendlyName();
    }
}

}  // namespace
