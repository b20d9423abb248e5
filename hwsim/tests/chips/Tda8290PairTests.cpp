// The TDA8290 demodulator with the TDA8275A behind its I2C gate, and the PLL module's AFC code.
#include <gtest/gtest.h>

#include "support/BenchFixture.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/boards/Card.h"
#include "hwsim/bench/TunerFitting.h"

#include "hwsim/bus/I2CBus.h"
#include "hwsim/chips/PllAfc.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/chips/Tda8275a.h"
#include "hwsim/chips/Tda8290.h"

namespace hwsim {
namespace {

class Tda8290PairTest : public testing::Test {
protected:
    Tda8290PairTest() : rf({{471250, "C21"}}), demod(rf), tuner(demod) {
        demod.SetTuner(&tuner);
        bus.Attach(&demod);
        bus.Attach(&tuner);
    }
    ~Tda8290PairTest() override {
        bus.Detach(&tuner);
        bus.Detach(&demod);
    }

    I2CResult Demod(BYTE sub, BYTE value) { return bus.WriteSub(0x96, sub, &value, 1); }
    I2CResult Tuner(BYTE sub, BYTE value) { return bus.WriteSub(0xC2, sub, &value, 1); }
    BYTE ReadDemod(BYTE sub) {
        BYTE value = 0xEE;
        EXPECT_EQ(I2CResult::Ack, bus.ReadSub(0x96, sub, &value, 1));
        return value;
    }
    // Divider bytes and band switch byte for a carrier in a standard of 7.75 MHz IF, divider 1.
    void Program(BYTE db1, BYTE db2, BYTE bandSwitch) {
        Tuner(0x00, db1);
        Tuner(0x10, db2);
        Tuner(0x40, bandSwitch);
    }

    RfEnvironment rf;
    Tda8290 demod;
    Tda8275a tuner;
    I2CBus bus;
};

TEST_F(Tda8290PairTest, TunerAnswersOnlyWhileTheGateIsOpen) {
    EXPECT_EQ(I2CResult::Nack, Tuner(0x00, 0x1D));
    EXPECT_EQ("C2 W NACK@0\n", bus.LogText());
    EXPECT_EQ(I2CResult::Ack, Demod(Tda8290::kGate, 0xC0));
    EXPECT_TRUE(demod.GateOpen());
    EXPECT_EQ(I2CResult::Ack, Tuner(0x00, 0x1D));
    EXPECT_EQ(0x1D, tuner.Register(0x00));
    EXPECT_EQ(I2CResult::Ack, Demod(Tda8290::kGate, 0x80));
    EXPECT_FALSE(demod.GateOpen());
    EXPECT_EQ(I2CResult::Nack, Tuner(0x10, 0xF0));
    EXPECT_EQ(0x00, tuner.Register(0x10));
    EXPECT_EQ(1, demod.GateOpenings());
}

TEST_F(Tda8290PairTest, TunedFrequencyFollowsDividerPostDividerAndTheStandardsIf) {
    EXPECT_EQ(0, demod.TunedKHz());  // nothing programmed
    Demod(Tda8290::kGate, 0xC0);
    Program(0x1D, 0xF0, 0x00);  // N = 1916, post-divider 1: 479 MHz oscillator
    Demod(Tda8290::kStandard, 0x10 | 0x80);  // D/K, fast-tune bit set
    EXPECT_EQ(1916u, tuner.Divider());
    EXPECT_EQ(479000000, tuner.OscillatorHz());
    EXPECT_EQ(0x10, demod.StandardCode());
    EXPECT_EQ(7750000, demod.IfHz());
    EXPECT_EQ(471250, demod.TunedKHz());

    Program(0x37, 0x00, 0x80);  // N = 3520, post-divider code 4: divider 16
    Demod(Tda8290::kStandard, 0x02);
    EXPECT_EQ(48250, demod.TunedKHz());
}

TEST_F(Tda8290PairTest, StatusRegistersReportTheStationAtTheTunedFrequency) {
    Demod(Tda8290::kGate, 0xC0);
    Demod(Tda8290::kStandard, 0x10);
    Program(0x1D, 0xF0, 0x00);
    EXPECT_TRUE(demod.Locked());
    EXPECT_EQ(0x40, ReadDemod(Tda8290::kLevel));
    EXPECT_EQ(0x80, ReadDemod(Tda8290::kFlags) & 0x80);
    EXPECT_EQ(0x40, ReadDemod(Tda8290::kAgc));

    rf.RemoveStation(471250);
    EXPECT_FALSE(demod.Locked());
    EXPECT_EQ(0x05, ReadDemod(Tda8290::kLevel));
    EXPECT_EQ(0x00, ReadDemod(Tda8290::kFlags));
    EXPECT_EQ(0x7F, ReadDemod(Tda8290::kAgc));
}

TEST(PllAfc, CodeTellsWhereTheStationLiesInHalfSteps) {
    EXPECT_EQ(2, PllAfcCode(0));
    EXPECT_EQ(2, PllAfcCode(31));
    EXPECT_EQ(2, PllAfcCode(-31));
    EXPECT_EQ(1, PllAfcCode(32));
    EXPECT_EQ(1, PllAfcCode(93));
    EXPECT_EQ(0, PllAfcCode(94));
    EXPECT_EQ(3, PllAfcCode(-32));
    EXPECT_EQ(3, PllAfcCode(-93));
    EXPECT_EQ(4, PllAfcCode(-94));
}

TEST(PllAfc, StatusByteCarriesTheOffsetCodeWithTheLockBit) {
    RfEnvironment rf({{49750, "C1"}});
    PllTuner pll(rf, PllTuner::Options());
    I2CBus bus;
    bus.Attach(&pll);
    auto statusAt = [&](WORD n) {
        const BYTE program[4] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x01};
        bus.WriteRaw(0xC0, program, 4);
        BYTE status = 0;
        bus.ReadRaw(0xC1, &status, 1);
        return status;
    };
    EXPECT_EQ(0x42, statusAt(1418));  // 49725: 25 kHz below, centred
    EXPECT_EQ(0x41, statusAt(1419));  // 49787: 37 above
    EXPECT_EQ(0x40, statusAt(1421));  // 49912: 162 above
    EXPECT_EQ(0x43, statusAt(1417));  // 49662: 88 below
    EXPECT_EQ(0x44, statusAt(1415));  // 49537: 213 below
    EXPECT_EQ(0x00, statusAt(1450));  // 51725: nothing within the window
    bus.Detach(&pll);
}

using FittedPairTest = BenchFixture;

TEST_F(FittedPairTest, ModelNinetyFiveFitsThePairAndTheVideoStatusFollowsItsPicture) {
    auto bench = Bench::FromText(R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 95}],
                                     "stations": [{"kHz": 471250}]})");
    Card& card = *bench->Cards()[0];
    ASSERT_NE(nullptr, dynamic_cast<Tda8290*>(card.Chip("demodulator")));
    ASSERT_NE(nullptr, dynamic_cast<Tda8275a*>(card.Chip("tuner")));
    EXPECT_FALSE(TunerSeesPicture(card));
    EXPECT_EQ(0u, card.Bridge().Read(Saa713x::kVideoStatus) & 1);
    auto write = [&](BYTE address, BYTE sub, BYTE value) { return card.Bus().WriteSub(address, sub, &value, 1); };
    ASSERT_EQ(I2CResult::Ack, write(0x96, 0x21, 0xC0));
    ASSERT_EQ(I2CResult::Ack, write(0xC2, 0x00, 0x1D));
    ASSERT_EQ(I2CResult::Ack, write(0xC2, 0x10, 0xF0));
    ASSERT_EQ(I2CResult::Ack, write(0xC2, 0x40, 0x00));
    ASSERT_EQ(I2CResult::Ack, write(0x96, 0x01, 0x10));
    EXPECT_TRUE(TunerSeesPicture(card));
    EXPECT_EQ(1u, card.Bridge().Read(Saa713x::kVideoStatus) & 1);
}

}  // namespace
}  // namespace hwsim
