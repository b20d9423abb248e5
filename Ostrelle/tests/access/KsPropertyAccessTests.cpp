// CKsPropertyAccess against the simulated driver of the "713x_4 TV Card Capture" card: the
// wire traffic of every slot, the checks before anything is sent, the EEPROM, the GPIO and reset
// sequences, and several threads on one object.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "support/AccessFixture.h"
#include "access/KsPropertyAccess.h"
#include "hwsim/chips/PllTuner.h"
#include "platform/runtime.h"
#include "platform/TestThread.h"

namespace {

class KsPropertyAccessTest : public AccessFixture {
protected:
    void SetUp() override
    {
        AccessFixture::SetUp();
        ASSERT_EQ(S_OK, access.Init(CaptureFilter(PropertyCard()), nullptr));
        Clear(PropertyDriver());
    }

    SteppedAccess<CKsPropertyAccess> access;
};

TEST_F(KsPropertyAccessTest, EverySlotSendsItsRequestsAsTheDriverLaysThemOut)
{
    DWORD value = 0;
    BYTE byte = 0;
    ExpectSlots<CKsPropertyAccess>(access, PropertyDriver(), {
        {"Open", [](auto& a) { return a.Open(TRUE); }, S_OK, {"Set SAA.1 [24/48] open 1 -> S_OK"}},
        {"SetOption", [](auto& a) { return a.SetOption(1); }, S_OK, {"Set SAA.3 [24/48] option 01 -> S_OK"}},
        {"I2C_Write", [](auto& a) { return a.I2C_Write(0xA0, 5, 0x12); }, S_OK,
         {"Set SAA.2 [32/56] i2c A0 sub 05 write 12 -> S_OK"}},
        {"I2C_Read", [&](auto& a) { return a.I2C_Read(0xA0, 5, &byte); }, S_OK,
         {"Get SAA.2 [32/56] i2c A0 sub 05 read 12 -> S_OK"}},
        {"I2C_Write of a sub-address above 255: sent whole, refused by the driver",
         [](auto& a) { return a.I2C_Write(0xA0, 0x1FF, 0x34); }, E_INVALIDARG,
         {"Set SAA.2 [32/56] i2c A0 sub 1FF -> 80070057"}},
        {"I2C_WriteBlock",
         [](auto& a) {
             BYTE program[] = {0xC3, 0x05, 0x8A, 0x8E, 0x01};
             return a.I2C_WriteBlock(program, 5);
         },
         S_OK, {"Set SAA.6 [280/304] raw C2 write 05 8A 8E 01 -> S_OK"}},
        {"GPIO_Read", [&](auto& a) { return a.GPIO_Read(&value); }, S_OK,
         {"Set SAA.5 [24/48] reg 1B0 write 00003000 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80007000 -> S_OK",
          "Get SAA.5 [24/48] reg 1B4 read * -> S_OK"}},
        {"GPIO_Write", [](auto& a) { return a.GPIO_Write(0x1000, 0x3000); }, S_OK,
         {"Set SAA.5 [24/48] reg 1B0 write 00003000 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK",
          "Set SAA.5 [24/48] reg 1B4 write 00001000 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK"}},
        {"GPIO_WriteEx without a wait", [](auto& a) { return a.GPIO_WriteEx(0x2000, 0x3000, 0); }, S_OK,
         {"Set SAA.5 [24/48] reg 1B0 write 00003000 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK",
          "Set SAA.5 [24/48] reg 1B4 write 00002000 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK"}},
        {"GPIO_ReadEx", [&](auto& a) { return a.GPIO_ReadEx(&value); }, S_OK,
         {"Set SAA.5 [24/48] reg 1B0 write 00003000 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80007000 -> S_OK",
          "Get SAA.5 [24/48] reg 1B4 read * -> S_OK"}},
        {"SetControl13", [](auto& a) { return a.SetControl13(0x11); }, S_OK,
         {"Set SAA.7 [24/48] control 7 value 00000011 -> S_OK"}},
        {"SetControl14", [](auto& a) { return a.SetControl14(0x22); }, S_OK,
         {"Set SAA.8 [24/48] control 8 value 00000022 -> S_OK"}},
        {"DoControl15", [](auto& a) { return a.DoControl15(); }, S_OK, {"Set SAA.9 [16/40] control 9 -> S_OK"}},
        {"SetControl16", [](auto& a) { return a.SetControl16(0x44); }, S_OK,
         {"Set SAA.10 [24/48] control 10 value 00000044 -> S_OK"}},
        {"ResetTuner", [](auto& a) { return a.ResetTuner(TRUE); }, S_OK,
         {"Get SAA.5 [24/48] reg 1B0 read 80007000 -> S_OK", "Get SAA.5 [24/48] reg 1B4 read * -> S_OK",
          "Set SAA.5 [24/48] reg 1B0 write 80047000 -> S_OK", "Set SAA.5 [24/48] reg 1B4 write * -> S_OK"}},
        {"WriteBridgeReg", [](auto& a) { return a.WriteBridgeReg(0x3A, 1); }, E_FAIL, {}},
        {"ReadBridgeReg", [&](auto& a) { return a.ReadBridgeReg(0x3A, &byte); }, S_OK,
         {"Get SAA.5 [24/48] reg 038 read * -> S_OK"}},
        {"GetStatus", [](auto& a) { return a.GetStatus(TRUE); }, S_OK, {}},
        {"WriteRegister32", [](auto& a) { return a.WriteRegister32(0x16C, 0x12345678); }, S_OK,
         {"Set SAA.5 [24/48] reg 16C write 12345678 -> S_OK"}},
        {"ReadRegister32", [&](auto& a) { return a.ReadRegister32(0x16C, &value); }, S_OK,
         {"Get SAA.5 [24/48] reg 16C read 12345678 -> S_OK"}},
        {"Reserved8", [&](auto& a) { return a.Reserved8(0, &value); }, E_FAIL, {}},
        {"Reserved23", [&](auto& a) { return a.Reserved23(&value); }, E_FAIL, {}},
        {"Reserved24", [](auto& a) { return a.Reserved24(3); }, E_FAIL, {}},
        {"Reserved25", [&](auto& a) { return a.Reserved25(&value); }, E_FAIL, {}},
        {"GPIO_SetTVFM", [](auto& a) { return a.GPIO_SetTVFM(0); }, E_FAIL, {}},
        {"Reserved27", [&](auto& a) { return a.Reserved27(&value); }, S_OK, {"Get SAA.5 [24/48] reg 11F read * -> S_OK"}},
        {"Reserved28 on", [](auto& a) { return a.Reserved28(TRUE); }, S_OK,
         {"Set SAA.5 [24/48] reg 16C write 000000BB -> S_OK"}},
        {"Reserved28 off", [](auto& a) { return a.Reserved28(FALSE); }, S_OK,
         {"Set SAA.5 [24/48] reg 16C write 000000FF -> S_OK"}},
    });
}

TEST_F(KsPropertyAccessTest, RequestBufferCarriesThePayloadFromByte24AndZeroesTheRest)
{
    ASSERT_EQ(S_OK, access.I2C_Write(0xA0, 5, 0x12));
    const hwsim::WireRequest request = PropertyDriver().Log().Requests().at(0);
    EXPECT_EQ(32u, request.instanceLength);
    EXPECT_EQ(56u, request.dataLength);
    std::vector<BYTE> expected(56, 0);
    expected[24] = 0xA0;
    expected[28] = 5;
    expected[32] = 0x12;
    EXPECT_EQ(expected, request.data);
    EXPECT_EQ(std::vector<BYTE>(expected.begin(), expected.begin() + 32), request.instance);
}

TEST_F(KsPropertyAccessTest, UnboundObjectAnswersEachSlotWithoutSending)
{
    CKsPropertyAccess unbound;
    DWORD value = 7;
    BYTE byte = 7;
    BYTE buffer[4] = {0xC2, 0, 0, 0};
    EXPECT_EQ(E_POINTER, unbound.Init(nullptr, nullptr));
    EXPECT_EQ(E_FAIL, unbound.Open(TRUE));
    EXPECT_EQ(E_FAIL, unbound.I2C_Read(0xA0, 0, &byte));
    EXPECT_EQ(E_FAIL, unbound.I2C_Write(0xA0, 0, 1));
    EXPECT_EQ(E_FAIL, unbound.I2C_ReadBlock(buffer, 1));
    EXPECT_EQ(E_FAIL, unbound.I2C_WriteBlock(buffer, 2));
    EXPECT_EQ(E_FAIL, unbound.SetOption(1));
    EXPECT_EQ(E_FAIL, unbound.GPIO_Read(&value));
    EXPECT_EQ(E_FAIL, unbound.GPIO_Write(1, 1));
    EXPECT_EQ(E_FAIL, unbound.GPIO_WriteEx(1, 1, 10));
    EXPECT_EQ(E_FAIL, unbound.SetControl13(1));
    EXPECT_EQ(E_FAIL, unbound.SetControl14(1));
    EXPECT_EQ(E_FAIL, unbound.DoControl15());
    EXPECT_EQ(E_FAIL, unbound.SetControl16(1));
    EXPECT_EQ(E_FAIL, unbound.ResetTuner(TRUE));
    EXPECT_EQ(E_FAIL, unbound.ReadBridgeReg(0x3A, &byte));
    EXPECT_EQ(E_FAIL, unbound.ReadRegister32(0x1B0, &value));
    EXPECT_EQ(E_FAIL, unbound.WriteRegister32(0x1B0, 1));
    EXPECT_EQ(E_POINTER, unbound.Reserved27(&value));
    EXPECT_EQ(E_FAIL, unbound.Reserved28(TRUE));
    EXPECT_EQ(7u, value);
    EXPECT_EQ(7, byte);
    EXPECT_EQ(0xC2, buffer[0]);
    EXPECT_EQ(0u, PropertyDriver().Log().Size());
}

TEST_F(KsPropertyAccessTest, RefusesBadArgumentsBeforeSending)
{
    BYTE byte = 0;
    BYTE buffer[4] = {0xA0};
    ExpectRefusals(PropertyDriver(), {
        {"read into nothing", E_POINTER, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"read of a negative sub-address", E_INVALIDARG, [&] { return access.I2C_Read(0xA0, -1, &byte); }},
        {"write to a negative sub-address", E_INVALIDARG, [&] { return access.I2C_Write(0xA0, -1, 1); }},
        {"block read into nothing", E_POINTER, [&] { return access.I2C_ReadBlock(nullptr, 1); }},
        {"block read of nothing", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buffer, 0); }},
        {"block write from nothing", E_POINTER, [&] { return access.I2C_WriteBlock(nullptr, 2); }},
        {"block write of the address only", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buffer, 1); }},
        {"GPIO read into nothing", E_POINTER, [&] { return access.GPIO_Read(nullptr); }},
        {"register read into nothing", E_POINTER, [&] { return access.ReadRegister32(0x1B0, nullptr); }},
        {"bridge byte into nothing", E_POINTER, [&] { return access.ReadBridgeReg(0x3A, nullptr); }},
        {"video status into nothing", E_POINTER, [&] { return access.Reserved27(nullptr); }},
    });
    EXPECT_EQ(0xA0, buffer[0]);
}

// The data field of the block request holds 256 bytes: a longer block would run past it.
TEST_F(KsPropertyAccessTest, RefusesBlockLongerThan256)
{
    BYTE buffer[300] = {0xA0};
    EXPECT_EQ(E_INVALIDARG, access.I2C_WriteBlock(buffer, 257));
    EXPECT_EQ(E_INVALIDARG, access.I2C_ReadBlock(buffer, 257));
    EXPECT_EQ(E_INVALIDARG, access.I2C_ReadBlock(buffer, 1000));
    EXPECT_EQ(0xA0, buffer[0]);
    EXPECT_EQ(0u, PropertyDriver().Log().Size());

    // 256 bytes fit: the address and 255 bytes.
    for (int i = 1; i < 256; ++i) buffer[i] = static_cast<BYTE>(i);
    EXPECT_EQ(S_OK, access.I2C_WriteBlock(buffer, 256));
    const std::vector<hwsim::I2CTransfer> bus = PropertyCard().Bus().Log();
    ASSERT_EQ(1u, bus.size());
    EXPECT_EQ(255u, bus[0].data.size());
    EXPECT_EQ(0xFF, bus[0].data.back());
}

TEST_F(KsPropertyAccessTest, StatusReadOfTheTunerSendsTheReadAddressAndAnswersOverIt)
{
    BYTE program[] = {0xC2, 0x05, 0x8A, 0x8E, 0x01};  // 49750 kHz, on air
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(program, 5));
    BYTE status[1] = {0xC2};
    ASSERT_EQ(S_OK, access.I2C_ReadBlock(status, 1));
    const auto* tuner = dynamic_cast<hwsim::PllTuner*>(PropertyCard().Chip("tuner"));
    ASSERT_NE(nullptr, tuner);
    EXPECT_EQ(tuner->Status(), status[0]);
    EXPECT_TRUE(status[0] & hwsim::PllTuner::kLockBit);
    ExpectWire(PropertyDriver(), {"Set SAA.6 [280/304] raw C2 write 05 8A 8E 01 -> S_OK",
                                  "Get SAA.6 [280/304] raw C3 read * -> S_OK"});

    // A failed read leaves the read address in the caller's buffer.
    PropertyCard().Chip("tuner")->SetAbsent(true);
    status[0] = 0xC2;
    EXPECT_EQ(hwsim::kI2CNoAck, access.I2C_ReadBlock(status, 1));
    EXPECT_EQ(0xC3, status[0]);
}

TEST_F(KsPropertyAccessTest, WritesAndReadsBackAll256EepromBytes)
{
    for (int offset = 0; offset < 256; ++offset) {
        ASSERT_EQ(S_OK, access.I2C_Write(0xA0, offset, static_cast<BYTE>(offset ^ 0xA5))) << offset;
    }
    std::vector<BYTE> expected(256);
    for (int offset = 0; offset < 256; ++offset) expected[offset] = static_cast<BYTE>(offset ^ 0xA5);
    EXPECT_EQ(expected, PropertyCard().Eeprom().Contents());
    for (int offset = 0; offset < 256; ++offset) {
        BYTE value = 0;
        ASSERT_EQ(S_OK, access.I2C_Read(0xA0, offset, &value)) << offset;
        EXPECT_EQ(expected[offset], value) << offset;
    }
    EXPECT_EQ(512u, PropertyDriver().Log().Size());
}

TEST_F(KsPropertyAccessTest, GpioSequencesDriveSampleAndResetTheLines)
{
    hwsim::Saa713x& bridge = PropertyCard().Bridge();
    ASSERT_EQ(S_OK, access.GPIO_Write(0x1000, 0x3000));
    EXPECT_EQ(0x3000u, bridge.Directions());  // lines 12 and 13 after every write
    EXPECT_EQ(0x1000u, bridge.HostLatches());

    // The tuner reset line (18) is driven and set, then cleared.
    ASSERT_EQ(S_OK, access.ResetTuner(TRUE));
    EXPECT_EQ(0x43000u, bridge.Directions());
    EXPECT_EQ(0x40000u, bridge.HostLatches() & 0x40000);
    ASSERT_EQ(S_OK, access.ResetTuner(FALSE));
    EXPECT_EQ(0u, bridge.HostLatches() & 0x40000);
    EXPECT_EQ(0x43000u, bridge.Directions());

    // A read latches the pins as they are now.
    bridge.DriveExternal(0xFF, 0x5A);
    DWORD value = 0;
    ASSERT_EQ(S_OK, access.GPIO_Read(&value));
    EXPECT_EQ(bridge.PinLevels(), value);
    EXPECT_EQ(0x5Au, value & 0xFF);

    // A byte register is its lane of the 32-bit register around it.
    ASSERT_EQ(S_OK, access.WriteRegister32(0x38, 0x11223344));
    BYTE lane = 0;
    ASSERT_EQ(S_OK, access.ReadBridgeReg(0x3A, &lane));
    EXPECT_EQ(0x22, lane);
    ASSERT_EQ(S_OK, access.ReadBridgeReg(0x3B, &lane));
    EXPECT_EQ(0x11, lane);

    // The hold time of GPIO_WriteEx runs on the platform clock, inside the sequence.
    const ULONGLONG before = platform::ClockNow();
    ASSERT_EQ(S_OK, access.GPIO_WriteEx(0x2000, 0x3000, 50));
    EXPECT_GE(platform::ClockNow() - before, 50u);
}

TEST_F(KsPropertyAccessTest, VideoStatusFollowsTheDecoder)
{
    DWORD status = 7;
    ASSERT_EQ(S_OK, access.Reserved27(&status));
    EXPECT_EQ(0u, status);
    BYTE program[] = {0xC2, 0x05, 0x8A, 0x8E, 0x01};
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(program, 5));
    ASSERT_EQ(S_OK, access.Reserved27(&status));
    EXPECT_EQ(1u, status);
}

TEST_F(KsPropertyAccessTest, DriverFailuresComeBackUnchangedAndEndASequence)
{
    PropertyCard().Unplug();
    BYTE byte = 0x77;
    DWORD value = 0x77;
    EXPECT_EQ(hwsim::kDeviceGone, access.I2C_Write(0xA0, 0, 1));
    EXPECT_EQ(hwsim::kDeviceGone, access.I2C_Read(0xA0, 0, &byte));
    EXPECT_EQ(0x77, byte);
    Clear(PropertyDriver());
    EXPECT_EQ(hwsim::kDeviceGone, access.GPIO_Write(0x1000, 0x3000));
    EXPECT_EQ(1u, PropertyDriver().Log().Size());
    EXPECT_EQ(hwsim::kDeviceGone, access.Reserved27(&value));
    EXPECT_EQ(0u, value);
    EXPECT_EQ("", PropertyCard().Bus().LogText());
}

// ResetTuner reads both GPIO registers and writes them back; a GPIO write of another thread
// must not fall in between, or the write back would undo it.
TEST_F(KsPropertyAccessTest, ResetTunerHoldsTheRequestLockForItsReadModifyWrite)
{
    RaceInside(
        PropertyDriver(), access.beforeStep, 2, [&] { EXPECT_EQ(S_OK, access.ResetTuner(TRUE)); },
        [&] { EXPECT_EQ(S_OK, access.GPIO_Write(0x0ABC, 0x0FFF)); });
    ExpectWire(PropertyDriver(),
               {"Get SAA.5 [24/48] reg 1B0 read * -> S_OK", "Get SAA.5 [24/48] reg 1B4 read * -> S_OK",
                "Set SAA.5 [24/48] reg 1B0 write * -> S_OK", "Set SAA.5 [24/48] reg 1B4 write * -> S_OK",
                "Set SAA.5 [24/48] reg 1B0 write 00000FFF -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80000FFF -> S_OK",
                "Set SAA.5 [24/48] reg 1B4 write 00000ABC -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK"});
}

TEST_F(KsPropertyAccessTest, TwoThreadsThroughOneObjectNeverInterleaveTheirSequences)
{
    RaceInside(
        PropertyDriver(), access.beforeStep, 2, [&] { EXPECT_EQ(S_OK, access.GPIO_Write(0x1000, 0x3000)); },
        [&] { EXPECT_EQ(S_OK, access.GPIO_Write(0x0ABC, 0x0FFF)); });
    ExpectWire(PropertyDriver(),
               {"Set SAA.5 [24/48] reg 1B0 write 00003000 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK",
                "Set SAA.5 [24/48] reg 1B4 write 00001000 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK",
                "Set SAA.5 [24/48] reg 1B0 write 00000FFF -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80000FFF -> S_OK",
                "Set SAA.5 [24/48] reg 1B4 write 00000ABC -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK"});

    // Many sequences and EEPROM bytes at once: every GPIO sequence stays whole.
    Clear(PropertyDriver());
    platform::test::TestThread eeprom([&] {
        for (int offset = 0; offset < 128; ++offset) EXPECT_EQ(S_OK, access.I2C_Write(0xA0, offset, 0x11));
    });
    for (int i = 0; i < 64; ++i) EXPECT_EQ(S_OK, access.GPIO_Write(0x1000, 0x3000));
    eeprom.Join();
    const std::vector<std::string> lines = Wire(PropertyDriver());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("reg 1B0 write 00003000") == std::string::npos) continue;
        ASSERT_LT(i + 3, lines.size());
        EXPECT_NE(std::string::npos, lines[i + 1].find("reg 1B0 write 80003000")) << i;
        EXPECT_NE(std::string::npos, lines[i + 2].find("reg 1B4 write 00001000")) << i;
        EXPECT_NE(std::string::npos, lines[i + 3].find("reg 1B0 write 80003000")) << i;
    }
    EXPECT_EQ(128u + 64u * 4u, lines.size());
    const std::vector<BYTE> eepromBytes = PropertyCard().Eeprom().Contents();
    EXPECT_EQ(std::vector<BYTE>(128, 0x11), std::vector<BYTE>(eepromBytes.begin(), eepromBytes.begin() + 128));
}

}  // namespace
