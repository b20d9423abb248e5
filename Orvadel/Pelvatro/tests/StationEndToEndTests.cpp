// The station's whole road, end to end: the program finds the simulated PC's cards, writes every
// card's EEPROM in the background and tells the operator what became of each card; each card's
// EEPROM then holds exactly what the page reported.
#include <gtest/gtest.h>

#include <uuids.h>

#include <atomic>

#include "StationRun.h"
#include "StationTestSupport.h"
#include "hwsim/chips/Eeprom24C02.h"
#include "platform/devicetree.h"

using namespace station_test;

namespace {

const std::vector<BYTE> kBlank(256, 0xFF);

TEST_F(StationRun, NoCardShowsTheMessageAndLeavesBothButtonsEnabled) {
    const std::string settings = Gbk("// 工位\r\n[Eeprom]\r\nProductType=1\r\nTunerModel=2\r\n[Type]\r\nMachine=1\r\n");
    WriteFileBytes(HomeFile("ConfigTest.txt"), settings);
    Plug(R"({"cards": []})");
    op.AnswerNextMessageBox(IDOK);
    op.Then([&] {
        EXPECT_EQ(MainDialog()->m_nProductType, 84) << "the write station writes product 84";
        EXPECT_EQ(MainDialog()->m_nTunerModel, 95);
        EXPECT_FALSE(MainDialog()->IsWindowVisible());
        EXPECT_TRUE(op.Click(IDC_DEVICE_OK));
    });
    op.Then([&] {
        ASSERT_EQ(op.MessageBoxes().size(), 1u);
        EXPECT_EQ(op.MessageBoxes()[0].text, "没有找到可用设备!");
        EXPECT_EQ(op.Text(IDC_STATUS), kStatusCreateFailed);
        EXPECT_TRUE(op.IsEnabled(IDC_DEVICE_OK));
        EXPECT_TRUE(op.IsEnabled(IDC_DEVICE_CANCEL));
        EXPECT_EQ(op.Text(IDC_DEVICE_CANCEL), "取 消");
        EXPECT_TRUE(op.Click(IDC_DEVICE_CANCEL));
    });
    RunProgram();
    EXPECT_FALSE(app.m_bPowerOff);
    EXPECT_EQ(ReadFileBytes(HomeFile("ConfigTest.txt")), settings) << "only the station kind is written back";
    EXPECT_FALSE(FileExists(HomeFile("Pass.txt")));
}

TEST_F(StationRun, OneCardIsWrittenAndVerified) {
    Plug(KeshBench(1));
    PressOk();
    op.Then([&] {
        EXPECT_EQ(op.Text(IDC_STATUS), kStatusWriting);
        EXPECT_TRUE(op.IsVisible(IDC_PROGRESS));
        EXPECT_FALSE(op.IsEnabled(IDC_DEVICE_OK));
        EXPECT_FALSE(op.IsEnabled(IDC_DEVICE_CANCEL)) << "no quitting while a write runs";
    });
    op.When([&] { return Page()->GetShownPercent() >= 50; },
            [&] {
                EXPECT_FALSE(op.Click(IDC_DEVICE_CANCEL)) << "the close button stays disabled";
                Sheet()->SendMessage(WM_CLOSE);
                op.SendKey(VK_ESCAPE);
                Sheet()->SendMessage(WM_COMMAND, IDOK);
            });
    op.Then([&] { EXPECT_TRUE(Sheet()->IsWindowVisible()) << "closing the sheet waits for the write"; });
    CloseAtTheEnd([&] {
        EXPECT_EQ(op.Text(IDC_STATUS), kStatusWritten);
        EXPECT_EQ(Page()->GetCardsFinished(), 1);
    });
    RunProgram();
    const std::vector<BYTE> image = KeshImage();
    EXPECT_EQ(Eeprom(0), image);
    EXPECT_EQ(ReadFileBytes(Card(0).StateFile()), std::string(image.begin(), image.end()))
        << "the card's EEPROM file holds the image";
    EXPECT_FALSE(app.m_bPowerOff);
}

TEST_F(StationRun, OnlyTheSecondEndCompletesTwoCards) {
    Plug(KeshBench(2));
    // Card 1's writes wait until the page has counted card 0's end.
    HANDLE release = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> held{false};
    op.Then([&] {
        EXPECT_TRUE(op.Click(IDC_DEVICE_OK));
        Driver(1).SetRequestHook([&](const hwsim::WireRequest&) {
            held = true;
            WaitForSingleObject(release, INFINITE);
        });
    });
    op.When([&] { return Page()->GetCardsFinished() == 1; },
            [&] {
                EXPECT_TRUE(held);
                EXPECT_EQ(Eeprom(0), KeshImage());
                EXPECT_EQ(op.Text(IDC_STATUS), kStatusWriting) << "one end of two completes nothing";
                EXPECT_FALSE(op.IsEnabled(IDC_DEVICE_CANCEL));
                EXPECT_TRUE(op.IsVisible(IDC_PROGRESS));
                SetEvent(release);
            });
    op.When([&] { return op.Text(IDC_DEVICE_CANCEL) == "关 闭"; },
            [&] {
                EXPECT_EQ(op.Text(IDC_STATUS), kStatusWritten);
                EXPECT_TRUE(op.Click(IDC_DEVICE_CANCEL));
            });
    RunProgram();
    Driver(1).SetRequestHook(nullptr);
    CloseHandle(release);
    EXPECT_EQ(Eeprom(0), KeshImage());
    EXPECT_EQ(Eeprom(1), KeshImage());
}

TEST_F(StationRun, EightCardsAreAllWritten) {
    Plug(KeshBench(8));
    WriteAllAndClose([&] {
        EXPECT_EQ(op.Text(IDC_STATUS), kStatusWritten);
        EXPECT_EQ(Page()->GetCardCount(), 8);
    });
    RunProgram();
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(Eeprom(i), KeshImage()) << "card " << i;
}

TEST_F(StationRun, EepromThatStopsAcknowledgingAtByte100IsReportedFailed) {
    Plug(KeshBench(2));
    int writes = 0;
    op.Then([&] {
        EXPECT_TRUE(op.Click(IDC_DEVICE_OK));
        // The card's write thread is the only one on the driver now; from the image's byte 100
        // on, the chip acknowledges nothing.
        Driver(1).SetRequestHook([&](const hwsim::WireRequest& request) {
            if (request.verb == hwsim::WireRequest::Verb::Set && writes++ == 100) {
                Card(1).Eeprom().NackTransfers(0, 0, -1);
            }
        });
    });
    CloseAtTheEnd([&] { EXPECT_EQ(op.Text(IDC_STATUS), "第1路 烧写失败"); });
    RunProgram();
    Driver(1).SetRequestHook(nullptr);
    EXPECT_EQ(Eeprom(0), KeshImage());
    std::vector<BYTE> expected = KeshImage();
    std::fill(expected.begin() + 100, expected.end(), 0xFF);
    EXPECT_EQ(Eeprom(1), expected);
}

TEST_F(StationRun, WriteProtectedEepromIsReportedFailed) {
    Plug(R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 95,
                        "eeprom": {"hex": "FF", "writeProtect": true}}]})");
    WriteAllAndClose([&] { EXPECT_EQ(op.Text(IDC_STATUS), "第0路 烧写失败"); });
    RunProgram();
    EXPECT_EQ(Eeprom(0), kBlank);
}

TEST_F(StationRun, CardUnpluggedDuringTheWriteIsReportedFailed) {
    Plug(KeshBench(2));
    PressOk();
    op.When([&] { return Page()->GetShownPercent() >= 30; }, [&] { Card(0).Unplug(); });
    CloseAtTheEnd([&] { EXPECT_EQ(op.Text(IDC_STATUS), "第0路 烧写失败"); });
    RunProgram();
    EXPECT_NE(Eeprom(0), KeshImage());
    EXPECT_NE(Eeprom(0), kBlank) << "unplugged part way";
    EXPECT_EQ(Eeprom(1), KeshImage());
}

TEST_F(StationRun, CardThatDoesNotOpenIsSkippedAndTheOthersAreWritten) {
    // A device of the Kesh card's name ahead of the bench's cards, whose driver filter cannot be
    // made: card 0 of the station, cards 1 and 2 are the bench's.
    CoInitialize(nullptr);
    platform::AddDevice({CLSID_VideoInputDeviceCategory, L"713x BDA Analog Capture", [](REFIID, void** ppv) {
                             *ppv = nullptr;
                             return E_FAIL;
                         }});
    Plug(KeshBench(2));
    PressOk();
    op.Then([&] {
        EXPECT_EQ(op.Text(IDC_STATUS), kStatusWriting);
        EXPECT_FALSE(op.IsEnabled(IDC_DEVICE_CANCEL)) << "a card that failed does not open the way out";
    });
    CloseAtTheEnd([&] {
        EXPECT_EQ(op.Text(IDC_STATUS), "第0路 烧写失败 创建卡失败，请确认驱动安装正确!")
            << "the operator is still told to check the driver";
        EXPECT_EQ(Page()->GetCardCount(), 2) << "only the writes that started are waited for";
    });
    RunProgram();
    EXPECT_EQ(Eeprom(0), KeshImage());
    EXPECT_EQ(Eeprom(1), KeshImage());
    CoUninitialize();
}

// A card that opened and failed its write keeps the failure text alone.
TEST_F(StationRun, TunerModelWithoutKeshIdIsNotWritten) {
    Plug(KeshBench(1));
    op.Then([&] {
        MainDialog()->m_nTunerModel = 4;  // no Kesh tuner id
        EXPECT_TRUE(op.Click(IDC_DEVICE_OK));
    });
    op.Then([&] {
        EXPECT_EQ(op.Text(IDC_STATUS), "第0路 烧写失败");
        EXPECT_EQ(op.Text(IDC_DEVICE_CANCEL), "关 闭");
        EXPECT_TRUE(op.Click(IDC_DEVICE_CANCEL));
    });
    RunProgram();
    EXPECT_EQ(Eeprom(0), kBlank) << "no image that would read back as another tuner";
}

}  // namespace
