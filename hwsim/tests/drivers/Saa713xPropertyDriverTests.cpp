// The driver of the SAA713x property set: what it answers, what it refuses, and the card that
// has gone.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "support/DriverFixture.h"
#include "support/TestBoard.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "ks.h"

namespace hwsim {
namespace {

// The one buffer of a request.
struct Buffer {
    alignas(8) BYTE bytes[304] = {};
    void PutDword(size_t at, DWORD value) { std::memcpy(bytes + at, &value, 4); }
    DWORD Dword(size_t at) const {
        DWORD value;
        std::memcpy(&value, bytes + at, 4);
        return value;
    }
};

class Saa713xPropertyDriverTest : public DriverFixture {
protected:
    void SetUp() override {
        DriverFixture::SetUp();
        driver = std::make_unique<Saa713xPropertyDriver>(PropertyCard());
    }
    void TearDown() override {
        driver.reset();
        DriverFixture::TearDown();
    }

    HRESULT Get(DWORD id, DWORD instanceLength, DWORD dataLength, Buffer& buffer) {
        DWORD returned = 0;
        return driver->Get(kSaa713xPropertySet, id, buffer.bytes, instanceLength, buffer.bytes, dataLength, &returned);
    }
    HRESULT Set(DWORD id, DWORD instanceLength, DWORD dataLength, Buffer& buffer) {
        return driver->Set(kSaa713xPropertySet, id, buffer.bytes, instanceLength, buffer.bytes, dataLength);
    }

    std::unique_ptr<Saa713xPropertyDriver> driver;
};

TEST_F(Saa713xPropertyDriverTest, CarriesOneByteTransfersToTheEepromFromByte24On) {
    Buffer buffer;
    std::memset(buffer.bytes, 0xEE, 24);  // the header room is ignored
    buffer.bytes[24] = 0xA0;
    buffer.PutDword(28, 0x41);
    buffer.bytes[32] = 0x5A;
    ASSERT_EQ(S_OK, Set(2, 32, 56, buffer));
    EXPECT_EQ(0x5A, PropertyCard().Eeprom().Peek(0x41));

    Buffer read;
    read.bytes[24] = 0xA0;  // the write form: the driver reads all the same
    read.PutDword(28, 0x41);
    ASSERT_EQ(S_OK, Get(2, 32, 56, read));
    EXPECT_EQ(0x5A, read.bytes[32]);

    EXPECT_EQ("A0 W 41 5A\nA0 W 41\nA1 R 5A\n", PropertyCard().Bus().LogText());
    EXPECT_EQ("Set SAA.2 [32/56] i2c A0 sub 41 write 5A -> S_OK\n"
              "Get SAA.2 [32/56] i2c A0 sub 41 read 5A -> S_OK\n",
              driver->Log().Text());
    const WireRequest request = driver->Log().Requests()[0];
    ASSERT_EQ(56u, request.data.size());
    EXPECT_EQ(0xEE, request.data[0]);
    EXPECT_EQ(0x5A, request.data[32]);
}

TEST_F(Saa713xPropertyDriverTest, BlockTransfersProgramTheTunerAndReadItsStatusOverTheAddressByte) {
    const auto* tuner = dynamic_cast<PllTuner*>(PropertyCard().Chip("tuner"));
    ASSERT_NE(nullptr, tuner);
    Buffer write;
    const BYTE program[] = {0xC2, 0x05, 0x8A, 0x8E, 0x01};  // 49750 kHz
    std::memcpy(write.bytes + 24, program, sizeof(program));
    write.PutDword(280, sizeof(program));
    ASSERT_EQ(S_OK, Set(6, 280, 304, write));
    EXPECT_EQ(0x058A, tuner->Divider());
    ASSERT_TRUE(tuner->Locked());

    Buffer read;
    read.bytes[24] = 0xC3;
    read.PutDword(280, 1);
    ASSERT_EQ(S_OK, Get(6, 280, 304, read));
    EXPECT_EQ(tuner->Status(), read.bytes[24]);
    EXPECT_EQ("C2 W 05 8A 8E 01\nC3 R " + HexBytes(&read.bytes[24], 1) + "\n", PropertyCard().Bus().LogText());
    EXPECT_EQ("Set SAA.6 [280/304] raw C2 write 05 8A 8E 01 -> S_OK", driver->Log().Lines()[0]);
}

TEST_F(Saa713xPropertyDriverTest, RegistersGpioAndDeviceInformation) {
    Buffer reg;
    reg.PutDword(24, 0x16C);
    reg.PutDword(28, 0xBB);
    ASSERT_EQ(S_OK, Set(5, 24, 48, reg));
    EXPECT_EQ(0xBBu, PropertyCard().Bridge().Read(0x16C));
    reg.PutDword(28, 0);
    ASSERT_EQ(S_OK, Get(5, 24, 48, reg));
    EXPECT_EQ(0xBBu, reg.Dword(28));

    // GPIO in the driver: the masked lines are driven and set; a read latches the pins.
    Buffer gpio;
    gpio.PutDword(24, 0x3000);
    gpio.PutDword(28, 0x1000);
    ASSERT_EQ(S_OK, Set(4, 24, 48, gpio));
    EXPECT_EQ(0x3000u, PropertyCard().Bridge().Directions());
    PropertyCard().Bridge().DriveExternal(0xFF, 0x5A);
    gpio.PutDword(24, 0x30FF);  // the lines the test knows (the on-board controller drives others)
    gpio.PutDword(28, 0);
    ASSERT_EQ(S_OK, Get(4, 24, 48, gpio));
    EXPECT_EQ(0x105Au, gpio.Dword(28));

    Buffer info;
    ASSERT_EQ(S_OK, Get(0, 24, 48, info));
    EXPECT_EQ(0x71341131u, info.Dword(24));
    EXPECT_EQ("", PropertyCard().Bus().LogText());
}

TEST_F(Saa713xPropertyDriverTest, AnswersWhatEachIdSupports) {
    const DWORD expected[] = {1, 2, 3, 2, 3, 3, 3, 2, 2, 2, 2};
    for (DWORD id = 0; id < 11; ++id) {
        DWORD support = 0;
        ASSERT_EQ(S_OK, driver->QuerySupported(kSaa713xPropertySet, id, &support)) << id;
        EXPECT_EQ(expected[id], support) << id;
    }
    DWORD support = 0;
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, driver->QuerySupported(kSaa713xPropertySet, 11, &support));
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, driver->QuerySupported(GUID_NULL, 0, &support));
    EXPECT_EQ(E_POINTER, driver->QuerySupported(kSaa713xPropertySet, 0, nullptr));
}

TEST_F(Saa713xPropertyDriverTest, RefusesMalformedRequestsWithoutTouchingTheCard) {
    struct Row {
        const char* what;
        bool get;
        DWORD id;
        DWORD instanceLength;
        DWORD dataLength;
        std::function<void(Buffer&)> fill;
        HRESULT expected;
    };
    const Row rows[] = {
        {"id beyond the set", false, 11, 24, 48, {}, E_PROP_ID_UNSUPPORTED},
        {"Get of the open flag", true, 1, 24, 48, {}, E_PROP_ID_UNSUPPORTED},
        {"Set of the device information", false, 0, 24, 48, {}, E_PROP_ID_UNSUPPORTED},
        {"transfer with the short layout", false, 2, 24, 48, [](Buffer& b) { b.bytes[24] = 0xA0; }, E_INVALIDARG},
        {"transfer with a long data part", false, 2, 32, 57, [](Buffer& b) { b.bytes[24] = 0xA0; }, E_INVALIDARG},
        {"read with a short instance", true, 2, 28, 56, [](Buffer& b) { b.bytes[24] = 0xA0; }, E_INVALIDARG},
        {"write to sub-address 0x141", false, 2, 32, 56,
         [](Buffer& b) {
             b.bytes[24] = 0xA0;
             b.PutDword(28, 0x141);
         },
         E_INVALIDARG},
        {"open flag 2", false, 1, 24, 48, [](Buffer& b) { b.bytes[24] = 2; }, E_INVALIDARG},
        {"GPIO mask beyond line 27", false, 4, 24, 48, [](Buffer& b) { b.PutDword(24, 0x10000000); }, E_INVALIDARG},
        {"GPIO value beyond line 27", false, 4, 24, 48,
         [](Buffer& b) {
             b.PutDword(24, 0x3000);
             b.PutDword(28, 0x80001000);
         },
         E_INVALIDARG},
        {"register outside the bridge", false, 5, 24, 48, [](Buffer& b) { b.PutDword(24, 0x1000); }, E_INVALIDARG},
        {"register read outside the bridge", true, 5, 24, 48, [](Buffer& b) { b.PutDword(24, 0xFFFFFFFF); },
         E_INVALIDARG},
        {"block read of nothing", true, 6, 280, 304, [](Buffer& b) { b.bytes[24] = 0xC3; }, E_INVALIDARG},
        {"block read of 257", true, 6, 280, 304,
         [](Buffer& b) {
             b.bytes[24] = 0xC3;
             b.PutDword(280, 257);
         },
         E_INVALIDARG},
        {"block write of the address only", false, 6, 280, 304,
         [](Buffer& b) {
             b.bytes[24] = 0xC2;
             b.PutDword(280, 1);
         },
         E_INVALIDARG},
        {"block write of 257", false, 6, 280, 304,
         [](Buffer& b) {
             b.bytes[24] = 0xA0;
             b.PutDword(280, 257);
         },
         E_INVALIDARG},
        {"control 9 with a payload", false, 9, 24, 48, {}, E_INVALIDARG},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        driver->Log().Clear();
        Buffer buffer;
        if (row.fill) row.fill(buffer);
        const HRESULT hr = row.get ? Get(row.id, row.instanceLength, row.dataLength, buffer)
                                   : Set(row.id, row.instanceLength, row.dataLength, buffer);
        EXPECT_EQ(row.expected, hr);
        ExpectCardUntouched(PropertyCard());
        ASSERT_EQ(1u, driver->Log().Size());
        EXPECT_EQ(row.expected, driver->Log().Requests()[0].result);
    }
}

TEST_F(Saa713xPropertyDriverTest, RefusesMissingAndSeparateBuffersAndUnknownSets) {
    Buffer instance, data;
    instance.bytes[24] = 0xA0;
    data.bytes[24] = 0xA0;
    DWORD returned = 0;
    EXPECT_EQ(E_INVALIDARG, driver->Set(kSaa713xPropertySet, 2, instance.bytes, 32, data.bytes, 56));
    EXPECT_EQ(E_POINTER, driver->Set(kSaa713xPropertySet, 2, instance.bytes, 32, nullptr, 56));
    EXPECT_EQ(E_POINTER, driver->Get(kSaa713xPropertySet, 2, nullptr, 32, data.bytes, 56, &returned));
    EXPECT_EQ(E_POINTER, driver->Get(kSaa713xPropertySet, 2, data.bytes, 32, data.bytes, 56, nullptr));
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, driver->Set(GUID_NULL, 2, data.bytes, 32, data.bytes, 56));
    ExpectCardUntouched(PropertyCard());
    EXPECT_EQ(5u, driver->Log().Size());
}

TEST_F(Saa713xPropertyDriverTest, BusFaultsComeBackAsFailures) {
    Buffer buffer;
    buffer.bytes[24] = 0xA0;
    buffer.PutDword(28, 3);
    PropertyCard().Eeprom().NackTransfers(0, 2);  // the data byte
    EXPECT_EQ(kI2CNoAck, Set(2, 32, 56, buffer));
    PropertyCard().Eeprom().SetStuck(true);
    EXPECT_EQ(kI2CBusStuck, Get(2, 32, 56, buffer));
    PropertyCard().Eeprom().SetStuck(false);
    buffer.bytes[24] = 0xB0;  // nobody there
    EXPECT_EQ(kI2CNoAck, Get(2, 32, 56, buffer));
}

TEST_F(Saa713xPropertyDriverTest, UnpluggedCardFailsEveryRequestWithoutBusTraffic) {
    PropertyCard().Unplug();
    Buffer buffer;
    buffer.bytes[24] = 0xA0;
    EXPECT_EQ(kDeviceGone, Set(2, 32, 56, buffer));
    EXPECT_EQ(kDeviceGone, Get(2, 32, 56, buffer));
    buffer.PutDword(24, 0x1B0);
    EXPECT_EQ(kDeviceGone, Set(5, 24, 48, buffer));
    EXPECT_EQ(kDeviceGone, Set(2, 24, 48, buffer));  // malformed too: gone comes first
    EXPECT_EQ(kDeviceGone, driver->Set(GUID_NULL, 0, buffer.bytes, 24, buffer.bytes, 48));
    DWORD support = 0;
    EXPECT_EQ(kDeviceGone, driver->QuerySupported(kSaa713xPropertySet, 0, &support));
    ExpectCardUntouched(PropertyCard());
    for (const WireRequest& request : driver->Log().Requests()) EXPECT_EQ(kDeviceGone, request.result);
    EXPECT_EQ(6u, driver->Log().Size());
}

// The drivers that keep GPIO themselves publish ids 0 to 4 and 6 only, on the set they are
// given, and may publish them on the card's tuner filter.
TEST_F(Saa713xPropertyDriverTest, GpioDriverVariantPublishesItsOwnSetAndIdsOnTheTunerFilter) {
    TestBoard board;
    board.Fit<Saa713xPropertyDriver>(true, kRiveskPropertySet, "RIV", Saa713xPropertyDriver::kGpioDriverIds);
    CComPtr<IKsPropertySet> properties;
    ASSERT_EQ(S_OK, board.Filter()->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&properties)));
    for (DWORD id = 0; id <= 10; ++id) {
        DWORD support = 0;
        const bool published = id <= 4 || id == 6;
        EXPECT_EQ(published ? S_OK : E_PROP_ID_UNSUPPORTED, properties->QuerySupported(kRiveskPropertySet, id, &support))
            << id;
    }
    DWORD support = 0;
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, properties->QuerySupported(kSaa713xPropertySet, 0, &support));

    board.Driver().Log().Clear();
    Buffer buffer;
    buffer.PutDword(24, 0x3000);
    buffer.PutDword(28, 0x1000);
    ASSERT_EQ(S_OK, properties->Set(kRiveskPropertySet, 4, buffer.bytes, 24, buffer.bytes, 48));
    EXPECT_EQ(0x1000u, board.GetCard().Bridge().HostLatches());
    buffer.PutDword(24, 0x1B0);
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, properties->Set(kRiveskPropertySet, 5, buffer.bytes, 24, buffer.bytes, 48));
    EXPECT_EQ(std::vector<std::string>({"Set RIV.4 [24/48] gpio mask 00003000 write 00001000 -> S_OK",
                                        "Set RIV.5 [24/48] -> 80070490"}),
              board.Driver().Log().Lines());
}

}  // namespace
}  // namespace hwsim
