// CTridentAccess and CTridentUsbAccess on a board whose driver takes vendor commands: the
// EEPROM and the tuner through each class's own slots, the reset lines on the card's line
// model, the slots that do nothing, an object whose Init failed, and two threads on one object.
#include <gtest/gtest.h>

#include "access/TridentAccess.h"
#include "access/TridentUsbAccess.h"
#include "hwsim/drivers/VendorCommandDriver.h"
#include "platform/runtime.h"
#include "support/AccessFixture.h"
#include "support/VendorWire.h"

namespace {

class TridentAccessTest : public BoardAccessFixture<CTridentAccess> {
protected:
    void SetUp() override
    {
        Bind<hwsim::VendorCommandDriver>(false, nullptr);
        ASSERT_EQ(S_OK, usb.Init(board.Filter(), nullptr));
        Clear(Driver());
    }

    // Line n of the card's line model: -1 while the bridge does not drive it, else its level.
    int Line(int n)
    {
        hwsim::Saa713x& bridge = Card().Bridge();
        if (!(bridge.Directions() & (1u << n))) return -1;
        return (bridge.HostLatches() >> n) & 1;
    }

    CTridentUsbAccess usb;
};

TEST_F(TridentAccessTest, EepromAndTunerThroughEachClassesOwnSlots)
{
    ExpectEepromRoundTrip(access, Card());
    ExpectTunerLock(access, Card(), 0xC3);  // slot 6, then the raw read of slot 5

    for (int offset = 0; offset < 256; ++offset) {
        ASSERT_EQ(S_OK, usb.WriteVendorData(0xA0, static_cast<BYTE>(offset), static_cast<BYTE>(~offset)));
    }
    for (int offset = 0; offset < 256; ++offset) {
        BYTE value = 0;
        ASSERT_EQ(S_OK, usb.ReadVendorData(0xA0, static_cast<BYTE>(offset), &value));
        ASSERT_EQ(static_cast<BYTE>(~offset), value) << offset;
        ASSERT_EQ(value, Card().Eeprom().Peek(offset));
    }
}

TEST_F(TridentAccessTest, ResetSlotsDriveTheirLines)
{
    EXPECT_EQ(-1, Line(0));
    ASSERT_EQ(S_OK, access.ResetTuner(TRUE));
    EXPECT_EQ(0, Line(0));  // the inverse of bOpen
    ASSERT_EQ(S_OK, access.ResetTuner(FALSE));
    EXPECT_EQ(1, Line(0));

    ASSERT_EQ(S_OK, usb.ResetTuner(TRUE));
    EXPECT_EQ(1, Line(1));
    ASSERT_EQ(S_OK, usb.GetStatus(FALSE));
    EXPECT_EQ(0, Line(0));
    ASSERT_EQ(S_OK, usb.ResetTuner(FALSE));
    EXPECT_EQ(0, Line(1));
    EXPECT_EQ(-1, Line(2));
}

TEST_F(TridentAccessTest, SlotsThatDoNothingSendNothing)
{
    DWORD value = 7;
    EXPECT_EQ(S_OK, access.Open(TRUE));
    EXPECT_EQ(S_FALSE, usb.SetOption(1));
    EXPECT_EQ(S_FALSE, access.GPIO_Read(&value));
    EXPECT_EQ(7u, value);
    EXPECT_EQ(E_FAIL, usb.ReadRegister32(0, &value));
    EXPECT_EQ(E_FAIL, access.GPIO_SetTVFM(0));
    EXPECT_EQ(S_OK, access.GetStatus(TRUE));
    EXPECT_EQ(0u, Driver().Log().Size());
}

TEST_F(TridentAccessTest, AfterAFailedInitEveryRequestFails)
{
    CTridentAccess card;
    CTridentUsbAccess box;
    platform::InjectFailure("QueryInterface:IKsPropertySet", 2, E_NOINTERFACE);
    EXPECT_EQ(E_NOINTERFACE, card.Init(board.Filter(), nullptr));
    EXPECT_EQ(E_NOINTERFACE, box.Init(board.Filter(), nullptr));
    BYTE byte = 0;
    BYTE status[1] = {0xC2};
    BYTE block[5] = {0xA0, 0x00, 0x01, 0x02, 0x03};
    // The station's EEPROM writes: never reported as written.
    EXPECT_EQ(E_POINTER, card.I2C_Write(0xA0, 0, 0x12));
    EXPECT_EQ(E_POINTER, box.WriteVendorData(0xA0, 0, 0x12));
    EXPECT_EQ(E_POINTER, card.I2C_Read(0xA0, 0, &byte));
    // One rule: a missing interface answers what a null output does.
    EXPECT_EQ(E_POINTER, box.I2C_Write(0xA0, 0, 0x12));
    EXPECT_EQ(E_POINTER, card.I2C_ReadBlock(status, 1));
    EXPECT_EQ(E_POINTER, box.I2C_WriteBlock(block, 5));
    EXPECT_EQ(E_POINTER, card.ResetTuner(TRUE));
    EXPECT_EQ(E_POINTER, box.WriteBridgeReg(0x3A, 1));
    EXPECT_EQ(E_POINTER, box.I2C_Read(0xA0, 0, &byte));
    EXPECT_EQ(E_POINTER, card.ReadBridgeReg(0x3A, &byte));
    EXPECT_EQ(0u, Driver().Log().Size());

    // A card that is gone answers the driver's failure.
    Card().Unplug();
    EXPECT_EQ(hwsim::kDeviceGone, access.I2C_Write(0xA0, 0, 0x12));
}

TEST_F(TridentAccessTest, TwoThreadsNeverSplitASetFromItsGet)
{
    ExpectTwoThreadsReadTheirOwnAnswers(access, Driver());
    ExpectTwoThreadsReadTheirOwnAnswers(usb, Driver());
}

}  // namespace
