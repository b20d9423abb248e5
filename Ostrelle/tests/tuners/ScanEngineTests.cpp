// The scan workers: the channel-table scan, the band sweep and the FM scan with their messages
// to a recording window under the test clock, stopping, the scanning flag, and the window
// searches driven by the decoder lock and by the PLL's AFC code.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>

#include "support/BusAccess.h"
#include "tuners/FMScanThread.h"
#include "support/RecordingAccess.h"
#include "tuners/SigBase.h"
#include "tuners/SigBaseTrace.h"
#include "tuners/PllTunerModule.h"
#include "hwsim/chips/PllTuner.h"
#include "platform/runtime.h"

namespace {

std::unique_ptr<CTunerBase> MakeModule(long model, CCustomDataAccess* access)
{
    return std::unique_ptr<CTunerBase>(FindTunerCreator(model)(access));
}

// The picture carrier a recorded PLL write selects, for a module of IF 38900.
double TunedKHz(const std::vector<BYTE>& write)
{
    return ((write[1] << 8) | write[2]) * 62.5 - 38900.0;
}

// A PLL module on a simulated bus, the card's decoder lock following the PLL's capture window.
struct PllOnBus {
    explicit PllOnBus(std::vector<hwsim::Station> stations, long model = 4)
        : rf(std::move(stations)), pll(rf, hwsim::PllTuner::Options()), access(bus), card([this] { return pll.Locked(); })
    {
        bus.Attach(&pll);
        access.picture = [this] { return pll.Locked(); };
        tuner = MakeModule(model, &access);
        tuner->SetOwnerCard(&card);
    }
    ~PllOnBus()
    {
        tuner.reset();
        bus.Detach(&pll);
    }

    hwsim::RfEnvironment rf;
    hwsim::PllTuner pll;
    hwsim::I2CBus bus;
    BusAccess access;
    DecoderCard card;
    std::unique_ptr<CTunerBase> tuner;
};

// A module-4 tuner whose card never reports a lock, with the one-entry table 471.25 MHz and its
// scan messages going to `window`.
struct NeverLockingOneEntryScan {
    NeverLockingOneEntryScan() : tuner(MakeModule(4, &access)), never({{S_OK, 0}})
    {
        tuner->SetOwnerCard(&never);
        const float table[1] = {471.25f};
        tuner->SetChannelTable(table, 1);
        tuner->SetNotifyWindow(window.Window());
    }

    RecordingAccess access;
    std::unique_ptr<CTunerBase> tuner;
    ScriptedCard never;
    ScanRecorder window;
};

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
const double kRealTimeLimit = 20.0;  // the sanitizers slow every step down
#else
const double kRealTimeLimit = 1.0;
#endif

}  // namespace

TEST(ChannelTableScan, FindsExactlyTheTenStationsOnAirWithinASecondOfRealTime)
{
    const long onAir[10] = {49750, 65750, 112250, 176250, 216250, 471250, 527250, 607250, 759250, 863250};
    std::vector<hwsim::Station> stations;
    for (long kHz : onAir) stations.push_back({kHz, "station"});
    PllOnBus card(stations);
    ScanRecorder window;
    card.tuner->SetNotifyWindow(window.Window());

    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(card.tuner->StartScan(TRUE, FALSE));
    EXPECT_TRUE(card.tuner->IsScanning());
    ASSERT_TRUE(window.WaitForEnd());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    ASSERT_EQ(window.steps.size(), 95u);
    std::vector<long> found;
    for (const auto& step : window.steps)
        if (step.found != 0) found.push_back(static_cast<long>(step.kHz));
    EXPECT_EQ(found, std::vector<long>(std::begin(onAir), std::end(onAir)));
    EXPECT_EQ(window.ends, 1);
    EXPECT_FALSE(card.tuner->IsScanning());
    EXPECT_LT(seconds, kRealTimeLimit);
}

TEST(ChannelTableScan, PostsTheTryAtWhichLockWasSeenAndEntriesOutsideTheBandUntuned)
{
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);
    // Try at the nominal frequency: no lock (asked twice); at -62.5: lock, then the found reading.
    ScriptedCard locks({{S_OK, 0}, {S_OK, 0}, {S_OK, 1}, {S_OK, 1}});
    tuner->SetOwnerCard(&locks);
    const float table[2] = {49.75f, 30.0f};
    tuner->SetChannelTable(table, 2);
    ScanRecorder window;
    tuner->SetNotifyWindow(window.Window());
    ASSERT_TRUE(tuner->StartScan(TRUE, FALSE));
    ASSERT_TRUE(window.WaitForEnd());
    ASSERT_EQ(window.steps.size(), 2u);
    EXPECT_EQ(window.steps[0].kHz, 49687u);
    EXPECT_EQ(window.steps[0].found, 1);
    EXPECT_EQ(window.steps[1].kHz, 30000u);
    EXPECT_EQ(window.steps[1].found, 0);
    EXPECT_EQ(access.BlockWrites().size(), 2u);  // two tries, nothing for the second entry
}

TEST(ChannelTableScan, TriesTheWindowOutwardsAlternatingSides)
{
    NeverLockingOneEntryScan scan;
    auto& tuner = scan.tuner;
    auto& access = scan.access;
    auto& window = scan.window;
    ASSERT_TRUE(tuner->StartScan(TRUE, FALSE));
    ASSERT_TRUE(window.WaitForEnd());
    auto writes = access.BlockWrites();
    ASSERT_EQ(writes.size(), 10u);  // offsets 0, -62.5, +125, ..., -562.5
    const double offsets[10] = {0, -62.5, 125, -187.5, 250, -312.5, 375, -437.5, 500, -562.5};
    for (size_t i = 0; i < writes.size(); ++i) EXPECT_NEAR(TunedKHz(writes[i]), 471250 + offsets[i], 62.5) << i;
    ASSERT_EQ(window.steps.size(), 1u);
    EXPECT_EQ(window.steps[0].kHz, 471250u);
    EXPECT_EQ(window.steps[0].found, 0);
}

TEST(ChannelTableScan, AnEmptyTablePostsOnlyTheEnd)
{
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);
    const float none[1] = {0};
    EXPECT_TRUE(tuner->SetChannelTable(none, 0));
    ScanRecorder window;
    tuner->SetNotifyWindow(window.Window());
    ASSERT_TRUE(tuner->StartScan(TRUE, FALSE));
    ASSERT_TRUE(window.WaitForEnd());
    EXPECT_TRUE(window.steps.empty());
    EXPECT_EQ(window.ends, 1);
}

TEST(ChannelTableScan, WorksOnItsOwnCopyWhenTheCallerReplacesTheTable)
{
    PllOnBus card({{49750, "a"}});
    auto first = std::make_unique<float[]>(3);
    first[0] = 49.75f;
    first[1] = 57.75f;
    first[2] = 65.75f;
    card.tuner->SetChannelTable(first.get(), 3);
    ScanRecorder window;
    card.tuner->SetNotifyWindow(window.Window());
    ASSERT_TRUE(card.tuner->StartScan(TRUE, FALSE));
    const float second[1] = {100.0f};
    card.tuner->SetChannelTable(second, 1);
    first.reset();
    ASSERT_TRUE(window.WaitForEnd());
    ASSERT_EQ(window.steps.size(), 3u);
    EXPECT_EQ(window.steps[2].kHz, 65750u);
}

TEST(BandSweep, PostsGridPositionsAndSkipsOnFromAFind)
{
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);
    // The decoder sees a picture within 300 kHz of 104000.
    access.videoStatus = [&access] {
        auto writes = access.BlockWrites();
        return DWORD(!writes.empty() && std::abs(TunedKHz(writes.back()) - 104000.0) <= 300.0 ? 1 : 0);
    };
    ASSERT_TRUE(tuner->SetSweepRange(100000, 110000));
    ASSERT_TRUE(tuner->SetSweepParams(3500, 1000));
    ScanRecorder window;
    tuner->SetNotifyWindow(window.Window());
    ASSERT_TRUE(tuner->StartScan(TRUE, TRUE));
    ASSERT_TRUE(window.WaitForEnd());
    const WPARAM positions[5] = {100000, 102000, 104000, 107500, 109500};
    ASSERT_EQ(window.steps.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(window.steps[i].kHz, positions[i]) << i;
        EXPECT_EQ(window.steps[i].found, i == 2 ? 1 : 0) << i;
    }
}

TEST(BandSweep, ClampsReportedPositionsToTheHighestFrequency)
{
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);
    ASSERT_TRUE(tuner->SetSweepRange(860000, 870000));
    ScanRecorder window;
    tuner->SetNotifyWindow(window.Window());
    ASSERT_TRUE(tuner->StartScan(TRUE, TRUE));
    ASSERT_TRUE(window.WaitForEnd());
    const WPARAM positions[5] = {860000, 862000, 863250, 863250, 863250};
    ASSERT_EQ(window.steps.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(window.steps[i].kHz, positions[i]) << i;
}

TEST(BandSweep, EqualLowAndHighPostNoStep)
{
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);
    tuner->SetScanDone(FALSE);
    ScanRecorder window;
    tuner->SetNotifyWindow(window.Window());
    CSigBase worker(tuner.get());
    worker.SetFullBand(TRUE);
    worker.SetSweepRange(100000, 100000);
    worker.Resume();
    ASSERT_TRUE(window.WaitForEnd());
    EXPECT_TRUE(window.steps.empty());
    EXPECT_TRUE(access.Calls().empty());
}

TEST(FMScan, PostsEveryStepOfTheRangeWhenNothingIsFound)
{
    PllOnBus card({}, 9);  // FM 87000-108000
    ScanRecorder window;
    card.tuner->SetNotifyWindow(window.Window());
    ASSERT_TRUE(card.tuner->StartScan(FALSE, FALSE));
    ASSERT_TRUE(window.WaitForEnd());
    ASSERT_EQ(window.steps.size(), 211u);
    EXPECT_EQ(window.steps.front().kHz, 87000u);
    EXPECT_EQ(window.steps.back().kHz, 108000u);
    for (const auto& step : window.steps) EXPECT_EQ(step.found, 0);
}

namespace {

// A module whose FM status read reports success without always giving a status, as some
// modules' reads do: only the first read gives one.
class ForgetfulFMTuner : public CPllTunerModule {
public:
    explicit ForgetfulFMTuner(CCustomDataAccess* access) : CPllTunerModule(access, *FindTunerModuleRow(9)) {}
    ~ForgetfulFMTuner() override { StopScan(); }
    BOOL GetFMChannelOkay(DWORD* status) override
    {
        if (m_reads++ == 0) *status = GetFMLockValue();
        return TRUE;
    }

private:
    int m_reads = 0;
};

}  // namespace

TEST(FMScan, AReadThatLeavesTheStatusAloneIsNeverTheLockOfThePreviousStep)
{
    RecordingAccess access;
    ForgetfulFMTuner tuner(&access);
    ASSERT_TRUE(tuner.SetFMScanRange(87000, 88000));
    ASSERT_TRUE(tuner.SetFMWait(500));
    ScanRecorder window;
    tuner.SetNotifyWindow(window.Window());
    ASSERT_TRUE(tuner.StartScan(FALSE, FALSE));
    ASSERT_TRUE(window.WaitForEnd());
    ASSERT_EQ(window.steps.size(), 7u);  // 87000 found, then 87500 ... 88000 by 100
    EXPECT_EQ(window.steps[0].found, 1);
    EXPECT_EQ(window.steps[1].kHz, 87500u);
    for (size_t i = 1; i < window.steps.size(); ++i) EXPECT_EQ(window.steps[i].found, 0) << i;
}

TEST(ScanControl, StartRefusesWhileScanningAndFMOnATunerWithoutFM)
{
    RecordingAccess access;
    auto tv = MakeModule(60, &access);  // stores an FM range but has no FM receiver
    EXPECT_FALSE(tv->StartScan(FALSE, FALSE));
    EXPECT_FALSE(tv->IsScanning());

    ScriptedCard never({{S_OK, 0}});
    tv->SetOwnerCard(&never);
    ScanRecorder window;
    tv->SetNotifyWindow(window.Window());
    ASSERT_TRUE(tv->StartScan(TRUE, FALSE));
    EXPECT_FALSE(tv->StartScan(TRUE, FALSE));
    tv->StopScan();
    EXPECT_FALSE(tv->IsScanning());
}

TEST(ScanControl, StopEndsTheScanWithOneEndMessageAndJoinsTheWorker)
{
    const int threadsBefore = platform::LiveThreadCount();
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);
    ScriptedCard never({{S_OK, 0}});
    tuner->SetOwnerCard(&never);
    ScanRecorder window;
    tuner->SetNotifyWindow(window.Window());
    ASSERT_TRUE(tuner->StartScan(TRUE, FALSE));
    while (window.steps.size() < 3) {
        MSG msg;
        ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
        DispatchMessageA(&msg);
    }
    tuner->StopScan();
    EXPECT_FALSE(tuner->IsScanning());
    EXPECT_EQ(platform::LiveThreadCount(), threadsBefore);
    window.Pump();
    EXPECT_EQ(window.ends, 1);
    EXPECT_LT(window.steps.size(), 95u);
    EXPECT_GE(window.steps.size(), 3u);
}

TEST(ScanControl, AnFMScanAfterAFinishedTVScanIsReportedAsScanning)
{
    PllOnBus card({}, 9);
    const float table[1] = {49.75f};
    card.tuner->SetChannelTable(table, 1);
    ScanRecorder window;
    card.tuner->SetNotifyWindow(window.Window());
    ASSERT_TRUE(card.tuner->StartScan(TRUE, FALSE));
    ASSERT_TRUE(window.WaitForEnd());
    EXPECT_FALSE(card.tuner->IsScanning());

    window.ends = 0;
    ASSERT_TRUE(card.tuner->StartScan(FALSE, FALSE));
    EXPECT_TRUE(card.tuner->IsScanning());
    ASSERT_TRUE(window.WaitForEnd());
    EXPECT_FALSE(card.tuner->IsScanning());
}

TEST(ScanControl, AWorkerWhoseInitFailsStillEndsTheScan)
{
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);  // no FM: the FM worker's OnInit refuses
    tuner->SetScanDone(FALSE);
    ScanRecorder window;
    tuner->SetNotifyWindow(window.Window());
    {
        CFMScanThread worker(tuner.get());
        worker.Resume();
        ASSERT_TRUE(window.WaitForEnd());
    }
    EXPECT_TRUE(window.steps.empty());
    EXPECT_EQ(window.ends, 1);
    EXPECT_FALSE(tuner->IsScanning());
}

TEST(ScanControl, SettersReachARunningWorkerAndChecksHappenBeforeForwarding)
{
    NeverLockingOneEntryScan scan;
    auto& tuner = scan.tuner;
    auto& access = scan.access;
    auto& window = scan.window;
    tuner->SetSearchWindow(200);  // offsets 0, -62.5, +125, -187.5
    tuner->SetSettleTime(5);
    ASSERT_TRUE(tuner->StartScan(TRUE, FALSE));
    ASSERT_TRUE(window.WaitForEnd());
    EXPECT_EQ(access.BlockWrites().size(), 4u);
    EXPECT_EQ(tuner->GetSettleTime(), 5);
}

// ---- window searches on a worker that is not started ----

TEST(AfcSearch, WalksByTheAfcCodeToTheStationAndConfirmsTheLock)
{
    PllOnBus card({{471250, "C21"}});
    CSigBase worker(card.tuner.get());
    worker.SetSettleTime(1);
    float freq = 0;
    DWORD found = 0;
    EXPECT_TRUE(worker.AfcSearch(470000.0f, 472000.0f, 300000.0f, &freq, &found));
    EXPECT_EQ(found, 1u);
    EXPECT_NEAR(freq, 471250.0f, 31.25f);
}

TEST(AfcSearch, EndsABounceAtTheFirstRepeatAndReportsItsLockConfirmation)
{
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);  // AFC values 4, 3, 2, 1, 0
    ScriptedCard noDecoder({{E_FAIL, 0}});
    tuner->SetOwnerCard(&noDecoder);
    // Below 500000 kHz the PLL says "go up a little" (3), above it "go down a little" (1).
    access.statusByte = [&access] {
        auto writes = access.BlockWrites();
        return BYTE(0x40 | (TunedKHz(writes.back()) < 500000.0 ? 3 : 1));
    };
    CSigBase worker(tuner.get());
    worker.SetSettleTime(1);
    float freq = 0;
    DWORD found = 7;
    EXPECT_TRUE(worker.AfcSearch(499937.5f, 501000.0f, 100.0f, &freq, &found));
    EXPECT_TRUE(platform::TraceContains("Dead lock happened and killed!\n"));
    EXPECT_EQ(found, 0u);  // the PLL never gave the lock value
    EXPECT_FLOAT_EQ(freq, 500000.0f);  // 500000 -> 500062.5 -> 500000 again
}

TEST(AfcSearch, RefusesAnEmptyOrNonFiniteWindow)
{
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);
    CSigBase worker(tuner.get());
    float freq = 0;
    DWORD found = 5;
    EXPECT_FALSE(worker.AfcSearch(500000.0f, 500000.0f, 500000.0f, &freq, &found));
    EXPECT_EQ(found, 0u);
    EXPECT_FALSE(worker.AfcSearch(-INFINITY, INFINITY, 500000.0f, &freq, &found));
    EXPECT_FALSE(worker.FineSearch(NAN, 500000.0f, 499000.0f, &freq, &found));
    EXPECT_TRUE(access.Calls().empty());
}

TEST(ConfirmLock, WithoutTheDecoderNeedsThreePllReadsAtTheLockValue)
{
    RecordingAccess access;
    auto tuner = MakeModule(4, &access);
    ScriptedCard noDecoder({{E_FAIL, 0}});
    tuner->SetOwnerCard(&noDecoder);
    CSigBase worker(tuner.get());
    DWORD status = 0;
    access.statusByte = [] { return BYTE(0x42); };
    EXPECT_TRUE(worker.ConfirmLock(&status));
    int reads = 0;
    access.statusByte = [&reads] { return BYTE(++reads < 3 ? 0x42 : 0x43); };
    EXPECT_FALSE(worker.ConfirmLock(&status));
    EXPECT_EQ(reads, 3);

    ScriptedCard decoder({{S_OK, 1}});
    tuner->SetOwnerCard(&decoder);
    access.Clear();
    EXPECT_TRUE(worker.ConfirmLock(&status));
    EXPECT_TRUE(access.Calls().empty());
}

TEST(ScanControl, TheOwnerMayChangeEveryParameterWhileAScanRuns)
{
    PllOnBus card({{49750, "C1"}, {471250, "C21"}});
    ScanRecorder window;
    card.tuner->SetNotifyWindow(window.Window());
    ASSERT_TRUE(card.tuner->StartScan(TRUE, FALSE));
    long count = 0;
    const float* table = CTunerBase::DefaultChannelTable(&count);
    for (int round = 0; window.ends == 0 && round < 100000; ++round) {
        card.tuner->SetSearchWindow(625);
        card.tuner->SetSearchStep(125);
        card.tuner->SetSettleTime(60);
        card.tuner->SetChannelTable(table, count);
        card.tuner->SetFMStep(100);
        card.tuner->SetFMWait(100);
        card.tuner->SetSweepParams(3500, 1000);
        card.tuner->SetSweepRange(48250, 863250);
        card.tuner->SetNotifyWindow(window.Window());
        card.tuner->IsScanning();
        window.Pump();
        Sleep(20);
    }
    ASSERT_EQ(window.ends, 1);
    EXPECT_EQ(window.steps.size(), 95u);
    EXPECT_FALSE(card.tuner->IsScanning());
}

TEST(SigBaseTrace, TracesTheCounterWhenMadeAndWhenItGoesWhileTheCounterIsNotZero) {
    int counter = 3;
    platform::ClearTrace();
    { CSigBaseTrace trace(&counter); }
    EXPECT_TRUE(platform::TraceContains("Construct SigBase:3 \n"));
    EXPECT_TRUE(platform::TraceContains("Kill SigBase:3 \n"));
    counter = 0;
    platform::ClearTrace();
    { CSigBaseTrace trace(&counter); }
    EXPECT_TRUE(platform::TraceContains("Construct SigBase:0 \n"));
    EXPECT_FALSE(platform::TraceContains("Kill SigBase"));
}
