// CElgrinAccess on boards whose driver takes vendor commands: the EEPROM probe of Init and the
// path it chooses, on a plain board and on one whose EEPROM command ignores its offset; the
// tuner's status, the lines, and two threads on one object.
#include <gtest/gtest.h>

#include <memory>

#include "access/ElgrinAccess.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/drivers/VendorCommandDriver.h"
#include "platform/runtime.h"
#include "support/AccessFixture.h"
#include "support/VendorWire.h"

namespace {

// A PLL module of model 1 at 0xC0; the remote-key controller at 0xBB; chips at 0x42 and 0xC2.
class ElgrinAccessTest : public AccessFixture {
protected:
    void SetUp() override {}
    ElgrinAccessTest() : board(1)
    {
        driver = &board.Fit<hwsim::VendorCommandDriver>(false);
        auto controller = std::make_unique<hwsim::RegisterFileDevice>(0xBB >> 1, 256);
        controller->Poke(0x30, 0x5C);
        board.GetCard().AddChip("remote", std::move(controller));
        for (BYTE address : {0x42, 0xC2}) {
            auto other = std::make_unique<hwsim::RegisterFileDevice>(address >> 1, 256);
            other->Poke(0x07, address);
            board.GetCard().AddChip(address == 0x42 ? "other" : "second", std::move(other));
        }
        board.GetCard().Eeprom().Poke(0, 0x5A);
        board.GetCard().Eeprom().Poke(1, 0x01);
    }
    // Inits the access object; the probe's commands and its time.
    std::vector<std::string> Init(ULONGLONG* elapsed = nullptr)
    {
        driver->Log().Clear();
        const ULONGLONG start = platform::ClockNow();
        EXPECT_EQ(S_OK, access.Init(board.Filter(), nullptr));
        if (elapsed) *elapsed = platform::ClockNow() - start;
        std::vector<std::string> commands = VendorCommands(*driver);
        driver->Log().Clear();
        return commands;
    }
    // The one command a call sends.
    std::string CommandOf(const std::function<HRESULT()>& call)
    {
        driver->Log().Clear();
        EXPECT_EQ(S_OK, call());
        const std::vector<std::string> commands = VendorCommands(*driver);
        return commands.size() == 1 ? commands[0] : "";
    }

    hwsim::TestBoard board;
    hwsim::VendorCommandDriver* driver = nullptr;
    CElgrinAccess access;
};

TEST_F(ElgrinAccessTest, OnAPlainBoardTheProbeFindsNoAliasingAndEepromDevicesUseTheEepromCommand)
{
    ULONGLONG elapsed = 0;
    EXPECT_EQ((std::vector<std::string>{"C0 0E A0 00 00 00 01 00", "C0 10 A0 00 00 00 01 00",
                                        "40 0E A0 00 00 00 01 00 99", "C0 0E A0 00 01 00 01 00",
                                        "40 0E A0 00 00 00 01 00 5A"}),
              Init(&elapsed));
    EXPECT_GE(elapsed, 100u);
    EXPECT_EQ(0u, access.I2CPath());
    EXPECT_EQ(0x5A, board.GetCard().Eeprom().Peek(0));

    BYTE byte = 0;
    EXPECT_EQ("C0 0E C2 00 07 00 01 00", CommandOf([&] { return access.I2C_Read(0xC2, 7, &byte); }));
    EXPECT_EQ(0xC2, byte);
    EXPECT_EQ("C0 10 42 07 00 00 01 00", CommandOf([&] { return access.I2C_Read(0x42, 7, &byte); }));
    EXPECT_EQ(0x42, byte);
    EXPECT_EQ("C0 0E BB 00 30 00 01 00", CommandOf([&] { return access.I2C_Read(0xBB, 0x30, &byte); }));
    EXPECT_EQ(0x5C, byte);
    EXPECT_EQ("40 0E A0 00 09 00 01 00 33", CommandOf([&] { return access.I2C_Write(0xA0, 0x109, 0x33); }));
    ExpectEepromRoundTrip(access, board.GetCard());

    // The tuner's status: one raw byte from 0xC0 or 0xC1, whatever the length.
    BYTE program[] = {0xC0, 0x05, 0xF8, 0x8E, 0x01};  // 49750 kHz with the 45750 kHz IF
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(program, 5));
    const auto* tuner = dynamic_cast<hwsim::PllTuner*>(board.GetCard().Chip("tuner"));
    ASSERT_NE(nullptr, tuner);
    BYTE status[4] = {0xC0, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ("C0 09 C0 00 00 00 01 00", CommandOf([&] { return access.I2C_ReadBlock(status, 1); }));
    EXPECT_EQ(tuner->Status(), status[0]);
    EXPECT_TRUE(status[0] & hwsim::PllTuner::kLockBit);
    status[0] = 0xC1;
    EXPECT_EQ("C0 09 C1 00 00 00 01 00", CommandOf([&] { return access.I2C_ReadBlock(status, 4); }));
    EXPECT_EQ(tuner->Status(), status[0]);
    EXPECT_EQ(0xEE, status[1]);
}

// A PLL module's one-byte status read at its own read address (0xC3, 0xC5, 0xC7) is the raw
// read too, so a module of model 32 at 0xC2 reports its lock; a two-byte block read keeps the
// sub-address form.
TEST(ElgrinAccessTuner, AModuleAtC2ReportsItsLockThroughARawRead)
{
    hwsim::TestBoard board(32);
    hwsim::VendorCommandDriver& driver = board.Fit<hwsim::VendorCommandDriver>(false);
    CElgrinAccess access;
    ASSERT_EQ(S_OK, access.Init(board.Filter(), nullptr));
    BYTE program[] = {0xC2, 0x05, 0x8A, 0x8E, 0x01};  // 49750 kHz, on air
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(program, 5));
    driver.Log().Clear();
    auto status = std::make_unique<BYTE[]>(1);  // exactly one byte, as a tuner hands it over
    status[0] = 0xC3;
    ASSERT_EQ(S_OK, access.I2C_ReadBlock(status.get(), 1));
    EXPECT_EQ(std::vector<std::string>{"C0 09 C3 00 00 00 01 00"}, VendorCommands(driver));
    EXPECT_TRUE(status[0] & hwsim::PllTuner::kLockBit);
    BYTE two[4] = {0xA0, 0x00, 0xEE, 0xEE};
    driver.Log().Clear();
    ASSERT_EQ(S_OK, access.I2C_ReadBlock(two, 4));
    EXPECT_EQ(std::vector<std::string>{"C0 10 A0 00 00 00 02 00"}, VendorCommands(driver));
}

TEST_F(ElgrinAccessTest, OnAnAliasingBoardEverythingGoesThroughTheI2CCommand)
{
    driver->SetEepromAliasing(true);
    EXPECT_EQ((std::vector<std::string>{"C0 0E A0 00 00 00 01 00", "C0 10 A0 00 00 00 01 00",
                                        "40 0E A0 00 00 00 01 00 99", "C0 0E A0 00 01 00 01 00",
                                        "C0 0E A0 00 10 00 01 00", "40 10 A0 00 00 00 01 00 5A",
                                        "40 0E A0 00 00 00 01 00 5A"}),
              Init());
    EXPECT_EQ(1u, access.I2CPath());
    EXPECT_EQ(0x5A, board.GetCard().Eeprom().Peek(0));
    BYTE byte = 0;
    EXPECT_EQ("C0 10 C2 07 00 00 01 00", CommandOf([&] { return access.I2C_Read(0xC2, 7, &byte); }));
    EXPECT_EQ("40 10 A0 09 00 00 01 00 33", CommandOf([&] { return access.I2C_Write(0xA0, 9, 0x33); }));
    ExpectEepromRoundTrip(access, board.GetCard());
}

// A probe that cannot finish says so: Init answers its failure and the box is not opened.
// Unread first bytes: nothing written. A failed read after the 0x99: byte 0 restored. A
// restore that fails once is tried again; one that fails twice is Init's failure.
TEST_F(ElgrinAccessTest, AProbeThatCannotFinishIsInitsFailure)
{
    auto init = [&] {
        driver->Log().Clear();
        const HRESULT hr = access.Init(board.Filter(), nullptr);
        platform::ClearFailures();
        return hr;
    };
    BYTE byte = 0;
    platform::InjectFailure("IKsPropertySet::Get", 1, E_FAIL);
    EXPECT_EQ(E_FAIL, init());
    EXPECT_EQ(std::vector<std::string>{"C0 0E A0 00 00 00 01 00"}, VendorCommands(*driver));
    platform::InjectFailure("IKsPropertySet::Get", 1, E_FAIL, 1);
    EXPECT_EQ(E_FAIL, init());
    EXPECT_EQ((std::vector<std::string>{"C0 0E A0 00 00 00 01 00", "C0 10 A0 00 00 00 01 00"}),
              VendorCommands(*driver));
    EXPECT_EQ(std::string::npos, board.GetCard().Bus().LogText().find(" W 00 "));
    driver->Log().Clear();
    EXPECT_NE(S_OK, access.I2C_Read(0xA0, 0, &byte));  // the channel is closed
    EXPECT_EQ(0u, driver->Log().Size());

    // The read of byte 1 fails after the 0x99 went in: byte 0 comes back, Init fails.
    board.GetCard().Bus().ClearLog();
    platform::InjectFailure("IKsPropertySet::Get", 1, E_FAIL, 3);
    EXPECT_EQ(E_FAIL, init());
    EXPECT_NE(std::string::npos, board.GetCard().Bus().LogText().find("A0 W 00 99\n"));
    EXPECT_NE(std::string::npos, driver->Log().Lines().end()[-2].find("cmd 40 0E A0 00 00 00 01 00 5A"));
    EXPECT_EQ(0x5A, board.GetCard().Eeprom().Peek(0));
    EXPECT_EQ(0u, access.I2CPath());

    // The restore is the fifth Set: failed once, it is sent again and Init succeeds.
    platform::InjectFailure("IKsPropertySet::Set", 1, E_FAIL, 4);
    EXPECT_EQ(S_OK, init());
    EXPECT_EQ((std::vector<std::string>{"C0 0E A0 00 00 00 01 00", "C0 10 A0 00 00 00 01 00",
                                        "40 0E A0 00 00 00 01 00 99", "C0 0E A0 00 01 00 01 00",
                                        "40 0E A0 00 00 00 01 00 5A"}),
              VendorCommands(*driver));
    EXPECT_EQ(0x5A, board.GetCard().Eeprom().Peek(0));
    platform::InjectFailure("IKsPropertySet::Set", 2, E_FAIL, 4);
    EXPECT_EQ(E_FAIL, init());
    EXPECT_EQ(0x99, board.GetCard().Eeprom().Peek(0));
    EXPECT_NE(S_OK, access.I2C_Write(0xA0, 0, 0x5A));
}

TEST_F(ElgrinAccessTest, LinesAndTwoThreads)
{
    Init();
    ASSERT_EQ(S_OK, access.ResetTuner(TRUE));
    ASSERT_EQ(S_OK, access.GPIO_Write(1, 6));
    hwsim::Saa713x& bridge = board.GetCard().Bridge();
    EXPECT_EQ(0x42u, bridge.Directions() & 0xFF);
    EXPECT_EQ(0x42u, bridge.HostLatches() & 0xFF);
    DWORD lines = 0;
    ASSERT_EQ(S_OK, access.GPIO_Read(&lines));
    EXPECT_EQ(0x42u, lines);
    ASSERT_EQ(S_OK, access.ResetTuner(FALSE));
    EXPECT_EQ(0x40u, bridge.HostLatches() & 0xFF);

    ExpectTwoThreadsReadTheirOwnAnswers(access, *driver);
}

TEST_F(ElgrinAccessTest, AfterAFailedInitEveryRequestFails)
{
    driver->SetEepromAliasing(true);
    Init();
    ASSERT_EQ(1u, access.I2CPath());
    driver->SetEepromAliasing(false);
    platform::InjectFailure("QueryInterface:IKsPropertySet", 1, E_NOINTERFACE);
    EXPECT_EQ(E_NOINTERFACE, access.Init(board.Filter(), nullptr));
    EXPECT_EQ(0u, access.I2CPath());
    BYTE byte = 0;
    DWORD lines = 0;
    BYTE block[5] = {0xC0, 0x05, 0xF8, 0x8E, 0x01};
    EXPECT_EQ(E_POINTER, access.I2C_Write(0xA0, 0, 1));
    EXPECT_EQ(E_POINTER, access.I2C_Read(0x42, 0, &byte));
    EXPECT_EQ(E_POINTER, access.I2C_WriteBlock(block, 5));
    EXPECT_EQ(E_POINTER, access.GPIO_Read(&lines));
    EXPECT_EQ(E_POINTER, access.ResetTuner(TRUE));
    EXPECT_EQ(0u, driver->Log().Size());
}

}  // namespace
