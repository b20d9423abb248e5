// The Lurvan PCI Express dual-tuner boards of a bench: one device interface per board, two
// capture devices per board in bench order with the tuner, TV-audio and crossbar devices
// upstream, and on each board's bus the EEPROM, an Xceive tuner per half reset by the driver's
// GPIO selectors, and the remote-key controller at 0xBB read with the driver's one-byte read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/BoardChips.h"
#include "hwsim/chips/XceiveTuner.h"
#include "hwsim/drivers/PcieDriver.h"
#include "ksmedia.h"
#include "platform/devicetree.h"
#include "support/BenchFixture.h"
#include "uuids.h"

namespace hwsim {
namespace {

using LurvanBoards = BenchFixture;

constexpr const char* kTwoBoards = R"({"cards": [
    {"kind": "VORLANE Lurvan Audio/Video Capture", "tuner": 91},
    {"kind": "VORLANE Lurvan Audio/Video Capture", "tuner": 91}]})";
constexpr const wchar_t kCaptureName[] = L"VORLANE Lurvan Audio/Video Capture";

std::vector<platform::DeviceId> Named(REFGUID category, const std::wstring& name) {
    std::vector<platform::DeviceId> found;
    for (platform::DeviceId id : platform::DevicesInCategory(category)) {
        platform::DeviceEntry entry;
        if (platform::GetDevice(id, &entry) && entry.friendlyName == name) found.push_back(id);
    }
    return found;
}

TEST_F(LurvanBoards, EachBoardHasItsInterfaceAndTwoCaptureDevicesInBenchOrder) {
    auto bench = Bench::FromText(kTwoBoards);
    BenchDevices devices(*bench);
    Card& first = *bench->Cards()[0];
    Card& second = *bench->Cards()[1];

    EXPECT_EQ((std::vector<platform::DeviceId>{devices.CaptureDevice(first), devices.SecondCaptureDevice(first),
                                               devices.CaptureDevice(second), devices.SecondCaptureDevice(second)}),
              Named(CLSID_VideoInputDeviceCategory, kCaptureName));
    EXPECT_EQ(2u, Named(AM_KSCATEGORY_CROSSBAR, L"VORLANE Lurvan Crossbar").size());
    EXPECT_EQ(2u, Named(AM_KSCATEGORY_TVAUDIO, L"VORLANE Lurvan Audio Decoder").size());
    EXPECT_EQ(2u, Named(KSCATEGORY_TVTUNER, L"VORLANE Lurvan Tuner").size());
    // Both capture devices of a board have the board's crossbar upstream.
    for (platform::DeviceId capture : {devices.CaptureDevice(first), devices.SecondCaptureDevice(first)}) {
        platform::DeviceEntry entry;
        ASSERT_TRUE(platform::GetDevice(capture, &entry));
        ASSERT_FALSE(entry.upstream.empty());
        EXPECT_EQ(devices.CrossbarDevice(first), entry.upstream.front().device);
    }

    auto& firstDriver = dynamic_cast<PcieDriver&>(devices.Driver(first));
    auto& secondDriver = dynamic_cast<PcieDriver&>(devices.Driver(second));
    EXPECT_EQ((std::vector<std::string>{firstDriver.DevicePath(), secondDriver.DevicePath()}),
              platform::DeviceInterfacePaths(kPcieInterfaceClass));

    // Unplugged, a board takes its interface and both its capture devices out.
    first.Unplug();
    EXPECT_EQ((std::vector<std::string>{secondDriver.DevicePath()}), platform::DeviceInterfacePaths(kPcieInterfaceClass));
    EXPECT_EQ((std::vector<platform::DeviceId>{devices.CaptureDevice(second), devices.SecondCaptureDevice(second)}),
              Named(CLSID_VideoInputDeviceCategory, kCaptureName));
}

TEST_F(LurvanBoards, SelectorsResetTheirOwnXceiveTunerAndTheKeyControllerAnswersAtBB) {
    auto bench = Bench::FromText(kTwoBoards);
    BenchDevices devices(*bench);
    Card& board = *bench->Cards()[0];
    auto& driver = dynamic_cast<PcieDriver&>(devices.Driver(board));
    auto* tunerA = dynamic_cast<XceiveTuner*>(board.Chip("tuner"));
    auto* tunerB = dynamic_cast<XceiveTuner*>(board.Chip(kLurvanSecondTunerRole));
    ASSERT_NE(nullptr, tunerA);
    ASSERT_NE(nullptr, tunerB);
    ASSERT_NE(nullptr, board.Chip("eeprom"));
    DWORD returned = 0;

    auto gpio = [&](BYTE selector, BYTE level) {
        BYTE request[2] = {selector, level};
        return driver.Control(PcieDriver::kGpio, request, sizeof(request), nullptr, 0, nullptr);
    };
    struct Half {
        BYTE selector;
        XceiveTuner* own;
        XceiveTuner* other;
        BYTE readAddress;
    };
    for (const Half& half : {Half{3, tunerA, tunerB, 0xC3}, Half{4, tunerB, tunerA, 0xC9}}) {
        SCOPED_TRACE(int(half.selector));
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), gpio(half.selector, 0));
        EXPECT_TRUE(half.own->InReset());
        EXPECT_FALSE(half.other->InReset());
        BYTE read[PcieDriver::kReadSize] = {half.readAddress, 1, 1};
        BYTE answer[1] = {};
        // A chip in reset does not answer; released, it does.
        EXPECT_EQ(static_cast<DWORD>(ERROR_IO_DEVICE),
                  driver.Control(PcieDriver::kI2CRead, read, sizeof(read), answer, sizeof(answer), &returned));
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), gpio(half.selector, 1));
        EXPECT_FALSE(half.own->InReset());
        EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
                  driver.Control(PcieDriver::kI2CRead, read, sizeof(read), answer, sizeof(answer), &returned));
    }

    auto readKeyRegister = [&](BYTE reg, BYTE* value) {
        BYTE request[PcieDriver::kReadSize] = {0xBB, 1, 1, reg};
        BYTE answer[2] = {0xEE, 0xEE};
        const DWORD error = driver.Control(PcieDriver::kI2CRead, request, sizeof(request), answer, sizeof(answer), &returned);
        *value = answer[1];
        return error;
    };
    BYTE value = 0xEE;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), readKeyRegister(0x30, &value));
    EXPECT_EQ(0, value);
    board.PressKey(0x42);
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), readKeyRegister(0x30, &value));
    EXPECT_EQ(1, value);
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), readKeyRegister(0x31, &value));
    EXPECT_EQ(0x42, value);
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), readKeyRegister(0x30, &value));
    EXPECT_EQ(0, value);  // read, the key is gone
}

}  // namespace
}  // namespace hwsim
