// The vendor commands of CCommandChannel, CTridentAccess, CTridentUsbAccess and CElgrinAccess
// against the simulated vendor-command driver: every builder's bytes and count, the trace, the
// chunked block write and its pauses, and the input refused before anything is sent.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "access/CommandChannel.h"
#include "access/ElgrinAccess.h"
#include "access/TridentAccess.h"
#include "access/TridentUsbAccess.h"
#include "hwsim/drivers/VendorCommandDriver.h"
#include "platform/runtime.h"
#include "support/AccessFixture.h"
#include "support/VendorWire.h"

namespace {

class CommandChannelTest : public BoardAccessFixture<CTridentAccess> {
protected:
    void SetUp() override
    {
        Bind<hwsim::VendorCommandDriver>(false, nullptr);
        ASSERT_EQ(S_OK, channel.Init(board.Filter()));
        ASSERT_EQ(S_OK, usb.Init(board.Filter(), nullptr));
        Clear(Driver());
    }

    struct Row {
        const char* what;
        std::function<HRESULT()> call;
        std::vector<std::string> commands;
    };
    void ExpectCommands(const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            Clear(Driver());
            EXPECT_EQ(S_OK, row.call());
            EXPECT_EQ(row.commands, VendorCommands(Driver()));
        }
    }

    CCommandChannel channel;
    CTridentUsbAccess usb;
};

// Data bytes 1, 2, 3, ... after an address and a sub-address.
std::vector<BYTE> Block(BYTE addr, BYTE sub, int n)
{
    std::vector<BYTE> block = {addr, sub};
    for (int i = 1; i <= n; ++i) block.push_back(static_cast<BYTE>(i));
    return block;
}

TEST_F(CommandChannelTest, EveryBuilderSendsItsLayoutWithItsCount)
{
    BYTE byte = 0;
    BYTE lines = 0xFF;
    WORD word = 0;
    WORD io = 8;
    BYTE ten[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::vector<BYTE> read = Block(0xA0, 0x12, 3);
    std::vector<BYTE> twelve = Block(0xA0, 0x40, 10);
    std::vector<BYTE> usbRead = Block(0xA0, 0x40, 3);
    std::vector<BYTE> chunked = Block(0xA0, 0x50, 21);
    BYTE status[1] = {0xC3};
    BYTE block[] = {0xA0, 0x20, 0x01, 0x02};
    BYTE to[] = {0x21, 0x03};
    Card().Bridge().DriveExternal(0xFF, 0xFF);  // every line high unless driven
    ExpectCommands({
        {"WriteEepromByte, count 9", [&] { return channel.WriteEepromByte(0xA0, 5, 0x12); },
         {"40 0E A0 00 05 00 01 00 12"}},
        {"ReadEepromByte", [&] { return channel.ReadEepromByte(0xA0, 5, &byte); }, {"C0 0E A0 00 05 00 01 00"}},
        {"I2CReadByte clears bit 0", [&] { return channel.I2CReadByte(0xA1, 5, &byte); }, {"C0 10 A0 05 00 00 01 00"}},
        {"I2CWriteByte", [&] { return channel.I2CWriteByte(0xA0, 6, 0x34); }, {"40 10 A0 06 00 00 01 00 34"}},
        {"I2CWrite of 10 bytes, count 18", [&] { return channel.I2CWrite(0xA0, 0x10, ten, 10); },
         {"40 10 A0 10 00 00 0A 00 01 02 03 04 05 06 07 08 09 0A"}},
        {"I2CRead", [&] { return channel.I2CRead(0xA0, 0x10, ten, 10); }, {"C0 10 A0 10 00 00 0A 00"}},
        {"I2CReadBlock", [&] { return channel.I2CReadBlock(read.data(), 5); }, {"C0 10 A0 12 00 00 03 00"}},
        {"I2CWriteBlock", [&] { return channel.I2CWriteBlock(block, 4); }, {"40 10 A0 20 00 00 02 00 01 02"}},
        {"I2CWriteTo", [&] { return channel.I2CWriteTo(0xA0, to, 2); }, {"40 10 A0 21 00 00 01 00 03"}},
        {"I2CReadDirect", [&] { return channel.I2CReadDirect(0xC2, &byte); }, {"C0 09 C2 00 00 00 01 00"}},
        {"I2CWriteDirect4", [&] { return channel.I2CWriteDirect4(0xC2, 0x05, 0x8A, 0x8E, 0x01); },
         {"40 09 C2 04 00 00 04 00", "40 14 05 8A 8E 01 00 00"}},
        {"I2CWriteShort", [&] { return channel.I2CWriteShort(0xA0, 0x30, block + 2, 2); },
         {"40 0A A0 02 30 00 00 00", "40 14 01 02 00 00 00 00"}},
        {"QuickWrite", [&] { return channel.QuickWrite(0xA0, 0x31, 0x44); }, {"40 10 A0 31 44 00 00 00"}},
        {"WriteBridgeReg", [&] { return channel.WriteBridgeReg(0x3A, 0x55); }, {"40 07 3A 00 55 00 00 00"}},
        {"ReadBridgeReg", [&] { return channel.ReadBridgeReg(0x3A, &byte); }, {"C0 07 3A 00 00 00 01 00"}},
        {"ControlRequest", [&] { return channel.ControlRequest(0xC0, 0x10, 0x05A0, 0, &io); },
         {"C0 10 A0 05 00 00 08 00"}},
        {"WriteRequest05", [&] { return channel.WriteRequest05(1, 0x66); }, {"40 05 01 00 66 00 00 00"}},
        {"ReadRequest05", [&] { return channel.ReadRequest05(1, &byte); }, {"C0 05 01 00 00 00 01 00"}},
        {"WriteRequest0C", [&] { return channel.WriteRequest0C(1, 2, 3); }, {"40 0C 01 00 02 00 03 00"}},
        {"ReadRequest0C", [&] { return channel.ReadRequest0C(1, 2, &byte); }, {"C0 0C 01 00 02 00 01 00"}},
        {"WriteWord", [&] { return channel.WriteWord(1, 0x1234, 0xABCD); }, {"40 11 01 00 34 12 CD AB"}},
        {"ReadWord", [&] { return channel.ReadWord(1, 0x1234, &word); }, {"C0 11 01 00 34 12 02 00"}},
        {"WriteLine", [&] { return channel.WriteLine(0, 0); }, {"40 03 01 01 00 00 00 00"}},
        {"ReadLine", [&] { return channel.ReadLine(5, &byte); }, {"C0 03 00 03 00 00 01 00"}},
        {"ReadLines reads lines 7 down to 1", [&] { return channel.ReadLines(&lines); },
         {"C0 03 00 03 00 00 01 00", "C0 03 00 03 00 00 01 00", "C0 03 00 03 00 00 01 00",
          "C0 03 00 03 00 00 01 00", "C0 03 00 01 00 00 01 00", "C0 03 00 01 00 00 01 00",
          "C0 03 00 01 00 00 01 00"}},
        {"CTridentAccess::I2C_Write, count 9", [&] { return access.I2C_Write(0xA0, 7, 0x12); },
         {"40 10 A0 07 00 00 01 00 12"}},
        {"CTridentUsbAccess::I2C_Write, count 8", [&] { return usb.I2C_Write(0xA0, 7, 0x12); },
         {"40 10 A0 07 12 00 00 00"}},
        {"CTridentAccess::I2C_Read", [&] { return access.I2C_Read(0xA1, 7, &byte); }, {"C0 10 A0 07 00 00 01 00"}},
        {"CTridentUsbAccess::I2C_Read", [&] { return usb.I2C_Read(0xA1, 7, &byte); }, {"C0 10 A0 07 00 00 01 00"}},
        {"CTridentAccess slot 5", [&] { return access.I2C_ReadBlock(status, 1); }, {"C0 09 C2 00 00 00 01 00"}},
        {"CTridentAccess slot 6 of 12", [&] { return access.I2C_WriteBlock(twelve.data(), 12); },
         {"40 10 A0 40 00 00 0A 00 01 02 03 04 05 06 07 08 09 0A"}},
        {"CTridentUsbAccess slot 5", [&] { return usb.I2C_ReadBlock(usbRead.data(), 5); }, {"C0 10 A0 40 00 00 03 00"}},
        {"CTridentUsbAccess slot 6 of 21 data bytes",
         [&] { return usb.I2C_WriteBlock(chunked.data(), static_cast<int>(chunked.size())); },
         {"40 10 A0 50 00 00 08 00 01 02 03 04 05 06 07 08", "40 10 A0 50 00 00 08 00 09 0A 0B 0C 0D 0E 0F 10",
          "40 10 A0 50 00 00 05 00 11 12 13 14 15"}},
        {"ReadVendorData", [&] { return usb.ReadVendorData(0xA0, 7, &byte); }, {"C0 10 A0 07 00 00 01 00"}},
        {"WriteVendorData", [&] { return usb.WriteVendorData(0xA0, 7, 9); }, {"40 10 A0 07 00 00 01 00 09"}},
        {"GPIO_Write, line 3", [&] { return access.GPIO_Write(1, 3); }, {"40 03 04 01 01 00 00 00"}},
        {"CTridentUsbAccess::GPIO_Write, line 7", [&] { return usb.GPIO_Write(0x100, 7); },
         {"40 03 05 03 00 00 00 00"}},
        {"CTridentAccess::WriteBridgeReg", [&] { return access.WriteBridgeReg(0x3A, 1); }, {"40 07 3A 00 01 00 00 00"}},
        {"CTridentUsbAccess::ReadBridgeReg", [&] { return usb.ReadBridgeReg(0x3A, &byte); },
         {"C0 07 3A 00 00 00 01 00"}},
    });
    EXPECT_EQ(0xFE, lines);  // line 0 driven off; bit 0 always clear
    EXPECT_EQ(0xABCD, word);
    EXPECT_EQ(0x09, Card().Eeprom().Peek(7));
    EXPECT_EQ(0x01, Card().Eeprom().Peek(0x30));
    EXPECT_EQ((std::vector<BYTE>{3, 4, 5}), std::vector<BYTE>(read.begin(), read.begin() + 3));
    EXPECT_EQ(0x11, Card().Eeprom().Peek(0x50));  // every chunk to the same sub-address
    EXPECT_EQ(0x10, Card().Eeprom().Peek(0x57));
}

TEST_F(CommandChannelTest, TracesTracedCommandsOnly)
{
    platform::ClearTrace();
    ASSERT_EQ(S_OK, channel.I2CWrite(0xA0, 0x10, Block(0, 0, 10).data() + 2, 10));
    EXPECT_EQ("cmd : 40 10 a0 10 00 00 0a 00  01 02 03 04 05 06 07 08  09 0a \n", platform::TraceText());
    platform::ClearTrace();
    ASSERT_EQ(S_OK, channel.QuickWrite(0xA0, 1, 2));
    ASSERT_EQ(S_OK, usb.I2C_Write(0xA0, 1, 2));
    BYTE byte = 0;
    ASSERT_EQ(S_OK, usb.I2C_Read(0xA0, 1, &byte));
    ASSERT_EQ(S_OK, access.ReadBridgeReg(0x3A, &byte));
    EXPECT_EQ("", platform::TraceText());
    ASSERT_EQ(S_OK, access.I2C_Write(0xA0, 1, 2));
    EXPECT_EQ("cmd : 40 10 a0 01 00 00 01 00  02 \n", platform::TraceText());
}

TEST_F(CommandChannelTest, ChunkedWritesPauseAfterEveryFullChunkAndStopAtAFailedOne)
{
    std::vector<ULONGLONG> sets;
    Driver().SetRequestHook([&](const hwsim::WireRequest& request) {
        if (request.verb == hwsim::WireRequest::Verb::Set) sets.push_back(platform::ClockNow());
    });
    std::vector<BYTE> chunked = Block(0xA0, 0x60, 21);
    const ULONGLONG start = platform::ClockNow();
    ASSERT_EQ(S_OK, usb.I2C_WriteBlock(chunked.data(), 23));
    ASSERT_EQ(3u, sets.size());
    EXPECT_GE(sets[1] - sets[0], 2u);
    EXPECT_GE(sets[2] - sets[1], 2u);
    EXPECT_LT(platform::ClockNow() - start, 6u);  // no pause after the partial chunk

    // CTridentAccess pauses 5 ms after its block write.
    const ULONGLONG before = platform::ClockNow();
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(chunked.data(), 5));
    EXPECT_GE(platform::ClockNow() - before, 5u);
    Driver().SetRequestHook({});

    // The second chunk fails: nothing more is sent, and the failure is the result.
    Clear(Driver());
    CElgrinAccess elgrin;
    ASSERT_EQ(S_OK, elgrin.Init(board.Filter(), nullptr));
    Clear(Driver());
    platform::InjectFailure("IKsPropertySet::Set", 1, E_FAIL, 1);
    EXPECT_EQ(E_FAIL, elgrin.I2C_WriteBlock(chunked.data(), 23));
    EXPECT_EQ(std::vector<std::string>{"40 10 A0 60 00 00 08 00 01 02 03 04 05 06 07 08"}, VendorCommands(Driver()));
}

// An answer that holds fewer bytes than the read takes is a failure, and the output keeps what
// it held: the driver answers none, or one byte of two or three.
TEST_F(CommandChannelTest, AShortAnswerFailsEveryReadAndLeavesItsOutput)
{
    CElgrinAccess elgrin;
    ASSERT_EQ(S_OK, elgrin.Init(board.Filter(), nullptr));
    struct ShortRow {
        const char* what;
        DWORD answered;
        std::function<HRESULT(BYTE* out)> call;
    };
    // Each call reads into out (12 bytes: 0xA0, sub-address 0x05, then 0xEE), or into a local
    // that it copies there whatever the result.
    auto word = [](BYTE* out, const std::function<HRESULT(WORD*)>& read) {
        WORD value = 0xEEEE;
        const HRESULT hr = read(&value);
        std::memcpy(out + 2, &value, sizeof(value));
        return hr;
    };
    auto dword = [](BYTE* out, const std::function<HRESULT(DWORD*)>& read) {
        DWORD value = 0xEEEEEEEE;
        const HRESULT hr = read(&value);
        std::memcpy(out + 2, &value, sizeof(value));
        return hr;
    };
    const std::vector<ShortRow> rows = {
        {"ReadEepromByte", 0, [&](BYTE* out) { return channel.ReadEepromByte(0xA0, 5, out + 2); }},
        {"I2CReadByte", 0, [&](BYTE* out) { return channel.I2CReadByte(0xA0, 5, out + 2); }},
        {"I2CRead of 3", 1, [&](BYTE* out) { return channel.I2CRead(0xA0, 5, out + 2, 3); }},
        {"I2CReadBlock of 3", 1, [&](BYTE* out) { return channel.I2CReadBlock(out, 5); }},
        {"I2CReadDirect", 0, [&](BYTE* out) { return channel.I2CReadDirect(0xC2, out + 2); }},
        {"ReadBridgeReg", 0, [&](BYTE* out) { return channel.ReadBridgeReg(0x3A, out + 2); }},
        {"ReadRequest05", 0, [&](BYTE* out) { return channel.ReadRequest05(1, out + 2); }},
        {"ReadRequest0C", 0, [&](BYTE* out) { return channel.ReadRequest0C(1, 2, out + 2); }},
        {"ReadWord", 1, [&](BYTE* out) { return word(out, [&](WORD* w) { return channel.ReadWord(1, 2, w); }); }},
        {"ControlRequest of 8", 1,
         [&](BYTE* out) {
             WORD io = 8;
             const HRESULT hr = channel.ControlRequest(0xC0, 0x10, 0x05A0, 0, &io);
             if (hr == S_OK) std::memcpy(out + 2, &io, sizeof(io));
             return hr;
         }},
        {"ReadLine", 0, [&](BYTE* out) { return channel.ReadLine(5, out + 2); }},
        {"ReadLines", 0, [&](BYTE* out) { return channel.ReadLines(out + 2); }},
        {"CTridentAccess slot 3", 0, [&](BYTE* out) { return access.I2C_Read(0xA0, 5, out + 2); }},
        {"CTridentAccess slot 5", 0, [&](BYTE* out) { return access.I2C_ReadBlock(out, 1); }},
        {"CTridentAccess slot 19", 0, [&](BYTE* out) { return access.ReadBridgeReg(0x3A, out + 2); }},
        {"CTridentUsbAccess slot 3", 0, [&](BYTE* out) { return usb.I2C_Read(0xA0, 5, out + 2); }},
        {"CTridentUsbAccess slot 5 of 3", 1, [&](BYTE* out) { return usb.I2C_ReadBlock(out, 5); }},
        {"CTridentUsbAccess slot 19", 0, [&](BYTE* out) { return usb.ReadBridgeReg(0x3A, out + 2); }},
        {"ReadVendorData", 0, [&](BYTE* out) { return usb.ReadVendorData(0xA0, 5, out + 2); }},
        {"CElgrinAccess slot 3", 0, [&](BYTE* out) { return elgrin.I2C_Read(0xA0, 5, out + 2); }},
        {"CElgrinAccess slot 5, status", 0, [&](BYTE* out) { return elgrin.I2C_ReadBlock(out, 1); }},
        {"CElgrinAccess slot 5 of 3", 1, [&](BYTE* out) { return elgrin.I2C_ReadBlock(out, 5); }},
        {"CElgrinAccess slot 9", 0,
         [&](BYTE* out) { return dword(out, [&](DWORD* d) { return elgrin.GPIO_Read(d); }); }},
        {"CElgrinAccess slot 19", 0, [&](BYTE* out) { return elgrin.ReadBridgeReg(0x3A, out + 2); }},
        {"CElgrinAccess::ReadEepromByte", 0, [&](BYTE* out) { return elgrin.ReadEepromByte(0xA0, 5, out + 2); }},
    };
    auto& driver = dynamic_cast<hwsim::VendorCommandDriver&>(Driver());
    for (const ShortRow& row : rows) {
        SCOPED_TRACE(row.what);
        BYTE out[12] = {0xA0, 0x05};
        std::memset(out + 2, 0xEE, sizeof(out) - 2);
        const std::vector<BYTE> before(out, out + sizeof(out));
        driver.ShortenAnswers(row.answered);
        EXPECT_EQ(CVendorExchange::kShortAnswer, row.call(out));
        driver.ShortenAnswers(hwsim::VendorCommandDriver::kWholeAnswers);
        EXPECT_EQ(before, std::vector<BYTE>(out, out + sizeof(out)));
        EXPECT_EQ(S_OK, row.call(out));  // the same read, answered in full
    }
}

TEST_F(CommandChannelTest, RefusesBadInputBeforeSendingAnything)
{
    CTridentAccess unbound;
    CTridentUsbAccess unboundUsb;
    CCommandChannel closed;
    BYTE cmd[20] = {0x40, 0x10, 0xA0, 0x00, 0x00, 0x00, 0x0B, 0x00};
    int nineteen = 19;
    int eight = 8;
    BYTE buf[24] = {0xA0, 0x00};
    BYTE byte = 0;
    CElgrinAccess elgrin;  // bound by Init, whose probe runs before the refusals are counted
    ASSERT_EQ(S_OK, elgrin.Init(board.Filter(), nullptr));
    // Buffers of exactly the length given: a length too short to hold the address and the
    // sub-address is refused before they are read (the address-sanitizer build sees any read).
    auto one = std::make_unique<BYTE[]>(1);
    auto none = std::make_unique<BYTE[]>(0);
    ExpectRefusals(Driver(), {
        {"I2CReadBlock total 1", E_INVALIDARG, [&] { return channel.I2CReadBlock(one.get(), 1); }},
        {"I2CWriteBlock total 1", E_INVALIDARG, [&] { return channel.I2CWriteBlock(one.get(), 1); }},
        {"I2CWriteTo total 0", E_INVALIDARG, [&] { return channel.I2CWriteTo(0xA0, none.get(), 0); }},
        {"CTridentAccess::I2CWriteBlock total 1", E_INVALIDARG, [&] { return access.I2CWriteBlock(one.get(), 1); }},
        {"19-byte command, channel", E_INVALIDARG, [&] { return channel.Transact(cmd, &nineteen); }},
        {"19-byte command, CTridentAccess", E_INVALIDARG, [&] { return access.SendCommand(cmd, &nineteen); }},
        {"19-byte command, CTridentUsbAccess", E_INVALIDARG, [&] { return usb.Transact(cmd, &nineteen); }},
        {"I2CReadBlock total 2", E_INVALIDARG, [&] { return channel.I2CReadBlock(buf, 2); }},
        {"I2CReadBlock total 13", E_INVALIDARG, [&] { return channel.I2CReadBlock(buf, 13); }},
        {"CTridentUsbAccess slot 5 len 13", E_INVALIDARG, [&] { return usb.I2C_ReadBlock(buf, 13); }},
        // A one-byte probe buffer: nothing past it is read.
        {"CTridentUsbAccess slot 5 len 1", E_INVALIDARG, [&] { return usb.I2C_ReadBlock(&byte, 1); }},
        {"I2CWrite of 11", E_INVALIDARG, [&] { return channel.I2CWrite(0xA0, 0, buf, 11); }},
        {"I2CWriteShort of 5", E_INVALIDARG, [&] { return channel.I2CWriteShort(0xA0, 0, buf, 5); }},
        {"line 8, channel", E_INVALIDARG, [&] { return channel.WriteLine(8, 1); }},
        {"line 0 read", E_INVALIDARG, [&] { return channel.ReadLine(0, &byte); }},
        {"line 8, CTridentAccess", E_INVALIDARG, [&] { return access.GPIO_Write(1, 8); }},
        {"line 8, CElgrinAccess", E_INVALIDARG, [&] { return elgrin.GPIO_Write(1, 8); }},
        {"CTridentAccess slot 5 len 2", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buf, 2); }},
        {"CTridentAccess slot 6 len 13", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buf, 13); }},
        {"chunked write len 2", E_INVALIDARG, [&] { return usb.I2C_WriteBlock(buf, 2); }},
        {"chunked write len 1", E_INVALIDARG, [&] { return elgrin.I2C_WriteBlock(buf, 1); }},
        {"chunked write len 0", E_INVALIDARG, [&] { return elgrin.I2C_WriteBlock(buf, 0); }},
        {"null command, CTridentAccess", E_POINTER, [&] { return access.Transact(nullptr, &eight); }},
        {"no interface, CTridentAccess::I2C_Write", E_POINTER, [&] { return unbound.I2C_Write(0xA0, 0, 1); }},
        {"no interface, CTridentUsbAccess::WriteVendorData", E_POINTER,
         [&] { return unboundUsb.WriteVendorData(0xA0, 0, 1); }},
        {"no interface, channel Transact", E_POINTER, [&] { return closed.Transact(cmd, &eight); }},
        {"no interface, channel ReadEepromByte", E_POINTER, [&] { return closed.ReadEepromByte(0xA0, 0, &byte); }},
        {"no interface, channel QuickWrite", E_POINTER, [&] { return closed.QuickWrite(0xA0, 0, 1); }},
        {"null output, ReadEepromByte", E_POINTER, [&] { return channel.ReadEepromByte(0xA0, 0, nullptr); }},
        {"null output, I2CReadDirect", E_POINTER, [&] { return channel.I2CReadDirect(0xC2, nullptr); }},
        {"null output, ReadWord", E_POINTER, [&] { return channel.ReadWord(1, 0, nullptr); }},
        {"null output, ReadLines", E_POINTER, [&] { return channel.ReadLines(nullptr); }},
        {"null output, CTridentAccess::I2C_Read", E_POINTER, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"null output, ReadVendorData", E_POINTER, [&] { return usb.ReadVendorData(0xA0, 0, nullptr); }},
        {"null output, CElgrinAccess slot 3", E_POINTER, [&] { return elgrin.I2C_Read(0xA0, 0, nullptr); }},
        {"null output, CElgrinAccess slot 9", E_POINTER, [&] { return elgrin.GPIO_Read(nullptr); }},
        {"null output, CElgrinAccess slot 19", E_POINTER, [&] { return elgrin.ReadBridgeReg(0x3A, nullptr); }},
        {"null buffer, chunked write", E_POINTER, [&] { return usb.I2C_WriteBlock(nullptr, 23); }},
        {"null buffer, CElgrinAccess slot 5", E_POINTER, [&] { return elgrin.I2C_ReadBlock(nullptr, 1); }},
        {"null buffer, I2CWriteTo", E_POINTER, [&] { return usb.I2CWriteTo(0xA0, nullptr, 3); }},
        {"null output, CTridentAccess slot 19", E_POINTER, [&] { return access.ReadBridgeReg(0x3A, nullptr); }},
        {"no interface, CTridentAccess slot 19", E_POINTER, [&] { return unbound.ReadBridgeReg(0x3A, &byte); }},
        {"no interface, CTridentUsbAccess slot 3", E_POINTER, [&] { return unboundUsb.I2C_Read(0xA0, 0, &byte); }},
    });
}

}  // namespace
