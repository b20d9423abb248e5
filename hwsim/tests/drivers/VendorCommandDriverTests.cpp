// The vendor-command driver: one pending answer per card, the layouts it refuses, the latched
// two-command writes, and the lines, registers and aliasing mode that boards rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "hwsim/drivers/VendorCommandDriver.h"
#include "support/TestBoard.h"

namespace hwsim {
namespace {

// A property buffer with the set's GUID and id 0 in its header.
struct Buffer {
    Buffer() { std::memcpy(bytes, &kVendorCommandSet, sizeof(GUID)); }
    alignas(8) BYTE bytes[48] = {};
};

class VendorCommandDriverTest : public testing::Test {
protected:
    void SetUp() override { driver = &board.Fit<VendorCommandDriver>(false); }

    HRESULT Set(std::initializer_list<BYTE> command) {
        Buffer buffer;
        std::copy(command.begin(), command.end(), buffer.bytes + 24);
        const DWORD count = static_cast<DWORD>(command.size());
        std::memcpy(buffer.bytes + 44, &count, 4);
        return driver->Set(kVendorCommandSet, 0, buffer.bytes, 48, buffer.bytes, 48);
    }
    // The pending answer's bytes; empty when the Get failed.
    std::vector<BYTE> Get(HRESULT* result = nullptr) {
        Buffer request;
        Buffer answer;
        DWORD returned = 0;
        const HRESULT hr = driver->Get(kVendorCommandSet, 0, request.bytes, 48, answer.bytes, 48, &returned);
        if (result) *result = hr;
        if (FAILED(hr)) return {};
        DWORD count = 0;
        std::memcpy(&count, answer.bytes + 44, 4);
        return std::vector<BYTE>(answer.bytes + 24, answer.bytes + 24 + count);
    }

    TestBoard board;
    VendorCommandDriver* driver = nullptr;
};

TEST_F(VendorCommandDriverTest, KeepsOneAnswerPerCardUntilItIsFetched) {
    ASSERT_EQ(S_OK, Set({0x40, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x02, 0x00, 0x12, 0x34}));
    EXPECT_EQ(std::vector<BYTE>{}, Get());  // a write answers nothing
    ASSERT_EQ(S_OK, Set({0xC0, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x02, 0x00}));
    EXPECT_EQ((std::vector<BYTE>{0x12, 0x34}), Get());
    HRESULT hr = S_OK;
    Get(&hr);
    EXPECT_EQ(VendorCommandDriver::kNoAnswer, hr);  // used up

    // A second Set replaces the first one's answer: a Get split from its Set reads another's.
    ASSERT_EQ(S_OK, Set({0xC0, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x01, 0x00}));
    ASSERT_EQ(S_OK, Set({0xC0, 0x10, 0xA0, 0x06, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<BYTE>{0x34}, Get());

    // A transfer nobody acknowledges fails the Set and leaves no answer.
    ASSERT_EQ(S_OK, Set({0xC0, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(kI2CNoAck, Set({0xC0, 0x10, 0x30, 0x00, 0x00, 0x00, 0x01, 0x00}));
    Get(&hr);
    EXPECT_EQ(VendorCommandDriver::kNoAnswer, hr);
    EXPECT_EQ("Set USB.0 [48/48] cmd C0 10 30 00 00 00 01 00: i2c 30 sub 00 read 00 -> 80004005",
              driver->Log().Lines().end()[-2]);

    // The chips' faults reach the Set the same way.
    TestBoard stuck(32, {FaultSpec{"tuner", FaultSpec::Kind::Stuck, 0, 0, -1}});
    VendorCommandDriver& other = stuck.Fit<VendorCommandDriver>(false);
    Buffer buffer;
    const BYTE command[] = {0x40, 0x0E, 0xA0, 0x00, 0x05, 0x00, 0x01, 0x00, 0x12};
    std::memcpy(buffer.bytes + 24, command, sizeof(command));
    buffer.bytes[44] = sizeof(command);
    EXPECT_EQ(kI2CBusStuck, other.Set(kVendorCommandSet, 0, buffer.bytes, 48, buffer.bytes, 48));
}

TEST_F(VendorCommandDriverTest, RefusesMalformedCommandsWithoutTouchingTheCard) {
    const std::vector<std::vector<BYTE>> commands = {
        {0xC0, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x01},                    // count 7
        {0x40, 0x10, 0xA0, 0x05, 0, 0, 11, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},  // count 19
        {0x41, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x01, 0x00},              // request type
        {0xC0, 0x02, 0xA0, 0x05, 0x00, 0x00, 0x01, 0x00},              // unknown request
        {0xC0, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x0B, 0x00},              // read of 11 bytes
        {0xC0, 0x10, 0xA0, 0x05, 0x01, 0x00, 0x01, 0x00},              // index on a read
        {0x40, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x02, 0x00, 0x12},        // length without its payload
        {0x40, 0x10, 0xA0, 0x05, 0x12, 0x01, 0x00, 0x00},              // quick write's index high byte
        {0x40, 0x0E, 0xA0, 0x00, 0x05, 0x00, 0x01, 0x00},              // EEPROM write without its byte
        {0xC0, 0x0E, 0xA0, 0x00, 0x05, 0x00, 0x02, 0x00},              // EEPROM read of 2
        {0x40, 0x14, 0x01, 0x02, 0x03, 0x04, 0x00, 0x00},              // data without its latch
        {0x40, 0x09, 0xC2, 0x03, 0x00, 0x00, 0x04, 0x00},              // raw latch of 3
        {0x40, 0x0A, 0xA0, 0x05, 0x05, 0x00, 0x00, 0x00},              // short latch of 5
        {0x40, 0x03, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00},              // no line at port 1 bit 0
        {0xC0, 0x03, 0x00, 0x02, 0x00, 0x00, 0x01, 0x00},              // no port 2
        {0x40, 0x03, 0x01, 0x01, 0x02, 0x00, 0x00, 0x00},              // a line level of 2
    };
    for (const std::vector<BYTE>& command : commands) {
        Buffer buffer;
        std::copy(command.begin(), command.end(), buffer.bytes + 24);
        const DWORD count = static_cast<DWORD>(command.size());
        std::memcpy(buffer.bytes + 44, &count, 4);
        EXPECT_EQ(E_INVALIDARG, driver->Set(kVendorCommandSet, 0, buffer.bytes, 48, buffer.bytes, 48))
            << HexBytes(command.data(), command.size());
    }
    Buffer first;
    Buffer second;
    DWORD returned = 0;
    EXPECT_EQ(E_INVALIDARG, driver->Set(kVendorCommandSet, 0, first.bytes, 48, second.bytes, 48));
    EXPECT_EQ(E_INVALIDARG, driver->Set(kVendorCommandSet, 0, first.bytes, 40, first.bytes, 40));
    EXPECT_EQ(E_INVALIDARG, driver->Get(kVendorCommandSet, 0, first.bytes, 48, second.bytes, 44, &returned));
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, driver->Set(kVendorCommandSet, 1, first.bytes, 48, first.bytes, 48));

    // The header: the set's GUID at byte 0 and id 0 at byte 16, in a Set's buffer and in a
    // Get's instance; the flags at 20 are the proxy's.
    const BYTE read[] = {0xC0, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x01, 0x00};
    for (int at : {0, 15, 16, 19}) {
        Buffer header;
        std::memcpy(header.bytes + 24, read, sizeof(read));
        header.bytes[44] = sizeof(read);
        header.bytes[at] ^= 0x01;
        EXPECT_EQ(E_INVALIDARG, driver->Set(kVendorCommandSet, 0, header.bytes, 48, header.bytes, 48)) << at;
    }
    Buffer flagged;
    std::memcpy(flagged.bytes + 24, read, sizeof(read));
    flagged.bytes[44] = sizeof(read);
    flagged.bytes[20] = 0x02;
    ASSERT_EQ(S_OK, driver->Set(kVendorCommandSet, 0, flagged.bytes, 48, flagged.bytes, 48));
    Buffer noHeader;
    std::memset(noHeader.bytes, 0, 24);
    EXPECT_EQ(E_INVALIDARG, driver->Get(kVendorCommandSet, 0, noHeader.bytes, 48, second.bytes, 48, &returned));
    // A Get whose instance still carries the command, or only its count, is refused.
    EXPECT_EQ(E_INVALIDARG, driver->Get(kVendorCommandSet, 0, flagged.bytes, 48, second.bytes, 48, &returned));
    std::memset(flagged.bytes + 24, 0, sizeof(read));
    EXPECT_EQ(E_INVALIDARG, driver->Get(kVendorCommandSet, 0, flagged.bytes, 48, second.bytes, 48, &returned));
    EXPECT_EQ("A0 W 05\nA1 R FF\n", board.GetCard().Bus().LogText());  // the one good read only
    board.GetCard().Bus().ClearLog();
    EXPECT_EQ(std::vector<BYTE>{0xFF}, Get()) << "the refused Gets left the answer pending";
    EXPECT_EQ("", board.GetCard().Bus().LogText());
    EXPECT_EQ(0u, board.GetCard().Bridge().Directions());
}

TEST_F(VendorCommandDriverTest, LatchedWritesAndTheAliasingEepromCommand) {
    // 0x0A then 0x14: two bytes to sub-address 0x07; 0x09 then 0x14: four raw bytes.
    ASSERT_EQ(S_OK, Set({0x40, 0x0A, 0xA0, 0x02, 0x07, 0x00, 0x00, 0x00}));
    ASSERT_EQ(S_OK, Set({0x40, 0x14, 0x5A, 0xA5, 0x00, 0x00, 0x00, 0x00}));
    ASSERT_EQ(S_OK, Set({0x40, 0x09, 0xC2, 0x04, 0x00, 0x00, 0x04, 0x00}));
    ASSERT_EQ(S_OK, Set({0x40, 0x14, 0x05, 0x8A, 0x8E, 0x01, 0x00, 0x00}));
    EXPECT_EQ(E_INVALIDARG, Set({0x40, 0x14, 0x05, 0x8A, 0x8E, 0x01, 0x00, 0x00}));  // the latch was used
    EXPECT_EQ("A0 W 07 5A A5\nC2 W 05 8A 8E 01\n", board.GetCard().Bus().LogText());

    // The EEPROM command reaches any device; in the aliasing mode every offset is byte 0.
    ASSERT_EQ(S_OK, Set({0x40, 0x0E, 0xA0, 0x00, 0x20, 0x00, 0x01, 0x00, 0x11}));
    driver->SetEepromAliasing(true);
    ASSERT_EQ(S_OK, Set({0x40, 0x0E, 0xA0, 0x00, 0x21, 0x00, 0x01, 0x00, 0x22}));
    ASSERT_EQ(S_OK, Set({0xC0, 0x0E, 0xA0, 0x00, 0x20, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<BYTE>{0x22}, Get());
    EXPECT_EQ(0x22, board.GetCard().Eeprom().Peek(0));
    EXPECT_EQ(0x11, board.GetCard().Eeprom().Peek(0x20));
    EXPECT_EQ(0xFF, board.GetCard().Eeprom().Peek(0x21));
}

TEST_F(VendorCommandDriverTest, LinesRegistersAndStoresAnswerFromTheCard) {
    Saa713x& bridge = board.GetCard().Bridge();
    // Line 5 is port 3 bit 1; line 2 is port 1 bit 3.
    ASSERT_EQ(S_OK, Set({0x40, 0x03, 0x01, 0x03, 0x01, 0x00, 0x00, 0x00}));
    ASSERT_EQ(S_OK, Set({0x40, 0x03, 0x03, 0x01, 0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(0x24u, bridge.Directions() & 0xFF);
    EXPECT_EQ(0x24u, bridge.PinLevels() & 0xFF);
    ASSERT_EQ(S_OK, Set({0xC0, 0x03, 0x00, 0x03, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<BYTE>{0x02}, Get());
    ASSERT_EQ(S_OK, Set({0xC0, 0x03, 0x00, 0x01, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<BYTE>{0x08}, Get());

    // Register 0x3A is byte 2 of the bridge's register 0x38, read hook included.
    bridge.SetReadHook(0x38, [](DWORD stored) { return stored | 0x10000; });
    ASSERT_EQ(S_OK, Set({0x40, 0x07, 0x3A, 0x00, 0x80, 0x00, 0x00, 0x00}));
    ASSERT_EQ(S_OK, Set({0xC0, 0x07, 0x3A, 0x00, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<BYTE>{0x81}, Get());

    ASSERT_EQ(S_OK, Set({0x40, 0x11, 0x01, 0x00, 0x34, 0x12, 0xCD, 0xAB}));
    ASSERT_EQ(S_OK, Set({0x40, 0x0C, 0x01, 0x00, 0x02, 0x00, 0x77, 0x00}));
    ASSERT_EQ(S_OK, Set({0xC0, 0x11, 0x01, 0x00, 0x34, 0x12, 0x02, 0x00}));
    EXPECT_EQ((std::vector<BYTE>{0xCD, 0xAB}), Get());
    ASSERT_EQ(S_OK, Set({0xC0, 0x0C, 0x01, 0x00, 0x02, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<BYTE>{0x77}, Get());
    ASSERT_EQ(S_OK, Set({0xC0, 0x05, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<BYTE>{0x00}, Get());  // each request keeps its own store
}

TEST_F(VendorCommandDriverTest, ShortenedAnswersKeepTheirFirstBytesAndSaySo) {
    board.GetCard().Eeprom().Poke(5, 0x12);
    board.GetCard().Eeprom().Poke(6, 0x34);
    driver->ShortenAnswers(1);
    ASSERT_EQ(S_OK, Set({0xC0, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x02, 0x00}));
    EXPECT_EQ(std::vector<BYTE>{0x12}, Get());
    driver->ShortenAnswers(0);
    ASSERT_EQ(S_OK, Set({0xC0, 0x0E, 0xA0, 0x00, 0x05, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<BYTE>{}, Get());
    driver->ShortenAnswers(VendorCommandDriver::kWholeAnswers);
    ASSERT_EQ(S_OK, Set({0xC0, 0x10, 0xA0, 0x05, 0x00, 0x00, 0x02, 0x00}));
    EXPECT_EQ((std::vector<BYTE>{0x12, 0x34}), Get());
}

}  // namespace
}  // namespace hwsim
