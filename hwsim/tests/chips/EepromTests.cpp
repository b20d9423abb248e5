// The 24C02-style EEPROM as the card's drivers meet it on the bus.
#include <gtest/gtest.h>

#include "hwsim/chips/Eeprom24C02.h"
#include "hwsim/bus/I2CBus.h"
#include "platform/runtime.h"

namespace hwsim {
namespace {

class EepromTest : public testing::Test {
protected:
    void SetUp() override { bus.Attach(&eeprom); }
    void TearDown() override { bus.Detach(&eeprom); }

    I2CResult WriteByte(BYTE offset, BYTE value) { return bus.WriteSub(0xA0, offset, &value, 1); }
    BYTE ReadByte(BYTE offset) {
        BYTE value = 0;
        EXPECT_EQ(I2CResult::Ack, bus.ReadSub(0xA0, offset, &value, 1));
        return value;
    }

    I2CBus bus;
    Eeprom24C02 eeprom;
};

TEST_F(EepromTest, StartsBlankAndStoresEveryByteAtItsSubAddress) {
    for (int offset = 0; offset < 256; ++offset) EXPECT_EQ(0xFF, ReadByte(BYTE(offset)));
    for (int offset = 0; offset < 256; ++offset) ASSERT_EQ(I2CResult::Ack, WriteByte(BYTE(offset), BYTE(offset ^ 0x5A)));
    for (int offset = 0; offset < 256; ++offset) EXPECT_EQ(BYTE(offset ^ 0x5A), ReadByte(BYTE(offset)));
}

TEST_F(EepromTest, SequentialReadAdvancesThePointerAndWrapsAtTheEnd) {
    for (int i = 0; i < 256; ++i) eeprom.Poke(i, BYTE(i));
    BYTE block[4] = {};
    ASSERT_EQ(I2CResult::Ack, bus.ReadSub(0xA0, 0xFE, block, 4));
    EXPECT_EQ(0xFE, block[0]);
    EXPECT_EQ(0xFF, block[1]);
    EXPECT_EQ(0x00, block[2]);
    EXPECT_EQ(0x01, block[3]);
    // A read without a sub-address continues where the pointer stands.
    BYTE next = 0;
    ASSERT_EQ(I2CResult::Ack, bus.ReadRaw(0xA1, &next, 1));
    EXPECT_EQ(0x02, next);
    EXPECT_EQ(3u, eeprom.Pointer());
}

TEST_F(EepromTest, PageWriteWrapsWithinItsEightBytePage) {
    const BYTE data[4] = {1, 2, 3, 4};
    ASSERT_EQ(I2CResult::Ack, bus.WriteSub(0xA0, 0x0E, data, 4));
    EXPECT_EQ(1, eeprom.Peek(0x0E));
    EXPECT_EQ(2, eeprom.Peek(0x0F));
    EXPECT_EQ(3, eeprom.Peek(0x08));
    EXPECT_EQ(4, eeprom.Peek(0x09));
    EXPECT_EQ(0xFF, eeprom.Peek(0x10));
}

TEST_F(EepromTest, WriteProtectAcknowledgesButStoresNothing) {
    eeprom.SetWriteProtect(true);
    EXPECT_EQ(I2CResult::Ack, WriteByte(0x41, 0x5A));
    EXPECT_EQ(0xFF, ReadByte(0x41));
    eeprom.SetWriteProtect(false);
    EXPECT_EQ(I2CResult::Ack, WriteByte(0x41, 0x5A));
    EXPECT_EQ(0x5A, ReadByte(0x41));
}

TEST_F(EepromTest, PageIsProgrammedAtTheStopNotAtARepeatedStart) {
    bus.Start();
    ASSERT_EQ(I2CResult::Ack, bus.Write(0xA0));
    ASSERT_EQ(I2CResult::Ack, bus.Write(0x20));
    ASSERT_EQ(I2CResult::Ack, bus.Write(0x77));
    bus.Start();  // repeated start abandons the page
    ASSERT_EQ(I2CResult::Ack, bus.Write(0xA1));
    bus.Read(false);
    bus.Stop();
    EXPECT_EQ(0xFF, eeprom.Peek(0x20));
}

TEST_F(EepromTest, IgnoresItsAddressWhileTheWriteCycleRuns) {
    eeprom.SetWriteCycleMs(5);
    ASSERT_EQ(I2CResult::Ack, WriteByte(0x10, 0x11));
    EXPECT_EQ(I2CResult::Nack, WriteByte(0x11, 0x22));
    platform::AdvanceClock(5);
    EXPECT_EQ(I2CResult::Ack, WriteByte(0x11, 0x22));
    EXPECT_EQ(0x11, eeprom.Peek(0x10));
    EXPECT_EQ(0x22, eeprom.Peek(0x11));
}

TEST_F(EepromTest, TellsTheStoreObserverOnlyWhatItProgrammed) {
    std::vector<std::pair<BYTE, BYTE>> stored;
    eeprom.SetStoreObserver([&](BYTE offset, BYTE value) { stored.emplace_back(offset, value); });
    WriteByte(0x30, 0x01);
    eeprom.SetWriteProtect(true);
    WriteByte(0x31, 0x02);
    ASSERT_EQ(1u, stored.size());
    EXPECT_EQ(0x30, stored[0].first);
    EXPECT_EQ(0x01, stored[0].second);
}

TEST_F(EepromTest, NackedWriteStoresNothing) {
    eeprom.NackTransfers(0, 2);  // the data byte of the next transfer
    EXPECT_EQ(I2CResult::Nack, WriteByte(0x40, 0x12));
    EXPECT_EQ(0xFF, eeprom.Peek(0x40));
    EXPECT_EQ(I2CResult::Ack, WriteByte(0x40, 0x12));
    EXPECT_EQ(0x12, eeprom.Peek(0x40));
}

}  // namespace
}  // namespace hwsim
