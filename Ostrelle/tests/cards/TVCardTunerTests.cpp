// Which tuner a card has: the EEPROM's maker letter and model in both layouts, the fallback to
// model 4, the factory's models, the search for a tuner's address, replacing the tuner, and the
// forwards of a card without one.
#include <gtest/gtest.h>

#include <map>

#include "support/CardBench.h"
#include "cards/saa713x/Kesh713xCardFilter.h"
#include "cards/saa713x/QelCardFilter.h"
#include "tuners/PllTunerModule.h"

namespace {

// The factory's models, the module table's; every other model has no tuner class.
std::set<int> FactoryModels() {
    std::set<int> models;
    for (const TunerModuleEntry& entry : TunerModuleEntries()) models.insert(static_cast<int>(entry.row->model));
    return models;
}

using TunerBench = CardBench;

TEST_F(TunerBench, StandardLayoutGivesMakerAndModelAndTheirTuner) {
    Poke(QelBoard(), 0x20, {'P', 95});
    auto card = MakeCard<CQelCardFilter>(QelBoard(), ACCESS_KIND_QEL);
    int factory = 'N', model = 0;
    EXPECT_EQ(S_OK, card->GetTunerInfo(&factory, &model));
    EXPECT_EQ('P', factory);
    EXPECT_EQ(95, model);

    card->ReadFactoryModel();
    ASSERT_TRUE(card->InitTuner());
    EXPECT_EQ('P', card->GetFactoryLetter());
    EXPECT_EQ(95, card->GetTunerModel());
    EXPECT_EQ(95, card->GetTuner()->GetModelCode());
    EXPECT_EQ(card.get(), card->GetTuner()->GetOwnerCard());
    EXPECT_EQ("PHILIPSTDA8275A", std::string(card->GetTunerModelName()));
}

TEST(CardTuner, MakerBytesOutsideTheKnownLettersReadAsNoneAndOpenAsT) {
    for (BYTE letter : std::vector<BYTE>{'A', 'E', 'G', 'L', 'P', 'T', 'X', 'C', 'O', 'N', 0xFF}) {
        FakeBoardCard<> fake;
        fake.access->bytes[0x20] = letter;
        fake.access->bytes[0x21] = 5;
        const bool known = std::string("AEGLPTX").find(static_cast<char>(letter)) != std::string::npos;
        int factory = 0, model = 0;
        EXPECT_EQ(S_OK, fake.card.GetTunerInfo(&factory, &model));
        EXPECT_EQ(known ? letter : 'N', factory) << letter;
        fake.card.ReadFactoryModel();
        EXPECT_EQ(known ? letter : 'T', fake.card.GetFactoryLetter()) << letter;
    }
}

TEST(CardTuner, UnreadableOrEmptyModelFallsBackToModel4) {
    struct Case {
        const char* what;
        BYTE model;
        bool fails;
    };
    for (const Case& c : {Case{"model 0", 0, false}, Case{"model 255", 255, false}, Case{"unreadable", 95, true}}) {
        FakeBoardCard<> fake;
        fake.access->bytes[0x20] = 'P';
        fake.access->bytes[0x21] = c.model;
        if (c.fails) fake.access->failing = {0x20, 0x21};
        fake.card.ReadFactoryModel();
        EXPECT_EQ(4, fake.card.GetTunerModel()) << c.what;
        EXPECT_EQ(c.fails ? 'T' : 'P', fake.card.GetFactoryLetter()) << c.what;
        ASSERT_TRUE(fake.card.InitTuner()) << c.what;
        EXPECT_EQ(4, fake.card.GetTuner()->GetModelCode()) << c.what;
    }
}

TEST(CardTuner, ModelWithoutTunerClassOpensModel4ButKeepsItsNumber) {
    FakeBoardCard<> fake;
    fake.access->bytes[0x20] = 'P';
    fake.access->bytes[0x21] = 6;
    fake.card.ReadFactoryModel();
    ASSERT_TRUE(fake.card.InitTuner());
    EXPECT_EQ(4, fake.card.GetTuner()->GetModelCode());
    EXPECT_EQ('T', fake.card.GetFactoryLetter());
    EXPECT_EQ(6, fake.card.GetTunerModel());
}

TEST(CardTuner, FactoryMakesExactlyItsModelsEachOnTheCardsAccess) {
    FakeBoardCard<> fake;
    fake.access->devices = {0xC0, 0xC1};
    const std::set<int> factoryModels = FactoryModels();
    ASSERT_EQ(65u, factoryModels.size());
    for (int model = 0; model < 256; ++model) {
        std::unique_ptr<CTunerBase> tuner(fake.card.CreateTuner(model));
        if (!factoryModels.count(model)) {
            EXPECT_EQ(nullptr, tuner) << model;
            continue;
        }
        ASSERT_NE(nullptr, tuner) << model;
        EXPECT_EQ(model, tuner->GetModelCode());
        EXPECT_EQ(&fake.card, tuner->GetOwnerCard());
    }
    TestCard<CTVCardFilter> bare;
    EXPECT_EQ(nullptr, bare.CreateTuner(4));  // no access object to build it on
    EXPECT_FALSE(bare.InitTuner());
}

TEST(CardTuner, MakerLetterOfEveryModel) {
    std::map<int, int> expected;
    auto letters = [&](int low, int high, char letter) {
        for (int m = low; m <= high; ++m) expected[m] = letter;
    };
    letters(1, 5, 'T'), letters(7, 11, 'T'), letters(14, 15, 'T'), letters(17, 17, 'T');
    letters(12, 13, 'G'), letters(32, 35, 'X'), letters(52, 71, 'A'), letters(130, 134, 'A');
    letters(138, 139, 'A'), letters(72, 75, 'L'), letters(90, 91, 'E'), letters(136, 137, 'E');
    letters(92, 98, 'P'), letters(111, 111, 'P'), letters(100, 100, 'O'), letters(110, 110, 'C');
    letters(135, 135, 'D');
    for (int model = 0; model < 256; ++model) {
        int letter = 0;
        const bool known = expected.count(model) != 0;
        EXPECT_EQ(known ? TRUE : FALSE, CTVCardFilter::GetFactoryFromModel(&letter, model)) << model;
        EXPECT_EQ(known ? expected[model] : 'N', letter) << model;
    }
    EXPECT_FALSE(CTVCardFilter::GetFactoryFromModel(nullptr, 5));
}

TEST(CardTuner, KeshLayoutReadsTheTunerIdThroughTheKeshMap) {
    struct Case {
        BYTE low, high;
        int model;
    };
    for (const Case& c : {Case{0x21, 0x00, 95}, Case{0x04, 0x00, 111}, Case{0x8A, 0x00, 133}, Case{0xFE, 0x13, 0},
                          Case{0x5F, 0x00, 0}}) {
        FakeBoardCard<> fake;
        fake.card.SetEepromLayout(1);
        fake.access->bytes[104] = 'P';
        fake.access->bytes[65] = c.low;
        fake.access->bytes[66] = c.high;
        int factory = 'N', model = -1;
        EXPECT_EQ(S_OK, fake.card.GetTunerInfo(&factory, &model));
        EXPECT_EQ('P', factory);
        EXPECT_EQ(c.model, model) << int(c.low) << " " << int(c.high);
    }
}

TEST(CardTuner, KeshMapsAreTheSevenPairsBothWays) {
    TestCard<CTVCardFilter> card;
    const std::map<int, int> modelToKesh = {{95, 33}, {5, 35}, {65, 135}, {62, 136}, {111, 4}, {138, 137}, {133, 138}};
    EXPECT_EQ(modelToKesh, card.GetModelToKeshIdMap());
    for (const auto& [model, id] : modelToKesh) EXPECT_EQ(model, card.GetKeshIdToModelMap().at(id));
    EXPECT_EQ(7u, card.GetKeshIdToModelMap().size());
    EXPECT_EQ(33, card.KeshIdFromModel(95));
    EXPECT_EQ(4, card.KeshIdFromModel(111));
    EXPECT_EQ(KESH_TUNER_ID_NONE, card.KeshIdFromModel(4));
    EXPECT_EQ(0, card.ModelFromKeshId(KESH_TUNER_ID_NONE));
}

// A tuner that does not answer at its module's address is looked for on the bus; the read and
// write address always name one device.
TEST(CardTuner, SearchForTheTunerAddressPicksOneDevice) {
    struct Case {
        std::set<BYTE> devices;
        BYTE read, write;
        BOOL found;
    };
    const Case cases[] = {
        {{0xA0, 0xA1}, 0xC1, 0xC0, FALSE},                // only the EEPROM
        {{0xA0, 0xA1, 0xC2}, 0xC3, 0xC2, TRUE},           // one address
        {{0xA0, 0xA1, 0xC6, 0xC7}, 0xC7, 0xC6, TRUE},     // one device, both forms
        {{0xC2, 0xC6}, 0xC7, 0xC6, TRUE},                 // two devices: the higher one
        {{0xC0, 0xC1, 0xC6, 0xC7}, 0xC1, 0xC0, TRUE},     // the first known pair
        {{0x86, 0x87, 0x96, 0x97}, 0x87, 0x86, TRUE},     // the fourth pair
        {{0x10, 0x40, 0x30}, 0x31, 0x30, TRUE},           // none known: the higher of the first two
    };
    for (const Case& c : cases) {
        FakeBoardCard<> fake;
        fake.access->devices = c.devices;
        std::unique_ptr<CTunerBase> tuner(new CPllTunerModule(fake.access, *FindTunerModuleRow(5)));
        EXPECT_EQ(c.found, fake.card.DetectTunerAddress(tuner.get()));
        EXPECT_EQ(c.read, tuner->GetReadAddress()) << "devices " << c.devices.size();
        EXPECT_EQ(c.write, tuner->GetWriteAddress()) << "devices " << c.devices.size();
        EXPECT_EQ(256u, fake.access->probes.size());
    }
    FakeBoardCard<> fake;
    EXPECT_FALSE(fake.card.DetectTunerAddress(nullptr));
    EXPECT_TRUE(fake.access->probes.empty());
}

TEST_F(TunerBench, TunerAtAnotherAddressIsFoundOnTheBus) {
    // Model 5's module reads at 0xC1, but this board carries model 32's PLL at 0xC2.
    Load(R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 95},
                       {"kind": "713x_4 TV Card Capture", "tuner": 32}], "stations": [{"kHz": 49750}]})");
    auto card = MakeCard<CQelCardFilter>(QelBoard(), ACCESS_KIND_QEL);
    std::unique_ptr<CTunerBase> tuner(card->CreateTuner(5));
    ASSERT_NE(nullptr, tuner);
    EXPECT_EQ(0xC3, tuner->GetReadAddress());
    EXPECT_EQ(0xC2, tuner->GetWriteAddress());
    EXPECT_TRUE(tuner->SetTVChannelFreq(49750));
    EXPECT_TRUE(tuner->IsTVChannelLocked());
}

TEST_F(TunerBench, TestTunerModelLocksOnlyOnAStationAndLeavesTheCardsTuner) {
    auto card = MakeCard<CQelCardFilter>(QelBoard(), ACCESS_KIND_QEL);
    ASSERT_TRUE(card->SetTunerModel(5));
    CTunerBase* own = card->GetTuner();
    EXPECT_TRUE(card->TestTunerModel(5, 49750));
    EXPECT_FALSE(card->TestTunerModel(5, 55750));
    EXPECT_FALSE(card->TestTunerModel(6, 49750));  // no tuner class
    EXPECT_EQ(own, card->GetTuner());
}

TEST(CardTuner, SetTunerModelReplacesTheTunerOnlyWithOneItCouldMake) {
    FakeBoardCard<> fake;
    EXPECT_TRUE(fake.card.SetTunerModel(50));  // no module without its own letter
    EXPECT_EQ('N', fake.card.GetFactoryLetter());
    EXPECT_EQ(50, fake.card.GetTunerModel());

    const HWND window = reinterpret_cast<HWND>(0x1234);
    fake.card.SetNotifyWindow(window);
    CTunerBase* old = fake.card.GetTuner();
    EXPECT_FALSE(fake.card.SetTunerModel(6));
    EXPECT_EQ(old, fake.card.GetTuner());
    EXPECT_EQ(50, fake.card.GetTunerModel());
    EXPECT_EQ('N', fake.card.GetFactoryLetter());

    EXPECT_TRUE(fake.card.SetTunerModel(95));
    EXPECT_EQ('P', fake.card.GetFactoryLetter());
    EXPECT_EQ(window, fake.card.GetTuner()->GetNotifyWindow());
}

TEST(CardTuner, SetTunerKeepsTheTunerItAlreadyHolds) {
    FakeBoardCard<> fake;
    ASSERT_TRUE(fake.card.SetTunerModel(5));
    CTunerBase* held = fake.card.GetTuner();
    EXPECT_TRUE(fake.card.SetTuner(held));
    ASSERT_EQ(held, fake.card.GetTuner());
    EXPECT_EQ(5, held->GetModelCode());  // still alive
    EXPECT_FALSE(fake.card.SetTuner(nullptr));
    EXPECT_EQ(held, fake.card.GetTuner());

    auto* other = new CPllTunerModule(fake.access, *FindTunerModuleRow(4));
    EXPECT_TRUE(fake.card.SetTuner(other));
    EXPECT_EQ(other, fake.card.GetTuner());
}

TEST(CardTuner, ForwardsOfACardWithoutTunerAnswerNothing) {
    TestCard<CTVCardFilter> card;
    DWORD status = 7;
    const float table[1] = {49.75f};
    EXPECT_FALSE(card.SetTVChannelFreq(49750));
    EXPECT_FALSE(card.SetFMChannelFreq(100000));
    EXPECT_FALSE(card.SetTunerStandard(AnalogVideo_PAL_D));
    EXPECT_FALSE(card.GetTunerStatus());
    EXPECT_FALSE(card.IsFMLocked());
    EXPECT_FALSE(card.GetTVChannelStatus(&status));
    EXPECT_FALSE(card.GetFMChannelStatus(&status));
    EXPECT_EQ(7u, status);
    EXPECT_FALSE(card.SetChannelTable(table, 1));
    EXPECT_FALSE(card.StartScan(TRUE, FALSE));
    card.StopScan();
    EXPECT_FALSE(card.IsScanning());
    EXPECT_FALSE(card.SetFMStep(100));
    EXPECT_FALSE(card.SetFMScanRange(87500, 108000));
    EXPECT_FALSE(card.SetSweepParams(3000, 1000));
    EXPECT_FALSE(card.SetSweepRange(48250, 863250));
    EXPECT_FALSE(card.SetFMWait(100));
    card.SetSettleTime(60);
    EXPECT_EQ(0, card.GetSecondModel());
    EXPECT_TRUE(card.GetSupportedStandards().empty());
    EXPECT_FALSE(card.TestTunerModel(5, 49750));
    EXPECT_FALSE(card.IsTunerPresent(nullptr));
    card.SetTunerModelField(6);  // a model without a name
    EXPECT_EQ("", std::string(card.GetTunerModelName()));
}

// Module 8 (which re-applies its standard after tuning) whose standard selection sends a block of
// its own, the standard in it, and answers as a test sets it.
class CStandardSendingModule : public CPllTunerModule {
public:
    explicit CStandardSendingModule(CCustomDataAccess* access) : CPllTunerModule(access, *FindTunerModuleRow(8)) {}
    BOOL SetVideoStandard(long standard) override {
        BYTE block[3] = {0x86, 0x00, static_cast<BYTE>(standard)};
        m_pAccess->I2C_WriteBlock(block, 3);
        return m_bAnswer;
    }
    BOOL m_bAnswer = TRUE;
};

TEST(CardTuner, TuningReappliesTheStandardWhenTheModuleAsksForIt) {
    FakeBoardCard<> fake;
    auto* module = new CStandardSendingModule(fake.access);
    ASSERT_TRUE(module->GetReapplyStandard());
    ASSERT_TRUE(fake.card.SetTuner(module));
    EXPECT_TRUE(fake.card.SetTunerStandard(AnalogVideo_PAL_D));
    EXPECT_EQ(AnalogVideo_PAL_D, module->GetCurrentStandard());

    fake.access->blocks.clear();
    EXPECT_TRUE(fake.card.SetTVChannelFreq(49750));
    ASSERT_EQ(fake.access->blocks.size(), 2u) << "the tune, then the standard";
    EXPECT_EQ(fake.access->blocks[1], (std::vector<BYTE>{0x86, 0x00, static_cast<BYTE>(AnalogVideo_PAL_D)}));

    // The result is the standard's: a refused standard fails the tuning.
    module->m_bAnswer = FALSE;
    EXPECT_FALSE(fake.card.SetTVChannelFreq(49750));
    EXPECT_EQ(fake.card.GetTuner()->GetSupportedStandards(), fake.card.GetSupportedStandards());
}

}  // namespace
