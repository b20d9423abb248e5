// The Xceive tuner classes' requests as the access object receives them: the firmware player's
// chunks, waits and reset pulses, the tuning sequences of each class and kind, and the refusals
// of input they cannot take. The simulated chip's view is in XCeiveBoardTests.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "support/RecordingAccess.h"
#include "support/RelayAccess.h"
#include "tuners/XCeive2028.h"
#include "tuners/XCeive3028.h"
#include "tuners/XCeive3028_SIF.h"
#include "platform/runtime.h"

namespace {

std::vector<BYTE> LargestRecord(const XcFirmware& list)
{
    std::vector<BYTE> largest;
    size_t at = 0;
    for (;;) {
        const WORD head = static_cast<WORD>(list.data[at] << 8 | list.data[at + 1]);
        at += 2;
        if (head == 0xFFFF) return largest;
        if (head == 0 || (head & 0x8000)) continue;
        if (head > largest.size()) largest.assign(list.data + at, list.data + at + head);
        at += head;
    }
}

// A recording access behind a relay that logs times, and an owner card of a chosen kind.
template <class Tuner>
struct Rig {
    explicit Rig(long kind = long(XcAccessKind::NoCard)) : relay(recording = new RecordingAccess), card({{S_OK, 1}})
    {
        tuner = std::make_unique<Tuner>(&relay);
        card.kind = kind;
        if (kind != long(XcAccessKind::NoCard)) tuner->SetOwnerCard(&card);
    }
    std::vector<std::vector<BYTE>> ChunksOf(const std::vector<BYTE>& record, size_t head) const
    {
        std::vector<std::vector<BYTE>> chunks;
        for (const RelayCall& call : relay.Calls(RelayCall::WriteBlock))
            if (call.bytes.size() > head && call.bytes[head] == record[0]) chunks.push_back(call.bytes);
        return chunks;
    }

    RecordingAccess* recording;  // owned by the relay
    RelayAccess relay;
    ScriptedCard card;
    std::unique_ptr<Tuner> tuner;
};

// A list made by hand.
struct OwnList {
    explicit OwnList(std::vector<BYTE> b) : bytes(std::move(b)), list{"own", bytes.data(), bytes.size()} {}
    std::vector<BYTE> bytes;
    XcFirmware list;
};

}  // namespace

// ---- the player ----

TEST(XCeivePlayer, LargestRecordGoesOutIn48ChunksEachHeadedByAddressAndFirstByte10msApart)
{
    Rig<CXCeive2028> rig;
    ASSERT_TRUE(rig.tuner->LoadFirmware(&XcBasePalSecam));
    const std::vector<BYTE> record = LargestRecord(XcBasePalSecam);
    ASSERT_EQ(record.size(), 2985u);
    std::vector<RelayCall> chunks;
    for (const RelayCall& call : rig.relay.Calls(RelayCall::WriteBlock))
        if (call.bytes[1] == record[0]) chunks.push_back(call);
    ASSERT_EQ(chunks.size(), 48u);
    std::vector<BYTE> payload;
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].bytes[0], 0xC2) << i;
        EXPECT_EQ(chunks[i].bytes[1], record[0]) << i;
        EXPECT_EQ(chunks[i].bytes.size(), i + 1 < chunks.size() ? 65u : 2u + 2984u % 63u) << i;
        payload.insert(payload.end(), chunks[i].bytes.begin() + 2, chunks[i].bytes.end());
        if (i > 0) {
            EXPECT_EQ(chunks[i].at - chunks[i - 1].at, 10u) << i;
        }
    }
    EXPECT_EQ(payload, std::vector<BYTE>(record.begin() + 1, record.end()));
}

TEST(XCeivePlayer, SoundIfClassSendsSevenPayloadBytesAChunk20msApart)
{
    Rig<CXCeive3028_SIF> rig;
    ASSERT_TRUE(rig.tuner->LoadFirmware(&XcBaseNtsc));
    const std::vector<BYTE> record = LargestRecord(XcBaseNtsc);
    std::vector<RelayCall> chunks;
    for (const RelayCall& call : rig.relay.Calls(RelayCall::WriteBlock))
        if (call.bytes[1] == record[0]) chunks.push_back(call);
    ASSERT_EQ(chunks.size(), 427u);
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].bytes[0], 0xC2);
        EXPECT_LE(chunks[i].bytes.size(), 9u);
        if (i > 0) {
            EXPECT_EQ(chunks[i].at - chunks[i - 1].at, 20u) << i;
        }
    }
}

TEST(XCeivePlayer, DirectPathChunksCarryNoAddressAndDoNotWait)
{
    Rig<CXCeive2028> rig(long(XcAccessKind::Direct));
    ASSERT_TRUE(rig.tuner->LoadFirmware(&XcBasePalSecam));
    const std::vector<BYTE> record = LargestRecord(XcBasePalSecam);
    std::vector<RelayCall> chunks;
    for (const RelayCall& call : rig.relay.Calls(RelayCall::WriteBlock))
        if (call.bytes[0] == record[0]) chunks.push_back(call);
    ASSERT_EQ(chunks.size(), 48u);
    EXPECT_EQ(chunks.front().bytes.size(), 64u);
    EXPECT_EQ(chunks.back().at, chunks.front().at);
}

TEST(XCeivePlayer, ResetRecordPulsesTheLineForTheClassHoldTimeAndSleepsComeInTheirPlaces)
{
    struct Case {
        const char* what;
        std::function<CXCeiveTuner*(CCustomDataAccess*)> make;
        ULONGLONG hold;
    };
    for (const Case& c : {Case{"2028", [](CCustomDataAccess* a) { return new CXCeive2028(a); }, 200},
                          Case{"3028", [](CCustomDataAccess* a) { return new CXCeive3028(a); }, 200},
                          Case{"3028 SIF", [](CCustomDataAccess* a) { return new CXCeive3028_SIF(a); }, 20}}) {
        SCOPED_TRACE(c.what);
        RelayAccess relay(new RecordingAccess);
        std::unique_ptr<CXCeiveTuner> tuner(c.make(&relay));
        ASSERT_TRUE(tuner->LoadFirmware(&XcBasePalSecam));
        const auto calls = relay.Calls();
        ASSERT_GE(calls.size(), 3u);
        EXPECT_EQ(calls[0].kind, RelayCall::ResetTuner);
        EXPECT_EQ(calls[0].bytes, std::vector<BYTE>{FALSE});
        EXPECT_EQ(calls[1].kind, RelayCall::ResetTuner);
        EXPECT_EQ(calls[1].bytes, std::vector<BYTE>{TRUE});
        EXPECT_EQ(calls[1].at - calls[0].at, c.hold);
        // Records 2 to 5 are data, record 6 sleeps 100 ms before record 7.
        const auto writes = relay.Calls(RelayCall::WriteBlock);
        EXPECT_EQ(writes[0].at, calls[1].at);
        const ULONGLONG chunkWait = c.hold == 20 ? 20 : 10;
        EXPECT_EQ(writes[4].at - writes[3].at, chunkWait + 100);
    }
}

TEST(XCeivePlayer, ListsThatSendNothingOrRunOffTheirEndAnswerFalse)
{
    Rig<CXCeive2028> rig;
    EXPECT_FALSE(rig.tuner->LoadFirmware(nullptr));
    OwnList endOnly({0xFF, 0xFF});
    EXPECT_FALSE(rig.tuner->LoadFirmware(&endOnly.list));
    OwnList sleepsOnly({0x80, 0x05, 0x80, 0x01, 0xFF, 0xFF});
    EXPECT_FALSE(rig.tuner->LoadFirmware(&sleepsOnly.list));
    OwnList oneByte({0x00, 0x01, 0x25, 0xFF, 0xFF});  // a one-byte record sends nothing
    EXPECT_FALSE(rig.tuner->LoadFirmware(&oneByte.list));
    EXPECT_TRUE(rig.relay.Calls().empty());

    // Cut before the end word: every record goes out, and the load still fails.
    OwnList cut(std::vector<BYTE>(XcPatchMn.data, XcPatchMn.data + XcPatchMn.size - 2));
    EXPECT_FALSE(rig.tuner->LoadFirmware(&cut.list));
    EXPECT_EQ(rig.relay.Calls(RelayCall::WriteBlock).size(), 23u);
    rig.relay.Clear();

    // A record longer than what is left of the list: the records before it go out, it does not.
    std::vector<BYTE> bytes(XcPatchMn.data, XcPatchMn.data + XcPatchMn.size);
    bytes.resize(bytes.size() - 3);  // the end word and the last record's last byte
    OwnList runsOff(bytes);
    EXPECT_FALSE(rig.tuner->LoadFirmware(&runsOff.list));
    EXPECT_EQ(rig.relay.Calls(RelayCall::WriteBlock).size(), 22u);
}

TEST(XCeivePlayer, AFailedChunkOrResetEndsTheLoad)
{
    for (int failAt : {0, 5, 500, 953}) {
        Rig<CXCeive2028> rig;
        rig.relay.FailBlockWrite(failAt);
        EXPECT_FALSE(rig.tuner->LoadFirmware(&XcBasePalSecam)) << failAt;
        EXPECT_EQ(rig.relay.Calls(RelayCall::WriteBlock).size(), static_cast<size_t>(failAt + 1)) << failAt;
    }
    // A failed release of the reset line: nothing after it.
    class FailingReset : public RecordingAccess {
        HRESULT ResetTuner(BOOL open) override { return open ? E_FAIL : S_OK; }
    };
    RelayAccess relay(new FailingReset);
    CXCeive2028 tuner(&relay);
    EXPECT_FALSE(tuner.LoadFirmware(&XcBaseNtsc));
    EXPECT_TRUE(relay.Calls(RelayCall::WriteBlock).empty());
}

TEST(XCeivePlayer, InitFirmwareGoesOnAfterAFailedFirstPulseAndStopsOnlyAfterAFailedBase)
{
    // The first release of the reset line fails; the base's own reset record pulses again.
    class FirstReleaseFails : public RecordingAccess {
        HRESULT ResetTuner(BOOL open) override { return open && releases++ == 0 ? E_FAIL : S_OK; }
        int releases = 0;
    };
    RelayAccess relay(new FirstReleaseFails);
    CXCeive2028 tuner(&relay);
    EXPECT_TRUE(tuner.InitFirmware());
    Rig<CXCeive2028> whole;
    ASSERT_TRUE(whole.tuner->InitFirmware());
    EXPECT_EQ(relay.Calls(RelayCall::WriteBlock).size(), whole.relay.Calls(RelayCall::WriteBlock).size());

    // A base that fails on its first chunk: the patch is not sent.
    Rig<CXCeive2028> failing;
    failing.relay.FailBlockWrite(0);
    EXPECT_FALSE(failing.tuner->InitFirmware());
    EXPECT_EQ(failing.relay.Calls(RelayCall::WriteBlock).size(), 1u);
}

TEST(XCeivePlayer, SoundIfClassTracesAFailedChunkWithFileAndLine)
{
    Rig<CXCeive3028_SIF> rig;
    platform::ClearTrace();
    rig.relay.FailBlockWrite(3);
    EXPECT_FALSE(rig.tuner->LoadFirmware(&XcPatchSifDk));
    EXPECT_EQ(rig.relay.Calls(RelayCall::WriteBlock).size(), 4u);
    EXPECT_TRUE(platform::TraceContains("Assertion failed: firmware chunk not written, file "));
    EXPECT_TRUE(platform::TraceContains("XCeiveTuner.cpp, line "));

    Rig<CXCeive2028> quiet;
    platform::ClearTrace();
    quiet.relay.FailBlockWrite(3);
    EXPECT_FALSE(quiet.tuner->LoadFirmware(&XcPatchDk));
    EXPECT_FALSE(platform::TraceContains("Assertion failed"));
}

// ---- tuning ----

TEST(XCeiveTuning, FrequencyWordGoesHighByteFirstInEachClassesSequence)
{
    const std::vector<BYTE> mode = {0xC2, 0x00, 0x02, 0x00, 0x00};
    {
        Rig<CXCeive2028> rig(2);
        ASSERT_TRUE(rig.tuner->SetTVChannelFreq(863250.0f));
        const auto calls = rig.relay.Calls();
        ASSERT_EQ(calls.size(), 4u);
        EXPECT_EQ(calls[0].bytes, mode);
        EXPECT_EQ(calls[1].kind, RelayCall::GpioWrite);
        EXPECT_EQ(calls[1].bytes, (std::vector<BYTE>{1, 0}));
        EXPECT_EQ(calls[1].at - calls[0].at, 10u);
        EXPECT_EQ(calls[2].bytes, (std::vector<BYTE>{0, 0}));
        EXPECT_EQ(calls[2].at - calls[1].at, 10u);
        EXPECT_EQ(calls[3].bytes, (std::vector<BYTE>{0xC2, 0x00, 0x00, 0xD7, 0xD0}));
        EXPECT_EQ(calls[3].at - calls[2].at, 20u);
    }
    {
        Rig<CXCeive2028> rig(long(XcAccessKind::SoundIf));  // no GPIO pulse
        ASSERT_TRUE(rig.tuner->SetTVChannelFreq(42750.0f));
        const auto writes = rig.relay.Calls(RelayCall::WriteBlock);
        EXPECT_EQ(rig.relay.Calls().size(), 2u);
        ASSERT_EQ(writes.size(), 2u);
        EXPECT_EQ(writes[1].bytes, (std::vector<BYTE>{0xC2, 0x00, 0x00, 0x0A, 0xB0}));
        EXPECT_EQ(writes[1].at - writes[0].at, 20u);
    }
    {
        Rig<CXCeive2028> rig(long(XcAccessKind::Direct));
        ASSERT_TRUE(rig.tuner->SetTVChannelFreq(863250.0f));
        const auto calls = rig.relay.Calls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].bytes, (std::vector<BYTE>{0x00, 0x02, 0x00, 0x00}));
        EXPECT_EQ(calls[1].bytes, (std::vector<BYTE>{0x00, 0x00, 0xD7, 0xD0}));
    }
    {
        Rig<CXCeive3028> rig(long(XcAccessKind::SoundIf));  // the 3028 pulses GPIO whatever the card
        ASSERT_TRUE(rig.tuner->SetTVChannelFreq(863250.0f));
        EXPECT_EQ(rig.relay.Calls(RelayCall::GpioWrite).size(), 2u);
    }
    {
        Rig<CXCeive3028_SIF> rig(long(XcAccessKind::Direct));  // the SIF class is addressed whatever the card
        platform::ClearTrace();
        ASSERT_TRUE(rig.tuner->SetTVChannelFreq(863250.0f));
        const auto calls = rig.relay.Calls();
        ASSERT_EQ(calls.size(), 4u);
        EXPECT_EQ(calls[0].bytes, (std::vector<BYTE>{0xC2, 0x00, 0x02, 0x00, 0x00, 0x00}));
        EXPECT_EQ(calls[1].kind, RelayCall::GetStatus);
        EXPECT_EQ(calls[1].bytes, std::vector<BYTE>{TRUE});
        EXPECT_EQ(calls[1].at - calls[0].at, 10u);
        EXPECT_EQ(calls[2].kind, RelayCall::GetStatus);
        EXPECT_EQ(calls[2].bytes, std::vector<BYTE>{FALSE});
        EXPECT_EQ(calls[2].at - calls[1].at, 200u);
        EXPECT_EQ(calls[3].bytes, (std::vector<BYTE>{0xC2, 0x00, 0x00, 0xD7, 0xD0, 0x00}));
        EXPECT_EQ(calls[3].at - calls[2].at, 10u);
        EXPECT_TRUE(platform::TraceContains("XCeive Tuner SetTVChannelFreq Start:\n"));
        EXPECT_TRUE(platform::TraceContains("XCeive Tuner SetTVChannelFreq Finish:\n"));
    }
}

TEST(XCeiveTuning, ABlockOfMoreThanEightBytesIsRefusedWhole)
{
    struct OpenTuner : CXCeive2028 {
        using CXCeive2028::CXCeive2028;
        using CXCeive2028::WriteBlock;
    };
    RecordingAccess access;
    OpenTuner tuner(&access);
    EXPECT_EQ(tuner.WriteBlock({0xC2, 1, 2, 3, 4, 5, 6, 7, 8}), E_INVALIDARG);
    EXPECT_TRUE(access.BlockWrites().empty());
    EXPECT_EQ(tuner.WriteBlock({0xC2, 1, 2, 3, 4, 5, 6, 7}), S_OK);
    EXPECT_EQ(access.BlockWrites(), (std::vector<std::vector<BYTE>>{{0xC2, 1, 2, 3, 4, 5, 6, 7}}));
}

TEST(XCeiveTuning, AFailedModeWriteLeavesTheFrequencyUnwritten)
{
    Rig<CXCeive2028> rig(2);
    rig.relay.FailBlockWrite(0);
    EXPECT_FALSE(rig.tuner->SetTVChannelFreq(863250.0f));
    EXPECT_EQ(rig.relay.Calls().size(), 1u);
    Rig<CXCeive2028> failedWord(2);
    failedWord.relay.FailBlockWrite(1);
    EXPECT_FALSE(failedWord.tuner->SetTVChannelFreq(863250.0f));
}

TEST(XCeiveTuning, FrequenciesWithoutASixteenBitWordAreRefusedWithoutTraffic)
{
    Rig<CXCeive2028> rig(2);
    for (float f : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                    -std::numeric_limits<float>::infinity(), -1.0f, 1024000.0f, 5.0e9f}) {
        EXPECT_FALSE(rig.tuner->SetTVChannelFreq(f)) << f;
    }
    EXPECT_TRUE(rig.relay.Calls().empty());
    // The highest word: 65535 x 15.625 kHz.
    EXPECT_TRUE(rig.tuner->SetTVChannelFreq(1023984.375f));
    EXPECT_EQ(rig.relay.Calls(RelayCall::WriteBlock).back().bytes, (std::vector<BYTE>{0xC2, 0x00, 0x00, 0xFF, 0xFF}));
}

// ---- standards ----

TEST(XCeiveStandards, AStandardNotInTheTableAnswersFalse)
{
    const long notHeld[] = {AnalogVideo_PAL_N_COMBO, AnalogVideo_PAL_B | AnalogVideo_PAL_G, 0};
    for (long standard : notHeld) {
        // Sound-IF table: no traffic at all.
        for (long kind : {long(XcAccessKind::Direct), long(XcAccessKind::SoundIf)}) {
            Rig<CXCeive2028> rig(kind);
            EXPECT_FALSE(rig.tuner->SetVideoStandard(standard)) << standard << " kind " << kind;
            EXPECT_TRUE(rig.relay.Calls().empty());
        }
        Rig<CXCeive3028_SIF> sif;
        EXPECT_FALSE(sif.tuner->SetVideoStandard(standard));
        EXPECT_TRUE(sif.relay.Calls().empty());
        // Standard table: the reset pulse, then nothing.
        Rig<CXCeive2028> other(12);
        EXPECT_FALSE(other.tuner->SetVideoStandard(standard));
        const auto calls = other.relay.Calls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].kind, RelayCall::ResetTuner);
        EXPECT_EQ(calls[1].kind, RelayCall::ResetTuner);
    }
}

TEST(XCeiveStandards, WithoutAnAccessObjectEveryOperationAnswersFalse)
{
    for (CXCeiveTuner* tuner : std::initializer_list<CXCeiveTuner*>{new CXCeive2028(nullptr), new CTuner_E90(nullptr),
                                                                     new CXCeive3028(nullptr), new CXCeive3028_SIF(nullptr)}) {
        std::unique_ptr<CXCeiveTuner> owned(tuner);
        DWORD status = 7;
        EXPECT_FALSE(tuner->SetTVChannelFreq(863250.0f));
        EXPECT_FALSE(tuner->GetTVChannelOkay(&status));
        EXPECT_EQ(status, 7u);  // returned at once, the status untouched
        EXPECT_FALSE(tuner->SetVideoStandard(AnalogVideo_PAL_B));
        EXPECT_FALSE(tuner->GetSignalLocked(&status));
        EXPECT_FALSE(tuner->LoadFirmware(&XcPatchMn));
        EXPECT_FALSE(tuner->InitFirmware());
        EXPECT_FALSE(tuner->Reset());
        EXPECT_FALSE(tuner->PulseReset());
        EXPECT_FALSE(tuner->ProbeRead());
    }
}
