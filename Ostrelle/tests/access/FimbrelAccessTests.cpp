// CFimbrelAccess against the simulated Fimbrel driver: the I2C records of every slot, the
// EEPROM at 0xA0 and the tuner's status end to end, block writes as one record or as chunks,
// the GPIO registers and the tuner reset pulse on the line model, and the refusals.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "access/FimbrelAccess.h"
#include "hwsim/chips/Saa713x.h"
#include "hwsim/drivers/FimbrelDriver.h"
#include "support/BoxBoard.h"
#include "support/TwoThreadRace.h"

namespace {

class FimbrelAccessTest : public BoxBoardTest<BoxBoard::Family::Fimbrel> {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, access.Init(board.Filter(), nullptr));
        BoxBoardTest::SetUp();
    }
    std::vector<hwsim::WireRequest> Transfers()
    {
        std::vector<hwsim::WireRequest> transfers;
        for (const hwsim::WireRequest& request : board.Driver().Log().Requests()) {
            if (request.verb != hwsim::WireRequest::Verb::QuerySupported) transfers.push_back(request);
        }
        return transfers;
    }

    CFimbrelAccess access;
};

TEST_F(FimbrelAccessTest, WritesAndReadsBackAllEepromBytesAtA0InMode1)
{
    for (int i = 0; i < 256; ++i) ASSERT_EQ(S_OK, access.I2C_Write(0xA0, i, static_cast<BYTE>(i * 3))) << i;
    for (int i = 0; i < 256; ++i) {
        BYTE byte = 0;
        ASSERT_EQ(S_OK, access.I2C_Read(0xA0, i, &byte)) << i;
        ASSERT_EQ(static_cast<BYTE>(i * 3), byte) << i;
    }
    const auto transfers = Transfers();
    const std::vector<BYTE>& read = transfers.back().instance;
    ASSERT_EQ(19u, read.size());
    EXPECT_EQ((std::vector<BYTE>{1, 0xA0, 1, 0xFF}), std::vector<BYTE>(read.begin(), read.begin() + 4));
}

TEST_F(FimbrelAccessTest, TunerStatusComesBackThroughTheBlockRead)
{
    BYTE program[] = {0xC0, 0x05, 0xE2, 0xCE, 0x01};  // 55250 kHz, on air
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(program, 5));
    board.Clear();
    const ULONGLONG start = platform::ClockNow();
    BYTE status[] = {0xC0};
    ASSERT_EQ(S_OK, access.I2C_ReadBlock(status, 1));
    EXPECT_GE(platform::ClockNow() - start, 2u);
    EXPECT_EQ(board.Tuner().Status(), status[0]);
    EXPECT_TRUE(status[0] & hwsim::PllTuner::kLockBit);
    EXPECT_EQ(1506, board.Tuner().Divider());  // the leading one-byte write does not retune
    EXPECT_EQ("C0 W C0\nC1 R " + hwsim::HexBytes(status, 1) + "\n", board.Card().Bus().LogText());
    const auto transfers = Transfers();
    ASSERT_EQ(2u, transfers.size());
    EXPECT_EQ(2, transfers[0].instance[0]);  // mode 2: 0xC0 & 0xA0 is 0x80
}

TEST_F(FimbrelAccessTest, ControllerRegistersAreReadInMode3AtTheReadAddress)
{
    board.Chip("remote").Poke(0xAA, 0x5C);
    BYTE byte = 0;
    ASSERT_EQ(S_OK, access.I2C_Read(0xBA, 0xAA, &byte));
    EXPECT_EQ(0x5C, byte);
    const auto transfers = Transfers();
    ASSERT_EQ(2u, transfers.size());
    EXPECT_EQ((std::vector<BYTE>{3, 0xBA, 1, 0xAA}), std::vector<BYTE>(transfers[0].instance.begin(), transfers[0].instance.begin() + 4));
    EXPECT_EQ((std::vector<BYTE>{3, 0xBB}), std::vector<BYTE>(transfers[1].instance.begin(), transfers[1].instance.begin() + 2));
    // A write to them is an ordinary write in the address's mode (0xBA & 0xA0 is 0xA0: 1).
    ASSERT_EQ(S_OK, access.I2C_Write(0xBA, 0xAB, 0x11));
    EXPECT_EQ(1, Transfers().back().instance[0]);
    EXPECT_EQ(0x11, board.Chip("remote").Peek(0xAB));
}

TEST_F(FimbrelAccessTest, BlockWritesGoAsOneRecordOrAsChunksToOneSubAddress)
{
    std::vector<BYTE> buf(18);
    std::iota(buf.begin(), buf.end(), 0x30);
    buf[0] = 0xBA;
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(buf.data(), 17));  // 16 data bytes: one raw record
    auto transfers = Transfers();
    ASSERT_EQ(1u, transfers.size());
    EXPECT_EQ(2, transfers[0].instance[0]);
    EXPECT_EQ(16, transfers[0].instance[2]);
    EXPECT_EQ(std::vector<BYTE>(buf.begin() + 1, buf.begin() + 17), std::vector<BYTE>(transfers[0].instance.begin() + 3, transfers[0].instance.end()));

    board.Clear();
    const ULONGLONG start = platform::ClockNow();
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(buf.data(), 18));  // 17: a chunk of 15 and a record of 1
    EXPECT_GE(platform::ClockNow() - start, 2u);
    transfers = Transfers();
    ASSERT_EQ(2u, transfers.size());
    EXPECT_EQ(16, transfers[0].instance[2]);
    EXPECT_EQ(buf[1], transfers[0].instance[3]);
    EXPECT_EQ(std::vector<BYTE>(buf.begin() + 2, buf.begin() + 17), std::vector<BYTE>(transfers[0].instance.begin() + 4, transfers[0].instance.end()));
    EXPECT_EQ((std::vector<BYTE>{2, 0xBA, 2, buf[1], buf[17]}), std::vector<BYTE>(transfers[1].instance.begin(), transfers[1].instance.begin() + 5));
    EXPECT_EQ(buf[17], board.Chip("remote").Peek(buf[1]));

    // A failed chunk ends the write with its failure; nothing more is sent.
    std::vector<BYTE> longer(2 + 40, 0x55);
    longer[0] = 0xBA;
    longer[1] = 0x10;
    board.Clear();
    board.Chip("remote").NackTransfers(0, 1, 1);
    EXPECT_EQ(hwsim::kI2CNoAck, access.I2C_WriteBlock(longer.data(), static_cast<int>(longer.size())));
    EXPECT_EQ(1u, Transfers().size());
}

TEST_F(FimbrelAccessTest, GpioRegistersDriveTheLinesAndReadThemBack)
{
    ASSERT_EQ(S_OK, access.GPIO_Write(0x00050004, 0x000F0006));
    const hwsim::Saa713x& lines = board.Card().Bridge();
    EXPECT_EQ(0x000F0006u, lines.Directions());
    EXPECT_EQ(0x00050004u, lines.PinLevels() & 0x000F0006);
    const auto transfers = Transfers();
    ASSERT_EQ(4u, transfers.size());
    std::vector<std::pair<DWORD, DWORD>> writes;
    for (const auto& t : transfers) {
        DWORD record[2];
        std::memcpy(record, t.instance.data(), 8);
        writes.emplace_back(record[0], record[1]);
    }
    EXPECT_EQ((std::vector<std::pair<DWORD, DWORD>>{{0xC7008108, 0x00060000}, {0xC700810C, 0x000F0000},
                                                     {0xC7008100, 0x00060004}, {0xC7008104, 0x000F0005}}),
              writes);
    DWORD value = 0;
    ASSERT_EQ(S_OK, access.GPIO_Read(&value));
    EXPECT_EQ(lines.PinLevels(), value);  // all 32 lines, the controller's included
    EXPECT_EQ(0x00050004u, value & 0x000F0006);
    ASSERT_EQ(S_OK, access.ReadGpioBit(2, &value));
    EXPECT_EQ(1u, value);

    // Every write is attempted; the first failure is the answer.
    board.Clear();
    platform::InjectFailure("IKsPropertySet::Set");
    EXPECT_EQ(E_FAIL, access.GPIO_Write(1, 1));
    EXPECT_EQ(3u, Transfers().size());
}

TEST_F(FimbrelAccessTest, ResetPulsesLineOneLowForTwentyMillisecondsWhateverTheArgument)
{
    struct Change {
        ULONGLONG at;
        bool high;
    };
    struct Watch : hwsim::GpioListener {
        std::vector<Change> changes;
        void OnHostLines(DWORD levels, DWORD driven) override
        {
            if (driven & 2) changes.push_back({platform::ClockNow(), (levels & 2) != 0});
        }
    } watch;
    board.Card().Bridge().Attach(&watch);
    for (BOOL argument : {TRUE, FALSE}) {
        watch.changes.clear();
        const ULONGLONG start = platform::ClockNow();
        ASSERT_EQ(S_OK, access.ResetTuner(argument));
        ASSERT_GE(watch.changes.size(), 2u);
        EXPECT_FALSE(watch.changes.front().high);
        EXPECT_TRUE(watch.changes.back().high);
        EXPECT_GE(watch.changes.back().at - watch.changes.front().at, 20u);
        EXPECT_GE(platform::ClockNow() - start, 40u);
        EXPECT_TRUE(board.Card().Bridge().PinLevels() & hwsim::FimbrelDriver::kTunerResetLine);
    }
    // A reset whose writes are refused fails (not the success the literal 0 would read as).
    board.Driver().OverrideSupport(hwsim::kFimbrelSetA, 6, hwsim::KsDriver::kSupportGet);
    EXPECT_EQ(E_FAIL, access.ResetTuner(TRUE));
    board.Card().Bridge().Detach(&watch);
}

TEST_F(FimbrelAccessTest, RefusesBadInputBeforeSending)
{
    CFimbrelAccess unbound;
    BYTE buf[20] = {0xA0};
    ExpectRefusals(board.Driver(), {
        {"I2C_Read without a byte", E_POINTER, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"I2C_ReadBlock without a buffer", E_POINTER, [&] { return access.I2C_ReadBlock(nullptr, 1); }},
        {"I2C_ReadBlock of 17 bytes", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buf, 17); }},
        {"I2C_ReadBlock of 0 bytes", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buf, 0); }},
        {"I2C_WriteBlock without a buffer", E_POINTER, [&] { return access.I2C_WriteBlock(nullptr, 3); }},
        {"I2C_WriteBlock of the address alone", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buf, 1); }},
        {"I2C_WriteBlock of nothing", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buf, 0); }},
        {"GPIO_Read without a value", E_POINTER, [&] { return access.GPIO_Read(nullptr); }},
        {"unbound I2C_Write", E_POINTER, [&] { return unbound.I2C_Write(0xA0, 0, 0); }},
        {"unbound Open", E_FAIL, [&] { return unbound.Open(TRUE); }},
        {"unbound SetOption", E_FAIL, [&] { return unbound.SetOption(1); }},
        {"Init without a filter", E_POINTER, [&] { return unbound.Init(nullptr, nullptr); }},
        {"WriteBridgeReg", E_NOTIMPL, [&] { return access.WriteBridgeReg(0, 0); }},
        {"ReadBridgeReg", E_NOTIMPL, [&] { BYTE b; return access.ReadBridgeReg(0, &b); }},
        {"WriteGpioBit 32", E_INVALIDARG, [&] { return access.WriteGpioBit(32, 1); }},
        {"WriteGpioBit 40", E_INVALIDARG, [&] { return access.WriteGpioBit(40, 1); }},
        {"WriteGpioBit -1", E_INVALIDARG, [&] { return access.WriteGpioBit(-1, 1); }},
        {"ReadGpioBit 32", E_INVALIDARG, [&] { DWORD v; return access.ReadGpioBit(32, &v); }},
    });
    EXPECT_EQ(S_OK, access.Open(TRUE));
    EXPECT_EQ(S_OK, access.SetOption(1));
    // The direction denied by QuerySupported: E_FAIL with nothing transferred.
    board.Driver().OverrideSupport(hwsim::kFimbrelSetA, 0, hwsim::KsDriver::kSupportGet);
    board.Clear();
    EXPECT_EQ(E_FAIL, access.I2C_Write(0xA0, 0, 0));
    ASSERT_EQ(1u, board.Driver().Log().Size());
    EXPECT_EQ(hwsim::WireRequest::Verb::QuerySupported, board.Driver().Log().Requests()[0].verb);
}

// A second Init rebinds without keeping the first interface.
TEST_F(FimbrelAccessTest, SecondInitReleasesTheInterfaceItHeld)
{
    IUnknown* filter = board.Filter();
    const ULONG before = filter->AddRef();
    filter->Release();
    ASSERT_EQ(S_OK, access.Init(filter, nullptr));
    const ULONG after = filter->AddRef();
    filter->Release();
    EXPECT_EQ(before, after);
}

}  // namespace

namespace {

// A GPIO write of another thread tried while a reset pulse stands between its register writes
// waits for the pulse to end: the pulse's eight register writes go unbroken.
TEST_F(FimbrelAccessTest, AGpioWriteOfAnotherThreadWaitsForTheResetPulse)
{
    auto texts = [&] {
        std::vector<std::string> lines;
        for (const hwsim::WireRequest& request : Transfers()) lines.push_back(request.Text());
        return lines;
    };
    board.Clear();
    ASSERT_EQ(S_OK, access.ResetTuner(TRUE));
    const std::vector<std::string> pulse = texts();
    ASSERT_EQ(8u, pulse.size());
    board.Clear();
    RaceAtRequest(
        board.Driver(), 3, [&] { EXPECT_EQ(S_OK, access.ResetTuner(TRUE)); },
        [&] { EXPECT_EQ(S_OK, access.GPIO_Write(0x4, 0x4)); });
    const std::vector<std::string> raced = texts();
    ASSERT_EQ(12u, raced.size());
    EXPECT_EQ(pulse, std::vector<std::string>(raced.begin(), raced.begin() + 8));
    EXPECT_TRUE(board.Card().Bridge().PinLevels() & hwsim::FimbrelDriver::kTunerResetLine);
    EXPECT_TRUE(board.Card().Bridge().PinLevels() & 0x4);
}

}  // namespace
