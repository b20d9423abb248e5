// CVendorAccess and CEm2800Access against the simulated Empia driver on a board of the test's
// own, found by FriendlyName as the card filters find it: the descriptor-and-transfer pairs on
// the wire, the EEPROM and the tuner end to end, GPIO, the event bit, AC97, the items, the
// registry names, the audio devices and the property pages, the refusals, and a crossbar-style
// object and the card's access object sharing the driver from two threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "access/Em2800Access.h"
#include "access/VendorAccess.h"
#include "hwsim/boards/CaptureFilter.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/drivers/EmpiaDriver.h"
#include "platform/comobject.h"
#include "platform/comservices.h"
#include "platform/devicetree.h"
#include "support/AccessFixture.h"
#include "support/TwoThreadRace.h"

namespace {

constexpr const char* kBoardName = "Test Board Capture";

class EmpiaAccessTest : public BoardAccessFixture<CEm2800Access> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));  // the device enumerator finds the box
        board.Fit<hwsim::EmpiaDriver>(false);
        board.Plug();
        ASSERT_EQ(S_OK, access.Init(nullptr, const_cast<char*>(kBoardName)));
        ASSERT_NE(nullptr, vendor.OpenByName(kBoardName));
        Clear(Driver());
    }
    void TearDown() override
    {
        for (const char* key : {"Software\\USB2800\\Audio", "Software\\USB2800\\TwainDS"}) {
            HKEY opened = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) continue;
            for (const char* value : {"DeviceName", "RealDSName", "DSName"}) RegDeleteValueA(opened, value);
            RegCloseKey(opened);
        }
        platform::ClearFailures();
        vendor.Close();
        access.Open(FALSE);
        CoUninitialize();
    }
    hwsim::EmpiaDriver& Empia() { return static_cast<hwsim::EmpiaDriver&>(Driver()); }
    size_t WireCount(const std::string& what)
    {
        const auto lines = Wire(Driver());
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& line) { return line.find(what) != std::string::npos; });
    }

    CVendorAccess vendor;
};

TEST_F(EmpiaAccessTest, Em2800WritesAndReadsBackTheEepromAndTheTunerStatus)
{
    ExpectEepromRoundTrip(access, Card());
    ExpectTunerLock(access, Card());
    Clear(Driver());
    BYTE data = 0x77;
    ASSERT_EQ(S_OK, access.I2C_Write(0xA0, 0x105, data));  // the low byte of the sub-address
    ExpectWire(Driver(), {"Set EMPIA.4103 [0/4] i2c descriptor 01A00501 -> S_OK",
                          "Set EMPIA.4104 [0/1] i2c A0 sub 05 write 77 -> S_OK"});
}

TEST_F(EmpiaAccessTest, ReadRegSetsTheDescriptorThenGetsTheDataAndAFailedStepCancels)
{
    BYTE byte = 0;
    Card().Eeprom().Poke(5, 0x42);
    EXPECT_TRUE(vendor.ReadReg(0xA0, 5, 1, &byte));
    EXPECT_EQ(0x42, byte);
    ExpectWire(Driver(), {"Set EMPIA.4103 [0/4] i2c descriptor 01A00501 -> S_OK",
                          "Get EMPIA.4104 [0/1] i2c A0 sub 05 read 42 -> S_OK"});
    Clear(Driver());
    EXPECT_FALSE(vendor.ReadReg(0x50, 5, 1, &byte));  // nobody answers at 0x50
    EXPECT_EQ(hwsim::kI2CNoAck, vendor.GetLastStatus());
    ExpectWire(Driver(), {"Set EMPIA.4103 [0/4] i2c descriptor 01500501 -> S_OK",
                          "Get EMPIA.4104 [0/1] i2c 50 sub 05 read * -> 80004005",
                          "Set EMPIA.4103 [0/4] i2c descriptor 00000000 -> S_OK"});
    EXPECT_EQ(0u, Empia().Descriptor());
}

TEST_F(EmpiaAccessTest, Em2800BlockTransfersAreBytePackedAndTheScanProbes255Addresses)
{
    BYTE pointer[] = {0xA0, 0x10};
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(pointer, 2));
    for (int i = 0; i < 3; ++i) Card().Eeprom().Poke(0x10 + i, static_cast<BYTE>(0x31 + i));
    BYTE block[3] = {0xA0};
    ASSERT_EQ(S_OK, access.I2C_ReadBlock(block, 3));
    EXPECT_EQ((std::vector<BYTE>{0x31, 0x32, 0x33}), std::vector<BYTE>(block, block + 3));

    Clear(Driver());
    BYTE found[255] = {};
    const int count = access.ScanI2CBus(found, 0x1000, 0xFF);
    EXPECT_EQ(255u, WireCount("0001 -> S_OK"));  // one raw descriptor per address
    EXPECT_EQ(std::vector<BYTE>({0xA0, 0xA1}), std::vector<BYTE>(found, found + std::min(count, 2)));
}

TEST_F(EmpiaAccessTest, WithoutABoxEveryOperationAnswers6AndTheBooleanFormsFail)
{
    CVendorAccess none;
    EXPECT_EQ(nullptr, none.OpenByName("USB 9999 Video"));
    BYTE byte = 0x5A;
    WORD word = 0;
    DWORD value = 7;
    EXPECT_EQ(6, none.ReadRaw(0x1019, &value));
    EXPECT_EQ(6, none.ReadRegStatus(0xA0, 0, 1, &byte));
    EXPECT_EQ(6, none.I2CWriteStatus(0xA0, 1, &byte));
    EXPECT_EQ(6, none.ReadGpioStatus(&byte));
    EXPECT_EQ(6, none.AC97Read(0x02, &word));
    EXPECT_EQ(6, none.AC97Write(0x02, &word));
    EXPECT_EQ(6, none.QueryItem(1, &value));
    EXPECT_FALSE(none.WriteReg(0xA0, 0, 1, &byte));
    EXPECT_EQ(6, none.GetLastStatus());
    EXPECT_FALSE(none.GetValue(0x1019, &value));
    EXPECT_EQ(0x5A, byte);
    EXPECT_EQ(0u, Driver().Log().Size());

    // A box under a known name is found whatever name was asked for: the last of the twelve.
    std::shared_ptr<hwsim::KsDriver> driver(&Driver(), [](hwsim::KsDriver*) {});
    const platform::DeviceId known = platform::AddDevice(
        {CLSID_VideoInputDeviceCategory, L"USB 2711 Camera",
         [driver](REFIID riid, void** ppv) { return platform::CreateComObject<hwsim::CaptureFilter>(riid, ppv, driver); }});
    EXPECT_NE(nullptr, none.OpenByName("USB 9999 Video"));
    EXPECT_EQ(1, none.IsDevicePresent("USB 9999"));
    none.Close();
    platform::RemoveDevice(known);
}

TEST_F(EmpiaAccessTest, Ac97ReadGivesUpAfterExactly2000BusyPollsAndWritesReachTheCodec)
{
    Empia().SetAc97BusyPolls(3);
    WORD value = 0x1234;
    EXPECT_EQ(0, vendor.AC97Write(0x10, &value));
    EXPECT_EQ(0x1234, Empia().Ac97Register(0x10));
    value = 0;
    EXPECT_EQ(S_OK, vendor.AC97Read(0x10, &value));
    EXPECT_EQ(0x1234, value);

    Empia().SetAc97BusyPolls(hwsim::EmpiaDriver::kAlwaysBusy);
    Clear(Driver());
    EXPECT_EQ(5, vendor.AC97Read(0x10, &value));
    EXPECT_EQ(2000u, WireCount("reg 43 read 01"));
    EXPECT_EQ(0u, WireCount("reg 40 read"));
}

TEST_F(EmpiaAccessTest, GpioMaskEventBitItemsAndStatusFlag)
{
    ASSERT_EQ(S_OK, vendor.SetGpioInputMask(0x10));
    BYTE lines = 0x03;  // clears the masked input bit
    Clear(Driver());
    EXPECT_EQ(5, vendor.WriteGpioStatus(&lines));
    EXPECT_FALSE(vendor.WriteGpio(&lines));  // 5 is a failure in the boolean form
    EXPECT_EQ(0u, Driver().Log().Size());
    lines = 0x13;
    EXPECT_TRUE(vendor.WriteGpio(&lines));
    EXPECT_EQ(0x13u, Card().Bridge().PinLevels() & 0xFF);

    // The card's access object: the low byte of the caller's word is replaced by the input byte.
    Card().Bridge().DriveExternal(0xFF00, 0x5A00);
    access.SetOption(FALSE);
    access.Open(TRUE);
    DWORD word = 0xAABBCCDD;
    ASSERT_EQ(S_OK, access.GPIO_Read(&word));
    EXPECT_EQ(0xAABBCC5Au, word);

    EXPECT_FALSE(vendor.TestAndClearEventBit());
    Empia().RaiseEvent();
    EXPECT_TRUE(vendor.TestAndClearEventBit());
    EXPECT_FALSE(vendor.TestAndClearEventBit());

    DWORD value = 0;
    Empia().SetItem(3, false, 0);
    EXPECT_EQ(21, vendor.QueryItem(3, &value));
    Empia().SetItem(3, true, 0x99);
    EXPECT_EQ(S_OK, vendor.QueryItem(3, &value));
    EXPECT_EQ(0x99u, value);
    EXPECT_FALSE(vendor.IsStatusSet());
    Empia().SetStatusFlag(1);
    EXPECT_TRUE(vendor.IsStatusSet());
}

// A FriendlyName is compared as converted into 260 bytes: a name of 200 characters is found by
// all of them, and a name of 300 by its first 259.
TEST_F(EmpiaAccessTest, LongFriendlyNamesAreComparedInTwoHundredSixtyBytes)
{
    const std::string longName = "USB 2861 Video " + std::string(285, 'x');
    IBaseFilter* filter = board.Filter();
    const platform::DeviceId device = platform::AddDevice(
        {CLSID_VideoInputDeviceCategory, std::wstring(longName.begin(), longName.end()),
         [filter](REFIID riid, void** ppv) { return filter->QueryInterface(riid, ppv); }});
    for (size_t length : {200u, 259u}) {
        IBaseFilter* found = vendor.FindVideoDevice(longName.substr(0, length).c_str());
        EXPECT_NE(nullptr, found) << length;
        if (found) found->Release();
    }
    EXPECT_EQ(nullptr, vendor.FindVideoDevice(longName.substr(0, 260).c_str()));
    platform::RemoveDevice(device);
}

TEST_F(EmpiaAccessTest, NamesComeFromTheRegistryElseTheDefaults)
{
    char name[256] = "unchanged";
    wchar_t wide[260] = L"";
    EXPECT_FALSE(vendor.QueryAudioDeviceName(name, wide));
    EXPECT_FALSE(vendor.QueryVideoDeviceName(nullptr, nullptr));
    EXPECT_EQ(21, vendor.GetAudioDeviceName(name));
    EXPECT_STREQ("USB EMP Audio Device", name);
    EXPECT_EQ(15, vendor.GetVideoDeviceName(name));
    EXPECT_STREQ("USB 2820 Video", name);

    hwsim::EmpiaDriver::PresetNames("Box Audio", "", "Box DS");
    EXPECT_TRUE(vendor.QueryVideoDeviceName(name, wide));
    EXPECT_STREQ("Box DS", name);
    hwsim::EmpiaDriver::PresetNames("", "Box Real DS", "");
    EXPECT_TRUE(vendor.QueryVideoDeviceName(name, wide));
    EXPECT_STREQ("Box Real DS", name);
    EXPECT_STREQ(L"Box Real DS", wide);
    EXPECT_EQ(10, vendor.GetAudioDeviceName(name));
    EXPECT_STREQ("Box Audio", name);
}

TEST_F(EmpiaAccessTest, AudioFiltersAreFoundByTheRegistryNameOrNotAtAll)
{
    IBaseFilter* capture = nullptr;
    IBaseFilter* ksAudio = nullptr;
    IBaseFilter* renderer = nullptr;
    char name[256] = {};
    EXPECT_FALSE(vendor.OpenAudioFilters(name, &capture, &ksAudio, &renderer));
    EXPECT_STREQ("USB EMP Audio Device", name);
    EXPECT_EQ(nullptr, capture);
    EXPECT_EQ(nullptr, renderer);

    hwsim::EmpiaDriver::PresetNames("Box Audio", "", "");
    Empia().PlugAudioDevices("Box Audio Device");
    EXPECT_TRUE(vendor.OpenAudioFilters(name, &capture, &ksAudio, &renderer));
    EXPECT_STREQ("Box Audio", name);
    EXPECT_NE(nullptr, capture);
    EXPECT_NE(nullptr, ksAudio);
    EXPECT_NE(nullptr, renderer);

    // An object destroyed without Close or ReleaseAudioFilters leaves nothing behind.
    const long live = platform::LiveComObjectCount();
    {
        CVendorAccess forgetful;
        ASSERT_NE(nullptr, forgetful.OpenByName(kBoardName));
        ASSERT_TRUE(forgetful.OpenAudioFilters(nullptr, &capture, &ksAudio, &renderer));
        EXPECT_GT(platform::LiveComObjectCount(), live);
    }
    EXPECT_EQ(live, platform::LiveComObjectCount());
}

TEST_F(EmpiaAccessTest, PropertyPagesOfTheFoundDeviceReachThePropertyFrame)
{
    platform::ClearPropertyFrameCalls();
    EXPECT_EQ(S_OK, vendor.ShowPropertyPages(nullptr, kBoardName));
    EXPECT_EQ(1u, platform::PropertyFrameCalls().size());
    EXPECT_EQ(E_FAIL, vendor.ShowPropertyPages(nullptr));  // no device under a known name
}

TEST_F(EmpiaAccessTest, Em2800RefusesBadInputAndAMissingDeviceFails)
{
    BYTE buf[300] = {0xA0};
    DWORD word = 0;
    ExpectRefusals(Driver(), {
        {"read, null", E_POINTER, [&] { return access.I2C_Read(0xA0, 0, nullptr); }},
        {"block read, null", E_POINTER, [&] { return access.I2C_ReadBlock(nullptr, 1); }},
        {"block read, 0", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buf, 0); }},
        {"block read, 256", E_INVALIDARG, [&] { return access.I2C_ReadBlock(buf, 256); }},
        {"block write, null", E_POINTER, [&] { return access.I2C_WriteBlock(nullptr, 2); }},
        {"block write, 1", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buf, 1); }},
        {"block write, 257", E_INVALIDARG, [&] { return access.I2C_WriteBlock(buf, 257); }},
        {"gpio read, null", E_POINTER, [&] { return access.GPIO_Read(nullptr); }},
    });

    CEm2800Access unnamed;
    EXPECT_EQ(S_FALSE, unnamed.Init(nullptr, const_cast<char*>("")));
    BYTE byte = 0x66;
    EXPECT_EQ(E_FAIL, unnamed.I2C_Read(0xA0, 0, &byte));
    EXPECT_EQ(0x66, byte);
    CEm2800Access missing;
    EXPECT_EQ(S_OK, missing.Init(nullptr, const_cast<char*>("USB 9999 Video")));
    EXPECT_EQ(E_FAIL, missing.I2C_Write(0xA0, 0, 1));
    EXPECT_EQ(E_FAIL, missing.GPIO_Write(1, 0xFF));
    EXPECT_EQ(E_FAIL, missing.GPIO_Read(&word));
    // A GPIO write the driver refuses is a failure, not a success.
    Card().Unplug();
    EXPECT_EQ(E_FAIL, access.GPIO_Write(0x01, 0xFF));
}

// The crossbar-style object starts its write on another thread just when the card's access
// object has set its descriptor and is about to transfer, and gets up to 200 ms to reach the
// driver: the descriptor must not change under the transfer.
TEST_F(EmpiaAccessTest, ACrossbarObjectAndTheCardsAccessShareTheDriverFromTwoThreads)
{
    auto* decoder = static_cast<hwsim::RegisterFileDevice*>(
        Card().AddChip("decoder", std::make_unique<hwsim::RegisterFileDevice>(0x4A >> 1, 256)));
    const BYTE eeprom2 = Card().Eeprom().Peek(2);
    TwoThreadRace race(Driver());
    const bool started = race.Run([&] { ASSERT_EQ(S_OK, access.I2C_Write(0xA0, 0x20, 0x5A)); },
                                  [&] {
                                      CoInitialize(nullptr);
                                      CVendorAccess shortLived;
                                      BYTE value = 0x33;
                                      EXPECT_NE(nullptr, shortLived.OpenByName(kBoardName));
                                      EXPECT_TRUE(shortLived.WriteReg(0x4A, 2, 1, &value));
                                      shortLived.Close();
                                      CoUninitialize();
                                  },
                                  [](const hwsim::WireRequest& request) {
                                      return request.id == hwsim::EmpiaDriver::kI2CData;
                                  });
    ASSERT_TRUE(started);
    EXPECT_EQ(0x5A, Card().Eeprom().Peek(0x20));
    EXPECT_EQ(0x33, decoder->Peek(2));
    EXPECT_EQ(0, decoder->Peek(0x20));
    EXPECT_EQ(eeprom2, Card().Eeprom().Peek(2));
}

// Null pointers are refused before anything reaches the driver.
TEST_F(EmpiaAccessTest, NullPointersAreRefusedBeforeAnythingIsSent)
{
    ASSERT_EQ(S_OK, vendor.SetGpioInputMask(0x10));
    ExpectRefusals(Driver(), {
        {"a register read", E_POINTER, [&] { return vendor.ReadBridgeRegisterStatus(0x08, 1, nullptr); }},
        {"an I2C write", E_POINTER, [&] { return vendor.I2CWriteStatus(0xA0, 1, nullptr); }},
        {"a sub-addressed read", E_POINTER, [&] { return vendor.ReadRegStatus(0xA0, 0, 1, nullptr); }},
        {"GPIO write", E_POINTER, [&] { return vendor.WriteGpioStatus(nullptr); }},
        {"GPIO read", E_POINTER, [&] { return vendor.ReadGpioStatus(nullptr); }},
        {"item", E_POINTER, [&] { return vendor.QueryItem(3, nullptr); }},
        {"AC97 read", E_POINTER, [&] { return vendor.AC97Read(0x02, nullptr); }},
        {"AC97 write", E_POINTER, [&] { return vendor.AC97Write(0x02, nullptr); }},
    });
    EXPECT_FALSE(vendor.WriteGpio(nullptr));
    EXPECT_EQ(E_POINTER, vendor.GetLastStatus());
}

// A second object selects another item just when the first has selected its own and asks
// whether it is ready: the first still answers its own item's value.
TEST_F(EmpiaAccessTest, AnItemsSelectReadyAndValueAreNotSplitByAnotherObject)
{
    Empia().SetItem(3, true, 0x33);
    Empia().SetItem(4, true, 0x44);
    DWORD first = 0;
    DWORD second = 0;
    TwoThreadRace race(Driver());
    ASSERT_TRUE(race.Run([&] { EXPECT_EQ(S_OK, vendor.QueryItem(3, &first)); },
                         [&] {
                             CoInitialize(nullptr);
                             CVendorAccess other;
                             EXPECT_NE(nullptr, other.OpenByName(kBoardName));
                             EXPECT_EQ(S_OK, other.QueryItem(4, &second));
                             other.Close();
                             CoUninitialize();
                         },
                         [](const hwsim::WireRequest& request) {
                             return request.id == hwsim::EmpiaDriver::kItemReady;
                         }));
    EXPECT_EQ(0x33u, first);
    EXPECT_EQ(0x44u, second);
}

}  // namespace
