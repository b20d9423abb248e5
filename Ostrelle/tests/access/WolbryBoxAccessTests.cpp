// CWolbryBoxAccess against the simulated box driver: block writes cut into pieces by the piece
// table, the 4-byte block read, the reset property holding and releasing the tuner's reset
// line, the EEPROM at 0xA2, and the refusals.
#include <gtest/gtest.h>

#include <numeric>

#include "access/WolbryBoxAccess.h"
#include "hwsim/drivers/BoxDriver.h"
#include "support/BoxBoard.h"

namespace {

class WolbryBoxAccessTest : public BoxBoardTest<BoxBoard::Family::WolbryBox> {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, access.Init(board.Filter(), nullptr));
        BoxBoardTest::SetUp();
    }
    // The Sets of the wire log, QuerySupported left out.
    std::vector<std::string> Sets()
    {
        std::vector<std::string> sets;
        for (const std::string& line : board.Driver().Log().Lines()) {
            if (line.rfind("Set ", 0) == 0) sets.push_back(line);
        }
        return sets;
    }

    CWolbryBoxAccess access;
};

TEST_F(WolbryBoxAccessTest, BlockWritesGoOutAsPiecesOfTheLeadByteAndUpToSevenBytes)
{
    BYTE buf[10] = {0xC2, 0x10, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28};
    struct Row {
        int len;
        std::vector<std::string> sets;
    };
    const Row rows[] = {
        {2, {"Set BOX.20 [9/4] dev 61 mode 21 raw C2 write 10 -> S_OK"}},
        {9, {"Set BOX.20 [9/4] dev 61 mode 1F raw C2 write 10 21 22 23 24 25 26 27 -> S_OK"}},
        {10,
         {"Set BOX.20 [9/4] dev 61 mode 1F raw C2 write 10 21 22 23 24 25 26 27 -> S_OK",
          "Set BOX.20 [9/4] dev 61 mode 29 raw C2 write 10 28 -> S_OK"}},
        {5, {"Set BOX.20 [9/4] dev 61 mode 39 raw C2 write 10 21 22 23 -> S_OK"}},
        {6, {"Set BOX.20 [9/4] dev 61 mode 07 raw C2 write 10 21 22 23 24 -> S_OK"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.len);
        board.Clear();
        EXPECT_EQ(S_OK, access.I2C_WriteBlock(buf, row.len));
        EXPECT_EQ(row.sets, Sets());
    }
    // Row 7 of the table: register = the lead byte and three payload bytes, value = the rest.
    board.Clear();
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(buf, 9));
    const hwsim::WireRequest piece = board.Driver().Log().Requests().back();
    EXPECT_EQ((std::vector<BYTE>{0x61, 0, 0, 0, 0x1F, 0x23, 0x22, 0x21, 0x10}), piece.instance);
    EXPECT_EQ((std::vector<BYTE>{0x27, 0x26, 0x25, 0x24}), piece.data);
    EXPECT_EQ(CWolbryBoxAccess::kPieceModes[3].bIndexMode, 0x39);
}

TEST_F(WolbryBoxAccessTest, LongBlockWriteSendsEveryPieceAndReportsAnyFailure)
{
    std::vector<BYTE> buf(2 + 20);
    std::iota(buf.begin(), buf.end(), 0);
    buf[0] = 0xC2;
    board.Chip("wolbry").NackTransfers(0, 1, 1);  // the first piece fails on its first data byte
    EXPECT_EQ(E_FAIL, access.I2C_WriteBlock(buf.data(), static_cast<int>(buf.size())));
    ASSERT_EQ(3u, Sets().size());  // 7 + 7 + 6 payload bytes
    for (const std::string& set : Sets()) EXPECT_NE(std::string::npos, set.find("write 01 ")) << set;
    EXPECT_TRUE(platform::TraceContains("iWriteBytes = 22Start Reset Tuner"));
    EXPECT_TRUE(platform::TraceContains("m_stuI2cData[bySendSize].bIndexMode:23 AddrLen = 4, DataLen = 3"));
}

TEST_F(WolbryBoxAccessTest, BlockReadTakesFourBytesAndAProbeGetsTheFirst)
{
    hwsim::RegisterFileDevice& chip = board.Chip("wolbry");
    for (BYTE i = 0; i < 8; ++i) chip.Poke(i, static_cast<BYTE>(0xA1 + i));
    BYTE buf[2] = {0xC2, 0x00};
    ASSERT_EQ(S_OK, access.I2C_ReadBlock(buf, 2));
    EXPECT_EQ(0xA2, buf[1]);  // bits 16 to 23: the second byte read
    EXPECT_TRUE(platform::TraceContains("Locked Data:"));
    // A one-byte probe: the first byte read (the chip's pointer has moved on to 4) lands in the
    // buffer, nothing past its end.
    BYTE probe[2] = {0xC2, 0x77};
    ASSERT_EQ(S_OK, access.I2C_ReadBlock(probe, 1));
    EXPECT_EQ(0xA5, probe[0]);
    EXPECT_EQ(0x77, probe[1]);
}

TEST_F(WolbryBoxAccessTest, ResetPropertyHoldsAndReleasesTheTunersResetLine)
{
    const DWORD line = hwsim::BoxDriver::kTunerResetLine;
    ASSERT_EQ(S_OK, access.ResetTuner(FALSE));  // held: property 25 = 1
    EXPECT_TRUE(board.Card().Bridge().Directions() & line);
    EXPECT_FALSE(board.Card().Bridge().PinLevels() & line);
    EXPECT_EQ((std::vector<BYTE>{1}), board.Driver().Log().Requests().back().data);
    ASSERT_EQ(S_OK, access.ResetTuner(TRUE));  // released: property 25 = 0
    EXPECT_TRUE(board.Card().Bridge().PinLevels() & line);
    EXPECT_TRUE(platform::TraceContains("ResetXceive : bOpen = 1"));
    const hwsim::WireRequest request = board.Driver().Log().Requests().back();
    EXPECT_EQ(25u, request.id);
    EXPECT_EQ(0u, request.instanceLength);
    EXPECT_EQ((std::vector<BYTE>{0}), request.data);

    // A refused reset is a failure, not the success the literal 0 would read as.
    board.Driver().OverrideSupport(hwsim::kBoxPropertySet, 25, 0);
    EXPECT_EQ(E_FAIL, access.ResetTuner(TRUE));
}

TEST_F(WolbryBoxAccessTest, WritesAndReadsBackAllEepromBytesAtA2)
{
    for (int i = 0; i < 256; ++i) ASSERT_EQ(S_OK, access.I2C_Write(0xA2, i, static_cast<BYTE>(255 - i))) << i;
    for (int i = 0; i < 256; ++i) {
        BYTE byte = 0;
        ASSERT_EQ(S_OK, access.I2C_Read(0xA2, i, &byte)) << i;
        ASSERT_EQ(255 - i, byte) << i;
    }
    EXPECT_TRUE(platform::TraceContains("I2C_Write(ucSlaveAddr = 162, iSubAddr = 255, ucData = 0) "));
    board.Clear();
    BYTE byte = 0;
    ASSERT_EQ(S_OK, access.I2C_Read(0x40, 2, &byte));
    ASSERT_EQ(S_OK, access.I2C_Read(0xC2, 2, &byte));
    const auto requests = board.Driver().Log().Requests();
    ASSERT_EQ(4u, requests.size());
    EXPECT_EQ((std::vector<BYTE>{0x21, 0, 0, 0, 1, 2, 0, 0, 0}), requests[1].instance);
    EXPECT_EQ((std::vector<BYTE>{0x61, 0, 0, 0, 3, 2, 0, 0, 0}), requests[3].instance);
}

TEST_F(WolbryBoxAccessTest, RefusesBadInputBeforeSending)
{
    BYTE one[] = {0xC2};
    ExpectRefusals(board.Driver(), {
        {"I2C_ReadBlock without a buffer", E_POINTER, [&] { return access.I2C_ReadBlock(nullptr, 2); }},
        {"I2C_ReadBlock of length 0", E_INVALIDARG, [&] { return access.I2C_ReadBlock(one, 0); }},
        {"I2C_WriteBlock without a buffer", E_POINTER, [&] { return access.I2C_WriteBlock(nullptr, 4); }},
        {"I2C_WriteBlock of the address alone answers 0 unsent", S_OK, [&] { return access.I2C_WriteBlock(one, 1); }},
        {"I2C_Read without a byte", E_POINTER, [&] { return access.I2C_Read(0xA2, 0, nullptr); }},
        {"SetOption", E_NOTIMPL, [&] { return access.SetOption(1); }},
        {"GPIO_Write", E_NOTIMPL, [&] { return access.GPIO_Write(1, 1); }},
    });
}

}  // namespace
