// The IF demodulator beside a PLL module: its three registers, and the status byte that follows
// the PLL's tuning against the TV and FM stations on air.
#include <gtest/gtest.h>

#include "hwsim/bus/I2CBus.h"
#include "hwsim/chips/IfDemodulator.h"
#include "hwsim/chips/PllTuner.h"

namespace hwsim {
namespace {

class IfDemodulatorTest : public testing::Test {
protected:
    IfDemodulatorTest() : rf({{471250, "C21"}}, {{100000, "FM 100"}}), pll(rf, Options()), demod(rf) {
        demod.SetPll(&pll);
        bus.Attach(&pll);
        bus.Attach(&demod);
    }
    ~IfDemodulatorTest() override {
        bus.Detach(&demod);
        bus.Detach(&pll);
    }

    static PllTuner::Options Options() {
        PllTuner::Options options;
        options.fmControl = 0x88;
        options.fmBand = 0x19;
        options.fmStepHz = 50000;
        return options;
    }

    // Sets the PLL's TV divider (62.5 kHz steps above the 38900 kHz IF).
    void TuneDivider(WORD n) {
        const BYTE bytes[4] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x04};
        ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0xC0, bytes, 4));
    }
    void TuneFm(long kHz) {
        const WORD n = WORD((kHz + 10700) * 20 / 1000);
        const BYTE bytes[4] = {BYTE(n >> 8), BYTE(n), 0x88, 0x19};
        ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0xC0, bytes, 4));
    }
    BYTE Read(BYTE address = 0x87) {
        BYTE status = 0xEE;
        EXPECT_EQ(I2CResult::Ack, bus.ReadRaw(address, &status, 1));
        return status;
    }
    static int Nibble(BYTE status) { return (status >> 1) & 0x0F; }

    RfEnvironment rf;
    PllTuner pll;
    IfDemodulator demod;
    I2CBus bus;
};

TEST_F(IfDemodulatorTest, TakesOneByteBlockAndLongerWritesIntoItsThreeRegisters) {
    const BYTE one[2] = {0x01, 0x70};
    ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0x86, one, 2));
    EXPECT_EQ(0x70, demod.Peek(1));
    BYTE value = 0x4B;
    ASSERT_EQ(I2CResult::Ack, bus.WriteSub(0x86, 0x02, &value, 1));
    EXPECT_EQ(0x4B, demod.Peek(2));
    const BYTE longer[4] = {0x00, 0x5A, 0x90, 0x20};
    ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0x86, longer, 4));
    EXPECT_EQ((std::vector<BYTE>{0x5A, 0x90, 0x20}), demod.Contents());
}

TEST_F(IfDemodulatorTest, SeesATvCarrierOnlyWhenSetForTheSystemOnAir) {
    TuneDivider(8162);  // the 625-line station at 471250
    EXPECT_EQ(0, Read() & IfDemodulator::kCarrier);  // register 2 not set yet
    BYTE value = 0x00;  // 4.5 MHz sound carrier: system M
    ASSERT_EQ(I2CResult::Ack, bus.WriteSub(0x86, 0x02, &value, 1));
    EXPECT_EQ(0, Read() & IfDemodulator::kCarrier);
    for (BYTE pal : {0x49, 0x4A, 0x4B, 0x53}) {  // B/G, I, D/K, L
        ASSERT_EQ(I2CResult::Ack, bus.WriteSub(0x86, 0x02, &pal, 1));
        EXPECT_EQ(IfDemodulator::kCarrier, Read() & IfDemodulator::kCarrier) << int(pal);
    }
}

TEST_F(IfDemodulatorTest, StatusCountsStepsFromTheTunedFrequencyToTheCarrier) {
    BYTE pal = 0x4B;
    ASSERT_EQ(I2CResult::Ack, bus.WriteSub(0x86, 0x02, &pal, 1));
    struct Case {
        WORD divider;
        long tuned;
        int nibble;
    };
    // The carrier above the tuned frequency counts up from 1, below it down from 15.
    for (const Case& c : {Case{8162, 471225, 0}, Case{8163, 471287, 0}, Case{8161, 471162, 1}, Case{8160, 471100, 2},
                          Case{8155, 470787, 7}, Case{8154, 470725, 8}, Case{8164, 471350, 15},
                          Case{8169, 471662, 10}, Case{8170, 471725, 9}, Case{8171, 471787, 8}, Case{5400, 298600, 8}}) {
        TuneDivider(c.divider);
        EXPECT_EQ(c.tuned, pll.TunedKHz());
        const BYTE status = Read();
        EXPECT_EQ(c.nibble, Nibble(status)) << c.divider;
        EXPECT_EQ(c.nibble != 8, (status & IfDemodulator::kCarrier) != 0) << c.divider;
        EXPECT_EQ(0, status & IfDemodulator::kFmStation) << c.divider;
    }
    BYTE untouched = 0xEE;
    EXPECT_EQ(I2CResult::Refused, bus.ReadRaw(0x86, &untouched, 1)) << "a read given the write form";
    EXPECT_EQ(0xEE, untouched);
}

TEST_F(IfDemodulatorTest, AnswersNoCarrierBeforeThePllIsTunedOrWithoutOne) {
    EXPECT_EQ(8, Nibble(Read()));
    IfDemodulator alone(rf, 0x2B);
    EXPECT_EQ(8 << 1, alone.Status());
}

TEST_F(IfDemodulatorTest, InRadioModeReadsThePllAsFmAndSetsBothFmBits) {
    const BYTE radio[4] = {0x00, 0x5A, 0x90, 0x20};
    ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0x86, radio, 4));
    TuneFm(100000);
    EXPECT_EQ(100000, pll.FmKHz());
    BYTE status = Read();
    EXPECT_EQ(IfDemodulator::kFmStation, status & IfDemodulator::kFmStation);
    EXPECT_EQ(0, Nibble(status));
    TuneFm(100050);
    EXPECT_EQ(14, Nibble(Read()));  // two 25 kHz steps below
    TuneFm(101000);
    status = Read();
    EXPECT_EQ(0, status & IfDemodulator::kFmStation);
    EXPECT_EQ(8, Nibble(status));
    // Back in TV mode the same divider is a TV frequency without a station.
    const BYTE tv[2] = {0x00, 0x16};
    ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0x86, tv, 2));
    TuneFm(100000);
    EXPECT_EQ(0, Read() & IfDemodulator::kFmStation);
}

TEST(IfDemodulatorNibble, IsASignedFourBitCountThatEndsAtSevenSteps) {
    EXPECT_EQ(0, IfDemodulator::AfcNibble(0, 62.5));
    EXPECT_EQ(0, IfDemodulator::AfcNibble(62, 62.5));
    EXPECT_EQ(1, IfDemodulator::AfcNibble(63, 62.5));
    EXPECT_EQ(15, IfDemodulator::AfcNibble(-63, 62.5));
    EXPECT_EQ(7, IfDemodulator::AfcNibble(499, 62.5));
    EXPECT_EQ(9, IfDemodulator::AfcNibble(-499, 62.5));
    EXPECT_EQ(8, IfDemodulator::AfcNibble(500, 62.5));
    EXPECT_EQ(8, IfDemodulator::AfcNibble(-500, 62.5));
}

}  // namespace
}  // namespace hwsim
