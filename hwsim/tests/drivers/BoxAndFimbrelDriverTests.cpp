// The box and Fimbrel drivers: what they refuse before the bus or a line is touched, the
// support a test overrides, a property without instance data, and the EEPROM's address taken
// from the card kind.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "hwsim/drivers/BoxDriver.h"
#include "hwsim/drivers/FimbrelDriver.h"
#include "ks.h"
#include "support/DriverFixture.h"

namespace hwsim {
namespace {

class BoxAndFimbrelDriverTest : public DriverFixture {};

// A 9-byte box request.
std::vector<BYTE> Request(DWORD device, BYTE mode, DWORD reg) {
    std::vector<BYTE> request(9);
    std::memcpy(request.data(), &device, 4);
    request[4] = mode;
    std::memcpy(request.data() + 5, &reg, 4);
    return request;
}

TEST_F(BoxAndFimbrelDriverTest, BoxDriverRefusesMalformedRequestsUntouched) {
    BoxDriver driver(KeshCard());
    struct Row {
        const char* what;
        bool get;
        std::vector<BYTE> instance;
        DWORD dataLength;
        DWORD value;
    };
    const Row rows[] = {
        {"request of 8 bytes", true, std::vector<BYTE>(8), 4, 0},
        {"value of 2 bytes", false, Request(0x50, 2, 0), 2, 0},
        {"device above 0x7F", true, Request(0x80, 3, 0), 4, 0},
        {"unknown mode", false, Request(0x50, 5, 0), 4, 0},
        {"read mode on a Set", false, Request(0x50, 3, 0), 4, 0},
        {"write mode on a Get", true, Request(0x50, 2, 0), 4, 0},
        {"register above a byte", false, Request(0x50, 2, 0x100), 4, 0},
        {"mode 8 to another device", false, Request(0x50, 8, 0), 4, 0x1610},
        {"mode 10 value above 16 bits", false, Request(0x61, 10, 0x0600), 4, 0x10000},
        {"mode 0x21 value above a byte", false, Request(0x61, 0x21, 0), 4, 0x100},
        {"mode 0x21 with a register", false, Request(0x61, 0x21, 1), 4, 0},
        {"mode 33 with a register", true, Request(0x61, 33, 1), 4, 0},
        {"PLL status off the lock poll's register 142", true, Request(0x61, 1, 0), 4, 0},
        {"PLL status in mode 0 at register 141", true, Request(0x61, 0, 141), 4, 0},
    };
    for (const Row& row : rows) {
        std::vector<BYTE> instance = row.instance;
        DWORD value = row.value;
        DWORD returned = 0;
        const HRESULT hr = row.get ? driver.Get(kBoxPropertySet, 20, instance.data(), static_cast<DWORD>(instance.size()),
                                                &value, row.dataLength, &returned)
                                   : driver.Set(kBoxPropertySet, 20, instance.data(),
                                                static_cast<DWORD>(instance.size()), &value, row.dataLength);
        EXPECT_EQ(E_INVALIDARG, hr) << row.what;
    }
    BYTE hold = 2;
    EXPECT_EQ(E_INVALIDARG, driver.Set(kBoxPropertySet, 25, nullptr, 0, &hold, 1));
    BYTE stored[4] = {};
    EXPECT_EQ(E_INVALIDARG, driver.Set(kBoxPropertySet, 0, stored, 4, stored, 2));
    BYTE other[4] = {};
    EXPECT_EQ(E_INVALIDARG, driver.Set(kBoxPropertySet, 0, stored, 4, other, 4));  // not one buffer
    DWORD returnedStore = 0;
    EXPECT_EQ(E_INVALIDARG, driver.Get(kBoxPropertySet, 0, stored, 4, other, 4, &returnedStore));
    std::vector<BYTE> block(BoxDriver::kFirmwareBlockSize, 0);
    const DWORD tooLong = 0x40001;
    std::memcpy(block.data(), &tooLong, 4);
    EXPECT_EQ(E_INVALIDARG, driver.Set(kBoxFirmwareSet, 5, block.data(), BoxDriver::kFirmwareBlockSize, block.data(),
                                       BoxDriver::kFirmwareBlockSize));
    ExpectCardUntouched(KeshCard());
    EXPECT_TRUE(driver.FirmwareBlock().empty());
    // The lock poll's own request reads the PLL's status.
    std::vector<BYTE> poll = Request(0x61, 1, 142);
    DWORD status = 0;
    DWORD returned = 0;
    EXPECT_EQ(S_OK, driver.Get(kBoxPropertySet, 20, poll.data(), 9, &status, 4, &returned));
    EXPECT_NE(std::string::npos, KeshCard().Bus().LogText().find("C3 R"));
}

TEST_F(BoxAndFimbrelDriverTest, BoxResetPropertyTakesANullInstanceOfLengthZero) {
    BoxDriver driver(KeshCard());
    BYTE hold = 1;
    EXPECT_EQ(S_OK, driver.Set(kBoxPropertySet, 25, nullptr, 0, &hold, 1));
    EXPECT_FALSE(KeshCard().Bridge().PinLevels() & BoxDriver::kTunerResetLine);
    hold = 0;
    EXPECT_EQ(S_OK, driver.Set(kBoxPropertySet, 25, nullptr, 0, &hold, 1));
    EXPECT_TRUE(KeshCard().Bridge().PinLevels() & BoxDriver::kTunerResetLine);
    // A null instance with a length is still a missing buffer.
    EXPECT_EQ(E_POINTER, driver.Set(kBoxPropertySet, 25, nullptr, 1, &hold, 1));
}

TEST_F(BoxAndFimbrelDriverTest, OverriddenSupportIsAnsweredAndEnforced) {
    BoxDriver driver(KeshCard());
    DWORD support = 0;
    ASSERT_EQ(S_OK, driver.QuerySupported(kBoxPropertySet, 20, &support));
    EXPECT_EQ(3u, support);
    driver.OverrideSupport(kBoxPropertySet, 20, KsDriver::kSupportSet);
    ASSERT_EQ(S_OK, driver.QuerySupported(kBoxPropertySet, 20, &support));
    EXPECT_EQ(2u, support);
    std::vector<BYTE> request = Request(0x50, 3, 0);
    DWORD value = 0;
    DWORD returned = 0;
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, driver.Get(kBoxPropertySet, 20, request.data(), 9, &value, 4, &returned));
    driver.OverrideSupport(kBoxPropertySet, 20, 0);
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, driver.QuerySupported(kBoxPropertySet, 20, &support));
    // Bits the driver lacks are answered but not carried out.
    driver.OverrideSupport(kBoxPropertySet, 25, 3);
    BYTE byte = 0;
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, driver.Get(kBoxPropertySet, 25, nullptr, 0, &byte, 1, &returned));
}

TEST_F(BoxAndFimbrelDriverTest, FimbrelDriverRefusesMalformedRecordsUntouched) {
    FimbrelDriver driver(KeshCard());
    auto record = [](BYTE mode, BYTE device, BYTE count) {
        std::vector<BYTE> r(19, 0);
        r[0] = mode;
        r[1] = device;
        r[2] = count;
        return r;
    };
    struct Row {
        const char* what;
        bool get;
        DWORD id;
        std::vector<BYTE> buffer;
    };
    const Row rows[] = {
        {"mode 0", false, 0, record(0, 0xA0, 1)},
        {"mode 4", true, 1, record(4, 0xA0, 1)},
        {"count 0", false, 0, record(1, 0xA0, 0)},
        {"count 17", true, 1, record(1, 0xA0, 17)},
        {"record of 18 bytes", false, 0, std::vector<BYTE>(18, 1)},
        {"register not a GPIO register", false, 6, {0x10, 0x81, 0x00, 0xC7, 0, 0, 0, 0}},
        {"outputs with a lower half", false, 6, {0x08, 0x81, 0x00, 0xC7, 1, 0, 0, 0}},
        {"read of an output register", true, 5, {0x08, 0x81, 0x00, 0xC7, 0, 0, 0, 0}},
        // Each mode for its own devices only.
        {"mode 1 to the tuner", false, 0, record(1, 0xC2, 1)},
        {"mode 2 read of the EEPROM", true, 1, record(2, 0xA0, 1)},
        {"mode 3 to the EEPROM", false, 0, record(3, 0xA0, 1)},
        {"mode 3 to the controller off its registers", false, 0, record(3, 0xBA, 1)},
        {"mode 3 read at the write address", true, 1, [&] {
             std::vector<BYTE> r = record(3, 0xBA, 1);
             r[3] = 0xAA;
             return r;
         }()},
    };
    for (const Row& row : rows) {
        std::vector<BYTE> buffer = row.buffer;
        const DWORD size = static_cast<DWORD>(buffer.size());
        DWORD returned = 0;
        const HRESULT hr = row.get ? driver.Get(kFimbrelSetA, row.id, buffer.data(), size, buffer.data(), size, &returned)
                                   : driver.Set(kFimbrelSetA, row.id, buffer.data(), size, buffer.data(), size);
        EXPECT_EQ(E_INVALIDARG, hr) << row.what;
    }
    // One buffer as instance and data, or nothing.
    std::vector<BYTE> a = record(1, 0xA0, 1);
    std::vector<BYTE> b = a;
    EXPECT_EQ(E_INVALIDARG, driver.Set(kFimbrelSetA, 0, a.data(), 19, b.data(), 19));
    std::vector<BYTE> combined(28, 0);
    combined[0] = 1;
    combined[1] = 0xA0;
    combined[2] = 2;
    combined[11] = 1;
    DWORD returned = 0;
    EXPECT_EQ(E_INVALIDARG, driver.Get(kFimbrelSetA, 2, combined.data(), 28, combined.data(), 28, &returned));
    ExpectCardUntouched(KeshCard());
}

TEST_F(BoxAndFimbrelDriverTest, FimbrelCombinedRecordReadsAtASubAddress) {
    FimbrelDriver driver(KeshCard());
    KeshCard().Eeprom().Poke(0x10, 0x3C);
    KeshCard().Eeprom().Poke(0x11, 0x3D);
    std::vector<BYTE> combined(28, 0);
    combined[0] = 1;
    combined[1] = 0xA0;
    combined[2] = 1;
    combined[3] = 0x10;
    combined[11] = 2;
    DWORD returned = 0;
    ASSERT_EQ(S_OK, driver.Get(kFimbrelSetA, 2, combined.data(), 28, combined.data(), 28, &returned));
    EXPECT_EQ(0x3C, combined[12]);
    EXPECT_EQ(0x3D, combined[13]);
}

TEST_F(BoxAndFimbrelDriverTest, EepromSitsWhereTheCardKindPutsIt) {
    CardKind kind{"Test Box", "Test Xbar", "Test Tuner", &StandardPinLayout, 0xA2};
    CardSpec desc;
    desc.kind = &kind;
    desc.eeprom.assign(256, 0x5A);
    RfEnvironment rf;
    Card card(desc, rf, (dir / "box.bin").string());
    EXPECT_EQ(0x51, card.Eeprom().Address());
    BYTE byte = 0;
    EXPECT_EQ(I2CResult::Ack, card.Bus().ReadSub(0xA2, 3, &byte, 1));
    EXPECT_EQ(0x5A, byte);
    EXPECT_EQ(I2CResult::Nack, card.Bus().ReadSub(0xA0, 3, &byte, 1));
    EXPECT_EQ(0x50, KeshCard().Eeprom().Address());
}

}  // namespace
}  // namespace hwsim
