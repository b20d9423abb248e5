// The Cranlow family's remote-key read and tuner-address probe, and the remote keys of the base,
// Cranlow and SAA713x card classes reaching a window through the remote thread at each class's
// polling period, on the test clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "cards/saa713x/CranlowCardFilter.h"
#include "support/CardBench.h"
#include "support/CardKindsBench.h"
#include "platform/runtime.h"

namespace {

using CranlowFamily = CardBench;

TEST(CranlowRemoteKey, KeyIsTheSwappedComplementOfTheLowLinesWhileLine8IsLow) {
    FakeBoardCard<CCranlowCardFilter> fake;
    fake.access->gpio = 0xF0E1;  // lines above 8 do not count
    BYTE key = 0;
    ASSERT_TRUE(fake.card.GetRemoteData(&key));
    EXPECT_EQ(0xE1, key);
    fake.access->gpio = 0x0FF;
    ASSERT_TRUE(fake.card.GetRemoteData(&key));
    EXPECT_EQ(0x00, key);
    EXPECT_TRUE(fake.access->gpioWrites.empty());  // the property-set access writes nothing back

    key = 0xEE;
    fake.access->gpio = 0x1E1;
    EXPECT_FALSE(fake.card.GetRemoteData(&key));
    fake.access->script = {{E_FAIL, 0x0E1}};
    EXPECT_FALSE(fake.card.GetRemoteData(&key));
    EXPECT_EQ(0xEE, key);
    EXPECT_EQ(4, fake.access->gpioReads);  // one read per call

    FakeBoardCard<CCranlowCardFilter> deviceControl(ACCESS_KIND_DEVICE_CONTROL);
    deviceControl.access->gpio = 0x30000E1;
    ASSERT_TRUE(deviceControl.card.GetRemoteData(&key));
    EXPECT_EQ(0xE1, key);
    deviceControl.access->gpio = 0x100;
    EXPECT_FALSE(deviceControl.card.GetRemoteData(&key));
    EXPECT_EQ((std::vector<std::pair<DWORD, DWORD>>{{0x30001FF, 0}, {0x1FF, 0}}), deviceControl.access->gpioWrites);
}

TEST(CranlowTunerAddress, FirstOfTheFivePllAddressesThatAnswersElseTheTunersOwn) {
    FakeBoardCard<CCranlowCardFilter> fake;
    std::unique_ptr<CTunerBase> tuner(fake.card.CreateTuner(5));
    ASSERT_NE(nullptr, tuner);
    const BYTE read = tuner->GetReadAddress();
    const BYTE write = tuner->GetWriteAddress();
    fake.access->probes.clear();
    EXPECT_FALSE(fake.card.DetectTunerAddress(tuner.get()));
    EXPECT_EQ((std::vector<BYTE>{0xC0, 0xC2, 0xC4, 0xC6, 0xC8}), fake.access->probes);
    EXPECT_EQ(read, tuner->GetReadAddress());
    EXPECT_EQ(write, tuner->GetWriteAddress());

    fake.access->devices = {0xC6, 0xC2};
    fake.access->probes.clear();
    EXPECT_TRUE(fake.card.DetectTunerAddress(tuner.get()));
    EXPECT_EQ((std::vector<BYTE>{0xC0, 0xC2}), fake.access->probes);
    EXPECT_EQ(0xC3, tuner->GetReadAddress());
    EXPECT_EQ(0xC2, tuner->GetWriteAddress());
    EXPECT_FALSE(fake.card.DetectTunerAddress(nullptr));
}

TEST_F(CranlowFamily, DeviceControlBoardShowsTheWriteBackOfTheKeyLines) {
    Load(FamilyBench({"Vorlane Cranlow Capture"}, true).c_str());
    CTVCardFilter* card = OpenCard(Board(0));
    ASSERT_NE(nullptr, card);
    Board(0).PressKey(0x5A);
    Driver(Board(0)).Log().Clear();
    BYTE key = 0;
    ASSERT_TRUE(card->GetRemoteData(&key));
    EXPECT_EQ(0x5A, key);
    const auto lines = Driver(Board(0)).Log().Lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("gpio mask 00000000 write 000001FF") != std::string::npos;
    })) << Driver(Board(0)).Log().Text();
}

// Two keys pressed before the thread starts: the first comes at the first poll, one period after
// the start, the second one period later.
TEST_F(CranlowFamily, RemoteKeysReachTheWindowAtEachClassesPeriod) {
    const std::vector<std::pair<std::string, ULONGLONG>> periods = {
        {"Vorlane Cranlow Capture", 140}, {"Fosbry TV Capture", 140},       {"713x_Wadrel TV Card Capture", 140},
        {"713x TV Card Capture", 100},    {"Dolbray TV Card Capture", 100}, {"713x_IO TV Card Capture", 100},
        {"713x_PIP TV Card Capture", 100},
    };
    std::vector<std::string> kinds;
    for (const auto& [kind, period] : periods) kinds.push_back(kind);
    Load(FamilyBench(kinds).c_str());
    const int threadsBefore = platform::LiveThreadCount();
    for (size_t i = 0; i < periods.size(); ++i) {
        const auto& [kind, period] = periods[i];
        CTVCardFilter* card = OpenCard(Board(i));
        ASSERT_NE(nullptr, card) << kind;
        KeyWindow window;
        card->SetNotifyWindow(window.Window());
        Board(i).PressKey(0x21);
        Board(i).PressKey(0xC4);
        const ULONGLONG start = platform::ClockNow();
        ASSERT_TRUE(card->StartRemoteThread());
        EXPECT_EQ((std::vector<WPARAM>{0x21}), window.WaitForKeys(1, 1000)) << kind;
        const ULONGLONG first = platform::ClockNow() - start;
        EXPECT_EQ((std::vector<WPARAM>{0xC4}), window.WaitForKeys(1, 1000)) << kind;
        const ULONGLONG second = platform::ClockNow() - start;
        EXPECT_GE(first, period) << kind;
        EXPECT_LT(first, period + 20) << kind;
        EXPECT_GE(second - first, period - 20) << kind;
        EXPECT_LT(second - first, period + 20) << kind;
        card->StopRemoteThread();
        Graph().RemoveFilter(card);
    }
    EXPECT_EQ(threadsBefore, platform::LiveThreadCount());
}

}  // namespace
