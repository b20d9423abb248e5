// The Xceive tuners end to end: a card object on the KS-property board "713x_4 TV Card Capture"
// with an Xceive tuner fitted, the tuner made by the card's factory, every request through the
// real access class, the capture filter and the simulated driver into the simulated chip. The
// direct path (kind 0) runs over an access object that sends the tuner's buffers whole.
#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <memory>
#include <string>

#include "cards/saa713x/QelCardFilter.h"
#include "support/CardBench.h"
#include "support/DirectBusAccess.h"
#include "support/RelayAccess.h"
#include "tuners/TunerModules.h"
#include "tuners/XCeive2028.h"
#include "tuners/XCeive3028.h"
#include "tuners/XCeive3028_SIF.h"
#include "hwsim/chips/XceiveTuner.h"

namespace {

constexpr float kStation = 863250.0f;  // on air
constexpr float kQuiet = 42750.0f;     // nothing there

// A card object whose video decoder is the board's capture filter.
class XcCard : public TestCard<CTVCardFilter> {
public:
    void UseCaptureFilter(IBaseFilter* filter) { m_pFilter = filter; }
};

// Which road a test takes: the tuner model, the card's access kind, and the table it loads.
struct Road {
    const char* name;
    int model;
    int kind;
    bool soundIf;
    bool everyRow = true;  // else one standard per pair of lists the table loads
};

std::ostream& operator<<(std::ostream& out, const Road& road) { return out << road.name; }

class XceiveBoard : public CardBench {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));  // the device enumerator finds the capture filter
        LoadModel(91);
    }

    void LoadModel(int model)
    {
        Load((R"({"cards": [{"kind": "713x_4 TV Card Capture", "tuner": )" + std::to_string(model) +
              R"(}], "stations": [{"kHz": 863250}, {"kHz": 471250}]})")
                 .c_str());
    }

    hwsim::Card& BoardOf() { return Board(0); }
    hwsim::XceiveTuner& Chip() { return *dynamic_cast<hwsim::XceiveTuner*>(BoardOf().Chip("tuner")); }

    // A card of the kind with the model's tuner made by its factory; the KS-property access
    // (the direct access for kind 0) behind a relay that logs every request.
    void MakeCard(int kind, int model)
    {
        CCustomDataAccess* inner =
            kind == long(XcAccessKind::Direct) ? static_cast<CCustomDataAccess*>(new DirectBusAccess(BoardOf())) : NewAccess(BoardOf());
        relay = new RelayAccess(inner);
        card = std::make_unique<XcCard>();
        card->Bind(relay, kind);
        CComPtr<IBaseFilter> capture;
        ASSERT_EQ(S_OK, CRootFilter::BindDeviceByName(CLSID_VideoInputDeviceCategory, BoardOf().FriendlyName(), &capture));
        card->UseCaptureFilter(capture);
        ASSERT_TRUE(card->SetTunerModel(model));
        tuner = dynamic_cast<CXCeiveTuner*>(card->GetTuner());
        ASSERT_NE(tuner, nullptr);
    }
    void MakeCard(const Road& road)
    {
        LoadModel(road.model);
        MakeCard(road.kind, road.model);
    }
    void TearDown() override
    {
        card.reset();
        CardBench::TearDown();
        CoUninitialize();
    }

    std::unique_ptr<XcCard> card;
    RelayAccess* relay = nullptr;  // owned by the card
    CXCeiveTuner* tuner = nullptr;  // owned by the card
};

// ---- the factory ----

TEST_F(XceiveBoard, FactoryMakesEachClassWhichAnswersAtC3WithoutFirmware)
{
    struct Case {
        int model;
        std::function<bool(CTunerBase*)> is;
    };
    const Case cases[] = {
        {90, [](CTunerBase* t) { return dynamic_cast<CTuner_E90*>(t) != nullptr; }},
        {91, [](CTunerBase* t) { return dynamic_cast<CXCeive2028*>(t) != nullptr && !dynamic_cast<CTuner_E90*>(t); }},
        {136, [](CTunerBase* t) { return dynamic_cast<CXCeive3028*>(t) != nullptr; }},
        {137, [](CTunerBase* t) { return dynamic_cast<CXCeive3028_SIF*>(t) != nullptr; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        card.reset();
        LoadModel(c.model);
        BoardOf().Bus().ClearLog();
        MakeCard(2, c.model);
        EXPECT_TRUE(c.is(tuner));
        EXPECT_EQ(tuner->GetModelCode(), c.model);
        EXPECT_EQ(tuner->GetReadAddress(), 0xC3);  // found where it should be: no search
        EXPECT_EQ(tuner->GetWriteAddress(), 0xC2);
        const auto log = BoardOf().Bus().Log();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].Text(), "C3 R 00");
        EXPECT_FALSE(Chip().Tunable());
        // The module table hands the same class out.
        std::unique_ptr<CTunerBase> made(FindTunerCreator(c.model)(nullptr));
        EXPECT_TRUE(c.is(made.get()));
    }
}

// ---- every standard of every road ----

class XceiveRoad : public XceiveBoard, public testing::WithParamInterface<Road> {};

const Road kRoads[] = {
    {"Model91Kind2", 91, 2, false},      {"Model91Kind12", 91, 12, false}, {"Model91Kind14", 91, 14, false},
    {"Model91Kind13", 91, 13, true},     {"Model91Direct", 91, long(XcAccessKind::Direct), true},
    {"Model90Kind2", 90, 2, false, false}, {"Model136Kind2", 136, 2, false, false},
    {"Model137Kind2", 137, 2, true, false},
};

INSTANTIATE_TEST_SUITE_P(Roads, XceiveRoad, testing::ValuesIn(kRoads),
                         [](const testing::TestParamInfo<Road>& info) { return std::string(info.param.name); });

// The standards of the two tables, single bits each, with the base and the patch each loads
// from the standard table and from the sound-IF table.
struct StandardLists {
    long standard;
    const char* base;
    const char* patch;
    const char* soundIfPatch;
};
constexpr const char* kNtsc = "XcBaseNtsc";
constexpr const char* kPalSecam = "XcBasePalSecam";
const StandardLists kEveryStandard[] = {
    {AnalogVideo_NTSC_M, kNtsc, "XcPatchMn", "XcPatchSifMn"},
    {AnalogVideo_NTSC_M_J, kNtsc, "XcPatchMn", "XcPatchSifMn"},
    {AnalogVideo_NTSC_433, kNtsc, "XcPatchMn", "XcPatchSifMn"},
    {AnalogVideo_PAL_H, kNtsc, "XcPatchMn", "XcPatchSifMn"},
    {AnalogVideo_PAL_M, kNtsc, "XcPatchMn", "XcPatchSifMn"},
    {AnalogVideo_PAL_N, kNtsc, "XcPatchMn", "XcPatchSifMn"},
    {AnalogVideo_PAL_60, kNtsc, "XcPatchMn", "XcPatchSifMn"},
    {AnalogVideo_PAL_B, kPalSecam, "XcPatchPalBg", "XcPatchSifBgi"},
    {AnalogVideo_PAL_G, kPalSecam, "XcPatchPalBg", "XcPatchSifBgi"},
    {AnalogVideo_PAL_D, kPalSecam, "XcPatchDk", "XcPatchSifBgi"},
    {AnalogVideo_SECAM_D, kPalSecam, "XcPatchDk", "XcPatchSifDk"},
    {AnalogVideo_SECAM_H, kPalSecam, "XcPatchDk", "XcPatchSifDk"},
    {AnalogVideo_SECAM_K, kPalSecam, "XcPatchDk", "XcPatchSifDk"},
    {AnalogVideo_SECAM_K1, kPalSecam, "XcPatchDk", "XcPatchSifDk"},
    {AnalogVideo_PAL_I, kPalSecam, "XcPatchPalI", "XcPatchSifBgi"},
    {AnalogVideo_SECAM_B, kPalSecam, "XcPatchSecamBgL", "XcPatchSifBgi"},
    {AnalogVideo_SECAM_G, kPalSecam, "XcPatchSecamBgL", "XcPatchSifBgi"},
    {AnalogVideo_SECAM_L, kPalSecam, "XcPatchSecamBgL", "XcPatchSifL"},
    {AnalogVideo_SECAM_L1, kPalSecam, "XcPatchSecamBgL", "XcPatchSifL"},
};
// One standard of each patch of either table.
const long kOnePerPatch[] = {AnalogVideo_NTSC_M, AnalogVideo_PAL_B, AnalogVideo_PAL_D, AnalogVideo_PAL_I,
                             AnalogVideo_SECAM_B, AnalogVideo_SECAM_K, AnalogVideo_SECAM_L};

// The road's table holds exactly these standards, with these lists, and every standard the
// tuner lists (PAL_G aside, which it does not list); the chip knows which standards each patch
// serves, so a load it does not take fails here too.
TEST_P(XceiveRoad, EveryStandardLoadsItsBaseAndPatchIntoTheChip)
{
    MakeCard(GetParam());
    const auto table = GetParam().soundIf ? XcSoundIfTable() : XcStandardTable();
    EXPECT_EQ(table.size(), std::size(kEveryStandard));
    const std::vector<long>& supported = tuner->GetSupportedStandards();
    EXPECT_EQ(supported.size(), 18u);
    EXPECT_EQ(std::count(supported.begin(), supported.end(), AnalogVideo_PAL_G), 0);
    for (const StandardLists& row : kEveryStandard) {
        SCOPED_TRACE(row.standard);
        const char* patch = GetParam().soundIf ? row.soundIfPatch : row.patch;
        const XcStandardRow* held = FindXcStandard(table, row.standard);
        ASSERT_NE(held, nullptr);
        EXPECT_STREQ(held->base->name, row.base);
        EXPECT_STREQ(held->patch->name, patch);
        if (row.standard != AnalogVideo_PAL_G) {
            EXPECT_EQ(std::count(supported.begin(), supported.end(), row.standard), 1);
        }
        if (!GetParam().everyRow && std::find(std::begin(kOnePerPatch), std::end(kOnePerPatch), row.standard) ==
                                        std::end(kOnePerPatch)) {
            continue;
        }
        EXPECT_TRUE(card->SetTunerStandard(row.standard));
        EXPECT_EQ(Chip().Base(), row.base);
        EXPECT_EQ(Chip().Patch(), patch);
        EXPECT_TRUE(Chip().ServesStandard(row.standard)) << Chip().Patch() << " " << Chip().LoadError();
    }
}

TEST_P(XceiveRoad, LocksOnlyAfterACompleteLoadAndOnlyWhereAStationIs)
{
    const Road& road = GetParam();
    MakeCard(road);
    DWORD status = 9;
    ASSERT_TRUE(card->SetTVChannelFreq(kStation));
    EXPECT_EQ(Chip().FrequencyWord(), 0xD7D0);
    EXPECT_FALSE(card->GetTunerStatus());  // no firmware yet
    card->GetTVChannelStatus(&status);
    EXPECT_EQ(status, 0u);

    ASSERT_TRUE(card->SetTunerStandard(AnalogVideo_PAL_I));
    ASSERT_TRUE(card->SetTVChannelFreq(kStation));
    relay->Clear();
    EXPECT_TRUE(card->GetTunerStatus());
    EXPECT_TRUE(card->GetTVChannelStatus(&status));
    EXPECT_EQ(status, 1u);
    DWORD locked = 0;
    EXPECT_TRUE(tuner->GetSignalLocked(&locked));
    EXPECT_EQ(locked, 1u);

    // The road the lock took.
    const bool bridgeTV = road.kind == 12 || road.kind == 14 || road.model == 136;
    const bool bridgeSignal = !road.soundIf;
    const auto bridgeReads = relay->Calls(RelayCall::ReadBridgeReg);
    const auto registerReads = relay->Calls(RelayCall::ReadBlock);
    EXPECT_EQ(bridgeReads.size(), (bridgeTV ? 2u : 0u) + (bridgeSignal ? 1u : 0u));
    for (const RelayCall& call : bridgeReads) EXPECT_EQ(call.bytes, std::vector<BYTE>{0x3A});
    EXPECT_EQ(registerReads.size(), bridgeTV ? 0u : 2u);
    for (const RelayCall& call : registerReads)
        EXPECT_EQ(call.bytes, road.kind == long(XcAccessKind::Direct) ? std::vector<BYTE>({0x00, 0x00})
                                                          : std::vector<BYTE>({0xC2, 0x00, 0x00, 0x00}));

    ASSERT_TRUE(card->SetTVChannelFreq(kQuiet));
    EXPECT_EQ(Chip().FrequencyWord(), 0x0AB0);
    EXPECT_FALSE(card->GetTunerStatus());
    EXPECT_TRUE(tuner->GetSignalLocked(&locked));
    EXPECT_EQ(locked, 0u);
}

// ---- firmware operations ----

TEST_F(XceiveBoard, InitFirmwareLeavesTheNtscBaseWithTheBgiSoundIfPatch)
{
    MakeCard(2, 91);
    ASSERT_TRUE(tuner->InitFirmware());
    EXPECT_EQ(Chip().Base(), "XcBaseNtsc");
    EXPECT_EQ(Chip().Patch(), "XcPatchSifBgi");
    EXPECT_TRUE(Chip().Tunable());
    // Its own pulse, then the base's reset record: each 200 ms on the clock.
    const auto pulses = Chip().ResetPulses();
    ASSERT_EQ(pulses.size(), 2u);
    for (const auto& pulse : pulses) EXPECT_EQ(pulse.HeldMs(), 200u);
    EXPECT_GE(pulses[1].assertedAt - pulses[0].releasedAt, 100u);
}

TEST_F(XceiveBoard, TheSoundIfClassPulsesReset20msAndStatusAroundEveryTuning)
{
    LoadModel(137);
    MakeCard(2, 137);
    ASSERT_TRUE(card->SetTunerStandard(AnalogVideo_SECAM_K));
    EXPECT_EQ(Chip().Patch(), "XcPatchSifDk");
    for (const auto& pulse : Chip().ResetPulses()) EXPECT_EQ(pulse.HeldMs(), 20u);
    relay->Clear();
    ASSERT_TRUE(card->SetTVChannelFreq(kStation));
    const auto status = relay->Calls(RelayCall::GetStatus);
    ASSERT_EQ(status.size(), 2u);  // the KS-property access sends nothing for them
    EXPECT_EQ(status[1].at - status[0].at, 200u);
    EXPECT_TRUE(card->GetTunerStatus());
}

TEST_F(XceiveBoard, ResetHoldsTheChipUntilTheNextPulse)
{
    MakeCard(2, 91);
    ASSERT_TRUE(card->SetTunerStandard(AnalogVideo_NTSC_M));
    ASSERT_TRUE(Chip().Tunable());
    ASSERT_TRUE(dynamic_cast<CXCeive2028*>(tuner)->Reset());
    EXPECT_TRUE(Chip().InReset());
    EXPECT_FALSE(Chip().Tunable());
    EXPECT_FALSE(card->SetTVChannelFreq(kStation));  // the chip answers nothing
    EXPECT_FALSE(tuner->ProbeRead());
    platform::AdvanceClock(5000);
    EXPECT_TRUE(Chip().InReset());
    ASSERT_TRUE(card->SetTunerStandard(AnalogVideo_PAL_H));  // PAL_H loads as PAL_M does
    EXPECT_EQ(Chip().Base(), "XcBaseNtsc");
    EXPECT_EQ(Chip().Patch(), "XcPatchMn");
    ASSERT_TRUE(card->SetTVChannelFreq(kStation));
    EXPECT_TRUE(card->GetTunerStatus());
    EXPECT_TRUE(tuner->ProbeRead());
}

TEST_F(XceiveBoard, AChunkFailureAnywhereStopsTheLoadAndLeavesTheChipUntunable)
{
    MakeCard(2, 91);
    // The PAL/SECAM base goes out in 1001 chunks (953 small records, one in 48), its D/K patch
    // in 23 more.
    for (int chunk : {0, 1, 477, 1000, 1001, 1023}) {
        SCOPED_TRACE(chunk);
        Chip().NackTransfers(chunk);
        relay->Clear();
        EXPECT_FALSE(card->SetTunerStandard(AnalogVideo_PAL_D));
        EXPECT_FALSE(Chip().Tunable());
        EXPECT_TRUE(Chip().Patch().empty());
        const auto writes = relay->Calls(RelayCall::WriteBlock);
        ASSERT_GT(writes.size(), static_cast<size_t>(chunk));
        EXPECT_NE(writes[chunk].hr, S_OK);
        // The failed load went no further; after a failed base the standard table still sends
        // the patch, which the chip refuses.
        const bool inBase = chunk < 1001;
        EXPECT_EQ(writes.size(), static_cast<size_t>(chunk) + 1 + (inBase ? 23 : 0));
        Chip().ClearFaults();
    }
    ASSERT_TRUE(card->SetTunerStandard(AnalogVideo_PAL_D));
    EXPECT_TRUE(Chip().Tunable());
}

TEST_F(XceiveBoard, AStandardNotInTheTableResetsTheChipOnTheStandardRoadAndTouchesNothingOnTheSoundIfRoad)
{
    MakeCard(2, 91);
    ASSERT_TRUE(card->SetTunerStandard(AnalogVideo_PAL_B));
    EXPECT_FALSE(card->SetTunerStandard(AnalogVideo_PAL_N_COMBO));
    EXPECT_FALSE(Chip().Tunable());
    EXPECT_TRUE(Chip().Base().empty());

    card.reset();
    MakeCard(13, 91);
    ASSERT_TRUE(card->SetTunerStandard(AnalogVideo_PAL_B));
    relay->Clear();
    EXPECT_FALSE(card->SetTunerStandard(AnalogVideo_PAL_B | AnalogVideo_PAL_G));
    EXPECT_TRUE(relay->Calls().empty());
    EXPECT_TRUE(Chip().Tunable());
    EXPECT_EQ(Chip().Patch(), "XcPatchSifBgi");
}

TEST_F(XceiveBoard, APatchWithoutItsBaseLeavesTheChipUntunable)
{
    MakeCard(2, 91);
    ASSERT_TRUE(tuner->PulseReset());
    EXPECT_TRUE(tuner->LoadFirmware(&XcPatchMn));  // the bus took it all
    EXPECT_FALSE(Chip().Tunable());
    EXPECT_FALSE(Chip().LoadError().empty());

    ASSERT_TRUE(tuner->LoadFirmware(&XcBasePalSecam));  // begins with its own reset
    EXPECT_TRUE(tuner->LoadFirmware(&XcPatchMn));       // a standard patch of the other family
    EXPECT_FALSE(Chip().Tunable());
    EXPECT_EQ(Chip().Base(), "");
}

TEST_F(XceiveBoard, ATuningFromAnotherThreadWaitsForTheFirmwareLoad)
{
    MakeCard(2, 91);
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* arg) -> DWORD { return static_cast<CTunerBase*>(arg)->SetVideoStandard(AnalogVideo_PAL_I) ? 0 : 1; },
        tuner, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    while (relay->Calls(RelayCall::WriteBlock).empty()) Sleep(1);
    EXPECT_TRUE(tuner->SetTVChannelFreq(kStation));
    WaitForSingleObject(thread, INFINITE);
    DWORD code = 9;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    EXPECT_EQ(code, 0u);
    // The tuning came after the last chunk of the patch, not between two chunks.
    const auto writes = relay->Calls(RelayCall::WriteBlock);
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[writes.size() - 2].bytes, (std::vector<BYTE>{0xC2, 0x00, 0x02, 0x00, 0x00}));
    EXPECT_EQ(writes.back().bytes, (std::vector<BYTE>{0xC2, 0x00, 0x00, 0xD7, 0xD0}));
    EXPECT_TRUE(card->GetTunerStatus());
}

// ---- the station's road: the EEPROM names the tuner, the graph opens the card ----

TEST_F(XceiveBoard, ACardOpenedThroughTheGraphTunesItsXceiveTunerToAStation)
{
    Poke(BoardOf(), 0x20, {'E', 91});
    CTVCardFilter* opened = OpenCard(BoardOf());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->GetAccessKind(), ACCESS_KIND_QEL);
    ASSERT_NE(dynamic_cast<CXCeive2028*>(opened->GetTuner()), nullptr);
    ASSERT_TRUE(opened->SetTunerStandard(AnalogVideo_SECAM_L));
    EXPECT_EQ(Chip().Patch(), "XcPatchSecamBgL");
    ASSERT_TRUE(opened->SetTVChannelFreq(471250.0f));
    EXPECT_TRUE(opened->GetTunerStatus());
    DWORD locked = 0;
    ASSERT_EQ(S_OK, opened->IsSignalLocked(&locked));  // the capture filter's decoder follows the chip
    EXPECT_EQ(locked, 1u);
}

}  // namespace
