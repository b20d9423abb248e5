// CKsGpioAccess and CKsGpioAccess2388x against the simulated driver of a CX2388x card, bound
// to the card's tuner filter: the requests of every slot, "GPIO_LOCK" around each of them, the
// merged GPIO write of lines 12 to 14, and the device information.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <vector>

#include "access/KsGpioAccess.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "platform/runtime.h"
#include "support/AccessFixture.h"
#include "support/HolderProcess.h"

namespace {

class KsGpioAccessTest : public BoardAccessFixture<CKsGpioAccess> {
protected:
    void SetUp() override
    {
        Bind<hwsim::Saa713xPropertyDriver>(true, nullptr, hwsim::kSaa713xPropertySet, "GPIO",
                                           hwsim::Saa713xPropertyDriver::kGpioDriverIds);
        ASSERT_EQ(S_OK, merging.Init(board.Filter(), nullptr));
    }

    CKsGpioAccess2388x merging;
};

TEST_F(KsGpioAccessTest, EverySlotSendsItsRequestUnderTheGpioLock)
{
    BYTE byte = 0;
    DWORD value = 0;
    DWORD first = 0;
    DWORD second = 0;
    ExpectSlots<CKsGpioAccess>(access, Driver(), {
        {"Open", [](auto& a) { return a.Open(TRUE); }, S_OK, {"Set GPIO.1 [24/48] open 1 -> S_OK"}},
        {"SetOption", [](auto& a) { return a.SetOption(1); }, S_OK, {"Set GPIO.3 [24/48] option 01 -> S_OK"}},
        {"I2C_Write", [](auto& a) { return a.I2C_Write(0xA0, 5, 0x12); }, S_OK,
         {"Set GPIO.2 [32/56] i2c A0 sub 05 write 12 -> S_OK"}},
        {"I2C_Read", [&](auto& a) { return a.I2C_Read(0xA0, 5, &byte); }, S_OK,
         {"Get GPIO.2 [32/56] i2c A0 sub 05 read 12 -> S_OK"}},
        {"I2C_ReadBlock sends the address as written",
         [](auto& a) {
             BYTE status[1] = {0xC2};
             return a.I2C_ReadBlock(status, 1);
         },
         S_OK, {"Get GPIO.6 [280/304] raw C2 read * -> S_OK"}},
        {"I2C_WriteBlock",
         [](auto& a) {
             BYTE program[] = {0xC3, 0x05, 0x8A};
             return a.I2C_WriteBlock(program, 3);
         },
         S_OK, {"Set GPIO.6 [280/304] raw C2 write 05 8A -> S_OK"}},
        {"GPIO_Write", [](auto& a) { return a.GPIO_Write(0x1000, 0x3000); }, S_OK,
         {"Set GPIO.4 [24/48] gpio mask 00003000 write 00001000 -> S_OK"}},
        {"GPIO_Read", [&](auto& a) { return a.GPIO_Read(&value); }, S_OK,
         {"Get GPIO.4 [24/48] gpio mask 0FFFFFFF read * -> S_OK"}},
        {"GetDeviceInfo", [&](auto& a) { return a.GetDeviceInfo(&first, &second); }, S_OK,
         {"Get GPIO.0 [24/48] device info 1131 7134 -> S_OK"}},
        {"ReadRegister32", [&](auto& a) { return a.ReadRegister32(0x1B0, &value); }, E_FAIL, {}},
        {"WriteRegister32", [](auto& a) { return a.WriteRegister32(0x1B0, 1); }, E_FAIL, {}},
    });
    EXPECT_EQ(0x12, byte);
    EXPECT_EQ(0x1000u, value & 0x3000);
    EXPECT_EQ(0x1131u, first);
    EXPECT_EQ(0x7134u, second);
    ExpectEepromRoundTrip(access, Card());
    ExpectTunerLock(access, Card(), 0xC3);
}

TEST_F(KsGpioAccessTest, RefusesBadInputBeforeSending)
{
    CKsGpioAccess unbound;
    DWORD value = 7;
    EXPECT_EQ(E_POINTER, unbound.GPIO_Read(nullptr));  // before the interface test
    EXPECT_EQ(E_FAIL, unbound.GPIO_Read(&value));
    EXPECT_EQ(E_FAIL, unbound.I2C_Write(0xA0, 0, 1));
    EXPECT_EQ(E_POINTER, unbound.Init(nullptr, nullptr));
    platform::InjectFailure("QueryInterface:IKsPropertySet", 1, E_NOINTERFACE);
    EXPECT_EQ(E_NOINTERFACE, unbound.Init(board.Filter(), nullptr));
    EXPECT_EQ(E_FAIL, unbound.Open(TRUE));
    BYTE byte = 0;
    BYTE buffer[300] = {0xC3};
    DWORD first = 5;
    ExpectRefusals(Driver(), {
        {"read into nothing", E_POINTER, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"negative sub-address", E_INVALIDARG, [&] { return access.I2C_Read(0xA0, -1, &byte); }},
        {"write to a negative sub-address", E_INVALIDARG, [&] { return access.I2C_Write(0xA0, -1, 1); }},
        {"block read into nothing", E_POINTER, [&] { return access.I2C_ReadBlock(nullptr, 1); }},
        {"block read of nothing", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buffer, 0); }},
        {"block read past the data field", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buffer, 257); }},
        {"block write of the address only", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buffer, 1); }},
        {"block write past the data field", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buffer, 257); }},
        {"GPIO read into nothing", E_POINTER, [&] { return merging.GPIO_Read(nullptr); }},
        {"device information into nothing", E_POINTER, [&] { return access.GetDeviceInfo(&first, nullptr); }},
    });
    EXPECT_EQ(0xC3, buffer[0]);
    EXPECT_EQ(5u, first);
}

// While another process holds "GPIO_LOCK" past the one-second wait (real time: the holder is
// outside the clock), the requests fail and the driver sees nothing; once it lets go they run.
TEST_F(KsGpioAccessTest, RequestsFailWhileAnotherProcessHoldsTheGpioLock)
{
    HolderProcess holder("", "GPIO_LOCK");
    ASSERT_EQ("ready", holder.Answer());
    BYTE byte = 0;
    DWORD value = 0;
    const auto start = std::chrono::steady_clock::now();
    ExpectRefusals(Driver(), {
        {"I2C_Read", E_FAIL, [&] { return access.I2C_Read(0xA0, 0, &byte); }},
        {"GPIO_Read", E_FAIL, [&] { return access.GPIO_Read(&value); }},
        {"merged GPIO_Write", E_FAIL, [&] { return merging.GPIO_Write(1, 1); }},
    });
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3000));
    EXPECT_EQ(0, holder.Release());
    EXPECT_EQ(S_OK, access.Open(TRUE));
    EXPECT_EQ(S_OK, merging.GPIO_Write(1, 1));
}

TEST_F(KsGpioAccessTest, GpioWritesFromTwoThreadsAreAHundredMillisecondsApart)
{
    std::mutex lock;
    std::vector<ULONGLONG> times;
    Driver().SetRequestHook([&](const hwsim::WireRequest&) {
        std::lock_guard<std::mutex> guard(lock);
        times.push_back(platform::ClockNow());
    });
    auto write = [](void* arg) -> DWORD {
        return static_cast<CKsGpioAccess*>(arg)->GPIO_Write(0x1000, 0x3000) == S_OK ? 0 : 1;
    };
    HANDLE threads[2] = {CreateThread(nullptr, 0, write, &access, 0, nullptr),
                         CreateThread(nullptr, 0, write, &access, 0, nullptr)};
    WaitForMultipleObjects(2, threads, TRUE, INFINITE);
    for (HANDLE thread : threads) {
        DWORD code = 1;
        GetExitCodeThread(thread, &code);
        EXPECT_EQ(0u, code);
        CloseHandle(thread);
    }
    Driver().SetRequestHook({});
    ASSERT_EQ(2u, times.size());
    EXPECT_GE(times[1] - times[0], 100u);

    // GPIO_WriteEx of the base class is GPIO_Write: it waits 100 ms whatever it is given.
    const ULONGLONG start = platform::ClockNow();
    EXPECT_EQ(S_OK, access.GPIO_WriteEx(0x2000, 0x3000, 0));
    EXPECT_GE(platform::ClockNow() - start, 100u);
}

TEST_F(KsGpioAccessTest, MergedWriteKeepsTheAudioLinesTheCallerDoesNotName)
{
    hwsim::Saa713x& bridge = Card().Bridge();
    bridge.DriveExternal(0x7000, 0x2000);
    ExpectSlots<CKsGpioAccess2388x>(merging, Driver(), {
        {"a line outside 12 to 14", [](auto& a) { return a.GPIO_Write(0x0001, 0x0001); }, S_OK,
         {"Get GPIO.4 [24/48] gpio mask 0FFFFFFF read * -> S_OK",
          "Set GPIO.4 [24/48] gpio mask 00007001 write 00002001 -> S_OK"}},
        // A value bit of line 14 outside the mask does not raise it; line 13 keeps its level.
        {"line 14 in the value only", [](auto& a) { return a.GPIO_Write(0x4001, 0x0001); }, S_OK,
         {"Get GPIO.4 [24/48] gpio mask 0FFFFFFF read * -> S_OK",
          "Set GPIO.4 [24/48] gpio mask 00007001 write 00002001 -> S_OK"}},
    });
    EXPECT_EQ(0x7001u, bridge.Directions() & 0x7001);
    EXPECT_EQ(0x2001u, bridge.HostLatches() & 0x7001);

    // Lines at 0x3000, the caller naming 12 and 13: its bits are used.
    ASSERT_EQ(S_OK, merging.GPIO_Write(0x3000, 0x3000));
    const ULONGLONG start = platform::ClockNow();
    ExpectSlots<CKsGpioAccess2388x>(merging, Driver(), {
        {"lines 12 and 13 named", [](auto& a) { return a.GPIO_Write(0x0000, 0x3000); }, S_OK,
         {"Get GPIO.4 [24/48] gpio mask 0FFFFFFF read * -> S_OK",
          "Set GPIO.4 [24/48] gpio mask 00007000 write 00000000 -> S_OK"}},
    });
    EXPECT_LT(platform::ClockNow() - start, 100u);  // no pause of its own
    EXPECT_EQ(S_OK, merging.GPIO_WriteEx(0x4000, 0x4000, 30));
    EXPECT_GE(platform::ClockNow() - start, 30u);
    EXPECT_EQ(0x4000u, bridge.HostLatches() & 0x7000);
}

// The device information words are 0 after a failed Get, never left undefined; a failed Get
// also ends a merged write before anything is written.
TEST_F(KsGpioAccessTest, FailedRequestsLeaveDefinedResultsAndWriteNothing)
{
    DWORD first = 0x55;
    DWORD second = 0x55;
    platform::InjectFailure("IKsPropertySet::Get", 1, E_ACCESSDENIED);
    EXPECT_EQ(E_ACCESSDENIED, access.GetDeviceInfo(&first, &second));
    EXPECT_EQ(0u, first);
    EXPECT_EQ(0u, second);
    platform::InjectFailure("IKsPropertySet::Get", 1, E_ACCESSDENIED);
    EXPECT_EQ(E_ACCESSDENIED, merging.GPIO_Write(1, 1));
    EXPECT_EQ(0u, Driver().Log().Size());
    EXPECT_EQ(0u, Card().Bridge().Directions());
}

}  // namespace
