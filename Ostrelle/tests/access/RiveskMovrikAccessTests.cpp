// CRiveskAccess against the simulated driver of a Rivesk encoder card (its own property set,
// GPIO in the driver) and CMovrikAccess against the SAA713x property driver: the requests of
// every slot, the block read's address byte, the GPIO timing, the EEPROM and the tuner.
#include <gtest/gtest.h>

#include "access/MovrikAccess.h"
#include "access/RiveskAccess.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "platform/runtime.h"
#include "support/AccessFixture.h"
#include "support/TestBoard.h"

namespace {

class RiveskAccessTest : public BoardAccessFixture<CRiveskAccess> {
protected:
    void SetUp() override
    {
        Bind<hwsim::Saa713xPropertyDriver>(false, nullptr, hwsim::kRiveskPropertySet, "RIV",
                                           hwsim::Saa713xPropertyDriver::kGpioDriverIds);
    }
};

TEST_F(RiveskAccessTest, EverySlotSendsItsRequestOnTheRiveskSet)
{
    BYTE byte = 0;
    DWORD value = 0;
    DWORD first = 0;
    DWORD second = 0;
    ExpectSlots<CRiveskAccess>(access, board.Driver(), {
        {"Open", [](auto& a) { return a.Open(TRUE); }, S_OK, {"Set RIV.1 [24/48] open 1 -> S_OK"}},
        {"SetOption", [](auto& a) { return a.SetOption(2); }, S_OK, {"Set RIV.3 [24/48] option 02 -> S_OK"}},
        {"I2C_Write", [](auto& a) { return a.I2C_Write(0xA0, 5, 0x12); }, S_OK,
         {"Set RIV.2 [32/56] i2c A0 sub 05 write 12 -> S_OK"}},
        {"I2C_Read", [&](auto& a) { return a.I2C_Read(0xA0, 5, &byte); }, S_OK,
         {"Get RIV.2 [32/56] i2c A0 sub 05 read 12 -> S_OK"}},
        {"I2C_ReadBlock keeps 0xC0",
         [](auto& a) {
             BYTE status[1] = {0xC0};
             return a.I2C_ReadBlock(status, 1);
         },
         hwsim::kI2CNoAck, {"Get RIV.6 [280/304] raw C0 read * -> 80004005"}},
        {"I2C_WriteBlock",
         [](auto& a) {
             BYTE program[] = {0xC3, 0x05, 0x8A};
             return a.I2C_WriteBlock(program, 3);
         },
         S_OK, {"Set RIV.6 [280/304] raw C2 write 05 8A -> S_OK"}},
        {"GPIO_Write", [](auto& a) { return a.GPIO_Write(0x1000, 0x3000); }, S_OK,
         {"Set RIV.4 [24/48] gpio mask 00003000 write 00001000 -> S_OK"}},
        {"GPIO_Read", [&](auto& a) { return a.GPIO_Read(&value); }, S_OK,
         {"Get RIV.4 [24/48] gpio mask 0FFFFFFF read * -> S_OK"}},
        {"GetDeviceInfo", [&](auto& a) { return a.GetDeviceInfo(&first, &second); }, S_OK,
         {"Get RIV.0 [24/48] device info 1131 7134 -> S_OK"}},
        {"ReadRegister32", [&](auto& a) { return a.ReadRegister32(0x1B0, &value); }, E_FAIL, {}},
        {"ResetTuner", [](auto& a) { return a.ResetTuner(TRUE); }, S_OK, {}},
    });
    EXPECT_EQ(0x12, byte);
    EXPECT_EQ(0x1000u, value & 0x3000);
    EXPECT_EQ(0x1131u, first);
    ExpectEepromRoundTrip(access, board.GetCard());
    ExpectTunerLock(access, board.GetCard(), 0xC3);
}

TEST_F(RiveskAccessTest, InitNeedsTheDriverToAnswerItsSetAndBadInputSendsNothing)
{
    CRiveskAccess other;
    EXPECT_EQ(E_POINTER, other.Init(nullptr, nullptr));
    hwsim::TestBoard saaBoard;
    saaBoard.Fit<hwsim::Saa713xPropertyDriver>(false);  // has IKsPropertySet, not the Rivesk set
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, other.Init(saaBoard.Filter(), nullptr));
    platform::InjectFailure("IKsPropertySet::QuerySupported", 1, E_FAIL);
    EXPECT_EQ(E_FAIL, other.Init(board.Filter(), nullptr));
    EXPECT_EQ(S_OK, other.Init(board.Filter(), nullptr));

    CRiveskAccess unbound;
    DWORD value = 7;
    EXPECT_EQ(E_FAIL, unbound.GPIO_Read(&value));
    EXPECT_EQ(E_FAIL, unbound.GetDeviceInfo(&value, &value));
    EXPECT_EQ(7u, value);
    BYTE byte = 0;
    BYTE buffer[300] = {0xC2};
    ExpectRefusals(board.Driver(), {
        {"read into nothing", E_POINTER, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"negative sub-address", E_INVALIDARG, [&] { return access.I2C_Read(0xA0, -1, &byte); }},
        {"block read of nothing", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buffer, 0); }},
        {"block read past the data field", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buffer, 257); }},
        {"block write of the address only", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buffer, 1); }},
        {"block write past the data field", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buffer, 300); }},
        {"GPIO read into nothing", E_POINTER, [&] { return access.GPIO_Read(nullptr); }},
        {"device information into nothing", E_POINTER, [&] { return access.GetDeviceInfo(nullptr, &value); }},
    });
}

TEST_F(RiveskAccessTest, GpioWriteTakesAHundredMillisecondsAlsoWhenRefused)
{
    ULONGLONG start = platform::ClockNow();
    EXPECT_EQ(S_OK, access.GPIO_Write(0x1000, 0x3000));
    EXPECT_GE(platform::ClockNow() - start, 100u);
    board.GetCard().Unplug();
    start = platform::ClockNow();
    EXPECT_EQ(hwsim::kDeviceGone, access.GPIO_Write(0x2000, 0x3000));
    EXPECT_GE(platform::ClockNow() - start, 100u);
    DWORD first = 9;
    DWORD second = 9;
    EXPECT_EQ(hwsim::kDeviceGone, access.GetDeviceInfo(&first, &second));
    EXPECT_EQ(9u, first);  // written only on success
}

class MovrikAccessTest : public BoardAccessFixture<CMovrikAccess> {
protected:
    void SetUp() override { Bind<hwsim::Saa713xPropertyDriver>(false, nullptr); }
};

TEST_F(MovrikAccessTest, EverySlotSendsItsRequestsWithItsOwnGpioWords)
{
    DWORD value = 0;
    BYTE byte = 0;
    ExpectSlots<CMovrikAccess>(access, board.Driver(), {
        {"Open", [](auto& a) { return a.Open(TRUE); }, S_OK, {"Set SAA.1 [24/48] open 1 -> S_OK"}},
        {"I2C_ReadBlock turns 0xC0 into 0xC1",
         [](auto& a) {
             BYTE status[1] = {0xC0};
             const HRESULT hr = a.I2C_ReadBlock(status, 1);
             return status[0] == 0xC1 ? hr : E_UNEXPECTED;
         },
         hwsim::kI2CNoAck, {"Get SAA.6 [280/304] raw C1 read * -> 80004005"}},
        {"GPIO_Read", [&](auto& a) { return a.GPIO_Read(&value); }, S_OK,
         {"Set SAA.5 [24/48] reg 1B0 write 00003000 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK",
          "Get SAA.5 [24/48] reg 1B4 read * -> S_OK"}},
        {"GPIO_Write: the mask, then the idle word", [](auto& a) { return a.GPIO_Write(0x0400, 0x0C00); }, S_OK,
         {"Set SAA.5 [24/48] reg 1B0 write 00000C00 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80000C00 -> S_OK",
          "Set SAA.5 [24/48] reg 1B4 write 00000400 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK"}},
        {"ReadBridgeReg", [&](auto& a) { return a.ReadBridgeReg(0xB5, &byte); }, S_OK,
         {"Get SAA.5 [24/48] reg 0B4 read * -> S_OK"}},
        {"ResetTuner", [](auto& a) { return a.ResetTuner(TRUE); }, S_OK, {}},
        {"Reserved23", [&](auto& a) { return a.Reserved23(&value); }, E_FAIL, {}},
        {"Reserved24", [](auto& a) { return a.Reserved24(1); }, E_FAIL, {}},
        {"Reserved25", [&](auto& a) { return a.Reserved25(&value); }, E_FAIL, {}},
        {"GPIO_SetTVFM traces nothing", [](auto& a) { return a.GPIO_SetTVFM(0); }, E_FAIL, {}},
        {"Reserved27", [&](auto& a) { return a.Reserved27(&value); }, E_FAIL, {}},
        {"Reserved28", [](auto& a) { return a.Reserved28(TRUE); }, E_NOTIMPL, {}},
    });
    ExpectEepromRoundTrip(access, board.GetCard());
    ExpectTunerLock(access, board.GetCard());
}

TEST_F(MovrikAccessTest, GpioWriteHoldsItsValue120MillisecondsUnderTheLock)
{
    const ULONGLONG start = platform::ClockNow();
    EXPECT_EQ(S_OK, access.GPIO_WriteEx(0x2000, 0x3000, 0));  // the default: GPIO_Write
    EXPECT_GE(platform::ClockNow() - start, 120u);
    EXPECT_EQ(0x2000u, board.GetCard().Bridge().HostLatches() & 0x3000);

    BYTE buffer[300] = {0xC2};
    ExpectRefusals(board.Driver(), {
        {"read into nothing", E_POINTER, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"negative sub-address", E_INVALIDARG, [&] { return access.I2C_Write(0xA0, -1, 1); }},
        {"block read past the data field", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buffer, 257); }},
        {"block write past the data field", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buffer, 257); }},
        {"GPIO read into nothing", E_POINTER, [&] { return access.GPIO_Read(nullptr); }},
        {"bridge byte into nothing", E_POINTER, [&] { return access.ReadBridgeReg(0x3A, nullptr); }},
    });
    EXPECT_EQ(0xC2, buffer[0]);
}

}  // namespace
