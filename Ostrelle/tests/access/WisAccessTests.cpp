// CWisAccess against the simulated WIS driver's I2C interface on the capture filter: the
// sub-address width, the EEPROM through the slots and the extended calls, the tuner's status
// through the block read, the block write's count, and the refusals.
#include <gtest/gtest.h>

#include "access/WisAccess.h"
#include "hwsim/drivers/WisDriver.h"
#include "platform/comobject.h"
#include "support/AccessFixture.h"

namespace {

// An object without the driver's interface.
class PlainObject : public platform::ComObject<IUnknown> {};

class WisAccessTest : public BoardAccessFixture<CWisAccess> {
protected:
    void SetUp() override { Bind<hwsim::WisDriver>(false, nullptr); }
};

TEST_F(WisAccessTest, EepromThroughTheSlotsAndTheExtendedCallsAndTheTunerStatus)
{
    ExpectEepromRoundTrip(access, Card());
    for (int offset = 0; offset < 256; ++offset) {
        ASSERT_EQ(S_OK, access.I2C_WriteEx(0xA0, 8, static_cast<WORD>(offset), 0xFFFFFF00u | (offset ^ 0xC3), 0x8000));
    }
    for (int offset = 0; offset < 256; ++offset) {
        BYTE value = 0;
        ASSERT_EQ(S_OK, access.I2C_ReadEx(0xA0, 8, static_cast<WORD>(offset), &value, 0x8000));
        ASSERT_EQ(offset ^ 0xC3, value) << offset;
    }
    Clear(Driver());
    ASSERT_EQ(S_OK, access.I2C_WriteEx(0xA0, 8, 0x10, 0x5A, 0x8000));
    EXPECT_EQ("A0 W 10 5A\n", Card().Bus().LogText());  // exactly one byte
    ExpectWire(Driver(), {"Set WIS.15 * i2c A0 sub 10 write 5A -> S_OK"});
    ExpectTunerLock(access, Card());
}

TEST_F(WisAccessTest, TheSubAddressPicksTheWidthAndABlockWriteOfTheAddressAloneSendsNoBytes)
{
    BYTE value = 0;
    ASSERT_EQ(S_OK, access.I2C_Read(0xA0, 0x0012, &value));
    ASSERT_EQ(S_OK, access.I2C_Write(0xA0, 0x0112, 0x34));
    BYTE address[] = {0xA0};
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(address, 1));
    ExpectWire(Driver(), {"Get WIS.8 * i2c A0 sub 12 read * -> S_OK", "Set WIS.7 * i2c A0 sub 01 12 write 34 -> S_OK",
                          "Set WIS.9 [*/0] raw A0 write -> S_OK"});
}

TEST_F(WisAccessTest, RefusalsAndTheSlotsThatDoNothing)
{
    BYTE buf[4] = {0xA0};
    DWORD word = 0x1234;
    ExpectRefusals(Driver(), {
        {"extended write, width 16", E_INVALIDARG, [&] { return access.I2C_WriteEx(0xA0, 16, 0x10, 1, 0x8000); }},
        {"extended write, sub 0x100", E_INVALIDARG, [&] { return access.I2C_WriteEx(0xA0, 8, 0x100, 1, 0x8000); }},
        {"read, null", E_FAIL, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"extended read, null", E_FAIL, [&] { return access.I2C_ReadEx(0xA0, 8, 0, nullptr, 0x8000); }},
        {"block read, 0", E_FAIL, [&] { return access.I2C_ReadBlock(buf, 0); }},
        {"block read, null", E_FAIL, [&] { return access.I2C_ReadBlock(nullptr, 1); }},
        {"block write, 0", E_FAIL, [&] { return access.I2C_WriteBlock(buf, 0); }},
        {"gpio read", S_OK, [&] { return access.GPIO_Read(&word); }},
        {"gpio write", S_OK, [&] { return access.GPIO_Write(1, 1); }},
    });
    EXPECT_EQ(0x1234u, word);

    CWisAccess unbound;
    EXPECT_EQ(E_FAIL, unbound.Init(nullptr, nullptr));
    CComPtr<IUnknown> plain;
    plain.Attach(static_cast<IUnknown*>(new PlainObject()));
    EXPECT_EQ(E_FAIL, unbound.Init(plain, nullptr));
    BYTE value = 0x66;
    EXPECT_EQ(E_FAIL, unbound.I2C_Read(0xA0, 0, &value));
    EXPECT_EQ(E_FAIL, unbound.I2C_Write(0xA0, 0, 1));
    EXPECT_EQ(E_FAIL, unbound.I2C_WriteEx(0xA0, 8, 0, 1, 0x8000));
    EXPECT_EQ(0x66, value);
}

}  // namespace
