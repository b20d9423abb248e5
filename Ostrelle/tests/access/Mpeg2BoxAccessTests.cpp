// CMpeg2BoxAccess against the simulated box driver: the box register requests of every slot,
// the EEPROM at 0xA2 and the tuner's status end to end, the refusals before anything is sent,
// and the property routines' traces and interface references.
#include <gtest/gtest.h>

#include <vector>

#include "access/Mpeg2BoxAccess.h"
#include "access/WolbryBoxAccess.h"
#include "hwsim/drivers/BoxDriver.h"
#include "support/AccessFixture.h"
#include "support/BoxBoard.h"
#include "support/TwoThreadRace.h"

namespace {

class Mpeg2BoxAccessTest : public BoxBoardTest<BoxBoard::Family::Mpeg2Box> {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, access.Init(board.Filter(), nullptr));
        BoxBoardTest::SetUp();
    }

    CMpeg2BoxAccess access;
};

TEST_F(Mpeg2BoxAccessTest, EverySlotSendsItsBoxRequest)
{
    board.Chip("decoder").Poke(2, 0x37);
    BYTE byte = 0;
    const std::string q = "QuerySupported BOX.20 [0/0] -> S_OK";
    ExpectSlots<CMpeg2BoxAccess>(access, board.Driver(), {
        {"I2C_Write", [](auto& a) { return a.I2C_Write(0xA2, 0x41, 0x5A); }, S_OK,
         {q, "Set BOX.20 [9/4] dev 51 mode 02 i2c A2 sub 41 write 5A -> S_OK"}},
        {"I2C_Read", [&](auto& a) { return a.I2C_Read(0xA2, 0x41, &byte); }, S_OK,
         {q, "Get BOX.20 [9/4] dev 51 mode 03 i2c A2 sub 41 read 5A -> S_OK"}},
        {"I2C_Read of the decoder at 0x40", [&](auto& a) { return a.I2C_Read(0x40, 2, &byte); }, S_OK,
         {q, "Get BOX.20 [9/4] dev 21 mode 01 i2c 42 sub 02 read 37 -> S_OK"}},
        {"I2C_Write of the decoder at 0x40", [](auto& a) { return a.I2C_Write(0x40, 2, 0x11); }, S_OK,
         {q, "Set BOX.20 [9/4] dev 20 mode 02 i2c 42 sub 02 write 11 -> S_OK"}},
        {"I2C_WriteBlock", [](auto& a) {
             BYTE program[] = {0xC0, 0x06, 0x3E, 0xCE, 0x01};
             return a.I2C_WriteBlock(program, 5);
         }, S_OK, {q, "Set BOX.20 [9/4] dev 60 mode 0A raw C0 write 06 3E CE 01 -> S_OK"}},
        {"I2C_WriteBlock longer than 5 sends four bytes", [](auto& a) {
             BYTE program[] = {0xC0, 0x06, 0x3E, 0xCE, 0x01, 0x77};
             return a.I2C_WriteBlock(program, 6);
         }, S_OK, {q, "Set BOX.20 [9/4] dev 60 mode 0A raw C0 write 06 3E CE 01 -> S_OK"}},
        {"I2C_ReadBlock", [](auto& a) {
             BYTE status[] = {0xC0};
             return a.I2C_ReadBlock(status, 1);
         }, S_OK, {q, "Get BOX.20 [9/4] dev 60 mode 21 raw C1 read * -> S_OK"}},
        {"Open", [](auto& a) { return a.Open(TRUE); }, S_OK, {}},
        {"SetOption", [](auto& a) { return a.SetOption(1); }, E_NOTIMPL, {}},
        {"GPIO_Read", [](auto& a) { DWORD v; return a.GPIO_Read(&v); }, E_NOTIMPL, {}},
        {"GPIO_Write", [](auto& a) { return a.GPIO_Write(1, 1); }, E_NOTIMPL, {}},
        {"ResetTuner keeps the default", [](auto& a) { return a.ResetTuner(TRUE); }, S_OK, {}},
    });
}

TEST_F(Mpeg2BoxAccessTest, WritesAndReadsBackAllEepromBytesAtA2)
{
    for (int i = 0; i < 256; ++i) ASSERT_EQ(S_OK, access.I2C_Write(0xA2, i, static_cast<BYTE>(i ^ 0x5A))) << i;
    for (int i = 0; i < 256; ++i) {
        BYTE byte = 0;
        ASSERT_EQ(S_OK, access.I2C_Read(0xA2, i, &byte)) << i;
        EXPECT_EQ(i ^ 0x5A, byte) << i;
        EXPECT_EQ(i ^ 0x5A, board.Card().Eeprom().Peek(i)) << i;
    }
}

TEST_F(Mpeg2BoxAccessTest, TunerStatusComesBackThroughTheBlockRead)
{
    BYTE program[] = {0xC0, 0x05, 0xE2, 0xCE, 0x01};  // 55250 kHz, on air
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(program, 5));
    BYTE status[] = {0xC0};
    ASSERT_EQ(S_OK, access.I2C_ReadBlock(status, 1));
    EXPECT_EQ(board.Tuner().Status(), status[0]);
    EXPECT_TRUE(status[0] & hwsim::PllTuner::kLockBit);
}

TEST_F(Mpeg2BoxAccessTest, RefusesBadInputBeforeSending)
{
    CMpeg2BoxAccess unbound;
    BYTE four[] = {0xC0, 1, 2, 3};
    ExpectRefusals(board.Driver(), {
        {"I2C_Read without a byte", E_POINTER, [&] { return access.I2C_Read(0xA2, 0, nullptr); }},
        {"I2C_Read of a negative sub-address", E_INVALIDARG, [&] { BYTE b; return access.I2C_Read(0xA2, -1, &b); }},
        {"I2C_Write of a negative sub-address", E_INVALIDARG, [&] { return access.I2C_Write(0xA2, -1, 0); }},
        {"I2C_ReadBlock without a buffer", E_POINTER, [&] { return access.I2C_ReadBlock(nullptr, 1); }},
        {"I2C_ReadBlock of length 0", E_INVALIDARG, [&] { return access.I2C_ReadBlock(four, 0); }},
        {"I2C_WriteBlock without a buffer", E_POINTER, [&] { return access.I2C_WriteBlock(nullptr, 5); }},
        {"I2C_WriteBlock of four bytes", E_INVALIDARG, [&] { return access.I2C_WriteBlock(four, 4); }},
        {"Init without a filter", E_INVALIDARG, [&] { return unbound.Init(nullptr, nullptr); }},
        {"Open of an unbound object", E_FAIL, [&] { return unbound.Open(TRUE); }},
        {"I2C_Write of an unbound object", E_FAIL, [&] { return unbound.I2C_Write(0xA2, 0, 0); }},
    });
    EXPECT_EQ(S_OK, unbound.Open(FALSE));
}

// The property routines of both box classes, each in its own class's words.
TEST_F(Mpeg2BoxAccessTest, PropertyRoutinesOfBothClassesTraceEachFailureInTheirWords)
{
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"QueryInterface", [] { platform::InjectFailure("QueryInterface:IKsPropertySet"); },
         "::%s - Query IID_IKsPropertySet failed\n"},
        {"QuerySupported", [] { platform::InjectFailure("IKsPropertySet::QuerySupported"); },
         "::%s - IKsPropertySet->QuerySupported property failed\n"},
        {"support bit",
         [&] { board.Driver().OverrideSupport(hwsim::kBoxPropertySet, 20, 0); },
         "::%s - IKsPropertySet->%s property method is not supported\n"},
    };
    for (const CBoxProperty* routines : {&CMpeg2BoxAccess::Routines(), &CWolbryBoxAccess::Routines()}) {
        for (const Case& c : cases) {
            for (bool get : {true, false}) {
                SCOPED_TRACE(std::string(routines->Owner()) + " " + c.what + (get ? " Get" : " Set"));
                platform::ClearTrace();
                platform::ClearFailures();
                board.Driver().OverrideSupport(hwsim::kBoxPropertySet, 20, 3);
                c.arrange();
                if (std::string(c.what) == "support bit") {
                    board.Driver().OverrideSupport(hwsim::kBoxPropertySet, 20, get ? 2 : 1);
                }
                DWORD value = 0;
                const BOOL ok = get ? routines->QueryBoxValue(board.Filter(), 0x51, 3, 0, &value)
                                    : routines->SetBoxValue(board.Filter(), 0x51, 2, 0, 0);
                EXPECT_FALSE(ok);
                char text[200];
                std::snprintf(text, sizeof(text), (std::string(routines->Owner()) + c.text).c_str(),
                              get ? "GetFilterProperty" : "SetFilterProperty", get ? "Get" : "Set");
                EXPECT_EQ(text, platform::TraceText());
            }
        }
    }
    platform::ClearFailures();
    EXPECT_EQ("", board.Card().Bus().LogText());
}

TEST_F(Mpeg2BoxAccessTest, PropertyRoutinesReleaseTheInterfaceTheyQuery)
{
    IUnknown* filter = board.Filter();
    const ULONG before = filter->AddRef();
    filter->Release();
    BYTE byte = 0;
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(S_OK, access.I2C_Read(0xA2, i, &byte));
        ASSERT_EQ(S_OK, access.I2C_Write(0xA2, i, byte));
    }
    board.Driver().OverrideSupport(hwsim::kBoxPropertySet, 20, 1);
    EXPECT_EQ(E_FAIL, access.I2C_Write(0xA2, 0, 0));
    const ULONG after = filter->AddRef();
    filter->Release();
    EXPECT_EQ(before, after);
}

}  // namespace

namespace {

// A read of another thread tried between a write's support query and its Set waits for the
// Set: the box lock holds the write's whole run, so the read gets the byte written.
TEST_F(Mpeg2BoxAccessTest, AReadOfAnotherThreadWaitsForTheWholeWrite)
{
    board.Card().Eeprom().Poke(0x30, 0x01);
    BYTE readBack = 0;
    RaceAtRequest(
        board.Driver(), 1, [&] { EXPECT_EQ(S_OK, access.I2C_Write(0xA2, 0x30, 0x5A)); },
        [&] { EXPECT_EQ(S_OK, access.I2C_Read(0xA2, 0x30, &readBack)); });
    EXPECT_EQ(0x5A, readBack);
    EXPECT_EQ(0x5A, board.Card().Eeprom().Peek(0x30));
}

}  // namespace
