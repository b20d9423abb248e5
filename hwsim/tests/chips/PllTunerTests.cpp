// The PLL tuner module: programming writes and the status byte against the RF environment.
#include <gtest/gtest.h>

#include "hwsim/bus/I2CBus.h"
#include "hwsim/chips/PllTuner.h"

namespace hwsim {
namespace {

class PllTunerTest : public testing::Test {
protected:
    PllTunerTest() : rf({{49750, "C1"}, {170000, "C6"}}), tuner(rf, PllTuner::Options()) { bus.Attach(&tuner); }
    ~PllTunerTest() override { bus.Detach(&tuner); }

    // The divider for a picture carrier, as the tuner drivers compute it (IF 38900, 62.5 kHz).
    static WORD DividerFor(long kHz) { return WORD((38900 + kHz) * 16 / 1000); }

    BYTE Status() {
        BYTE status = 0xEE;
        EXPECT_EQ(I2CResult::Ack, bus.ReadRaw(0xC1, &status, 1));
        return status;
    }

    RfEnvironment rf;
    PllTuner tuner;
    I2CBus bus;
};

TEST_F(PllTunerTest, FourByteWriteSetsDividerControlAndBand) {
    const WORD n = DividerFor(49750);
    const BYTE bytes[4] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x01};
    ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0xC0, bytes, 4));
    EXPECT_EQ(1418, tuner.Divider());
    EXPECT_EQ(0xCE, tuner.ControlByte());
    EXPECT_EQ(0x01, tuner.BandByte());
    EXPECT_FALSE(tuner.AuxByte());
    EXPECT_EQ(49725, tuner.TunedKHz());  // 1418 steps of 62.5 kHz less the IF
}

TEST_F(PllTunerTest, FiveByteWriteCarriesTheAuxiliaryByte) {
    const WORD n = DividerFor(170000);
    const BYTE bytes[5] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x02, 0x20};
    ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0xC0, bytes, 5));
    EXPECT_EQ(n, tuner.Divider());
    EXPECT_EQ(0x02, tuner.BandByte());
    EXPECT_EQ(0x20, tuner.AuxByte().value_or(0));
}

TEST_F(PllTunerTest, ControlAndBandMayComeFirst) {
    const WORD n = DividerFor(49750);
    const BYTE bytes[4] = {0xCE, 0x08, BYTE(n >> 8), BYTE(n)};
    ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0xC0, bytes, 4));
    EXPECT_EQ(n, tuner.Divider());
    EXPECT_EQ(0x08, tuner.BandByte());
}

TEST_F(PllTunerTest, RefusesBytesBeyondTheProgrammingWrite) {
    const WORD n = DividerFor(49750);
    const BYTE bytes[6] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x01, 0x20, 0x00};
    EXPECT_EQ(I2CResult::Nack, bus.WriteRaw(0xC0, bytes, 6));
    EXPECT_EQ("C0 W 05 8A CE 01 20 00 NACK@6\n", bus.LogText());
}

TEST_F(PllTunerTest, StatusShowsLockOnlyWhereAStationIsOnAir) {
    EXPECT_EQ(0x00, Status());  // not programmed yet
    WORD n = DividerFor(49750);
    BYTE bytes[4] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x01};
    bus.WriteRaw(0xC0, bytes, 4);
    EXPECT_EQ(PllTuner::kLockBit | PllTuner::kAfcCentred, Status());
    EXPECT_TRUE(tuner.Locked());

    n = DividerFor(100000);
    bytes[0] = BYTE(n >> 8);
    bytes[1] = BYTE(n);
    bus.WriteRaw(0xC0, bytes, 4);
    EXPECT_EQ(0x00, Status());

    rf.AddStation({100000, "new"});
    EXPECT_EQ(PllTuner::kLockBit | PllTuner::kAfcCentred, Status());
    rf.RemoveStation(100000);
    EXPECT_FALSE(tuner.Locked());
}

TEST(PllTunerFm, AWriteWithTheFmBytesTunesFmAndLocksOnlyOnAnFmStation) {
    RfEnvironment rf({{99475, "TV at the FM divider"}}, {{100000, "FM 100"}});
    PllTuner::Options options;
    options.fmControl = 0x8A;
    options.fmBand = 0x11;
    options.fmLockCode = 3;
    PllTuner tuner(rf, options);
    I2CBus bus;
    bus.Attach(&tuner);
    auto write = [&](WORD n, BYTE control, BYTE band) {
        const BYTE bytes[4] = {BYTE(n >> 8), BYTE(n), control, band};
        ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0xC0, bytes, 4));
    };
    auto status = [&] {
        BYTE value = 0xEE;
        EXPECT_EQ(I2CResult::Ack, bus.ReadRaw(0xC1, &value, 1));
        return value;
    };
    write(3542, 0x8A, 0x11);  // (100000 + 10700) / 31.25
    EXPECT_TRUE(tuner.FmMode());
    EXPECT_EQ(99987, tuner.FmKHz());
    EXPECT_EQ(PllTuner::kLockBit | 3, status());
    EXPECT_FALSE(tuner.Locked());  // no picture while on FM
    write(3600, 0x8A, 0x11);
    EXPECT_EQ(0x00, status());
    // The same divider with TV bytes is a TV tuning again.
    write(2214, 0xCE, 0x11);
    EXPECT_FALSE(tuner.FmMode());
    EXPECT_EQ(99475, tuner.TunedKHz());
    EXPECT_TRUE(tuner.Locked());
    bus.Detach(&tuner);
}

TEST(PllTunerFm, CountsFiftyKilohertzStepsWhereTheModuleDoes) {
    RfEnvironment rf;
    PllTuner::Options options;
    options.fmControl = 0x88;
    options.fmBand = 0x19;
    options.fmStepHz = 50000;
    PllTuner tuner(rf, options);
    I2CBus bus;
    bus.Attach(&tuner);
    const BYTE bytes[4] = {0x08, 0xA6, 0x88, 0x19};  // 2214
    ASSERT_EQ(I2CResult::Ack, bus.WriteRaw(0xC0, bytes, 4));
    EXPECT_EQ(100000, tuner.FmKHz());
    bus.Detach(&tuner);
}

TEST(RfEnvironment, FindsTheNearestStationWithinTheWindow) {
    RfEnvironment rf({{100000, "a"}, {100800, "b"}});
    EXPECT_EQ("a", rf.StationNear(100300, 500).value().name);
    EXPECT_EQ("b", rf.StationNear(100500, 500).value().name);
    EXPECT_FALSE(rf.StationNear(101400, 500));
    EXPECT_EQ("b", rf.StationNear(101300, 500).value().name);
}

}  // namespace
}  // namespace hwsim
