// The devices without tuner and crossbar: where they enter the device tree, the DVB-C board's
// chip library (EEPROM of 128 bytes in the bench state, keys on the library's own thread,
// unregistering while a key is handled) and the DM1105 calls with no library installed.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "DM1105.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/DvbcBoard.h"
#include "support/BenchFixture.h"
#include "uuids.h"

namespace hwsim {
namespace {

using DeviceBoards = BenchFixture;

std::atomic<HANDLE> g_release{nullptr};
std::atomic<int> g_calls{0};
std::atomic<DWORD> g_lastValue{0};

void CALLBACK HoldingCallback(BYTE, DWORD value) {
    g_lastValue = value;
    ++g_calls;
    if (HANDLE release = g_release.load()) WaitForSingleObject(release, INFINITE);
}

TEST_F(DeviceBoards, DevicesWithoutTunerOrCrossbarPublishTheirCaptureFilterInTheirCategory) {
    auto bench = Bench::FromText(R"({"cards": [{"kind": "USB EMP Audio Device"}, {"kind": "DVBC TS Capture"},
                                               {"kind": "Usb_Cam_Capture"}, {"kind": "Microsoft DV Camera and VCR"}],
                                  "soundCards": []})");
    BenchDevices devices(*bench);
    EXPECT_EQ(std::vector<platform::DeviceId>{devices.CaptureDevice(*bench->Cards()[0])},
              platform::DevicesInCategory(CLSID_AudioInputDeviceCategory));
    EXPECT_EQ(3u, platform::DevicesInCategory(CLSID_VideoInputDeviceCategory).size());
    EXPECT_TRUE(platform::DevicesInCategory(AM_KSCATEGORY_CROSSBAR).empty());
    EXPECT_EQ(0u, devices.TunerDevice(*bench->Cards()[1]));
}

TEST_F(DeviceBoards, Dm1105EepromHas128BytesKeptInTheBenchState) {
    auto bench = Bench::FromText(R"({"cards": [{"kind": "DVBC TS Capture", "eeprom": {"hex": "01 02 03"}}]})");
    BenchDevices devices(*bench);
    Card& board = *bench->Cards()[0];
    BYTE value = 0;
    EXPECT_EQ(1, ReadEEPROM(2, &value, 1));
    EXPECT_EQ(3, value);
    value = 0x77;
    EXPECT_EQ(1, WriteEEPROM(127, &value, 1));
    EXPECT_EQ(0, WriteEEPROM(128, &value, 1));
    BYTE four[4] = {};
    EXPECT_EQ(0, ReadEEPROM(126, four, 4));
    EXPECT_EQ(0, ReadEEPROM(0, nullptr, 1));
    const std::vector<BYTE> state = ReadBytes(board.StateFile());
    ASSERT_EQ(128u, state.size());
    EXPECT_EQ(0x77, state[127]);
    EXPECT_EQ(0x01, state[0]);
    // A state file of another size is refused, as for any other card.
    std::filesystem::resize_file(board.StateFile(), 256);
    EXPECT_THROW(Bench::FromText(R"({"cards": [{"kind": "DVBC TS Capture"}]})"), BenchError);
}

TEST_F(DeviceBoards, BenchKeysWaitForARegistrationAndUnregisteringWaitsForTheRunningCallback) {
    auto bench = Bench::FromText(R"({"cards": [{"kind": "DVBC TS Capture", "keys": [12]}]})");
    BenchDevices devices(*bench);
    Dm1105Library& library = static_cast<DvbcDriver&>(devices.Driver(*bench->Cards()[0])).Library();
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_release = release;
    g_calls = 0;
    ASSERT_EQ(1, RegIRkeyCallback(&HoldingCallback, 0, nullptr));
    while (g_calls.load() == 0) Sleep(1);
    EXPECT_EQ(Dm1105Library::kKeyHighBits | 12, g_lastValue.load());

    // The callback is held: UnregIRkeyCallback returns only once it has ended.
    std::atomic<bool> unregistered{false};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* flag) -> DWORD {
            UnregIRkeyCallback();
            static_cast<std::atomic<bool>*>(flag)->store(true);
            return 0;
        },
        &unregistered, 0, nullptr);
    while (library.IsRegistered()) Sleep(1);
    Sleep(50);
    EXPECT_FALSE(unregistered.load());
    SetEvent(release);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(unregistered.load());
    // No call starts after it.
    library.PressKey(13);
    Sleep(50);
    EXPECT_EQ(1, g_calls.load());
    g_release = nullptr;
    CloseHandle(release);
}

TEST_F(DeviceBoards, WithoutALibraryEveryDm1105CallAnswersZero) {
    BYTE value = 0;
    EXPECT_EQ(0, RegIRkeyCallback(&HoldingCallback, 0, nullptr));
    EXPECT_EQ(0, UnregIRkeyCallback());
    EXPECT_EQ(0, ReadEEPROM(0, &value, 1));
    EXPECT_EQ(0, WriteEEPROM(0, &value, 1));
    EXPECT_EQ(0, WritePortBYTE(0x18, 0x90));
}

}  // namespace
}  // namespace hwsim
