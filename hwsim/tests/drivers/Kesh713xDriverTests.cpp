// The Kesh713x driver: I2C transfer records with pointers into the caller's memory, the
// register set, what it refuses, and the card that has gone.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "support/DriverFixture.h"
#include "hwsim/drivers/Kesh713xDriver.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "ks.h"
#include "platform/TestThread.h"

namespace hwsim {
namespace {

// The records as this platform lays them out, built by offset.
struct TransferRecord {
    alignas(8) BYTE bytes[40] = {};
    void Put(size_t at, const void* value, size_t size) { std::memcpy(bytes + at, value, size); }
    void Address(BYTE address) { bytes[0] = address; }
    void SubAddress(BYTE* pointer, DWORD length = 1) {
        Put(8, &pointer, sizeof(pointer));
        Put(16, &length, 4);
    }
    void Data(BYTE* pointer, DWORD length = 1) {
        Put(24, &pointer, sizeof(pointer));
        Put(32, &length, 4);
    }
};
struct DataRecord {
    alignas(8) BYTE bytes[16] = {};
    void Write(const BYTE* pointer, DWORD count) {
        std::memcpy(bytes, &pointer, sizeof(pointer));
        std::memcpy(bytes + 8, &count, 4);
    }
};

class Kesh713xDriverTest : public DriverFixture {
protected:
    void SetUp() override {
        DriverFixture::SetUp();
        driver = std::make_unique<Kesh713xDriver>(KeshCard());
    }
    void TearDown() override {
        driver.reset();
        DriverFixture::TearDown();
    }

    HRESULT GetI2C(TransferRecord& transfer, DataRecord& data, DWORD instanceLength = 40, DWORD dataLength = 16) {
        DWORD returned = 0;
        return driver->Get(kKesh713xI2CSet, 0, transfer.bytes, instanceLength, data.bytes, dataLength, &returned);
    }
    HRESULT SetI2C(TransferRecord& transfer, DataRecord& data, DWORD instanceLength = 40, DWORD dataLength = 16) {
        return driver->Set(kKesh713xI2CSet, 0, transfer.bytes, instanceLength, data.bytes, dataLength);
    }
    // A write of one byte at a sub-address of the EEPROM (0xA0).
    HRESULT WriteEepromByte(BYTE sub, BYTE value) {
        TransferRecord transfer;
        transfer.Address(0xA0);
        transfer.SubAddress(&sub);
        transfer.Data(nullptr);
        DataRecord data;
        data.Write(&value, 1);
        return SetI2C(transfer, data);
    }
    HRESULT Register(bool get, DWORD address, DWORD* value, DWORD instanceLength = 8, DWORD dataLength = 4) {
        DWORD record[2] = {address, 0};
        DWORD data[2] = {*value, 0};  // room for the lengths the refusals try
        DWORD returned = 0;
        const HRESULT hr = get ? driver->Get(kKesh713xRegisterSet, 0, record, instanceLength, data, dataLength, &returned)
                               : driver->Set(kKesh713xRegisterSet, 0, record, instanceLength, data, dataLength);
        *value = data[0];
        return hr;
    }

    std::unique_ptr<Kesh713xDriver> driver;
};

TEST_F(Kesh713xDriverTest, RecordsKeepTheFieldOrderWithPointerSizedPointers) {
    EXPECT_EQ(sizeof(void*) == 8 ? 40u : 24u, Kesh713xDriver::kTransferRecordSize);
    EXPECT_EQ(sizeof(void*) == 8 ? 16u : 8u, Kesh713xDriver::kDataRecordSize);
}

TEST_F(Kesh713xDriverTest, SubAddressedTransfersFollowThePointersOfTheRecords) {
    BYTE sub = 0x41;
    BYTE value = 0x5A;
    TransferRecord write;
    write.Address(0xA0);
    write.SubAddress(&sub);
    write.Data(nullptr);
    DataRecord data;
    data.Write(&value, 1);
    ASSERT_EQ(S_OK, SetI2C(write, data));
    EXPECT_EQ(0x5A, KeshCard().Eeprom().Peek(0x41));

    BYTE read = 0;
    TransferRecord transfer;
    transfer.Address(0xA0);
    transfer.SubAddress(&sub);
    transfer.Data(&read);
    DataRecord unused;
    ASSERT_EQ(S_OK, GetI2C(transfer, unused));
    EXPECT_EQ(0x5A, read);
    EXPECT_EQ("A0 W 41 5A\nA0 W 41\nA1 R 5A\n", KeshCard().Bus().LogText());
    EXPECT_EQ("Set I2C.0 [40/16] i2c A0 sub 41 write 5A -> S_OK\n"
              "Get I2C.0 [40/16] i2c A0 sub 41 read 5A -> S_OK\n",
              driver->Log().Text());
}

TEST_F(Kesh713xDriverTest, RawTransfersTakeTheDeviceAddressFromTheSubAddressByte) {
    const auto* tuner = dynamic_cast<PllTuner*>(KeshCard().Chip("tuner"));
    ASSERT_NE(nullptr, tuner);
    BYTE address = 0xC2;
    const BYTE program[] = {0x05, 0x8A, 0x8E, 0x01};
    TransferRecord write;
    write.Address(0xFF);
    write.SubAddress(&address);
    write.Data(nullptr);
    DataRecord data;
    data.Write(program, sizeof(program));
    ASSERT_EQ(S_OK, SetI2C(write, data));
    EXPECT_EQ(0x058A, tuner->Divider());

    BYTE buffer[2] = {0xC3, 0x77};
    TransferRecord read;
    read.Address(0xFF);
    read.SubAddress(buffer);
    read.Data(buffer);
    DataRecord unused;
    ASSERT_EQ(S_OK, GetI2C(read, unused));
    EXPECT_EQ(tuner->Status(), buffer[0]);
    EXPECT_EQ(0x77, buffer[1]);
    EXPECT_EQ("C2 W 05 8A 8E 01\nC3 R " + HexBytes(buffer, 1) + "\n", KeshCard().Bus().LogText());
}

TEST_F(Kesh713xDriverTest, RegisterSetReachesTheBridge) {
    DWORD value = 0x80003000;
    ASSERT_EQ(S_OK, Register(false, 0x1B0, &value));
    EXPECT_EQ(0x80003000u, KeshCard().Bridge().Read(0x1B0));
    value = 0;
    ASSERT_EQ(S_OK, Register(true, 0x1B0, &value));
    EXPECT_EQ(0x80003000u, value);
    EXPECT_EQ("Set REG.0 [8/4] reg 1B0 write 80003000 -> S_OK\n"
              "Get REG.0 [8/4] reg 1B0 read 80003000 -> S_OK\n",
              driver->Log().Text());
}

TEST_F(Kesh713xDriverTest, RefusesMalformedRequestsWithoutTouchingTheCard) {
    BYTE sub = 0x41;
    BYTE value = 0x5A;
    struct Row {
        const char* what;
        bool get;
        std::function<void(TransferRecord&, DataRecord&)> fill;
        DWORD instanceLength;
        DWORD dataLength;
        HRESULT expected;
    };
    auto good = [&](TransferRecord& t, DataRecord& d) {
        t.Address(0xA0);
        t.SubAddress(&sub);
        t.Data(&value);
        d.Write(&value, 1);
    };
    const Row rows[] = {
        {"the 32-bit transfer record", false, good, 24, 16, E_INVALIDARG},
        {"the 32-bit data record", false, good, 40, 8, E_INVALIDARG},
        {"read with a short data record", true, good, 40, 12, E_INVALIDARG},
        {"sub-address of two bytes", false,
         [&](TransferRecord& t, DataRecord& d) {
             good(t, d);
             t.SubAddress(&sub, 2);
         },
         40, 16, E_INVALIDARG},
        {"data length 0 in the transfer record", true,
         [&](TransferRecord& t, DataRecord& d) {
             good(t, d);
             t.Data(&value, 0);
         },
         40, 16, E_INVALIDARG},
        {"no sub-address", false,
         [&](TransferRecord& t, DataRecord& d) {
             good(t, d);
             t.SubAddress(nullptr);
         },
         40, 16, E_POINTER},
        {"read with nowhere to put the byte", true,
         [&](TransferRecord& t, DataRecord& d) {
             good(t, d);
             t.Data(nullptr);
         },
         40, 16, E_POINTER},
        {"write with no bytes behind its count", false,
         [&](TransferRecord& t, DataRecord& d) {
             good(t, d);
             d.Write(nullptr, 1);
         },
         40, 16, E_POINTER},
        {"write of 257 bytes", false,
         [&](TransferRecord& t, DataRecord& d) {
             good(t, d);
             d.Write(&value, 257);
         },
         40, 16, E_INVALIDARG},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        driver->Log().Clear();
        TransferRecord transfer;
        DataRecord data;
        row.fill(transfer, data);
        const HRESULT hr = row.get ? GetI2C(transfer, data, row.instanceLength, row.dataLength)
                                   : SetI2C(transfer, data, row.instanceLength, row.dataLength);
        EXPECT_EQ(row.expected, hr);
        ExpectCardUntouched(KeshCard());
        ASSERT_EQ(1u, driver->Log().Size());
        EXPECT_EQ(row.expected, driver->Log().Requests()[0].result);
    }

    DWORD word = 0x3000;
    EXPECT_EQ(E_INVALIDARG, Register(false, 0x1B0, &word, 4, 4));
    EXPECT_EQ(E_INVALIDARG, Register(false, 0x1B0, &word, 8, 8));
    EXPECT_EQ(E_INVALIDARG, Register(false, 0x1000, &word));
    EXPECT_EQ(E_INVALIDARG, Register(true, 0x1000, &word));
    DWORD record[2] = {0x1B0, 0};
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, driver->Set(kKesh713xRegisterSet, 1, record, 8, &word, 4));
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, driver->Set(GUID_NULL, 0, record, 8, &word, 4));
    ExpectCardUntouched(KeshCard());
}

TEST_F(Kesh713xDriverTest, AnswersQuerySupportedForBothSets) {
    DWORD support = 0;
    ASSERT_EQ(S_OK, driver->QuerySupported(kKesh713xI2CSet, 0, &support));
    EXPECT_EQ(3u, support);
    ASSERT_EQ(S_OK, driver->QuerySupported(kKesh713xRegisterSet, 0, &support));
    EXPECT_EQ(3u, support);
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, driver->QuerySupported(kKesh713xI2CSet, 1, &support));
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, driver->QuerySupported(kSaa713xPropertySet, 0, &support));
}

// Several access objects of one card (the card filter's threads, the tuner's scan worker) reach
// the driver at once: every request is carried whole.
TEST_F(Kesh713xDriverTest, ServesSeveralThreadsAtOnce) {
    std::vector<platform::test::TestThread> threads;
    for (int part = 0; part < 4; ++part) {
        threads.emplace_back([this, part] {
            for (int offset = part * 64; offset < part * 64 + 64; ++offset) {
                EXPECT_EQ(S_OK, WriteEepromByte(static_cast<BYTE>(offset), static_cast<BYTE>(offset ^ 0x5A)));
                DWORD word = 0x1000u + static_cast<DWORD>(part);
                EXPECT_EQ(S_OK, Register(false, 0x100 + 4 * static_cast<DWORD>(part), &word));
            }
        });
    }
    for (auto& thread : threads) thread.Join();
    for (int offset = 0; offset < 256; ++offset) EXPECT_EQ(offset ^ 0x5A, KeshCard().Eeprom().Peek(offset)) << offset;
    for (DWORD part = 0; part < 4; ++part) EXPECT_EQ(0x1000u + part, KeshCard().Bridge().Read(0x100 + 4 * part));
    EXPECT_EQ(512u, driver->Log().Size());
    EXPECT_EQ(256u, KeshCard().Bus().Log().size());
}

// The card goes while a thread writes to it: once Unplug has returned nothing more reaches
// the bus, and the writer sees device gone.
TEST_F(Kesh713xDriverTest, UnplugWhileInUseStopsTheBusAtOnce) {
    std::atomic<int> written{0};
    HRESULT last = S_OK;
    platform::test::TestThread writer([&] {
        for (int i = 0; last == S_OK; ++i) {
            last = WriteEepromByte(static_cast<BYTE>(i), 0x33);
            if (last == S_OK) ++written;
        }
    });
    while (written < 20) std::this_thread::yield();
    KeshCard().Unplug();
    const size_t transfers = KeshCard().Bus().Log().size();
    writer.Join();
    EXPECT_EQ(kDeviceGone, last);
    EXPECT_EQ(transfers, KeshCard().Bus().Log().size());
    EXPECT_EQ(static_cast<size_t>(written.load()), transfers);
}

TEST_F(Kesh713xDriverTest, UnpluggedCardFailsEveryRequestWithoutBusTraffic) {
    KeshCard().Unplug();
    BYTE sub = 0x41;
    BYTE value = 0x5A;
    TransferRecord transfer;
    transfer.Address(0xA0);
    transfer.SubAddress(&sub);
    transfer.Data(&value);
    DataRecord data;
    data.Write(&value, 1);
    EXPECT_EQ(kDeviceGone, SetI2C(transfer, data));
    EXPECT_EQ(kDeviceGone, GetI2C(transfer, data));
    DWORD word = 0x3000;
    EXPECT_EQ(kDeviceGone, Register(false, 0x1B0, &word));
    EXPECT_EQ(kDeviceGone, Register(true, 0x1B4, &word));
    DWORD support = 0;
    EXPECT_EQ(kDeviceGone, driver->QuerySupported(kKesh713xI2CSet, 0, &support));
    ExpectCardUntouched(KeshCard());
    EXPECT_EQ(0x5A, value);
    EXPECT_EQ(5u, driver->Log().Size());
}

}  // namespace
}  // namespace hwsim
