// CVozeAccess against the SAA713x property driver (its GPIO read, the slots it does not take
// from the property access) and CDvbcAccess, which reaches no driver.
#include <gtest/gtest.h>

#include "access/DvbcAccess.h"
#include "access/KsPropertyAccess.h"
#include "access/VozeAccess.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "platform/runtime.h"
#include "support/AccessFixture.h"

namespace {

class VozeAccessTest : public BoardAccessFixture<CVozeAccess> {
protected:
    void SetUp() override { Bind<hwsim::Saa713xPropertyDriver>(false, nullptr); }
};

TEST_F(VozeAccessTest, SlotsOfThePropertyAccessWithItsOwnGpioReadAndNoVideoStatus)
{
    DWORD value = 0x77;
    ExpectSlots<CVozeAccess>(access, board.Driver(), {
        {"Open", [](auto& a) { return a.Open(TRUE); }, S_OK, {"Set SAA.1 [24/48] open 1 -> S_OK"}},
        {"I2C_ReadBlock",
         [](auto& a) {
             BYTE status[1] = {0xC2};
             return a.I2C_ReadBlock(status, 1);
         },
         S_OK, {"Get SAA.6 [280/304] raw C3 read * -> S_OK"}},
        {"GPIO_Read drives lines 12 and 13 only", [&](auto& a) { return a.GPIO_Read(&value); }, S_OK,
         {"Set SAA.5 [24/48] reg 1B0 write 00003000 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK",
          "Get SAA.5 [24/48] reg 1B4 read * -> S_OK"}},
        {"GPIO_WriteEx: the mask, then the idle word", [](auto& a) { return a.GPIO_WriteEx(0x0400, 0x0C00, 0); }, S_OK,
         {"Set SAA.5 [24/48] reg 1B0 write 00000C00 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80000C00 -> S_OK",
          "Set SAA.5 [24/48] reg 1B4 write 00000400 -> S_OK", "Set SAA.5 [24/48] reg 1B0 write 80003000 -> S_OK"}},
        {"SetControl13", [](auto& a) { return a.SetControl13(0x11); }, S_OK,
         {"Set SAA.7 [24/48] control 7 value 00000011 -> S_OK"}},
        {"DoControl15", [](auto& a) { return a.DoControl15(); }, S_OK, {"Set SAA.9 [16/40] control 9 -> S_OK"}},
        {"ResetTuner", [](auto& a) { return a.ResetTuner(TRUE); }, S_OK,
         {"Get SAA.5 [24/48] reg 1B0 read * -> S_OK", "Get SAA.5 [24/48] reg 1B4 read * -> S_OK",
          "Set SAA.5 [24/48] reg 1B0 write * -> S_OK", "Set SAA.5 [24/48] reg 1B4 write * -> S_OK"}},
        {"GPIO_SetTVFM", [](auto& a) { return a.GPIO_SetTVFM(0); }, E_FAIL, {}},
        {"Reserved28", [](auto& a) { return a.Reserved28(TRUE); }, E_NOTIMPL, {}},
    });
    // Its own access class on the interface, not the property access with two slots put back.
    EXPECT_EQ(nullptr, dynamic_cast<CKsPropertyAccess*>(static_cast<CCustomDataAccess*>(&access)));
    DWORD status = 0x77;
    board.GetCard().Bridge().Write(0x11F, 1);
    EXPECT_EQ(E_FAIL, access.Reserved27(&status));
    EXPECT_EQ(0x77u, status);
    EXPECT_EQ(0u, board.Driver().Log().Size());
    ExpectEepromRoundTrip(access, board.GetCard());
    ExpectTunerLock(access, board.GetCard());
}

TEST_F(VozeAccessTest, GpioReadStopsAtItsFirstFailedStep)
{
    platform::InjectFailure("IKsPropertySet::Set", 1, E_ACCESSDENIED);
    DWORD value = 0x77;
    EXPECT_EQ(E_ACCESSDENIED, access.GPIO_Read(&value));
    EXPECT_EQ(0x77u, value);
    EXPECT_EQ(0u, board.Driver().Log().Size());

    BYTE buffer[300] = {0xA0};
    ExpectRefusals(board.Driver(), {
        {"GPIO read into nothing", E_POINTER, [&] { return access.GPIO_Read(nullptr); }},
        {"negative sub-address", E_INVALIDARG, [&] { return access.I2C_Write(0xA0, -1, 1); }},
        {"block read past the data field", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buffer, 257); }},
        {"block write past the data field", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buffer, 257); }},
    });
}

TEST(DvbcAccess, AnswersEverySlotWithItsFixedResultAndKeepsItsFirstOwner)
{
    CDvbcAccess access;
    int owner = 0;
    int other = 0;
    EXPECT_EQ(E_FAIL, access.Init(nullptr, nullptr));
    EXPECT_EQ(S_OK, access.SetControl13(1));
    EXPECT_EQ(S_OK, access.Init(nullptr, &owner));
    EXPECT_EQ(S_OK, access.Init(nullptr, &other));
    EXPECT_EQ(&owner, access.GetOwner());

    BYTE byte = 0;
    BYTE buffer[2] = {};
    DWORD value = 0;
    const struct {
        const char* slot;
        HRESULT result;
        std::function<HRESULT()> call;
    } rows[] = {
        {"Open", E_NOTIMPL, [&] { return access.Open(TRUE); }},
        {"I2C_Read", E_NOTIMPL, [&] { return access.I2C_Read(0xA0, 0, &byte); }},
        {"I2C_Write", E_NOTIMPL, [&] { return access.I2C_Write(0xA0, 0, 1); }},
        {"I2C_ReadBlock", E_NOTIMPL, [&] { return access.I2C_ReadBlock(buffer, 1); }},
        {"I2C_WriteBlock", E_NOTIMPL, [&] { return access.I2C_WriteBlock(buffer, 2); }},
        {"SetOption", E_NOTIMPL, [&] { return access.SetOption(1); }},
        {"Reserved8", E_FAIL, [&] { return access.Reserved8(0, &value); }},
        {"GPIO_Read", E_NOTIMPL, [&] { return access.GPIO_Read(&value); }},
        {"GPIO_Write", E_NOTIMPL, [&] { return access.GPIO_Write(1, 1); }},
        {"GPIO_WriteEx", E_NOTIMPL, [&] { return access.GPIO_WriteEx(1, 1, 100); }},
        {"GPIO_ReadEx", E_NOTIMPL, [&] { return access.GPIO_ReadEx(&value); }},
        {"SetControl14", S_OK, [&] { return access.SetControl14(1); }},
        {"DoControl15", S_OK, [&] { return access.DoControl15(); }},
        {"SetControl16", S_OK, [&] { return access.SetControl16(1); }},
        {"ResetTuner", E_NOTIMPL, [&] { return access.ResetTuner(TRUE); }},
        {"WriteBridgeReg", E_NOTIMPL, [&] { return access.WriteBridgeReg(1, 1); }},
        {"ReadBridgeReg", E_NOTIMPL, [&] { return access.ReadBridgeReg(1, &byte); }},
        {"GetStatus", S_OK, [&] { return access.GetStatus(TRUE); }},
        {"ReadRegister32", E_FAIL, [&] { return access.ReadRegister32(1, &value); }},
        {"WriteRegister32", E_FAIL, [&] { return access.WriteRegister32(1, 1); }},
        {"Reserved23", E_FAIL, [&] { return access.Reserved23(&value); }},
        {"Reserved24", E_FAIL, [&] { return access.Reserved24(1); }},
        {"Reserved25", E_FAIL, [&] { return access.Reserved25(&value); }},
        {"GPIO_SetTVFM", E_FAIL, [&] { return access.GPIO_SetTVFM(0); }},
        {"Reserved27", E_FAIL, [&] { return access.Reserved27(&value); }},
        {"Reserved28", E_NOTIMPL, [&] { return access.Reserved28(TRUE); }},
    };
    platform::ClearTrace();
    const ULONGLONG start = platform::ClockNow();
    for (const auto& row : rows) EXPECT_EQ(row.result, row.call()) << row.slot;
    EXPECT_EQ(start, platform::ClockNow());
    EXPECT_EQ("", platform::TraceText());
}

}  // namespace
