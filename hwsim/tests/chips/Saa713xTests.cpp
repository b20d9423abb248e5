// The SAA713x register file and its GPIO lines.
#include <gtest/gtest.h>

#include "hwsim/chips/Saa713x.h"

namespace hwsim {
namespace {

// A device on the lines that answers the host: it mirrors line 8 onto line 18 (inverted) at
// every sample, and drives its data byte on lines 0 to 7.
class EchoDevice : public GpioListener {
public:
    explicit EchoDevice(Saa713x& bridge) : m_bridge(bridge) {}
    void OnHostLines(DWORD levels, DWORD driven) override {
        ++changes;
        lastLevels = levels;
        lastDriven = driven;
    }
    void OnSample() override {
        ++samples;
        const DWORD line8 = (m_bridge.PinLevels() >> 8) & 1;
        m_bridge.DriveExternal(0x400FF, (line8 ? 0 : 0x40000) | data);
    }

    Saa713x& m_bridge;
    DWORD data = 0x5A;
    int changes = 0;
    int samples = 0;
    DWORD lastLevels = 0;
    DWORD lastDriven = 0;
};

TEST(Saa713x, StatusRegisterReadsTheLevelsLatchedAtTheLastRisingStrobe) {
    Saa713x bridge;
    bridge.DriveExternal(0xFF, 0x12);
    EXPECT_EQ(0u, bridge.Read(Saa713x::kGpioStatus));  // nothing latched yet
    bridge.Write(Saa713x::kGpioMode, 0x3000);
    bridge.Write(Saa713x::kGpioMode, 0x80003000);
    EXPECT_EQ(0x12u, bridge.Read(Saa713x::kGpioStatus));

    // The level changes; without a new rising edge the status keeps the old latch.
    bridge.DriveExternal(0xFF, 0x34);
    bridge.Write(Saa713x::kGpioMode, 0x80003000);
    EXPECT_EQ(0x12u, bridge.Read(Saa713x::kGpioStatus));
    bridge.Write(Saa713x::kGpioMode, 0x3000);
    EXPECT_EQ(0x12u, bridge.Read(Saa713x::kGpioStatus));
    bridge.Write(Saa713x::kGpioMode, 0x80003000);
    EXPECT_EQ(0x34u, bridge.Read(Saa713x::kGpioStatus));
}

TEST(Saa713x, DrivenLinesShowTheHostLatchAndTheOthersTheExternalLevel) {
    Saa713x bridge;
    bridge.DriveExternal(0x0FFFFFFF, 0x00F0F0F0);
    bridge.Write(Saa713x::kGpioStatus, 0x0000FF00);
    EXPECT_EQ(0x0000FF00u, bridge.HostLatches());
    EXPECT_EQ(0x00F0F0F0u, bridge.PinLevels());  // nothing driven by the host yet
    bridge.Write(Saa713x::kGpioMode, 0x0000FF00);
    EXPECT_EQ(0x00F0FFF0u, bridge.PinLevels());
    EXPECT_EQ(0x0000FF00u, bridge.Directions());
    // Lines 28 to 31 do not exist.
    bridge.Write(Saa713x::kGpioStatus, 0xF0000000);
    EXPECT_EQ(0u, bridge.HostLatches());
}

TEST(Saa713x, LineWriteSequenceOfTheDriversDrivesThenReleasesTheLines) {
    // mode = mask, mode = mask | strobe, status = value, mode = 0x80003000
    Saa713x bridge;
    EchoDevice device(bridge);
    bridge.Attach(&device);
    bridge.Write(Saa713x::kGpioMode, 0x187100);
    bridge.Write(Saa713x::kGpioMode, 0x80187100);
    bridge.Write(Saa713x::kGpioStatus, 0x180100);
    EXPECT_EQ(0x180100u, device.lastLevels);
    EXPECT_EQ(0x187100u, device.lastDriven);
    EXPECT_EQ(0x180100u, bridge.PinLevels() & 0x187100);
    bridge.Write(Saa713x::kGpioMode, 0x80003000);
    EXPECT_EQ(0x3000u, device.lastDriven);
    EXPECT_EQ(0u, bridge.PinLevels() & 0x180100);  // released lines fall to what the device drives
    bridge.Detach(&device);
}

TEST(Saa713x, ListenersAnswerBeforeTheLevelsAreLatched) {
    Saa713x bridge;
    EchoDevice device(bridge);
    bridge.Attach(&device);
    bridge.Write(Saa713x::kGpioStatus, 0x100);
    bridge.Write(Saa713x::kGpioMode, 0x100);          // host drives line 8 high
    bridge.Write(Saa713x::kGpioMode, 0x80000100);     // sample
    EXPECT_EQ(1, device.samples);
    EXPECT_EQ(0x15Au, bridge.Read(Saa713x::kGpioStatus));  // line 18 low, data byte
    bridge.Write(Saa713x::kGpioStatus, 0);
    bridge.Write(Saa713x::kGpioMode, 0x100);
    bridge.Write(Saa713x::kGpioMode, 0x80000100);
    EXPECT_EQ(0x4005Au, bridge.Read(Saa713x::kGpioStatus));
    bridge.Detach(&device);
    bridge.Write(Saa713x::kGpioMode, 0x100);
    bridge.Write(Saa713x::kGpioMode, 0x80000100);
    EXPECT_EQ(2, device.samples);
}

TEST(Saa713x, PlainRegistersKeepWhatWasWrittenAndHooksComputeTheirValue) {
    Saa713x bridge;
    EXPECT_EQ(0u, bridge.Read(0x16C));
    bridge.Write(0x16C, 0xBB);
    EXPECT_EQ(0xBBu, bridge.Read(0x16C));
    bool picture = false;
    bridge.SetReadHook(Saa713x::kVideoStatus, [&](DWORD stored) { return (stored & ~1u) | (picture ? 1 : 0); });
    bridge.Write(Saa713x::kVideoStatus, 0x80);
    EXPECT_EQ(0x80u, bridge.Read(Saa713x::kVideoStatus));
    picture = true;
    EXPECT_EQ(0x81u, bridge.Read(Saa713x::kVideoStatus));
    bridge.SetReadHook(Saa713x::kVideoStatus, nullptr);
    EXPECT_EQ(0x80u, bridge.Read(Saa713x::kVideoStatus));
    // The mode register reads back as written, strobe included.
    bridge.Write(Saa713x::kGpioMode, 0x80003000);
    EXPECT_EQ(0x80003000u, bridge.Read(Saa713x::kGpioMode));
}

}  // namespace
}  // namespace hwsim
