// CKsDeviceControlAccess against the simulated device-control driver through the capture
// filter's kernel handle: the primitives of every slot, the checks before anything is sent,
// the EEPROM, the tuner and the GPIO lines, the slow-read rule, and several threads on one
// object.
#include <gtest/gtest.h>

#include <thread>

#include "access/KsDeviceControlAccess.h"
#include "hwsim/drivers/KsDeviceControlDriver.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "platform/comobject.h"
#include "platform/runtime.h"
#include "support/AccessFixture.h"
#include "support/TwoThreadRace.h"
#include "support/TestBoard.h"

namespace {

// Both calls of one command, as the wire log shows them.
std::vector<std::string> Pair(const char* what, const char* result = "S_OK")
{
    const std::string block = std::string(what).rfind("port", 0) == 0 || std::string(what).rfind("gpio", 0) == 0 ||
                                      std::string(what) == "option"
                                  ? "DC.2 [328/328] "
                                  : "DC.4 [120/120] ";
    return {"Set " + block + what + " -> " + result, "Get " + block + what + " -> " + result};
}

std::vector<std::string> Pairs(std::initializer_list<const char*> whats)
{
    std::vector<std::string> lines;
    for (const char* what : whats) {
        for (std::string& line : Pair(what)) lines.push_back(std::move(line));
    }
    return lines;
}

// An object whose kernel handle is null.
class NoHandleObject : public platform::ComObject<IKsObject> {
public:
    STDMETHODIMP_(HANDLE) KsGetObjectHandle() override { return nullptr; }
};

int g_owner;  // stands for the owning card filter

class KsDeviceControlAccessTest : public BoardAccessFixture<CKsDeviceControlAccess> {
protected:
    void SetUp() override { Bind<hwsim::KsDeviceControlDriver>(false, &g_owner); }

    hwsim::KsDeviceControlDriver& Driver() { return static_cast<hwsim::KsDeviceControlDriver&>(board.Driver()); }
};

TEST_F(KsDeviceControlAccessTest, EverySlotSendsItsPrimitivesAsSetAndGetPairs)
{
    BYTE byte = 0;
    BYTE eepromByte = 0;
    DWORD value = 0;
    Driver().SetPortWord(3);
    ExpectSlots<CKsDeviceControlAccess>(access, Driver(), {
        {"Open", [](auto& a) { return a.Open(TRUE); }, S_OK, Pair("open 00")},
        {"Open FALSE", [](auto& a) { return a.Open(FALSE); }, S_OK, {}},
        {"SetOption", [](auto& a) { return a.SetOption(1); }, S_OK, Pair("option")},
        {"I2C_Write", [](auto& a) { return a.I2C_Write(0xA1, 5, 0x12); }, S_OK,
         Pairs({"i2c start", "i2c out A0", "i2c out 05", "i2c out 12", "i2c stop"})},
        {"I2C_Read", [&](auto& a) { return a.I2C_Read(0xA1, 0x105, &byte); }, S_OK,
         Pairs({"i2c start", "i2c out A0", "i2c out 05", "i2c start", "i2c out A1", "i2c in 12", "i2c stop"})},
        {"EEPROM byte", [&](auto& a) { return a.I2C_Read(0xA0, 5, &eepromByte); }, S_OK,
         Pairs({"i2c start", "i2c out A0", "i2c out 05", "i2c start", "i2c out A1", "i2c in 12", "i2c stop"})},
        {"I2C_Read of the tuner", [&](auto& a) { return a.I2C_Read(0xC3, 0x10, &byte); }, S_OK,
         {"Set DC.4 [120/120] i2c start -> S_OK", "Get DC.4 [120/120] i2c start -> S_OK",
          "Set DC.4 [120/120] i2c out C2 -> S_OK", "Get DC.4 [120/120] i2c out C2 -> S_OK",
          "Set DC.4 [120/120] i2c out 10 -> S_OK", "Get DC.4 [120/120] i2c out 10 -> S_OK",
          "Set DC.4 [120/120] i2c start -> S_OK", "Get DC.4 [120/120] i2c start -> S_OK",
          "Set DC.4 [120/120] i2c out C3 -> S_OK", "Get DC.4 [120/120] i2c out C3 -> S_OK",
          "Set DC.4 [120/120] i2c in * -> S_OK", "Get DC.4 [120/120] i2c in * -> S_OK",
          "Set DC.4 [120/120] i2c stop -> S_OK", "Get DC.4 [120/120] i2c stop -> S_OK"}},
        {"I2C_ReadBlock",
         [](auto& a) {
             BYTE status[1] = {0xC2};
             return a.I2C_ReadBlock(status, 1);
         },
         S_OK, {"Set DC.4 [120/120] i2c start -> S_OK", "Get DC.4 [120/120] i2c start -> S_OK",
                "Set DC.4 [120/120] i2c out C3 -> S_OK", "Get DC.4 [120/120] i2c out C3 -> S_OK",
                "Set DC.4 [120/120] i2c in * -> S_OK", "Get DC.4 [120/120] i2c in * -> S_OK",
                "Set DC.4 [120/120] i2c ack -> S_OK", "Get DC.4 [120/120] i2c ack -> S_OK",
                "Set DC.4 [120/120] i2c stop -> S_OK", "Get DC.4 [120/120] i2c stop -> S_OK"}},
        {"I2C_WriteBlock",
         [](auto& a) {
             BYTE program[] = {0xC2, 0x05, 0x8A, 0x8E, 0x01};
             return a.I2C_WriteBlock(program, 5);
         },
         S_OK, Pairs({"i2c start", "i2c out C2", "i2c out 05", "i2c out 8A", "i2c out 8E", "i2c out 01", "i2c stop"})},
        {"GPIO_Write", [](auto& a) { return a.GPIO_Write(0x1000, 0x3000); }, S_OK,
         Pairs({"port read 00000003", "port write 00000000", "gpio mask 00003000 write 00001000", "port write 00000003"})},
        {"GPIO_Read", [&](auto& a) { return a.GPIO_Read(&value); }, S_OK,
         {"Set DC.2 [328/328] port read 00000003 -> S_OK", "Get DC.2 [328/328] port read 00000003 -> S_OK",
          "Set DC.2 [328/328] port write 00000000 -> S_OK", "Get DC.2 [328/328] port write 00000000 -> S_OK",
          "Set DC.2 [328/328] gpio read * -> S_OK", "Get DC.2 [328/328] gpio read * -> S_OK",
          "Set DC.2 [328/328] port write 00000003 -> S_OK", "Get DC.2 [328/328] port write 00000003 -> S_OK"}},
        {"GPIO_WriteEx writes at once", [](auto& a) { return a.GPIO_WriteEx(0x2000, 0x3000, 500); }, S_OK,
         Pairs({"port read 00000003", "port write 00000000", "gpio mask 00003000 write 00002000", "port write 00000003"})},
        {"ResetTuner", [](auto& a) { return a.ResetTuner(TRUE); }, S_OK, {}},
        {"ReadRegister32", [&](auto& a) { return a.ReadRegister32(0x1B0, &value); }, E_FAIL, {}},
        {"Reserved28", [](auto& a) { return a.Reserved28(TRUE); }, E_NOTIMPL, {}},
    });
    EXPECT_EQ(0x12, eepromByte);
    EXPECT_EQ(0x1000u, value & 0x3000);  // as the GPIO write before the read set them
    EXPECT_EQ(3u, Driver().PortWord());
}

TEST_F(KsDeviceControlAccessTest, BlocksCarryTheHeaderAndCodeInOneZeroedBuffer)
{
    ASSERT_EQ(S_OK, access.I2C_Write(0xA0, 5, 0x12));
    const std::vector<hwsim::WireRequest> requests = Driver().Log().Requests();
    ASSERT_EQ(10u, requests.size());
    for (size_t i = 0; i < requests.size(); ++i) {
        const hwsim::WireRequest& request = requests[i];
        ASSERT_EQ(120u, request.data.size());
        EXPECT_EQ(request.instance, request.data);
        KSDC_COMMAND block;
        std::memcpy(&block, request.data.data(), sizeof(block));
        EXPECT_TRUE(IsEqualGUID(KSPROPSETID_DeviceControl, block.Property.Set));
        EXPECT_EQ(4u, block.Property.Id);
        EXPECT_EQ(i % 2 == 0 ? 2u : 1u, block.Property.Flags) << i;
    }
    // The third byte out: code 0x1100000E and the byte at 50, nothing else set.
    std::vector<BYTE> expected(120, 0);
    std::memcpy(expected.data(), requests[6].data.data(), 24);
    const DWORD code = 0x1100000E;
    std::memcpy(expected.data() + 24, &code, 4);
    expected[50] = 0x12;
    EXPECT_EQ(expected, requests[6].data);
}

TEST_F(KsDeviceControlAccessTest, RefusesBadInputBeforeSending)
{
    BYTE byte = 0;
    BYTE buffer[4] = {0xA0};
    ExpectRefusals(Driver(), {
        {"read into nothing", E_POINTER, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"read of a negative sub-address", E_INVALIDARG, [&] { return access.I2C_Read(0xA0, -1, &byte); }},
        {"write to a negative sub-address", E_INVALIDARG, [&] { return access.I2C_Write(0xA0, -1, 1); }},
        {"block read into nothing", E_POINTER, [&] { return access.I2C_ReadBlock(nullptr, 1); }},
        {"block read of nothing", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buffer, 0); }},
        {"block write from nothing", E_POINTER, [&] { return access.I2C_WriteBlock(nullptr, 2); }},
        {"block write of the address only", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buffer, 1); }},
        {"GPIO read into nothing", E_POINTER, [&] { return access.GPIO_Read(nullptr); }},
    });

    // Binding: both pointers, a filter with a kernel handle.
    CKsDeviceControlAccess other;
    EXPECT_EQ(E_POINTER, other.Init(board.Filter(), nullptr));
    EXPECT_EQ(E_POINTER, other.Init(nullptr, &g_owner));
    CComPtr<IKsObject> noHandle;
    noHandle.Attach(new NoHandleObject);
    EXPECT_EQ(E_FAIL, other.Init(noHandle, &g_owner));
    hwsim::TestBoard propertyBoard;
    propertyBoard.Fit<hwsim::Saa713xPropertyDriver>(false);
    EXPECT_EQ(E_INVALIDARG, other.Init(propertyBoard.Filter(), &g_owner));  // no IKsObject

    // Unbound, every command fails; Open and SetOption answer S_OK all the same.
    DWORD value = 7;
    EXPECT_EQ(E_FAIL, other.I2C_Write(0xA0, 0, 1));
    EXPECT_EQ(E_FAIL, other.I2C_Read(0xA0, 0, &byte));
    EXPECT_EQ(E_FAIL, other.GPIO_Read(&value));
    EXPECT_EQ(E_FAIL, other.GPIO_Write(1, 1));
    EXPECT_EQ(S_OK, other.Open(TRUE));
    EXPECT_EQ(S_OK, other.SetOption(1));
    EXPECT_EQ(7u, value);
    EXPECT_EQ(0u, Driver().Log().Size());
}

TEST_F(KsDeviceControlAccessTest, WritesAndReadsBackAll256EepromBytesAndTheTunerLock)
{
    ExpectEepromRoundTrip(access, Card());
    ExpectTunerLock(access, Card());
}

TEST_F(KsDeviceControlAccessTest, GpioSavesZeroesAndRestoresThePortWordAroundTheLines)
{
    hwsim::Saa713x& bridge = Card().Bridge();
    Driver().SetPortWord(0x55);
    ASSERT_EQ(S_OK, access.GPIO_Write(0x0ABC, 0x0FFF));
    EXPECT_EQ(0x0ABCu, bridge.HostLatches() & 0x0FFF);
    EXPECT_EQ(0x0FFFu, bridge.Directions() & 0x0FFF);
    EXPECT_EQ(0x55u, Driver().PortWord());
    bridge.DriveExternal(0x00F00000, 0x00300000);
    DWORD value = 0;
    ASSERT_EQ(S_OK, access.GPIO_Read(&value));
    EXPECT_EQ(0x00300ABCu, value & 0x00F00FFF);
    EXPECT_EQ(0x55u, Driver().PortWord());
}

TEST_F(KsDeviceControlAccessTest, SlowBlockReadFailsAlthoughItsBytesWereStored)
{
    Card().Eeprom().Poke(0, 0x11);
    Card().Eeprom().Poke(1, 0x22);
    Card().Eeprom().Poke(2, 0x33);
    for (DWORD delay : {401u, 400u}) {
        SCOPED_TRACE(delay);
        ASSERT_EQ(S_OK, access.I2C_Write(0xA0, 0, 0x11));  // the chip's address pointer to 0... and byte 0
        // The read takes `delay` ms on the test clock.
        bool slept = false;
        Driver().SetRequestHook([&](const hwsim::WireRequest&) {
            if (!slept) Sleep(delay);
            slept = true;
        });
        BYTE buffer[2] = {0xA0, 0x00};
        const HRESULT expected = delay > 400 ? E_FAIL : S_OK;
        EXPECT_EQ(expected, access.I2C_ReadBlock(buffer, 2));
        Driver().SetRequestHook({});
        EXPECT_EQ(0x22, buffer[0]);  // the pointer stood after the byte written
        EXPECT_EQ(0x33, buffer[1]);  // both bytes stored, also when the read counts as failed
    }
}

// The decided mends: a failed byte of a block transfer is followed by a stop; a port word that
// cannot be read ends a GPIO slot with nothing more sent.
TEST_F(KsDeviceControlAccessTest, FailedTransfersEndWithAStopAndFailedPortReadsSendNothingMore)
{
    Card().Chip("tuner")->SetAbsent(true);
    BYTE status[2] = {0xC2, 0};
    EXPECT_EQ(hwsim::kI2CNoAck, access.I2C_ReadBlock(status, 2));
    std::vector<std::string> lines = Wire(Driver());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("Get DC.4 [120/120] i2c stop -> S_OK", lines.back());
    EXPECT_EQ("C3 R NACK@0\n", Card().Bus().LogText());

    Clear(Driver());
    BYTE program[] = {0xC2, 0x05, 0x8A};
    EXPECT_EQ(hwsim::kI2CNoAck, access.I2C_WriteBlock(program, 3));
    ExpectWire(Driver(), {"Set DC.4 [120/120] i2c start -> S_OK", "Get DC.4 [120/120] i2c start -> S_OK",
                          "Set DC.4 [120/120] i2c out C2 -> 80004005", "Set DC.4 [120/120] i2c stop -> S_OK",
                          "Get DC.4 [120/120] i2c stop -> S_OK"});

    // Another thread's transfer goes through: the bus was left closed.
    std::thread other([&] { EXPECT_EQ(S_OK, access.I2C_Write(0xA0, 1, 0x44)); });
    other.join();
    EXPECT_EQ(0x44, Card().Eeprom().Peek(1));

    Clear(Driver());
    Driver().SetPortWord(0x55);
    platform::InjectFailure("KsSynchronousDeviceControl", 1, E_ACCESSDENIED);
    DWORD value = 7;
    EXPECT_EQ(E_ACCESSDENIED, access.GPIO_Read(&value));
    EXPECT_EQ(7u, value);
    platform::InjectFailure("KsSynchronousDeviceControl", 1, E_ACCESSDENIED, 1);  // the port read's GET
    EXPECT_EQ(E_ACCESSDENIED, access.GPIO_Write(0x1000, 0x3000));
    ExpectWire(Driver(), {"Set DC.2 [328/328] port read 00000055 -> S_OK"});
    EXPECT_EQ(0x55u, Driver().PortWord());
    EXPECT_EQ(0u, Card().Bridge().Directions());
}

TEST_F(KsDeviceControlAccessTest, TwoThreadsOnOneObjectNeverInterleaveTheirSequences)
{
    Driver().SetPortWord(0x55);
    // A GPIO write of another thread tried while one stands between its port-word save and
    // restore waits for the restore.
    RaceAtRequest(
        Driver(), 3, [&] { EXPECT_EQ(S_OK, access.GPIO_Write(0x1000, 0x3000)); },
        [&] { EXPECT_EQ(S_OK, access.GPIO_Write(0x0ABC, 0x0FFF)); });
    const std::vector<std::string> first =
        Pairs({"port read 00000055", "port write 00000000", "gpio mask 00003000 write 00001000", "port write 00000055"});
    std::vector<std::string> lines = Wire(Driver());
    ASSERT_EQ(16u, lines.size());
    EXPECT_EQ(first, std::vector<std::string>(lines.begin(), lines.begin() + 8));
    EXPECT_EQ("Set DC.2 [328/328] port read 00000055 -> S_OK", lines[8]);
    EXPECT_EQ(0x55u, Driver().PortWord());

    // EEPROM writes and GPIO writes at once from two threads.
    std::thread eeprom([&] {
        for (int offset = 0; offset < 64; ++offset) EXPECT_EQ(S_OK, access.I2C_Write(0xA0, offset, 0x5A));
    });
    for (int i = 0; i < 32; ++i) EXPECT_EQ(S_OK, access.GPIO_Write(i & 1 ? 0x1000 : 0x2000, 0x3000));
    eeprom.join();
    const std::vector<BYTE> bytes = Card().Eeprom().Contents();
    EXPECT_EQ(std::vector<BYTE>(64, 0x5A), std::vector<BYTE>(bytes.begin(), bytes.begin() + 64));
    EXPECT_EQ(0x1000u, Card().Bridge().HostLatches() & 0x3000);
    EXPECT_EQ(0x55u, Driver().PortWord());
}

}  // namespace
