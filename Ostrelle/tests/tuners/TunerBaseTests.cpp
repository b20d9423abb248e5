// The PLL tuner: the exact bytes of TV and FM tuning, band edges and refusals, status and AFC
// decoding, the decoder-lock question, and the scan setters' rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "support/RecordingAccess.h"
#include "tuners/TunerBase.h"
#include "tuners/TunerModules.h"
#include "platform/runtime.h"

namespace {

using Bytes = std::vector<BYTE>;

std::unique_ptr<CTunerBase> MakeModule(long model, RecordingAccess* access)
{
    return std::unique_ptr<CTunerBase>(FindTunerCreator(model)(access));
}

}  // namespace

TEST(TunerTuning, WritesAddressTruncatedDividerControlAndBandByte)
{
    RecordingAccess access;
    CTunerBase tuner(&access);
    EXPECT_TRUE(tuner.SetTVChannelFreq(49750.0f));  // (38900 + 49750) * 16 / 1000 = 1418.4
    ASSERT_EQ(access.BlockWrites().size(), 1u);
    EXPECT_EQ(access.BlockWrites()[0], (Bytes{0xC0, 0x05, 0x8A, 0xCE, 0x01}));
}

TEST(TunerTuning, BandEdgesAreStrictAndLimitsInclusive)
{
    RecordingAccess access;
    CTunerBase tuner(&access);
    EXPECT_TRUE(tuner.SetTVChannelFreq(48250.0f));
    EXPECT_TRUE(tuner.SetTVChannelFreq(169999.75f));
    EXPECT_TRUE(tuner.SetTVChannelFreq(170000.0f));
    EXPECT_TRUE(tuner.SetTVChannelFreq(450000.0f));
    EXPECT_TRUE(tuner.SetTVChannelFreq(863250.0f));
    auto writes = access.BlockWrites();
    ASSERT_EQ(writes.size(), 5u);
    EXPECT_EQ(writes[0][4], 0x01);
    EXPECT_EQ(writes[1][4], 0x01);
    EXPECT_EQ(writes[2][4], 0x02);
    EXPECT_EQ(writes[3][4], 0x08);
    EXPECT_EQ(writes[4][4], 0x08);
    // 863250 + 38900 = 902150 kHz: divider 14434 = 0x3862.
    EXPECT_EQ(writes[4], (Bytes{0xC0, 0x38, 0x62, 0xCE, 0x08}));
}

TEST(TunerTuning, RefusesOutOfBandAndNonFiniteFrequenciesWithoutTraffic)
{
    RecordingAccess access;
    CTunerBase tuner(&access);
    EXPECT_FALSE(tuner.SetTVChannelFreq(48249.75f));
    EXPECT_FALSE(tuner.SetTVChannelFreq(863250.25f));
    EXPECT_FALSE(tuner.SetTVChannelFreq(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(tuner.SetTVChannelFreq(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(tuner.SetTVChannelFreq(-std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(tuner.SetFMChannelFreq(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(tuner.SetFMChannelFreq(std::numeric_limits<float>::infinity()));
    EXPECT_TRUE(access.Calls().empty());
}

TEST(TunerTuning, ReportsSuccessOnlyForSOk)
{
    RecordingAccess access;
    CTunerBase tuner(&access);
    access.writeResult = S_FALSE;
    EXPECT_FALSE(tuner.SetTVChannelFreq(49750.0f));
    EXPECT_FALSE(tuner.SetFMChannelFreq(100000.0f));
    access.writeResult = S_OK;
    EXPECT_TRUE(tuner.SetTVChannelFreq(49750.0f));
    EXPECT_TRUE(platform::TraceContains("SetTVChannelFreq = 49750.000000 , hr = 1 \n"));
}

TEST(TunerTuning, FMDividerCountsStepsOf31_25AndClampsIntoTheRange)
{
    RecordingAccess access;
    auto tuner = MakeModule(9, &access);  // FM 87000-108000, IF 10700, bytes 8A 19, write address C1
    EXPECT_TRUE(tuner->SetFMChannelFreq(100000.0f));
    EXPECT_TRUE(tuner->SetFMChannelFreq(120000.0f));
    EXPECT_TRUE(tuner->SetFMChannelFreq(1000.0f));
    auto writes = access.BlockWrites();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0], (Bytes{0xC1, 0x0D, 0xD6, 0x8A, 0x19}));  // 110700 / 31.25 = 3542.4
    EXPECT_EQ(writes[1], (Bytes{0xC1, 0x0E, 0xD6, 0x8A, 0x19}));  // 118700 / 31.25 = 3798.4
    EXPECT_EQ(writes[2], (Bytes{0xC1, 0x0C, 0x36, 0x8A, 0x19}));  // 97700 / 31.25 = 3126.4
    EXPECT_TRUE(platform::TraceContains("SetFMChannelFreq :108000.000000\n"));
}

TEST(TunerStatus, DecodesLockBitAndAfcCodeFromTheReadAddress)
{
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);  // read address C1, lock value 2
    access.statusByte = [] { return BYTE(0x42); };
    DWORD status = 99;
    EXPECT_TRUE(tuner->GetTVChannelOkay(&status));
    EXPECT_EQ(status, 2u);
    EXPECT_TRUE(tuner->IsTVChannelLocked());
    auto calls = access.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0], (AccessCall{AccessCall::ReadBlock, {0xC1}}));

    access.statusByte = [] { return BYTE(0x43); };
    EXPECT_FALSE(tuner->IsTVChannelLocked());  // locked, but AFC 3 is not the lock value
}

TEST(TunerStatus, WithoutLockBitOrOnReadFailureLeavesTheStatusAlone)
{
    RecordingAccess access;
    CTunerBase tuner(&access);
    access.statusByte = [] { return BYTE(0x02); };
    DWORD status = 77;
    EXPECT_FALSE(tuner.GetTVChannelOkay(&status));
    EXPECT_FALSE(tuner.GetFMChannelOkay(&status));
    EXPECT_EQ(status, 77u);
    access.statusByte = [] { return BYTE(0x42); };
    access.readResult = E_FAIL;
    EXPECT_FALSE(tuner.GetTVChannelOkay(&status));
    EXPECT_EQ(status, 77u);
    EXPECT_FALSE(tuner.IsTVChannelLocked());
}

TEST(TunerStatus, FMLockComparesWithTheModulesFMLockValue)
{
    RecordingAccess access;
    auto tuner = MakeModule(15, &access);  // FM lock value 3
    access.statusByte = [] { return BYTE(0x43); };
    EXPECT_TRUE(tuner->IsFMChannelLocked());
    access.statusByte = [] { return BYTE(0x44); };
    EXPECT_FALSE(tuner->IsFMChannelLocked());
}

TEST(TunerSignalLock, AsksTheCardAtMostTwiceAndOnlyAfterAZeroReading)
{
    RecordingAccess access;
    CTunerBase tuner(&access);
    DWORD locked = 5;
    EXPECT_FALSE(tuner.GetSignalLocked(&locked));  // no owner card

    ScriptedCard locks({{S_OK, 1}});
    tuner.SetOwnerCard(&locks);
    EXPECT_TRUE(tuner.GetSignalLocked(&locked));
    EXPECT_EQ(locked, 1u);
    EXPECT_EQ(locks.Calls(), 1);

    ScriptedCard late({{S_OK, 0}, {S_OK, 1}});
    tuner.SetOwnerCard(&late);
    ULONGLONG before = platform::ClockNow();
    EXPECT_TRUE(tuner.GetSignalLocked(&locked));
    EXPECT_EQ(locked, 1u);
    EXPECT_EQ(late.Calls(), 2);
    EXPECT_GE(platform::ClockNow() - before, 10u);

    ScriptedCard never({{S_OK, 0}});
    tuner.SetOwnerCard(&never);
    EXPECT_TRUE(tuner.GetSignalLocked(&locked));
    EXPECT_EQ(locked, 0u);
    EXPECT_EQ(never.Calls(), 2);

    ScriptedCard failing({{E_FAIL, 0}});
    tuner.SetOwnerCard(&failing);
    EXPECT_FALSE(tuner.GetSignalLocked(&locked));
    EXPECT_EQ(failing.Calls(), 1);

    ScriptedCard secondFails({{S_OK, 0}, {E_FAIL, 0}});
    tuner.SetOwnerCard(&secondFails);
    EXPECT_FALSE(tuner.GetSignalLocked(&locked));
}

TEST(TunerScanSetters, CheckTheirRulesAndKeepOldValuesWhenRefused)
{
    RecordingAccess access;
    CTunerBase plain(&access);
    EXPECT_FALSE(plain.SetFMScanRange(87000, 108000));  // not FM capable
    auto fm = MakeModule(9, &access);
    EXPECT_TRUE(fm->SetFMScanRange(87000, 87000));
    EXPECT_FALSE(fm->SetFMScanRange(0, 87000));
    EXPECT_FALSE(fm->SetFMScanRange(90000, 89999));
    EXPECT_EQ(fm->GetFMRangeLow(), 87000);
    EXPECT_EQ(fm->GetFMRangeHigh(), 87000);

    EXPECT_FALSE(plain.SetSweepRange(87000, 87000));
    EXPECT_FALSE(plain.SetSweepRange(0, 87000));
    EXPECT_TRUE(plain.SetSweepRange(87000, 87001));
    EXPECT_EQ(plain.GetSweepRangeLow(), 87000);
    EXPECT_FALSE(plain.SetSweepParams(1000, 1000));
    EXPECT_FALSE(plain.SetSweepParams(2000, 0));
    EXPECT_TRUE(plain.SetSweepParams(1001, 1000));
    EXPECT_EQ(plain.GetSweepSkip(), 1001);

    EXPECT_FALSE(plain.SetFMStep(0));
    EXPECT_FALSE(plain.SetFMWait(0));
    EXPECT_TRUE(plain.SetFMStep(50));
    EXPECT_EQ(plain.GetFMStep(), 50);
    plain.SetSettleTime(0);
    EXPECT_EQ(plain.GetSettleTime(), 60);
}

TEST(TunerScanSetters, ChannelTableIsCopiedAndANullTableKeepsThePrevious)
{
    RecordingAccess access;
    CTunerBase tuner(&access);
    long count = 0;
    const float* table = tuner.GetChannelTable(&count);
    ASSERT_EQ(count, 95);
    EXPECT_FLOAT_EQ(table[0], 49.75f);
    EXPECT_FLOAT_EQ(table[4], 85.25f);
    EXPECT_FLOAT_EQ(table[5], 112.25f);
    EXPECT_FLOAT_EQ(table[49], 464.25f);
    EXPECT_FLOAT_EQ(table[50], 471.25f);
    EXPECT_FLOAT_EQ(table[61], 559.25f);
    EXPECT_FLOAT_EQ(table[62], 607.25f);
    EXPECT_FLOAT_EQ(table[94], 863.25f);

    auto mine = std::make_unique<float[]>(2);
    mine[0] = 100.0f;
    mine[1] = 200.0f;
    EXPECT_TRUE(tuner.SetChannelTable(mine.get(), 2));
    mine.reset();  // the caller may free its array at once
    EXPECT_FALSE(tuner.SetChannelTable(nullptr, 5));
    table = tuner.GetChannelTable(&count);
    ASSERT_EQ(count, 2);
    EXPECT_FLOAT_EQ(table[1], 200.0f);
}

TEST(TunerCopy, TakesTheModuleDescriptionButNotAddressesOrScanValues)
{
    RecordingAccess access;
    auto source = MakeModule(13, &access);
    CTunerBase target(&access);
    target.SetSearchWindow(700);
    target.CopyFrom(source.get());
    EXPECT_EQ(target.GetModelCode(), 13);
    EXPECT_EQ(target.GetFactory(), 'G');
    EXPECT_EQ(target.GetLowestFreq(), 45250);
    EXPECT_EQ(target.GetHighestFreq(), 855250);
    EXPECT_EQ(target.GetReadAddress(), 0x86);  // model 13 reads at 0x86
    EXPECT_EQ(target.GetWriteAddress(), 0xC0);
    EXPECT_EQ(target.GetSecondModel(), 0);
    EXPECT_FALSE(target.GetReapplyStandard());
    EXPECT_EQ(target.GetSearchWindow(), 700);
    EXPECT_EQ(target.GetSupportedStandards(), source->GetSupportedStandards());
    EXPECT_EQ(target.GetAfcValue2(), 3);  // AFC values copied only for models 72 and 73

    auto lg = MakeModule(72, &access);
    CTunerBase other(&access);
    other.CopyFrom(lg.get());
    EXPECT_EQ(other.GetAfcValue2(), 2);
    EXPECT_EQ(other.GetAfcValue3(), 3);
}
