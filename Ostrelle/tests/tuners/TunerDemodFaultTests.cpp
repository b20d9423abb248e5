// The demodulator writes that fail part way: every register is still written in its order, but
// the operation reports the failure instead of the result of one chosen write.
#include <gtest/gtest.h>

#include "support/DemodBench.h"
#include "tuners/TunerModuleOverrides.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/chips/VideoDecoder.h"

using TunerDemodFaults = DemodBench;

TEST_F(TunerDemodFaults, ATableReportsAFailedEarlierRegisterAndStillWritesTheRest)
{
    Fit(92);
    Demod().NackTransfers(0);  // register 0
    EXPECT_FALSE(tuner->SetVideoStandard(AnalogVideo_PAL_B));
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x70, 0x49}), Registers(&Demod()));
    EXPECT_TRUE(tuner->SetVideoStandard(AnalogVideo_PAL_B));
}

TEST_F(TunerDemodFaults, BlockTablesReportALaterFailedRegisterAndStillWriteTheRest)
{
    for (int model : {132, 139}) {
        SCOPED_TRACE("model " + std::to_string(model));
        Fit(model);
        Demod().NackTransfers(1);  // register 1
        EXPECT_FALSE(tuner->SetVideoStandard(AnalogVideo_PAL_I));
        const std::vector<BYTE> regs = Registers(&Demod());
        EXPECT_EQ(0x00, regs[1]);
        EXPECT_EQ(0x0A, regs[2] & 0x0F);  // register 2 still written
        EXPECT_EQ(3u, WritesTo(0x86).size() + 1);
    }
}

TEST_F(TunerDemodFaults, FixedSequencesStopAtTheFirstFailure)
{
    Fit(94);
    Demod().NackTransfers(1);
    EXPECT_FALSE(tuner->SetVideoStandard(AnalogVideo_NTSC_M));
    EXPECT_EQ((std::vector<BYTE>{0x56, 0x00, 0x00}), Registers(&Demod()));
    EXPECT_EQ(1u, WritesTo(0x86).size());
}

TEST_F(TunerDemodFaults, Model100ReportsFailedDemodulatorAndModeWrites)
{
    Fit(100);
    Demod().NackTransfers(2);
    EXPECT_FALSE(tuner->SetVideoStandard(AnalogVideo_NTSC_M_J));
    EXPECT_EQ(0x80, static_cast<hwsim::RegisterFileDevice*>(Board().Chip("mode"))->Peek(0));  // the mode still goes
    auto& o100 = dynamic_cast<CTuner_O100&>(*tuner);
    Board().Chip("mode")->NackTransfers(1);  // register 1 of the mode chip
    EXPECT_FALSE(o100.SetMode(4));
    EXPECT_EQ(0x02, static_cast<hwsim::RegisterFileDevice*>(Board().Chip("mode"))->Peek(0));
    EXPECT_TRUE(o100.SetMode(4));
    EXPECT_TRUE(tuner->SetVideoStandard(AnalogVideo_NTSC_M_J));
}

TEST_F(TunerDemodFaults, FmTuningReportsAFailedDemodulatorSetUp)
{
    for (int model : {98, 70, 68}) {
        SCOPED_TRACE("model " + std::to_string(model));
        Fit(model);
        Demod().NackTransfers(0);
        EXPECT_FALSE(tuner->SetFMChannelFreq(88000.0f));
        EXPECT_TRUE(tuner->SetFMChannelFreq(88000.0f));
    }
    // Model 92's preparation stops the tuning at its first failed write.
    Fit(92);
    Demod().NackTransfers(0);
    EXPECT_FALSE(tuner->SetFMChannelFreq(100000.0f));
    EXPECT_EQ(2u, WritesTo(0xC0).size());  // the two preparation writes, no divider
}

TEST_F(TunerDemodFaults, Model17sBlockTableGoesToTheDemodulatorNotTheDecoder)
{
    Fit(17);
    Board().AddChip("decoder", std::make_unique<hwsim::VideoDecoder>(hwsim::VideoDecoder::kAddress, nullptr));
    EXPECT_TRUE(tuner->SetVideoStandard(AnalogVideo_PAL_D));
    EXPECT_EQ((std::vector<BYTE>{0x52, 0x70, 0x0B}), Registers(&Demod()));
    EXPECT_TRUE(WritesTo(0x42).empty());
    EXPECT_EQ(3u, WritesTo(0x86).size());
}
