// The hardware-access interface's default slots, seen through a class that overrides only the
// pure ones.
#include <gtest/gtest.h>

#include "support/TestAccessBase.h"
#include "platform/runtime.h"

namespace {

class PureOnlyAccess : public TestAccessBase {
public:
    HRESULT I2C_Read(BYTE, int, BYTE*) override { return S_OK; }
    HRESULT I2C_Write(BYTE, int, BYTE) override { return S_OK; }
    HRESULT I2C_ReadBlock(BYTE*, int) override { return S_OK; }
    HRESULT I2C_WriteBlock(BYTE*, int) override { return S_OK; }
    HRESULT GPIO_Read(DWORD* value) override
    {
        *value = 0x1234;
        ++reads;
        return S_OK;
    }
    HRESULT GPIO_Write(DWORD value, DWORD mask) override
    {
        written = value;
        writtenMask = mask;
        ++writes;
        return S_FALSE;
    }
    DWORD written = 0, writtenMask = 0;
    int writes = 0, reads = 0;
};

}  // namespace

TEST(CustomDataAccessDefaults, ResetAndControlSlotsSucceedWithoutTouchingTheHardware)
{
    PureOnlyAccess access;
    EXPECT_EQ(access.ResetTuner(TRUE), S_OK);
    EXPECT_EQ(access.ResetTuner(FALSE), S_OK);
    EXPECT_EQ(access.GetStatus(TRUE), S_OK);
    EXPECT_EQ(access.SetControl13(1), S_OK);
    EXPECT_EQ(access.SetControl14(2), S_OK);
    EXPECT_EQ(access.DoControl15(), 0);
    EXPECT_EQ(access.SetControl16(3), S_OK);
    EXPECT_EQ(access.writes + access.reads, 0);
}

TEST(CustomDataAccessDefaults, ExtendedGpioSlotsForwardAtOnceWithoutWaiting)
{
    PureOnlyAccess access;
    const ULONGLONG before = platform::ClockNow();
    EXPECT_EQ(access.GPIO_WriteEx(0x55, 0xF0, 5000), S_FALSE);
    EXPECT_LT(platform::ClockNow() - before, 5000u);
    EXPECT_EQ(access.written, 0x55u);
    EXPECT_EQ(access.writtenMask, 0xF0u);
    DWORD value = 0;
    EXPECT_EQ(access.GPIO_ReadEx(&value), S_OK);
    EXPECT_EQ(value, 0x1234u);
}

TEST(CustomDataAccessDefaults, UnsupportedSlotsFailAndReserved28IsNotImplemented)
{
    PureOnlyAccess access;
    DWORD value = 0;
    BYTE byte = 0;
    EXPECT_EQ(access.Reserved8(1, &value), E_FAIL);
    EXPECT_EQ(access.WriteBridgeReg(0x3A, 1), E_FAIL);
    EXPECT_EQ(access.ReadBridgeReg(0x3A, &byte), E_FAIL);
    EXPECT_EQ(access.ReadRegister32(0x11F, &value), E_FAIL);
    EXPECT_EQ(access.WriteRegister32(0x11F, 1), E_FAIL);
    EXPECT_EQ(access.Reserved23(0), E_FAIL);
    EXPECT_EQ(access.Reserved24(0), E_FAIL);
    EXPECT_EQ(access.Reserved25(0), E_FAIL);
    EXPECT_EQ(access.Reserved27(&value), E_FAIL);
    EXPECT_EQ(access.Reserved28(TRUE), E_NOTIMPL);
    platform::ClearTrace();
    EXPECT_EQ(access.GPIO_SetTVFM(1), E_FAIL);
    EXPECT_TRUE(platform::TraceContains("CCustomDataAccess::GPIO_SetTVFM"));
}
