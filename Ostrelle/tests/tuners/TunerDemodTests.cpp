// The tuner modules with an IF demodulator on a 713x_4 card of the simulated bench, made by the
// card's factory and driven through the card's real access class: the register tables of each
// standard in the demodulator, the tuning variants in the PLL chip, lock through the
// demodulator's AFC code and each module's map, FM, and a channel-table scan.
#include <gtest/gtest.h>

#include <map>

#include "support/DemodBench.h"
#include "support/RecordingAccess.h"
#include "tuners/TunerModuleOverrides.h"
#include "hwsim/bench/TunerFitting.h"
#include "hwsim/chips/VideoDecoder.h"

namespace {

constexpr long B = AnalogVideo_PAL_B, D = AnalogVideo_PAL_D, G = AnalogVideo_PAL_G, I = AnalogVideo_PAL_I;
constexpr long SB = AnalogVideo_SECAM_B, SD = AnalogVideo_SECAM_D, SG = AnalogVideo_SECAM_G;
constexpr long SK = AnalogVideo_SECAM_K, SL = AnalogVideo_SECAM_L, SL1 = AnalogVideo_SECAM_L1;
constexpr long M = AnalogVideo_NTSC_M, MJ = AnalogVideo_NTSC_M_J, N433 = AnalogVideo_NTSC_433;

struct Column {
    long standard;
    std::vector<BYTE> registers;
};

struct TableCase {
    int model;
    const char* table;
    std::vector<Column> columns;  // each standard with the registers it must leave
};

// Tables S1 to S10, sequences F1 to F5 and model 139's, as the module makers give them; the
// last column of each row is a standard the table does not name.
const std::vector<TableCase> kTables = {
    {12, "S1", {{B, {0x56, 0x70, 0x09}}, {I, {0x56, 0x70, 0x0A}}, {D, {0x56, 0x70, 0x0B}}, {SL, {0x46, 0x70, 0x0B}},
                {SL1, {0xC6, 0x70, 0x13}}, {SK, {0x56, 0x70, 0x09}}}},
    {13, "S2", {{B, {0x56, 0x70, 0x09}}, {I, {0x56, 0x70, 0x0A}}, {D, {0x56, 0x70, 0x0B}}, {SL, {0x46, 0x50, 0x4B}},
                {SL1, {0xC6, 0x50, 0x13}}, {SB, {0x56, 0x70, 0x09}}}},
    {17, "S3", {{B, {0x52, 0x70, 0x09}}, {I, {0x52, 0x70, 0x0A}}, {D, {0x52, 0x70, 0x0B}}, {SK, {0x52, 0x70, 0x09}}}},
    {67, "S4", {{B, {0x16, 0x70, 0x49}}, {SB, {0x16, 0x70, 0x49}}, {D, {0x16, 0x70, 0x4B}}, {SD, {0x16, 0x70, 0x4B}},
                {I, {0x16, 0x70, 0x4A}}, {SL, {0x06, 0x50, 0x4B}}, {SL1, {0x16, 0x70, 0x49}}}},
    {68, "S5", {{M, {0x16, 0x70, 0x00}}, {MJ, {0x16, 0x70, 0x00}}, {B, {0x16, 0x70, 0x00}}}},
    {70, "S6", {{B, {0x16, 0x70, 0x49}}, {D, {0x16, 0x70, 0x4B}}, {I, {0x16, 0x30, 0x4A}}, {SB, {0x06, 0x50, 0x4B}},
                {SD, {0x06, 0x50, 0x4B}}, {SG, {0x06, 0x50, 0x4B}}, {SK, {0x06, 0x50, 0x4B}}, {SL, {0x06, 0x50, 0x4B}},
                {M, {0x16, 0x70, 0x49}}}},
    {75, "S7", {{B, {0x16, 0x70, 0x49}}, {I, {0x16, 0x70, 0x4B}}, {D, {0xD6, 0x70, 0x4A}}, {SL, {0x06, 0x70, 0x4B}},
                {SL1, {0x86, 0x70, 0x47}}, {G, {0x16, 0x70, 0x49}}}},
    {92, "S8", {{B, {0x16, 0x70, 0x49}}, {D, {0x16, 0x70, 0x4B}}, {I, {0x16, 0x70, 0x4A}}, {SL, {0x06, 0x50, 0x4B}},
                {SL1, {0x86, 0x50, 0x53}}, {SD, {0x16, 0x70, 0x4B}}, {SK, {0x16, 0x70, 0x4B}}, {M, {0x16, 0x70, 0x49}}}},
    {93, "S9", {{B, {0x16, 0x70, 0x49}}, {D, {0x16, 0x70, 0x4B}}, {I, {0x16, 0x70, 0x4A}}, {SL, {0x06, 0x50, 0x4B}},
                {SL1, {0x86, 0x50, 0x53}}, {SK, {0x16, 0x70, 0x49}}}},
    {97, "S9", {{B, {0x16, 0x70, 0x49}}, {D, {0x16, 0x70, 0x4B}}, {I, {0x16, 0x70, 0x4A}}, {SL, {0x06, 0x50, 0x4B}},
                {SL1, {0x86, 0x50, 0x53}}, {SD, {0x16, 0x70, 0x49}}}},
    {132, "S10", {{B, {0xD6, 0x30, 0x49}}, {I, {0xD6, 0x30, 0x4A}}, {D, {0xD6, 0x30, 0x4A}}, {SB, {0xD6, 0x30, 0x49}}}},
    {72, "F1", {{B, {0xD6, 0x70, 0x49}}, {D, {0xD6, 0x70, 0x4B}}, {I, {0xD6, 0x70, 0x4A}}, {G, {0xD6, 0x70, 0x4A}}}},
    {59, "F2", {{B, {0xD6, 0x70, 0x49}}, {G, {0xD6, 0x70, 0x49}}, {D, {0xD6, 0x70, 0x4B}}, {I, {0xD6, 0x70, 0x4A}}}},
    {63, "F3", {{M, {0xD6, 0x30, 0x00}}, {B, {0xD6, 0x30, 0x00}}}},
    {94, "F4", {{M, {0x56, 0x30, 0x44}}, {SL, {0x56, 0x30, 0x44}}}},
    {98, "F4", {{M, {0x56, 0x30, 0x44}}, {N433, {0x56, 0x30, 0x44}}}},
    {96, "F5", {{MJ, {0x56, 0x30, 0x40}}, {B, {0x56, 0x30, 0x40}}}},
    {139, "A139", {{B, {0x16, 0x70, 0x09}}, {G, {0x16, 0x70, 0x09}}, {I, {0x16, 0x70, 0x0A}}, {D, {0x16, 0x70, 0x0B}},
                   {SL, {0x06, 0x50, 0x4B}}, {SL1, {0x86, 0x50, 0x53}}}},
};

}  // namespace

using TunerDemod = DemodBench;

TEST_F(TunerDemod, EveryModuleWritesItsTablesColumnForEveryStandardIntoTheDemodulator)
{
    for (const TableCase& table : kTables) {
        SCOPED_TRACE(std::string("model ") + std::to_string(table.model) + " table " + table.table);
        Fit(table.model);
        // Model 12's table goes to its second demodulator at 0x56.
        const hwsim::I2CDevice* target = Board().Chip(table.model == 12 ? "demodulator2" : "demodulator");
        const BYTE bus = table.model == 12 ? 0x56 : 0x86;
        for (const Column& column : table.columns) {
            Board().Bus().ClearLog();
            tuner->SetCurrentStandard(column.standard);
            EXPECT_TRUE(tuner->SetVideoStandard(column.standard)) << column.standard;
            EXPECT_EQ(column.registers, Registers(target)) << column.standard;
            EXPECT_EQ(3u, WritesTo(bus).size()) << column.standard;
        }
    }
}

TEST_F(TunerDemod, TuningVariantsReachThePllChip)
{
    // L': model 12 takes the 33900 kHz IF for SECAM_L1 only.
    Fit(12);
    tuner->SetCurrentStandard(SL1);
    ASSERT_TRUE(tuner->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(8082, Pll().Divider());
    tuner->SetCurrentStandard(B);
    ASSERT_TRUE(tuner->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(8162, Pll().Divider());
    // ... and clamps instead of refusing.
    ASSERT_TRUE(tuner->SetTVChannelFreq(900000.0f));
    EXPECT_EQ((38900 + 863250) * 16 / 1000, Pll().Divider());

    // +250: model 59 refuses its own highest frequency, tunes 250 kHz above one below it.
    Fit(59);
    EXPECT_FALSE(tuner->SetTVChannelFreq(863250.0f));
    EXPECT_TRUE(WritesTo(0xC0).empty());
    ASSERT_TRUE(tuner->SetTVChannelFreq(471000.0f));
    EXPECT_EQ(8162, Pll().Divider());
    EXPECT_EQ(0x8E, Pll().ControlByte());

    // Clamp: model 97 tunes its limits for frequencies beyond them.
    Fit(97);
    ASSERT_TRUE(tuner->SetTVChannelFreq(20000.0f));
    EXPECT_EQ((38900 + 48250) * 16 / 1000, Pll().Divider());
    EXPECT_EQ(0x01, Pll().BandByte());
    EXPECT_FALSE(Pll().AuxByte());

    // aux: model 93's sixth byte follows the standard; model 96's is always 0x50.
    Fit(93);
    tuner->SetCurrentStandard(SL);
    ASSERT_TRUE(tuner->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(0x20, Pll().AuxByte().value_or(0));
    EXPECT_EQ(0x04, Pll().BandByte());
    tuner->SetCurrentStandard(I);
    ASSERT_TRUE(tuner->SetTVChannelFreq(160000.0f));
    EXPECT_EQ(0xA0, Pll().AuxByte().value_or(0));
    EXPECT_EQ(0x02, Pll().BandByte());
    Fit(96);
    ASSERT_TRUE(tuner->SetTVChannelFreq(91250.0f));
    EXPECT_EQ(0x50, Pll().AuxByte().value_or(0));
    EXPECT_EQ((58750 + 91250) * 16 / 1000, Pll().Divider());

    // Model 92: 33900 kHz only for SECAM_L1, the sixth byte 0x20 for SECAM_L and SECAM_L1.
    Fit(92);
    tuner->SetCurrentStandard(SL1);
    ASSERT_TRUE(tuner->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(8082, Pll().Divider());
    EXPECT_EQ(0x20, Pll().AuxByte().value_or(0));
    tuner->SetCurrentStandard(SL);
    ASSERT_TRUE(tuner->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(8162, Pll().Divider());
    EXPECT_EQ(0x20, Pll().AuxByte().value_or(0));
    // A five-byte write after the six-byte one: the chip holds no sixth byte any more.
    BYTE five[5] = {0xC0, 0x1F, 0x92, 0x8E, 0x04};
    ASSERT_EQ(S_OK, card->I2CWrite(five, 5));
    EXPECT_EQ(0x1F92, Pll().Divider());
    EXPECT_FALSE(Pll().AuxByte());
}

TEST_F(TunerDemod, EachModuleReportsLockExactlyWhereAStationIsOnAir)
{
    struct Case {
        int model;
        long lockAt;  // where the module reports its lock, against the station at 471250
        int lines;    // the station's: the system the module's demodulator is set for
    };
    // Models 94, 96 and 98 lock with map A's status 2: the carrier one to three steps above.
    // Models 68, 94, 96, 98 and 100 (a Japanese-band module) set their demodulator for system M.
    const Case cases[] = {{68, 471250, 525},  {70, 471250, 625},  {75, 471250, 625}, {92, 471250, 625},
                          {93, 471250, 625},  {132, 471250, 625}, {100, 471250, 525}, {94, 471125, 525},
                          {96, 471125, 525},  {98, 471125, 525},  {67, 471250, 625}, {97, 471250, 625}};
    for (const Case& c : cases) {
        SCOPED_TRACE("model " + std::to_string(c.model));
        Fit(c.model, R"([{"kHz": 471250, "lines": )" + std::to_string(c.lines) + "}]");
        tuner->SetVideoStandard(c.lines == 525 ? AnalogVideo_NTSC_M : AnalogVideo_PAL_D);
        for (long kHz : {c.lockAt, 471250L, 465250L, 300000L}) {
            ASSERT_TRUE(tuner->SetTVChannelFreq(static_cast<float>(kHz)));
            EXPECT_EQ(kHz == c.lockAt, tuner->IsTVChannelLocked() != FALSE) << kHz;
        }
        DWORD status = 77;
        ASSERT_TRUE(tuner->SetTVChannelFreq(300000.0f));
        if (c.model != 67) {
            EXPECT_TRUE(tuner->GetTVChannelOkay(&status));  // a good read is TRUE whatever the nibble
            EXPECT_NE(77u, status);
        }
    }
}

TEST_F(TunerDemod, Model97LocksOnlyFromTheDecoderEvenWhenThePllLocks)
{
    Fit(97, R"([{"kHz": 471250}])");
    ASSERT_TRUE(tuner->SetVideoStandard(AnalogVideo_PAL_D));
    ASSERT_TRUE(tuner->SetTVChannelFreq(471250.0f));
    ASSERT_TRUE(Pll().Locked());
    EXPECT_TRUE(tuner->IsTVChannelLocked());
    Board().AddChip("decoder", std::make_unique<hwsim::VideoDecoder>(hwsim::VideoDecoder::kAddress,
                                                                     [] { return std::optional<hwsim::Station>(); }));
    Board().Bus().ClearLog();
    EXPECT_FALSE(tuner->IsTVChannelLocked());
    EXPECT_TRUE(Pll().Locked());
    EXPECT_TRUE(WritesTo(0xC1).empty());  // the PLL is not asked
    Board().RemoveChip("decoder");
    EXPECT_FALSE(tuner->IsTVChannelLocked());
    // Its status read goes to 0x86's read form, through map C.
    DWORD status = 0;
    EXPECT_TRUE(tuner->GetTVChannelOkay(&status));
    EXPECT_EQ(3u, status);
}

TEST_F(TunerDemod, Model92TunesFmAfterPreparingModuleAndDemodulator)
{
    Fit(92, "[]", R"([{"kHz": 100000}])");
    ASSERT_TRUE(tuner->SetFMChannelFreq(100000.0f));
    EXPECT_EQ((std::vector<std::vector<BYTE>>{{0x08, 0xFF, 0x8E, 0x01}, {0x08, 0xFF, 0x8E, 0x19}, {0x08, 0xA6, 0x88, 0x19}}),
              WritesTo(0xC0));
    EXPECT_EQ((std::vector<std::vector<BYTE>>{{0x00, 0x5A, 0x90, 0x20}}), WritesTo(0x86));
    EXPECT_EQ(2214, Pll().Divider());
    EXPECT_EQ(100000, Pll().FmKHz());
    EXPECT_TRUE(tuner->IsFMChannelLocked());
    ASSERT_TRUE(tuner->SetFMChannelFreq(104000.0f));
    EXPECT_FALSE(tuner->IsFMChannelLocked());
    // Clamped into its FM range.
    ASSERT_TRUE(tuner->SetFMChannelFreq(120000.0f));
    EXPECT_EQ((107800 + 10700) * 20 / 1000, Pll().Divider());
}

TEST_F(TunerDemod, DemodulatorFmStatusReadsFindAnFmStationAndMissAwayFromOne)
{
    struct Case {
        int model;
        long station;
    };
    for (const Case& c : {Case{98, 100000}, Case{68, 80000}, Case{70, 100000}}) {
        SCOPED_TRACE("model " + std::to_string(c.model));
        Fit(c.model, "[]", R"([{"kHz": )" + std::to_string(c.station) + "}]");
        ASSERT_TRUE(tuner->SetFMChannelFreq(static_cast<float>(c.station)));
        EXPECT_TRUE(Demod().Peek(0) & hwsim::IfDemodulator::kRadioMode);
        EXPECT_TRUE(tuner->IsFMChannelLocked());
        DWORD status = 0;
        EXPECT_TRUE(tuner->GetFMChannelOkay(&status));
        EXPECT_EQ(4u, status);
        ASSERT_TRUE(tuner->SetFMChannelFreq(static_cast<float>(c.station + 150)));
        EXPECT_FALSE(tuner->IsFMChannelLocked());
        ASSERT_TRUE(tuner->SetFMChannelFreq(static_cast<float>(c.station + 2000)));
        EXPECT_FALSE(tuner->IsFMChannelLocked());
    }
}

TEST_F(TunerDemod, ChannelTableScanOverADemodulatorModuleFindsExactlyTheStationsOnAir)
{
    Load(R"({"cards": [{"kind": "713x_4 TV Card Capture", "tuner": 92, "eeprom": {"hex": ""}}],
             "stations": [{"kHz": 49750}, {"kHz": 184250}, {"kHz": 471250}, {"kHz": 863250}]})");
    Poke(Board(), 0x20, {'P', 92});
    CTVCardFilter* opened = OpenCard(Board());
    ASSERT_NE(nullptr, opened);
    CTunerBase* scanning = opened->GetTuner();
    ASSERT_EQ(92, scanning->GetModelCode());
    const float table[] = {49.75f, 57.75f, 184.25f, 192.25f, 471.25f, 479.25f, 863.25f};
    ASSERT_TRUE(scanning->SetChannelTable(table, 7));
    ScanRecorder window;
    scanning->SetNotifyWindow(window.Window());
    ASSERT_TRUE(scanning->StartScan(TRUE, FALSE));
    ASSERT_TRUE(window.WaitForEnd());
    std::vector<long> found;
    for (const auto& step : window.steps)
        if (step.found != 0) found.push_back(static_cast<long>(step.kHz));
    EXPECT_EQ((std::vector<long>{49750, 184250, 471250, 863250}), found);
}
