// Routing, acknowledgement, faults, the transfer log and ownership of a card's I2C bus.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "hwsim/bus/I2CBus.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "platform/winbase.h"
#include "platform/TestThread.h"

namespace hwsim {
namespace {

class I2CBusTest : public testing::Test {
protected:
    void SetUp() override {
        bus.Attach(&probe);
        bus.Attach(&other);
    }
    void TearDown() override {
        bus.Detach(&probe);
        bus.Detach(&other);
    }

    I2CBus bus;
    RegisterFileDevice probe{0x21, 16};   // 0x42 on the bus
    RegisterFileDevice other{0x4B, 16};   // 0x96 on the bus
};

// A helper given the address form of the other direction refuses the transfer before the wire;
// the right forms reach the chip at the 7-bit address.
TEST_F(I2CBusTest, HelpersRefuseAnAddressWhoseDirectionBitContradictsTheTransfer) {
    const BYTE value = 0x33;
    BYTE back = 0x77;
    EXPECT_EQ(I2CResult::Refused, bus.WriteSub(0x43, 0x05, &value, 1));
    EXPECT_EQ(I2CResult::Refused, bus.WriteRaw(0x43, &value, 1));
    EXPECT_EQ(I2CResult::Refused, bus.ReadSub(0x43, 0x05, &back, 1));
    EXPECT_EQ(I2CResult::Refused, bus.ReadRaw(0x42, &back, 1));
    EXPECT_EQ(0, probe.Peek(5));
    EXPECT_EQ(0x77, back);
    EXPECT_EQ("", bus.LogText());

    ASSERT_EQ(I2CResult::Ack, bus.WriteSub(0x42, 0x05, &value, 1));
    EXPECT_EQ(0x33, probe.Peek(5));
    ASSERT_EQ(I2CResult::Ack, bus.ReadSub(0x42, 0x05, &back, 1));
    EXPECT_EQ(0x33, back);
    EXPECT_EQ(0, other.Peek(5));
    EXPECT_EQ("42 W 05 33\n42 W 05\n43 R 33\n", bus.LogText());
}

TEST_F(I2CBusTest, NobodyAtAnAddressIsANackAtTheAddressByte) {
    const BYTE value = 1;
    EXPECT_EQ(I2CResult::Nack, bus.WriteSub(0xC0, 0, &value, 1));
    BYTE back = 0x77;
    EXPECT_EQ(I2CResult::Nack, bus.ReadRaw(0xC1, &back, 1));
    EXPECT_EQ(0x77, back);
    EXPECT_EQ("C0 W NACK@0\nC1 R NACK@0\n", bus.LogText());
}

TEST_F(I2CBusTest, AbsentChipDoesNotAnswerUntilTheFaultIsCleared) {
    probe.SetAbsent(true);
    const BYTE value = 9;
    EXPECT_EQ(I2CResult::Nack, bus.WriteSub(0x42, 0, &value, 1));
    EXPECT_EQ(0, probe.Peek(0));
    probe.ClearFaults();
    EXPECT_EQ(I2CResult::Ack, bus.WriteSub(0x42, 0, &value, 1));
    EXPECT_EQ(9, probe.Peek(0));
}

TEST_F(I2CBusTest, NackFaultHitsTheChosenTransferAndByteOnly) {
    probe.NackTransfers(1, 2, 2);  // second and third transfer, at the first data byte after the sub-address
    const BYTE value = 5;
    EXPECT_EQ(I2CResult::Ack, bus.WriteSub(0x42, 1, &value, 1));
    EXPECT_EQ(I2CResult::Nack, bus.WriteSub(0x42, 2, &value, 1));
    EXPECT_EQ(I2CResult::Nack, bus.WriteSub(0x42, 3, &value, 1));
    EXPECT_EQ(I2CResult::Ack, bus.WriteSub(0x42, 4, &value, 1));
    EXPECT_EQ(5, probe.Peek(1));
    EXPECT_EQ(0, probe.Peek(2));
    EXPECT_EQ(0, probe.Peek(3));
    EXPECT_EQ(5, probe.Peek(4));
    EXPECT_EQ("42 W 01 05\n42 W 02 05 NACK@2\n42 W 03 05 NACK@2\n42 W 04 05\n", bus.LogText());
}

TEST_F(I2CBusTest, NackFaultWithNegativeCountLastsForever) {
    other.NackTransfers(0, 0, -1);
    const BYTE value = 5;
    for (int i = 0; i < 10; ++i) EXPECT_EQ(I2CResult::Nack, bus.WriteSub(0x96, 0, &value, 1));
}

TEST_F(I2CBusTest, StuckChipBlocksEveryTransferOnTheBus) {
    other.SetStuck(true);
    const BYTE value = 5;
    EXPECT_EQ(I2CResult::Stuck, bus.WriteSub(0x42, 0, &value, 1));
    BYTE back = 0x77;
    EXPECT_EQ(I2CResult::Stuck, bus.ReadRaw(0x43, &back, 1));
    EXPECT_EQ(0x77, back);
    EXPECT_EQ("42 W STUCK\n43 R STUCK\n", bus.LogText());
    other.SetStuck(false);
    EXPECT_EQ(I2CResult::Ack, bus.WriteSub(0x42, 0, &value, 1));
}

TEST_F(I2CBusTest, PrimitivesFollowTheWire) {
    probe.Poke(7, 0xAB);
    probe.Poke(8, 0xCD);
    bus.Start();
    EXPECT_EQ(I2CResult::Ack, bus.Write(0x42));
    EXPECT_EQ(I2CResult::Ack, bus.Write(0x07));
    bus.Start();
    EXPECT_EQ(I2CResult::Ack, bus.Write(0x43));
    EXPECT_EQ(0xAB, bus.Read(true));
    EXPECT_EQ(0xCD, bus.Read(false));
    bus.Stop();
    EXPECT_EQ("42 W 07\n43 R AB CD\n", bus.LogText());
    // Out of order: a read in a write transfer, a stop without a start.
    bus.Start();
    EXPECT_EQ(I2CResult::Ack, bus.Write(0x42));
    EXPECT_EQ(0xFF, bus.Read(false));
    bus.Stop();
    bus.Stop();
}

TEST_F(I2CBusTest, RefusesTwoChipsAtOneAddress) {
    RegisterFileDevice twin(0x21, 4);
    EXPECT_THROW(bus.Attach(&twin), std::logic_error);
    EXPECT_EQ(&probe, bus.DeviceAt(0x21));
}

TEST_F(I2CBusTest, LogKeepsOnlyTheNewestTransfers) {
    const BYTE value = 1;
    for (size_t i = 0; i < I2CBus::kLogLimit + 10; ++i) bus.WriteSub(0x42, BYTE(i), &value, 1);
    EXPECT_EQ(I2CBus::kLogLimit, bus.Log().size());
    bus.ClearLog();
    EXPECT_TRUE(bus.Log().empty());
}

TEST_F(I2CBusTest, TransfersOfSeveralThreadsNeverInterleave) {
    constexpr int kRounds = 400;
    auto worker = [&](BYTE address, BYTE base) {
        for (int i = 0; i < kRounds; ++i) {
            // A sub-addressed read is two transfers under one ownership: another thread's
            // transfer between them would move the pointer.
            const BYTE data[2] = {BYTE(base + i), BYTE(base - i)};
            ASSERT_EQ(I2CResult::Ack, bus.WriteSub(address, 4, data, 2));
            BYTE back[2] = {};
            ASSERT_EQ(I2CResult::Ack, bus.ReadSub(address, 4, back, 2));
            ASSERT_EQ(data[0], back[0]);
            ASSERT_EQ(data[1], back[1]);
        }
    };
    platform::test::TestThread a([&] { worker(0x42, 0x10); });
    platform::test::TestThread b([&] { worker(0x96, 0x80); });
    platform::test::TestThread reader([&] {
        for (int i = 0; i < kRounds; ++i) {
            for (const I2CTransfer& transfer : bus.Log()) ASSERT_LE(transfer.data.size(), 3u);
        }
    });
    a.Join();
    b.Join();
    reader.Join();
    // Each ReadSub is its write transfer directly followed by its read transfer.
    const auto log = bus.Log();
    for (size_t i = 0; i + 1 < log.size(); ++i) {
        if (!log[i].IsRead() && log[i].data.size() == 1) {
            EXPECT_EQ(log[i].address | 1, log[i + 1].address);
        }
    }
}

// The clock moves only while every platform thread waits: the bus must be waited for through
// the platform, or the owner's sleep would never end.
TEST_F(I2CBusTest, OwnerMayWaitOnThePlatformClockWhileAnotherThreadWaitsForTheBus) {
    struct Threads {
        static DWORD WINAPI Owner(LPVOID context) {
            I2CBus& bus = *static_cast<I2CBus*>(context);
            bus.Start();
            EXPECT_EQ(I2CResult::Ack, bus.Write(0x42));
            EXPECT_EQ(I2CResult::Ack, bus.Write(0x01));
            Sleep(50);
            EXPECT_EQ(I2CResult::Ack, bus.Write(0x11));
            bus.Stop();
            return 0;
        }
        static DWORD WINAPI Other(LPVOID context) {
            Sleep(10);
            const BYTE value = 0x22;
            EXPECT_EQ(I2CResult::Ack, static_cast<I2CBus*>(context)->WriteSub(0x42, 0x01, &value, 1));
            return 0;
        }
    };
    HANDLE threads[2] = {CreateThread(nullptr, 0, Threads::Owner, &bus, 0, nullptr),
                         CreateThread(nullptr, 0, Threads::Other, &bus, 0, nullptr)};
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, threads, TRUE, 5000));
    CloseHandle(threads[0]);
    CloseHandle(threads[1]);
    EXPECT_EQ("42 W 01 11\n42 W 01 22\n", bus.LogText());
    EXPECT_EQ(0x22, probe.Peek(1));
}

}  // namespace
}  // namespace hwsim
