// CKesh713xAccess against the simulated driver of the "713x BDA Analog Capture" card: the bytes
// of its I2C records, the wire traffic of every slot, the checks before anything is sent, the
// EEPROM, the GPIO line sequences, and several threads on one object.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "support/AccessFixture.h"
#include "access/Kesh713xAccess.h"
#include "hwsim/chips/PllTuner.h"
#include "platform/runtime.h"
#include "platform/TestThread.h"

namespace {

class Kesh713xAccessTest : public AccessFixture {
protected:
    void SetUp() override
    {
        AccessFixture::SetUp();
        ASSERT_EQ(S_OK, access.Init(CaptureFilter(KeshCard()), nullptr));
        Clear(KeshDriver());
    }

    SteppedAccess<CKesh713xAccess> access;
};

template <class T>
T At(const std::vector<BYTE>& bytes, size_t offset)
{
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

// The station writes every EEPROM byte this way: the bytes of one such request, as the
// driver receives them on this platform (see the record layout in Kesh713xAccess.h).
TEST_F(Kesh713xAccessTest, EepromWriteOf5AAt41SendsTheseRecordBytes)
{
    BYTE subAddress = 0;
    BYTE data = 0;
    KeshDriver().SetRequestHook([&](const hwsim::WireRequest& request) {
        // The pointers point into the caller's memory while the request runs.
        subAddress = *At<const BYTE*>(request.instance, 8);
        data = *At<const BYTE*>(request.data, 0);
    });
    ASSERT_EQ(S_OK, access.I2C_Write(0xA0, 0x41, 0x5A));
    KeshDriver().SetRequestHook({});

    const hwsim::WireRequest request = KeshDriver().Log().Requests().at(0);
    EXPECT_EQ(hwsim::WireRequest::Verb::Set, request.verb);
    EXPECT_EQ(KSPROPSETID_Kesh713xI2C, request.set);
    EXPECT_EQ(0u, request.id);
    ASSERT_EQ(40u, request.instance.size());
    ASSERT_EQ(16u, request.data.size());
    std::vector<BYTE> transfer(40, 0);
    transfer[0] = 0xA0;                             // device address
    std::memcpy(&transfer[8], &request.instance[8], 8);  // pointer to the sub-address byte
    transfer[16] = 1;                               // sub-address length
    transfer[32] = 1;                               // data length; the read pointer at 24 stays 0
    EXPECT_EQ(transfer, request.instance);
    std::vector<BYTE> record(16, 0);
    std::memcpy(&record[0], &request.data[0], 8);  // pointer to the byte to write
    record[8] = 1;                                 // count
    EXPECT_EQ(record, request.data);
    EXPECT_NE(nullptr, At<const BYTE*>(request.instance, 8));
    EXPECT_NE(nullptr, At<const BYTE*>(request.data, 0));
    EXPECT_EQ(0x41, subAddress);
    EXPECT_EQ(0x5A, data);
    EXPECT_EQ(0x5A, KeshCard().Eeprom().Peek(0x41));
    EXPECT_EQ("A0 W 41 5A\n", KeshCard().Bus().LogText());
}

TEST_F(Kesh713xAccessTest, EverySlotSendsItsRequestsAsTheDriverLaysThemOut)
{
    DWORD value = 0;
    BYTE byte = 0;
    const std::string mode = "Set REG.0 [8/4] reg 1B0 write ";
    const std::string readMode = "Get REG.0 [8/4] reg 1B0 read ";
    const std::string readStatus = "Get REG.0 [8/4] reg 1B4 read * -> S_OK";
    ExpectSlots<CKesh713xAccess>(access, KeshDriver(), {
        {"Open", [](auto& a) { return a.Open(TRUE); }, S_OK, {}},
        {"SetOption", [](auto& a) { return a.SetOption(1); }, S_OK, {}},
        {"I2C_Write", [](auto& a) { return a.I2C_Write(0xA0, 0x41, 0x5A); }, S_OK,
         {"Set I2C.0 [40/16] i2c A0 sub 41 write 5A -> S_OK"}},
        {"I2C_Read", [&](auto& a) { return a.I2C_Read(0xA0, 0x41, &byte); }, S_OK,
         {"Get I2C.0 [40/16] i2c A0 sub 41 read 5A -> S_OK"}},
        {"I2C_Write of a sub-address above 255", [](auto& a) { return a.I2C_Write(0xA0, 0x1FF, 0x34); }, S_OK,
         {"Set I2C.0 [40/16] i2c A0 sub FF write 34 -> S_OK"}},
        {"I2C_WriteBlock",
         [](auto& a) {
             BYTE program[] = {0xC2, 0x05, 0x8A, 0x8E, 0x01};
             return a.I2C_WriteBlock(program, 5);
         },
         S_OK, {"Set I2C.0 [40/16] raw C2 write 05 8A 8E 01 -> S_OK"}},
        {"I2C_WriteBlock of the address only",
         [](auto& a) {
             BYTE address[] = {0xC3};
             return a.I2C_WriteBlock(address, 1);
         },
         S_OK, {"Set I2C.0 [40/16] raw C3 write -> S_OK"}},
        {"I2C_ReadBlock",
         [](auto& a) {
             BYTE buffer[] = {0xC3, 0x77};
             return a.I2C_ReadBlock(buffer, 2);
         },
         S_OK, {"Get I2C.0 [40/16] raw C3 read * -> S_OK"}},
        {"Reserved8", [&](auto& a) { return a.Reserved8(0, &value); }, S_OK,
         {mode + "0003F000 -> S_OK", mode + "8003F000 -> S_OK", readStatus}},
        {"GPIO_Read", [&](auto& a) { return a.GPIO_Read(&value); }, S_OK,
         {mode + "00003000 -> S_OK", mode + "80003000 -> S_OK", readStatus}},
        {"GPIO_Write", [](auto& a) { return a.GPIO_Write(0x1000, 0x3000); }, S_OK,
         {mode + "00003000 -> S_OK", mode + "80003000 -> S_OK", "Set REG.0 [8/4] reg 1B4 write 00001000 -> S_OK",
          mode + "80003000 -> S_OK"}},
        {"GPIO_WriteEx without a wait", [](auto& a) { return a.GPIO_WriteEx(0x2000, 0x3000, 0); }, S_OK,
         {mode + "00003000 -> S_OK", mode + "80003000 -> S_OK", "Set REG.0 [8/4] reg 1B4 write 00002000 -> S_OK",
          mode + "80003000 -> S_OK"}},
        {"GPIO_ReadEx", [&](auto& a) { return a.GPIO_ReadEx(&value); }, S_OK,
         {mode + "00003000 -> S_OK", mode + "80003000 -> S_OK", readStatus}},
        {"SetControl13", [](auto& a) { return a.SetControl13(1); }, S_OK, {}},
        {"SetControl14", [](auto& a) { return a.SetControl14(1); }, S_OK, {}},
        {"DoControl15", [](auto& a) { return a.DoControl15(); }, S_OK, {}},
        {"SetControl16", [](auto& a) { return a.SetControl16(1); }, S_OK, {}},
        {"ResetTuner", [](auto& a) { return a.ResetTuner(TRUE); }, S_OK, {}},
        {"WriteBridgeReg", [](auto& a) { return a.WriteBridgeReg(0x3A, 1); }, E_FAIL, {}},
        {"ReadBridgeReg", [&](auto& a) { return a.ReadBridgeReg(0x3A, &byte); }, E_FAIL, {}},
        {"GetStatus", [](auto& a) { return a.GetStatus(TRUE); }, S_OK, {}},
        {"WriteRegister32", [](auto& a) { return a.WriteRegister32(0x16C, 0x12345678); }, S_OK,
         {"Set REG.0 [8/4] reg 16C write 12345678 -> S_OK"}},
        {"ReadRegister32", [&](auto& a) { return a.ReadRegister32(0x16C, &value); }, S_OK,
         {"Get REG.0 [8/4] reg 16C read 12345678 -> S_OK"}},
        {"Reserved23 with the strobe high", [&](auto& a) { return a.Reserved23(&value); }, S_OK,
         {readMode + "80003000 -> S_OK", mode + "00003000 -> S_OK", mode + "80003000 -> S_OK", readStatus}},
        {"Reserved24", [](auto& a) { return a.Reserved24(3); }, S_OK,
         {readMode + "80003000 -> S_OK", readStatus, mode + "80427000 -> S_OK",
          "Set REG.0 [8/4] reg 1B4 write * -> S_OK"}},
        {"Reserved25 with the strobe high", [&](auto& a) { return a.Reserved25(&value); }, S_OK,
         {readMode + "80427000 -> S_OK", mode + "00007000 -> S_OK", mode + "80007000 -> S_OK", readStatus}},
        {"GPIO_SetTVFM", [](auto& a) { return a.GPIO_SetTVFM(0); }, S_OK,
         {readMode + "80007000 -> S_OK", readStatus, mode + "80207000 -> S_OK",
          "Set REG.0 [8/4] reg 1B4 write * -> S_OK"}},
        {"Reserved23 with the strobe low",
         [&](auto& a) {
             a.WriteRegister32(0x1B0, 0x00803000);
             return a.Reserved23(&value);
         },
         S_OK,
         {mode + "00803000 -> S_OK", readMode + "00803000 -> S_OK", mode + "80003000 -> S_OK", readStatus}},
        {"Reserved27", [&](auto& a) { return a.Reserved27(&value); }, S_OK,
         {"Get REG.0 [8/4] reg 11F read * -> S_OK"}},
        {"Reserved28", [](auto& a) { return a.Reserved28(TRUE); }, E_NOTIMPL, {}},
    });
}

TEST_F(Kesh713xAccessTest, UnboundObjectAnswersEachSlotWithoutSending)
{
    CKesh713xAccess unbound;
    DWORD value = 7;
    BYTE byte = 7;
    BYTE buffer[2] = {0xC3, 0};
    EXPECT_EQ(E_POINTER, unbound.Init(nullptr, nullptr));
    EXPECT_EQ(S_OK, unbound.Open(TRUE));
    EXPECT_EQ(S_OK, unbound.SetOption(1));
    EXPECT_EQ(E_FAIL, unbound.I2C_Read(0xA0, 0, &byte));
    EXPECT_EQ(E_FAIL, unbound.I2C_Write(0xA0, 0, 1));
    EXPECT_EQ(E_FAIL, unbound.I2C_ReadBlock(buffer, 1));
    EXPECT_EQ(E_FAIL, unbound.I2C_WriteBlock(buffer, 2));
    EXPECT_EQ(E_FAIL, unbound.ReadRegister32(0x1B0, &value));
    EXPECT_EQ(E_FAIL, unbound.WriteRegister32(0x1B0, 1));
    // The GPIO slots fail at their first register step.
    EXPECT_EQ(E_FAIL, unbound.Reserved8(0, &value));
    EXPECT_EQ(E_FAIL, unbound.GPIO_Read(&value));
    EXPECT_EQ(E_FAIL, unbound.GPIO_Write(1, 1));
    EXPECT_EQ(E_FAIL, unbound.GPIO_WriteEx(1, 1, 10));
    EXPECT_EQ(E_FAIL, unbound.GPIO_ReadEx(&value));
    EXPECT_EQ(E_FAIL, unbound.Reserved23(&value));
    EXPECT_EQ(E_FAIL, unbound.Reserved24(3));
    EXPECT_EQ(E_FAIL, unbound.Reserved25(&value));
    EXPECT_EQ(E_FAIL, unbound.GPIO_SetTVFM(1));
    EXPECT_EQ(E_POINTER, unbound.Reserved27(&value));
    EXPECT_EQ(7u, value);
    EXPECT_EQ(7, byte);
    EXPECT_EQ(0u, KeshDriver().Log().Size());

    // A failed Init leaves it unbound, and Open and SetOption still succeed.
    platform::InjectFailure("QueryInterface:IKsPropertySet");
    EXPECT_EQ(E_NOINTERFACE, unbound.Init(CaptureFilter(KeshCard()), nullptr));
    EXPECT_EQ(S_OK, unbound.Open(TRUE));
    EXPECT_EQ(E_FAIL, unbound.I2C_Write(0xA0, 0, 1));
}

TEST_F(Kesh713xAccessTest, RefusesBadArgumentsBeforeSending)
{
    BYTE byte = 0;
    BYTE buffer[300] = {0xC2};
    ExpectRefusals(KeshDriver(), {
        {"read into nothing", E_POINTER, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"read of a negative sub-address", E_INVALIDARG, [&] { return access.I2C_Read(0xA0, -1, &byte); }},
        {"write to a negative sub-address", E_INVALIDARG, [&] { return access.I2C_Write(0xA0, -1, 1); }},
        {"block read into nothing", E_POINTER, [&] { return access.I2C_ReadBlock(nullptr, 1); }},
        {"block write from nothing", E_FAIL, [&] { return access.I2C_WriteBlock(nullptr, 2); }},
        {"block write of nothing", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buffer, 0); }},
        {"block write of 257", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buffer, 257); }},
        {"register read into nothing", E_POINTER, [&] { return access.ReadRegister32(0x1B0, nullptr); }},
        {"latched read into nothing", E_POINTER, [&] { return access.Reserved8(0, nullptr); }},
        {"GPIO read into nothing", E_POINTER, [&] { return access.GPIO_Read(nullptr); }},
        {"GPIO_ReadEx into nothing", E_POINTER, [&] { return access.GPIO_ReadEx(nullptr); }},
        {"line 23 into nothing", E_POINTER, [&] { return access.Reserved23(nullptr); }},
        {"lines 22 and 17 into nothing", E_POINTER, [&] { return access.Reserved25(nullptr); }},
        {"video status into nothing", E_POINTER, [&] { return access.Reserved27(nullptr); }},
    });
}

TEST_F(Kesh713xAccessTest, RawTransfersReadOneByteOverTheAddressAndWriteTheRestAsItStands)
{
    BYTE program[] = {0xC2, 0x05, 0x8A, 0x8E, 0x01};  // 49750 kHz, on air
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(program, 5));
    const auto* tuner = dynamic_cast<hwsim::PllTuner*>(KeshCard().Chip("tuner"));
    ASSERT_NE(nullptr, tuner);
    EXPECT_EQ(0x058A, tuner->Divider());

    BYTE buffer[2] = {0xC3, 0x77};
    ASSERT_EQ(S_OK, access.I2C_ReadBlock(buffer, 2));
    EXPECT_EQ(tuner->Status(), buffer[0]);
    EXPECT_TRUE(buffer[0] & hwsim::PllTuner::kLockBit);
    EXPECT_EQ(0x77, buffer[1]);

    DWORD status = 0;
    ASSERT_EQ(S_OK, access.Reserved27(&status));
    EXPECT_EQ(1u, status);
}

TEST_F(Kesh713xAccessTest, WritesAndReadsBackAll256EepromBytes)
{
    std::vector<BYTE> expected(256);
    for (int offset = 0; offset < 256; ++offset) {
        expected[offset] = static_cast<BYTE>(0xFF - offset);
        ASSERT_EQ(S_OK, access.I2C_Write(0xA0, offset, expected[offset])) << offset;
    }
    EXPECT_EQ(expected, KeshCard().Eeprom().Contents());
    for (int offset = 0; offset < 256; ++offset) {
        BYTE value = 0;
        ASSERT_EQ(S_OK, access.I2C_Read(0xA0, offset, &value)) << offset;
        EXPECT_EQ(expected[offset], value) << offset;
    }
    EXPECT_EQ(512u, KeshDriver().Log().Size());
}

TEST_F(Kesh713xAccessTest, GpioLineSlotsDriveAndSampleTheirLines)
{
    hwsim::Saa713x& bridge = KeshCard().Bridge();
    DWORD value = 0;

    // Line 21: high for TV, low for radio; driven either way.
    ASSERT_EQ(S_OK, access.GPIO_SetTVFM(FALSE));
    EXPECT_EQ(0x200000u, bridge.HostLatches() & 0x200000);
    EXPECT_EQ(0x200000u, bridge.Directions() & 0x200000);
    ASSERT_EQ(S_OK, access.GPIO_SetTVFM(TRUE));
    EXPECT_EQ(0u, bridge.HostLatches() & 0x200000);
    EXPECT_EQ(0x200000u, bridge.Directions() & 0x200000);

    // Lines 22 and 17 from the two bits, line 14 always high.
    ASSERT_EQ(S_OK, access.Reserved24(3));
    EXPECT_EQ(0x424000u, bridge.HostLatches() & 0x424000);
    ASSERT_EQ(S_OK, access.Reserved24(0));
    EXPECT_EQ(0x004000u, bridge.HostLatches() & 0x424000);
    EXPECT_EQ(0x424000u, bridge.Directions() & 0x424000);

    // Sampling releases the sampled lines and reads what drives them from outside.
    bridge.DriveExternal(0xC20000, 0x800000 | 0x400000);
    ASSERT_EQ(S_OK, access.Reserved23(&value));
    EXPECT_EQ(1u, value);
    ASSERT_EQ(S_OK, access.Reserved25(&value));
    EXPECT_EQ(1u, value);  // line 22 high, line 17 low
    EXPECT_EQ(0u, bridge.Directions() & 0x420000);
    bridge.DriveExternal(0xC20000, 0x020000);
    ASSERT_EQ(S_OK, access.Reserved23(&value));
    EXPECT_EQ(0u, value);
    ASSERT_EQ(S_OK, access.Reserved25(&value));
    EXPECT_EQ(2u, value);
    EXPECT_EQ(0x4000u, bridge.Directions() & 0x4000);  // line 14 stays driven

    // After a line write only lines 12 and 13 stay driven; the latched read drives 12 to 17.
    ASSERT_EQ(S_OK, access.GPIO_Write(0x1000, 0x3000));
    EXPECT_EQ(0x3000u, bridge.Directions());
    ASSERT_EQ(S_OK, access.GPIO_ReadLatched(0, &value));
    EXPECT_EQ(0x3F000u, bridge.Directions());
    EXPECT_EQ(bridge.PinLevels(), value);

    const ULONGLONG before = platform::ClockNow();
    ASSERT_EQ(S_OK, access.GPIO_WriteEx(0x2000, 0x3000, 30));
    EXPECT_GE(platform::ClockNow() - before, 30u);
}

TEST_F(Kesh713xAccessTest, DriverFailuresComeBackAsTheirHresultAndEndASequence)
{
    KeshCard().Unplug();
    BYTE byte = 0x77;
    DWORD value = 0x77;
    platform::ClearTrace();
    EXPECT_EQ(hwsim::kDeviceGone, access.I2C_Write(0xA0, 0, 1));
    EXPECT_EQ(hwsim::kDeviceGone, access.I2C_Read(0xA0, 0, &byte));
    EXPECT_EQ(0x77, byte);
    EXPECT_EQ(hwsim::kDeviceGone, access.ReadRegister32(0x1B0, &value));
    EXPECT_EQ(0x77u, value);
    EXPECT_EQ("ERROOR", platform::TraceText());
    Clear(KeshDriver());
    EXPECT_EQ(hwsim::kDeviceGone, access.GPIO_Write(0x1000, 0x3000));
    EXPECT_EQ(hwsim::kDeviceGone, access.Reserved24(3));
    EXPECT_EQ(2u, KeshDriver().Log().Size());
    EXPECT_EQ(hwsim::kDeviceGone, access.Reserved27(&value));
    EXPECT_EQ(0u, value);
    EXPECT_EQ("", KeshCard().Bus().LogText());
}

// Slots 23 to 27 read the GPIO registers and write them back: a GPIO write of another thread
// must not fall in between.
TEST_F(Kesh713xAccessTest, GpioLineSlotsHoldTheRequestLockForTheirWholeSequence)
{
    DWORD value = 0;
    const std::pair<const char*, std::function<HRESULT()>> slots[] = {
        {"Reserved23", [&] { return access.Reserved23(&value); }},
        {"Reserved24", [&] { return access.Reserved24(1); }},
        {"Reserved25", [&] { return access.Reserved25(&value); }},
        {"GPIO_SetTVFM", [&] { return access.GPIO_SetTVFM(1); }},
    };
    for (const auto& [slot, call] : slots) {
        SCOPED_TRACE(slot);
        Clear(KeshDriver());
        RaceInside(
            KeshDriver(), access.beforeStep, 2, [&] { EXPECT_EQ(S_OK, call()); },
            [&] { EXPECT_EQ(S_OK, access.GPIO_Write(0x0ABC, 0x0FFF)); });
        const std::vector<std::string> lines = Wire(KeshDriver());
        ASSERT_GE(lines.size(), 4u);
        EXPECT_NE(std::string::npos, lines[lines.size() - 4].find("reg 1B0 write 00000FFF")) << KeshDriver().Log().Text();
        for (size_t i = 0; i + 4 < lines.size(); ++i) EXPECT_EQ(std::string::npos, lines[i].find("0FFF")) << i;
    }
}

TEST_F(Kesh713xAccessTest, TwoThreadsThroughOneObjectNeverInterleaveTheirSequences)
{
    RaceInside(
        KeshDriver(), access.beforeStep, 2, [&] { EXPECT_EQ(S_OK, access.GPIO_Write(0x1000, 0x3000)); },
        [&] { EXPECT_EQ(S_OK, access.I2C_Write(0xA0, 0x10, 0x99)); });
    ExpectWire(KeshDriver(), {"Set REG.0 [8/4] reg 1B0 write 00003000 -> S_OK",
                              "Set REG.0 [8/4] reg 1B0 write 80003000 -> S_OK",
                              "Set REG.0 [8/4] reg 1B4 write 00001000 -> S_OK",
                              "Set REG.0 [8/4] reg 1B0 write 80003000 -> S_OK",
                              "Set I2C.0 [40/16] i2c A0 sub 10 write 99 -> S_OK"});

    Clear(KeshDriver());
    platform::test::TestThread eeprom([&] {
        for (int offset = 0; offset < 256; ++offset) EXPECT_EQ(S_OK, access.I2C_Write(0xA0, offset, 0x22));
    });
    DWORD value = 0;
    for (int i = 0; i < 64; ++i) EXPECT_EQ(S_OK, access.GPIO_ReadLatched(0, &value));
    eeprom.Join();
    const std::vector<std::string> lines = Wire(KeshDriver());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("reg 1B0 write 0003F000") == std::string::npos) continue;
        ASSERT_LT(i + 2, lines.size());
        EXPECT_NE(std::string::npos, lines[i + 1].find("reg 1B0 write 8003F000")) << i;
        EXPECT_NE(std::string::npos, lines[i + 2].find("reg 1B4 read")) << i;
    }
    EXPECT_EQ(256u + 64u * 3u, lines.size());
    EXPECT_EQ(std::vector<BYTE>(256, 0x22), KeshCard().Eeprom().Contents());
}

}  // namespace
