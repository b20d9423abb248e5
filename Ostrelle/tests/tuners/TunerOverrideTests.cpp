// Models 100 and 139 on a simulated card (the mode chip, the IF that follows the standard), and
// the card's factory: every model of the module table gets its own class where it has one.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "support/DemodBench.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "tuners/TunerModuleOverrides.h"
#include "tuners/TunerModules.h"

using TunerOverrides = DemodBench;

TEST_F(TunerOverrides, Model100WritesItsModeAtEveryStandardChangeAndWhenTheCardSetsIt)
{
    Fit(100);
    auto& o100 = dynamic_cast<CTuner_O100&>(*tuner);
    auto mode = [this] {
        auto* chip = static_cast<hwsim::RegisterFileDevice*>(Board().Chip("mode"));
        return std::vector<BYTE>{chip->Peek(0), chip->Peek(1)};
    };
    auto freshModeChip = [this] { Board().AddChip("mode", std::make_unique<hwsim::RegisterFileDevice>(0x5B, 2, 0xEE)); };
    EXPECT_TRUE(tuner->SetVideoStandard(AnalogVideo_NTSC_M_J));
    EXPECT_EQ((std::vector<BYTE>{0xD0, 0x0D, 0x80}), Registers(Board().Chip("demodulator")));
    EXPECT_EQ((std::vector<BYTE>{0x80, 0x04}), mode());
    const std::pair<long, BYTE> modes[] = {{4, 0x02}, {7, 0x00}, {5, 0x01}, {2, 0x80}, {1, 0x00}, {3, 0x00}, {0, 0x00}};
    for (const auto& [value, byte] : modes) {
        freshModeChip();
        EXPECT_TRUE(o100.SetMode(value)) << value;
        EXPECT_EQ(value, o100.GetMode());
        EXPECT_EQ((std::vector<BYTE>{byte, 0x04}), mode()) << value;
    }
    // The stored mode survives a standard change and is written again.
    ASSERT_TRUE(o100.SetMode(4));
    freshModeChip();
    EXPECT_TRUE(tuner->SetVideoStandard(AnalogVideo_PAL_B));
    EXPECT_EQ((std::vector<BYTE>{0x02, 0x04}), mode());
}

TEST_F(TunerOverrides, Model139TakesTheIfOfItsStandardIntoTheNextTuning)
{
    Fit(139);
    ASSERT_TRUE(tuner->SetVideoStandard(AnalogVideo_SECAM_L));
    EXPECT_EQ(33900, tuner->GetIF());
    ASSERT_TRUE(tuner->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(8082, Pll().Divider());
    ASSERT_TRUE(tuner->SetVideoStandard(AnalogVideo_PAL_B));
    ASSERT_TRUE(tuner->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(8162, Pll().Divider());
    ASSERT_TRUE(tuner->SetVideoStandard(AnalogVideo_SECAM_L1));
    EXPECT_EQ(33900, tuner->GetIF());
    // A standard outside its table: the common IF, no register write, FALSE.
    Board().Bus().ClearLog();
    EXPECT_FALSE(tuner->SetVideoStandard(AnalogVideo_NTSC_M));
    EXPECT_EQ(38900, tuner->GetIF());
    EXPECT_TRUE(WritesTo(0x86).empty());
    EXPECT_EQ((std::vector<BYTE>{0x86, 0x50, 0x53}), Registers(Board().Chip("demodulator")));
}

TEST(TunerFactory, EveryKeyGetsTheClassOfItsRow)
{
    FakeBoardCard<> fake;
    fake.access->devices = {0xC0, 0xC1};
    int made = 0, own = 0;
    for (const TunerModuleEntry& entry : TunerModuleEntries()) {
        const TunerModuleRow& row = *entry.row;
        SCOPED_TRACE(row.className);
        std::unique_ptr<CTunerBase> made_tuner(fake.card.CreateTuner(static_cast<int>(row.model)));
        ASSERT_NE(nullptr, made_tuner) << row.model;
        ++made;
        EXPECT_EQ(row.model, made_tuner->GetModelCode());
        const CTunerBase& made_ref = *made_tuner;
        const bool plain = std::string(row.className) == "CPllTunerModule";
        // A row without a class of its own makes the plain module; a named class is a type of its own.
        EXPECT_EQ(plain, row.create == nullptr);
        EXPECT_EQ(plain, typeid(CPllTunerModule) == typeid(made_ref));
        if (!plain) {
            ++own;
            std::unique_ptr<CTunerBase> direct(row.create(fake.access));
            EXPECT_EQ(typeid(*direct), typeid(made_ref));
        }
    }
    EXPECT_EQ(65, made);
    EXPECT_EQ(28, own);
}
