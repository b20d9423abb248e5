// Model 95: the TDA8275A behind the TDA8290's I2C gate, tuned against the simulated chips, and
// the register traffic of its sequences.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>
#include <memory>

#include "support/BusAccess.h"
#include "support/RecordingAccess.h"
#include "tuners/TunerModules.h"
#include "tuners/TunerModuleOverrides.h"
#include "hwsim/chips/Tda8275a.h"
#include "hwsim/chips/Tda8290.h"
#include "platform/runtime.h"

namespace {

// The pair on a bus of its own, with the card's decoder lock following the demodulator.
class P95OnChips : public testing::Test {
protected:
    P95OnChips() : rf({{471250, "C21"}, {48250, "C1"}}), demod(rf), chip(demod), access(bus), card([this] { return demod.Locked(); })
    {
        demod.SetTuner(&chip);
        bus.Attach(&demod);
        bus.Attach(&chip);
        tuner = std::make_unique<CTuner_P95>(&access);
        tuner->SetOwnerCard(&card);
    }
    ~P95OnChips() override
    {
        tuner.reset();
        bus.Detach(&chip);
        bus.Detach(&demod);
    }

    hwsim::RfEnvironment rf;
    hwsim::Tda8290 demod;
    hwsim::Tda8275a chip;
    hwsim::I2CBus bus;
    BusAccess access;
    DecoderCard card;
    std::unique_ptr<CTuner_P95> tuner;
};

// Single-register writes of one chip, in order, from a recorded call list.
std::vector<std::pair<BYTE, BYTE>> WritesTo(const std::vector<AccessCall>& calls, BYTE address)
{
    std::vector<std::pair<BYTE, BYTE>> writes;
    for (const AccessCall& call : calls)
        if (call.kind == AccessCall::Write && call.bytes[0] == address) writes.push_back({call.bytes[1], call.bytes[2]});
    return writes;
}

}  // namespace

TEST_F(P95OnChips, ConstructionInitialisesBothChipsThroughTheGate)
{
    EXPECT_EQ(0x01, demod.Peek(0x00));
    EXPECT_EQ(0x2F, demod.Peek(0x30));
    EXPECT_EQ(0x0B, demod.Peek(0x20));
    const BYTE image[13] = {0x00, 0x00, 0x00, 0x1C, 0x04, 0xAB, 0x38, 0x0A, 0x28, 0xFF, 0x40, 0x00, 0x39};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(image[i], chip.Register(static_cast<BYTE>(i << 4))) << i;
    EXPECT_FALSE(demod.GateOpen());
    EXPECT_EQ(AnalogVideo_PAL_B, tuner->GetTDA8275A().GetTDA8290().GetStandard());
    EXPECT_EQ(95, tuner->GetModelCode());
    EXPECT_EQ(2, tuner->GetAfcValue3());
    EXPECT_EQ(14u, tuner->GetSupportedStandards().size());
    // The chip's own range; the scan uses the tuner's band limits instead.
    EXPECT_EQ(40000000, tuner->GetTDA8275A().GetLowestFrequency());
    EXPECT_EQ(865000000, tuner->GetTDA8275A().GetHighestFrequency());
    EXPECT_EQ(48250, tuner->GetLowestFreq());
    EXPECT_EQ(863250, tuner->GetHighestFreq());
}

TEST_F(P95OnChips, TunesPalDAt471_25MHzToTheFrequencyTheChipsCompute)
{
    EXPECT_TRUE(tuner->SetVideoStandard(AnalogVideo_PAL_D));
    EXPECT_TRUE(tuner->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(0x1D, chip.Register(0x00));
    EXPECT_EQ(0xF0, chip.Register(0x10));
    EXPECT_EQ(1916u, chip.Divider());
    EXPECT_EQ(0x10, demod.StandardCode());
    EXPECT_EQ(471250, demod.TunedKHz());
    EXPECT_FALSE(demod.GateOpen());
    // The D/K register set, then 0x28.
    EXPECT_EQ(0x24, demod.Peek(0x03));
    EXPECT_EQ(0x04, demod.Peek(0x06));
    EXPECT_EQ(0x7B, demod.Peek(0x07));
    EXPECT_EQ(0x88, demod.Peek(0x16));
    EXPECT_EQ(0x54, demod.Peek(0x28));
    EXPECT_EQ(0x82, demod.Peek(0x0F));
    EXPECT_TRUE(tuner->IsTVChannelLocked());
    DWORD status = 0;
    EXPECT_TRUE(tuner->GetTVChannelOkay(&status));
    EXPECT_EQ(2u, status);
}

TEST_F(P95OnChips, TunesPalBAt48_25MHzWithPostDivider16)
{
    EXPECT_TRUE(tuner->SetTVChannelFreq(48250.0f));  // PAL_B from construction
    EXPECT_EQ(3520u, chip.Divider());
    EXPECT_EQ(4, chip.Register(0x40) >> 5);
    EXPECT_EQ(48250, demod.TunedKHz());
    EXPECT_EQ(0x22, demod.Peek(0x03));  // the B column
    EXPECT_EQ(0x80, demod.Peek(0x09));
}

TEST_F(P95OnChips, WithoutAStationTheLockTestAnswersTheNoLockValue)
{
    EXPECT_TRUE(tuner->SetTVChannelFreq(300000.0f));
    DWORD status = 0;
    EXPECT_TRUE(tuner->GetTVChannelOkay(&status));  // the decoder answered: no picture
    EXPECT_EQ(4u, status);
    EXPECT_FALSE(tuner->IsTVChannelLocked());
}

TEST_F(P95OnChips, AStandardOutsideTheTableIsTunedAsPalBAndStaysPalB)
{
    EXPECT_TRUE(tuner->SetVideoStandard(AnalogVideo_NTSC_433));
    EXPECT_EQ(AnalogVideo_PAL_B, tuner->GetTDA8275A().GetTDA8290().GetStandard());
    EXPECT_EQ(0x02, demod.StandardCode());
    EXPECT_TRUE(tuner->SetTVChannelFreq(48250.0f));
    EXPECT_EQ(0x02, demod.StandardCode());
    EXPECT_EQ(0x22, demod.Peek(0x03));
}

TEST(TunerP95Traffic, NtscMSetsTheLowPassBitAndNtscMJDoesNot)
{
    RecordingAccess access;
    CTuner_P95 tuner(&access);
    tuner.SetVideoStandard(AnalogVideo_NTSC_M);
    tuner.SetTVChannelFreq(55250.0f);
    EXPECT_EQ(0x3B, tuner.GetTDA8275A().GetImage()[CTDA8275A::ControlByte3]);
    tuner.SetVideoStandard(AnalogVideo_NTSC_M_J);
    tuner.SetTVChannelFreq(55250.0f);
    EXPECT_EQ(0x39, tuner.GetTDA8275A().GetImage()[CTDA8275A::ControlByte3]);
}

TEST(TunerP95Traffic, SetVideoStandardOnlySelectsTheStandard)
{
    RecordingAccess access;
    CTuner_P95 tuner(&access);
    access.Clear();
    EXPECT_TRUE(tuner.SetVideoStandard(AnalogVideo_SECAM_L1));
    auto writes = WritesTo(access.Calls(), 0x96);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0], (std::pair<BYTE, BYTE>{0x07, 0x00}));
    EXPECT_EQ(writes[1], (std::pair<BYTE, BYTE>{0x01, 0x40}));
    EXPECT_EQ(tuner.GetTDA8275A().GetTDA8290().GetIF(), 1750000);
}

TEST(TunerP95Traffic, EveryTunerWriteHappensWithTheGateOpenAndBothPassesWriteTheWholeImage)
{
    RecordingAccess access;
    CTuner_P95 tuner(&access);
    access.Clear();
    tuner.SetVideoStandard(AnalogVideo_PAL_D);
    ASSERT_TRUE(tuner.SetTVChannelFreq(471250.0f));
    bool open = false;
    std::vector<std::pair<BYTE, BYTE>> tunerWrites;
    for (const AccessCall& call : access.Calls()) {
        if (call.kind != AccessCall::Write) continue;
        if (call.bytes[0] == 0x96 && call.bytes[1] == 0x21) open = call.bytes[2] == 0xC0;
        if (call.bytes[0] == 0xC2) {
            EXPECT_TRUE(open) << "tuner write without the gate at sub " << int(call.bytes[1]);
            tunerWrites.push_back({call.bytes[1], call.bytes[2]});
        }
    }
    EXPECT_FALSE(open);
    // Fast pass: InitialisationByte1 alone, the image, AgcByte3, ControlByte1 three times.
    ASSERT_GE(tunerWrites.size(), 2u * 18u);
    EXPECT_EQ(tunerWrites[0], (std::pair<BYTE, BYTE>{0x70, 0x26}));
    for (int i = 0; i < 13; ++i) EXPECT_EQ(tunerWrites[1 + i].first, BYTE(i << 4));
    EXPECT_EQ(tunerWrites[1 + 6].second, 0x28);   // AgcByte2 with the fast bit
    EXPECT_EQ(tunerWrites[14], (std::pair<BYTE, BYTE>{0x80, 0x24}));  // AgcByte3: fast bit set, bit 3 clear
    // Normal pass: AgcByte2 without the fast bit in the image, then 0x38 alone.
    EXPECT_EQ(tunerWrites[19], (std::pair<BYTE, BYTE>{0x70, 0x26}));
    EXPECT_EQ(tunerWrites[20 + 6].second, 0x08);
    EXPECT_EQ(tunerWrites[33], (std::pair<BYTE, BYTE>{0x80, 0x20}));
    EXPECT_EQ(tunerWrites[34], (std::pair<BYTE, BYTE>{0x60, 0x38}));
    EXPECT_EQ(tunerWrites.back(), (std::pair<BYTE, BYTE>{0x80, 0x2C}));  // the second corrective step (no level)
}

TEST(TunerP95Traffic, LevelChecksTakeThreeCorrectiveStepsWhenTheDemodulatorSeesNothing)
{
    RecordingAccess access;  // every register reads 0: no level, no flag
    CTuner_P95 tuner(&access);
    access.Clear();
    ULONGLONG before = platform::ClockNow();
    ASSERT_TRUE(tuner.SetTVChannelFreq(471250.0f));
    auto demodWrites = WritesTo(access.Calls(), 0x96);
    auto count = [&](BYTE sub, BYTE value) {
        return std::count(demodWrites.begin(), demodWrites.end(), std::pair<BYTE, BYTE>{sub, value});
    };
    EXPECT_EQ(count(0x0D, 0x27), 1);  // the third step
    EXPECT_EQ(count(0x0F, 0x82), 1);
    // Fast pass 100 ms, normal pass 550 ms, three steps of 100 ms, 50 ms pause: about 0.8 s.
    EXPECT_GE(platform::ClockNow() - before, 800u);

    RecordingAccess strong;
    strong.registerByte = [](BYTE, BYTE sub) { return BYTE(sub == 0x1A ? 0x40 : 0x00); };
    CTuner_P95 good(&strong);
    strong.Clear();
    ASSERT_TRUE(good.SetTVChannelFreq(471250.0f));
    demodWrites = WritesTo(strong.Calls(), 0x96);
    EXPECT_EQ(count(0x0D, 0x27), 0);
}

TEST(TunerP95Traffic, RefusesNonFiniteAndNegativeFrequenciesWithoutTraffic)
{
    RecordingAccess access;
    CTuner_P95 tuner(&access);
    access.Clear();
    EXPECT_FALSE(tuner.SetTVChannelFreq(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(tuner.SetTVChannelFreq(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(tuner.SetTVChannelFreq(-48250.0f));
    EXPECT_FALSE(tuner.SetTVChannelFreq(3.0e9f));  // beyond what a 32-bit Hz value holds
    EXPECT_TRUE(access.Calls().empty());
}

TEST(TunerP95Traffic, AboveTheBandTableUsesItsLastRow)
{
    RecordingAccess access;
    CTuner_P95 tuner(&access);
    ASSERT_TRUE(tuner.SetTVChannelFreq(910000.0f));  // + 6.75 MHz: beyond 911 MHz
    // Row 25: b4 3, post-divider code 0, b7 4.
    EXPECT_EQ(0x1C, tuner.GetTDA8275A().GetImage()[CTDA8275A::BandSwitchByte]);
}

TEST(TunerP95Traffic, WithoutAnAccessObjectTheTuneFails)
{
    CTuner_P95 tuner(nullptr);
    EXPECT_FALSE(tuner.SetTVChannelFreq(471250.0f));
}

TEST(TunerP95Traffic, AScanAndTheOwnersTuningNeverInterleaveTheirSequences)
{
    RecordingAccess access;
    CTuner_P95 tuner(&access);
    ScriptedCard never({{S_OK, 0}});
    tuner.SetOwnerCard(&never);
    const float table[2] = {471.25f, 479.25f};
    tuner.SetChannelTable(table, 2);
    ScanRecorder window;
    tuner.SetNotifyWindow(window.Window());
    access.Clear();
    ASSERT_TRUE(tuner.StartScan(TRUE, FALSE));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(tuner.SetTVChannelFreq(500000.0f));
    ASSERT_TRUE(window.WaitForEnd());
    tuner.StopScan();

    // Cut the traffic into runs of one thread; each run holds whole tunes.
    const auto calls = access.Calls();
    const AccessCall start{AccessCall::Write, {0x96, 0x07, 0x00}};
    const AccessCall tuneEnd{AccessCall::Write, {0x96, 0x0F, 0x82}};
    const AccessCall setEnd{AccessCall::Write, {0x96, 0x28, 0x54}};
    std::set<DWORD> threads;
    size_t first = 0;
    int runs = 0;
    for (size_t i = 1; i <= calls.size(); ++i) {
        if (i < calls.size() && calls[i].thread == calls[first].thread) continue;
        threads.insert(calls[first].thread);
        EXPECT_EQ(calls[first], start) << "run " << runs;
        EXPECT_EQ(calls[i - 1], setEnd) << "run " << runs;
        const auto begin = calls.begin() + static_cast<long>(first);
        const auto end = calls.begin() + static_cast<long>(i);
        EXPECT_EQ(std::count(begin, end, tuneEnd), std::count(begin, end, AccessCall{AccessCall::Write, {0x96, 0x16, 0x07}}));
        first = i;
        ++runs;
    }
    EXPECT_EQ(threads.size(), 2u);
    EXPECT_GE(runs, 2);
}
