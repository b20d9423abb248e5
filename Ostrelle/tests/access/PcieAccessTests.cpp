// CPcieAccess against two simulated Lurvan dual-tuner boards reached through SetupAPI,
// CreateFileA and DeviceIoControl: which board and half each flag reaches (tuner addresses,
// GPIO selectors and reset lines on the wire), the EEPROM and both tuners end to end, the
// 16-bit sub-address forms, the open's failures step by step, and the refusals.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "access/PcieAccess.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/drivers/PcieDriver.h"
#include "support/AccessFixture.h"
#include "uuids.h"

namespace {

const hwsim::CardKind kPcieKind{"Test PCIe Capture", "Test PCIe Crossbar", "Test PCIe Tuner", &hwsim::StandardPinLayout};

void* Flag(uintptr_t flag) { return reinterpret_cast<void*>(flag); }

// Two boards: on each the PLL tuner of half A at 0xC2 (model 32), of half B at 0xC8, the
// EEPROM at 0xA0 and a register file at 0xBA.
class PcieAccessTest : public AccessFixture {
protected:
    PcieAccessTest() : m_rf({{49750, "E2"}})
    {
        for (int instance = 0; instance < 2; ++instance) {
            hwsim::CardSpec desc;
            desc.kind = &kPcieKind;
            desc.instance = instance;
            desc.tunerModel = 32;
            desc.eeprom.assign(256, 0xFF);
            cards[instance] = std::make_unique<hwsim::Card>(desc, m_rf, hwsim::Bench::StateFileFor(kPcieKind, instance));
            hwsim::PllTuner::Options halfB;
            halfB.address7 = 0xC8 >> 1;
            cards[instance]->AddChip("tuner2", std::make_unique<hwsim::PllTuner>(m_rf, halfB));
            cards[instance]->AddChip("controller", std::make_unique<hwsim::RegisterFileDevice>(0xBA >> 1, 256));
            drivers[instance] = std::make_shared<hwsim::PcieDriver>(*cards[instance]);
            hwsim::PcieDriver::PlugCaptureDevices(drivers[instance]);
        }
    }
    ~PcieAccessTest() override
    {
        for (auto& driver : drivers) driver.reset();
    }
    void SetUp() override {}
    void TearDown() override { platform::ClearFailures(); }

    hwsim::PllTuner& Tuner(int board, int half)
    {
        return *static_cast<hwsim::PllTuner*>(cards[board]->Chip(half ? "tuner2" : "tuner"));
    }

    hwsim::RfEnvironment m_rf;
    std::unique_ptr<hwsim::Card> cards[2];
    std::shared_ptr<hwsim::PcieDriver> drivers[2];
};

TEST_F(PcieAccessTest, EachFlagReachesItsBoardsHalfTunerAndResetLine)
{
    EXPECT_EQ(4u, platform::DevicesInCategory(CLSID_VideoInputDeviceCategory).size());
    for (uintptr_t flag = 0; flag < 4; ++flag) {
        SCOPED_TRACE(flag);
        const int board = flag >> 1;
        const int half = flag & 1;
        const std::string tuner = half ? "C8" : "C2";
        const std::string selector = half ? "4" : "3";
        CPcieAccess access;
        ASSERT_EQ(S_OK, access.Init(nullptr, Flag(flag)));
        Clear(*drivers[0]);
        Clear(*drivers[1]);
        BYTE program[] = {0x05, 0x8A, 0x8E, 0x01};  // 49750 kHz: the buffer goes as it stands
        ASSERT_EQ(S_OK, access.I2C_WriteBlock(program, 4));
        BYTE status[1] = {0xEE};
        ASSERT_EQ(S_OK, access.I2C_ReadBlock(status, 1));
        EXPECT_EQ(Tuner(board, half).Status(), status[0]);
        EXPECT_TRUE(status[0] & hwsim::PllTuner::kLockBit);
        ASSERT_EQ(S_OK, access.ResetTuner(FALSE));
        EXPECT_EQ(0u, cards[board]->Bridge().PinLevels() & (1u << (3 + half)));
        ASSERT_EQ(S_OK, access.ResetTuner(TRUE));
        EXPECT_NE(0u, cards[board]->Bridge().PinLevels() & (1u << (3 + half)));
        ExpectWire(*drivers[board], {"Set PCIE.2269188 [0/252] raw " + tuner + " write 05 8A 8E 01 -> S_OK",
                                     "Get PCIE.2252800 [253/1] raw " + std::string(half ? "C9" : "C3") + " read * -> S_OK",
                                     "Set PCIE.2253912 [0/2] gpio " + selector + " level 0 -> S_OK",
                                     "Set PCIE.2253912 [0/2] gpio " + selector + " level 1 -> S_OK"});
        EXPECT_EQ(0u, drivers[1 - board]->Log().Size());
    }
}

TEST_F(PcieAccessTest, WritesAndReadsBackTheEepromAndTheSixteenBitForms)
{
    CPcieAccess access;
    ASSERT_EQ(S_OK, access.Init(nullptr, Flag(3)));
    ExpectEepromRoundTrip(access, *cards[1]);
    Clear(*drivers[1]);
    ASSERT_EQ(S_OK, access.WriteReg16(0xBA, 0x05, 0x77));
    BYTE value = 0;
    ASSERT_EQ(S_OK, access.ReadReg16(0xBA, 0x05, &value));
    EXPECT_EQ("BA W 00 05 77\nBA W 00 05\nBB R 77\n", cards[1]->Bus().LogText());
}

TEST_F(PcieAccessTest, WithoutItsBoardInitFailsAndEveryRequestFailsWithoutTouchingItsOutput)
{
    CPcieAccess access;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS), access.Init(nullptr, Flag(4)));  // a third board
    BYTE byte = 0x66;
    BYTE block[4] = {0xC2, 1, 2, 3};
    DWORD word = 0x12345678;
    const HRESULT closed = HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
    EXPECT_EQ(closed, access.I2C_Read(0xA0, 0, &byte));
    EXPECT_EQ(closed, access.ReadReg16(0xA0, 0, &byte));
    EXPECT_EQ(closed, access.I2C_ReadBlock(block, 4));
    EXPECT_EQ(closed, access.I2C_Write(0xA0, 0, 1));
    EXPECT_EQ(closed, access.I2C_WriteBlock(block, 4));
    EXPECT_EQ(closed, access.GPIO_Write(1, 0));
    EXPECT_EQ(closed, access.ResetTuner(TRUE));
    EXPECT_EQ(1, access.GPIO_Read(&word));
    EXPECT_EQ(1, access.SetOption(0));
    EXPECT_EQ(0x66, byte);
    EXPECT_EQ(0xC2, block[0]);
    EXPECT_EQ(0x12345678u, word);

    // A device that does not answer, and an unplugged board, fail as well.
    ASSERT_EQ(S_OK, access.Init(nullptr, Flag(0)));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_IO_DEVICE), access.I2C_Read(0x50, 0, &byte));
    EXPECT_EQ(0x66, byte);
    cards[0]->Unplug();
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED), access.ResetTuner(TRUE));
    // Unplugged, the board's interface is gone: index 0 is now the second board.
    ASSERT_EQ(S_OK, access.Init(nullptr, Flag(1)));
    EXPECT_EQ(S_OK, access.I2C_Read(0xA0, 0, &byte));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS), access.Init(nullptr, Flag(2)));
}

TEST_F(PcieAccessTest, EachFailingOpenStepEndsTheOpenWithItsError)
{
    struct Step {
        const char* call;
        int skip;
    };
    for (const Step& step : {Step{"SetupDiGetClassDevsA", 0}, Step{"SetupDiEnumDeviceInterfaces", 0},
                             Step{"SetupDiGetDeviceInterfaceDetailA", 0}, Step{"SetupDiGetDeviceInterfaceDetailA", 1},
                             Step{"CreateFileA", 0}}) {
        SCOPED_TRACE(std::string(step.call) + " after " + std::to_string(step.skip));
        CPcieAccess access;
        platform::InjectFailure(step.call, 1, ERROR_NOT_READY, step.skip);
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NOT_READY), access.Init(nullptr, Flag(1)));
        BYTE byte = 0;
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE), access.I2C_Read(0xA0, 0, &byte));
        EXPECT_EQ(S_OK, access.Init(nullptr, Flag(1)));
        platform::ClearFailures();
    }
}

TEST_F(PcieAccessTest, FlagsAbove255AreRefusedAndBadInputSendsNothing)
{
    CPcieAccess access;
    EXPECT_EQ(0, access.SetFlag(3));
    EXPECT_EQ(-1, access.SetFlag(256));
    EXPECT_EQ(3, access.SetFlag(3));
    ASSERT_EQ(S_OK, access.Init(nullptr, Flag(0x102)));  // refused: the open keeps flag 3
    Clear(*drivers[0]);
    Clear(*drivers[1]);
    ASSERT_EQ(S_OK, access.ResetTuner(TRUE));
    EXPECT_EQ(0u, drivers[0]->Log().Size());
    ExpectWire(*drivers[1], {"Set PCIE.2253912 [0/2] gpio 4 level 1 -> S_OK"});

    BYTE buf[300] = {0xC2};
    ExpectRefusals(*drivers[1], {
        {"read, null", E_POINTER, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"read16, null", E_POINTER, [&] { return access.ReadReg16(0xA0, 0, nullptr); }},
        {"read16, sub 0x105", E_INVALIDARG, [&] { BYTE b; return access.ReadReg16(0xBA, 0x105, &b); }},
        {"write16, sub 0x100", E_INVALIDARG, [&] { return access.WriteReg16(0xBA, 0x100, 0x77); }},
        {"read, negative sub", E_INVALIDARG, [&] { BYTE b; return access.I2C_Read(0xA0, -1, &b); }},
        {"block read, null", E_POINTER, [&] { return access.I2C_ReadBlock(nullptr, 1); }},
        {"block read, 0", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buf, 0); }},
        {"block read, 256", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buf, 256); }},
        {"block write, null", E_POINTER, [&] { return access.I2C_WriteBlock(nullptr, 1); }},
        {"block write, 0", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buf, 0); }},
        {"block write, 251", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buf, 251); }},
    });
}

}  // namespace
