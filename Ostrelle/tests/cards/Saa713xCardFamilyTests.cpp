// The SAA713x card family's own operations on their simulated boards: the IO-layout keys and word
// transactions of the TV_IO and PIP cards, the PIP card's open under the remote-control mutex,
// the audio switches of the Sivren, Movrik and Dirir cards, the Dirir card's Kesh-layout
// detection, the Voze card's digit string, and the TV_IO card's device events.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>

#include "cards/saa713x/DirirCardFilter.h"
#include "cards/saa713x/MovrikCardFilter.h"
#include "cards/saa713x/PipCardFilter.h"
#include "cards/saa713x/Saa713xController.h"
#include "cards/saa713x/SivrenCardFilter.h"
#include "cards/saa713x/TV_IOFilter.h"
#include "cards/saa713x/VozeCardFilter.h"
#include "hwsim/boards/BoardChips.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "platform/runtime.h"
#include "support/CardBench.h"
#include "support/CardKindsBench.h"
#include "support/RemoteControlHolder.h"

namespace {

using Saa713xFamily = CardBench;

std::vector<std::string> WireWith(hwsim::KsDriver& driver, const std::string& text) {
    std::vector<std::string> found;
    for (const std::string& line : driver.Log().Lines()) {
        const size_t at = line.find(text);
        if (at != std::string::npos) found.push_back(line.substr(at, line.find(" ->") - at));
    }
    return found;
}

TEST_F(Saa713xFamily, IoLayoutCardsReadKeysAndSpeakTheWordTransactionsOnTheirBoards) {
    Load(FamilyBench({"713x_IO TV Card Capture", "713x_PIP TV Card Capture"}).c_str());
    for (size_t i = 0; i < 2; ++i) {
        hwsim::Card& board = Board(i);
        const std::string name = board.FriendlyName();
        CTVCardFilter* card = OpenCard(board);
        ASSERT_NE(nullptr, card) << name;
        board.PressKey(0x3C);
        BYTE key = 0;
        ASSERT_TRUE(card->GetRemoteData(&key)) << name;
        EXPECT_EQ(0x3C, key) << name;
        EXPECT_TRUE(card->WriteControllerWord(0x1234)) << name;
        EXPECT_EQ(0x1234, board.Controller().TimerWord()) << name;
        board.Controller().SetTimerWord(0xBEEF);
        WORD value = 0;
        EXPECT_TRUE(card->ReadControllerWord(&value)) << name;
        EXPECT_EQ(0xBEEF, value) << name;
        EXPECT_TRUE(card->ControllerCommand(TRUE)) << name;
        EXPECT_TRUE(board.Controller().TimerOn()) << name;
        EXPECT_EQ(0, board.Controller().Refusals()) << name;
    }
    // Without an access object no IO-layout frame is sent, and none is reported sent.
    TestCard<CTV_IOFilter> bare;
    EXPECT_FALSE(bare.SendGPIOCommand(0x80600, 0xEF88600, 10));
    EXPECT_FALSE(Saa713xIoSendGPIOCommand(nullptr, Saa713xIoBoard::TvIo, 0x80600, 0xEF88600, 10));
}

TEST_F(Saa713xFamily, PipCardWhoseMutexIsHeldElsewhereSaysSoAndIsNotCreated) {
    Load(FamilyBench({"713x_PIP TV Card Capture"}).c_str());
    std::vector<std::string> boxes;
    platform::SetMessageBoxHandler([&boxes](HWND, const char* text, const char*, UINT) {
        boxes.push_back(text);
        return IDOK;
    });
    RemoteControlHolder holder;
    ASSERT_TRUE(holder.Held());
    EXPECT_EQ(nullptr, OpenCard(Board(0)));
    EXPECT_EQ((std::vector<std::string>{"Initfilter lock failed"}), boxes);
    holder.Release();
    EXPECT_NE(nullptr, OpenCard(Board(0)));
    EXPECT_EQ(1u, boxes.size());
    platform::SetMessageBoxHandler(nullptr);
}

TEST_F(Saa713xFamily, SivrenAndMovrikSelectOneLinePatternForEverySource) {
    Load(FamilyBench({"Sivren Video Capture", "Movrik Video Capture"}).c_str());
    for (size_t i = 0; i < 2; ++i) {
        hwsim::Card& board = Board(i);
        CTVCardFilter* card = OpenCard(board);
        ASSERT_NE(nullptr, card);
        // The bridge's latches of lines 12-14: the access lets go of line 14 after a write.
        auto latched = [&board] { return board.Bridge().HostLatches() & 0x7000; };
        EXPECT_EQ(S_OK, card->SetAudioSource(2, TRUE));
        EXPECT_EQ(0x1000u, latched()) << board.FriendlyName();
        EXPECT_EQ(1u, board.Controller().AudioLines()) << board.FriendlyName();
        EXPECT_EQ(S_OK, card->SetAudioSource(1, FALSE));
        EXPECT_EQ(0x7000u, latched());
        EXPECT_EQ(S_OK, card->SetAudioSource(0, TRUE));
        EXPECT_EQ(0x1000u, latched());
        EXPECT_EQ(S_OK, card->SetAudioSource(3, TRUE));
        EXPECT_EQ(0u, latched());
    }
    // No access object, or a read of the lines that fails: nothing is written.
    TestCard<CSivrenCardFilter> bare;
    EXPECT_EQ(E_POINTER, bare.SetAudioSource(0, TRUE));
    FakeBoardCard<CMovrikCardFilter> fake;
    fake.access->script = {{E_ACCESSDENIED, 0}};
    EXPECT_EQ(E_ACCESSDENIED, fake.card.SetAudioSource(2, TRUE));
    EXPECT_TRUE(fake.access->gpioWrites.empty());
}

TEST_F(Saa713xFamily, DirirSwitchesAudioThroughTheGpioRegisters) {
    Load(FamilyBench({"713x_3 TV Card Capture"}).c_str());
    CTVCardFilter* card = OpenCard(Board(0));
    ASSERT_NE(nullptr, card);
    hwsim::KsDriver& driver = Driver(Board(0));
    driver.Log().Clear();
    EXPECT_EQ(S_OK, card->SetAudioSource4(2, TRUE));
    EXPECT_EQ(2u, Board(0).Controller().AudioLines());
    const std::vector<std::string> registers = WireWith(driver, "reg ");
    ASSERT_EQ(8u, registers.size());
    EXPECT_EQ("reg 1C0 write 00000000", registers[0]);
    EXPECT_EQ("reg 1B0 write 00007000", registers[1]);
    EXPECT_EQ("reg 1B0 write 80007000", registers[2]);
    EXPECT_EQ(0u, registers[3].find("reg 1B4 read "));
    EXPECT_EQ("reg 1B0 write 00007000", registers[4]);
    EXPECT_EQ("reg 1B0 write 80007000", registers[5]);
    EXPECT_EQ(0u, registers[6].find("reg 1B4 write "));
    EXPECT_EQ("reg 1B0 write 80007000", registers[7]);
    EXPECT_EQ(S_OK, card->SetAudioSource4(1, TRUE));
    EXPECT_EQ(0u, Board(0).Controller().AudioLines());
    EXPECT_EQ(S_OK, card->SetAudioSource4(2, FALSE));
    EXPECT_EQ(7u, Board(0).Controller().AudioLines());

    // A read of the lines that fails is the answer, and nothing more is written.
    driver.OverrideSupport(hwsim::kSaa713xPropertySet, 5, hwsim::KsDriver::kSupportSet);
    driver.Log().Clear();
    EXPECT_TRUE(FAILED(card->SetAudioSource4(2, TRUE)));
    EXPECT_EQ(3u, WireWith(driver, "write").size());
    EXPECT_EQ(7u, Board(0).Controller().AudioLines());
    TestCard<CDirirCardFilter> bare;
    EXPECT_EQ(E_POINTER, bare.SetAudioSource4(2, TRUE));
}

TEST_F(Saa713xFamily, DirirReadsItsTunerFromTheKeshPlacesOnlyBehindBothMarkers) {
    Load(FamilyBench({"713x_3 TV Card Capture", "713x_3 TV Card Capture"}).c_str());
    for (size_t i = 0; i < 2; ++i) {
        Poke(Board(i), 0x20, {'X', 33});
        Poke(Board(i), 65, {35, 0});  // KeshTunerID 35: model 5
        Poke(Board(i), 104, {'P'});
        Poke(Board(i), 90, {'V', 'O', 'R', 'L', 'A', 'N', 'E', 'K', 'e', 's', 'h', 'a', 'r'});
    }
    Poke(Board(1), 102, {'s'});
    CTVCardFilter* kesh = OpenCard(Board(0), 0);
    ASSERT_NE(nullptr, kesh);
    EXPECT_EQ(1, kesh->GetEepromLayout());
    EXPECT_EQ(5, kesh->GetTunerModel());
    EXPECT_EQ('P', kesh->GetFactoryLetter());
    CTVCardFilter* standard = OpenCard(Board(1), 1);
    ASSERT_NE(nullptr, standard);
    EXPECT_EQ(0, standard->GetEepromLayout());
    EXPECT_EQ(33, standard->GetTunerModel());
    EXPECT_EQ('X', standard->GetFactoryLetter());

    auto* dirir = dynamic_cast<CDirirCardFilter*>(kesh);
    ASSERT_NE(nullptr, dirir);
    EXPECT_EQ(S_OK, dirir->FindTunerInterface());
    CComPtr<IAMTVTuner> tuner;
    EXPECT_EQ(S_OK, dirir->GetTVTuner(&tuner));
}

TEST_F(Saa713xFamily, VozeReadsTheDigitStringIntoABufferThatHoldsIt) {
    Load(FamilyBench({"713x_D TV Card Capture"}).c_str());
    CTVCardFilter* card = OpenCard(Board(0));
    ASSERT_NE(nullptr, card);
    auto* digits = static_cast<hwsim::RegisterFileDevice*>(Board(0).Chip("digits"));
    char buffer[8];
    std::memset(buffer, 'x', sizeof(buffer));
    int length = sizeof(buffer);
    EXPECT_EQ(0, card->ReadDigitString(reinterpret_cast<LONG_PTR>(buffer), reinterpret_cast<LONG_PTR>(&length)));
    digits->Poke(0x20, 3);
    digits->Poke(0x21, 1);
    digits->Poke(0x22, 0);
    digits->Poke(0x23, 4);
    ASSERT_EQ(1, card->ReadDigitString(reinterpret_cast<LONG_PTR>(buffer), reinterpret_cast<LONG_PTR>(&length)));
    EXPECT_STREQ("104", buffer);
    EXPECT_EQ(3, length);

    // Three digits and the terminator need four bytes: a buffer of three is left as it was.
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(0, card->ReadDigitString(reinterpret_cast<LONG_PTR>(buffer), reinterpret_cast<LONG_PTR>(&length)));
    EXPECT_EQ(std::string(8, 'x'), std::string(buffer, 8));
    EXPECT_EQ(3, length);
    EXPECT_EQ(0, card->ReadDigitString(0, reinterpret_cast<LONG_PTR>(&length)));

    BYTE key = 0;
    Board(0).PressKey(0x11);
    EXPECT_FALSE(card->GetRemoteData(&key));
    EXPECT_FALSE(card->WriteControllerWord(1));
    EXPECT_FALSE(card->ControllerCommand(TRUE));
}

std::atomic<int> g_deviceEvents{0};
void CountDeviceEvent() { ++g_deviceEvents; }

// Waits on the test clock until the callback has run `count` times.
bool DeviceEventsReach(int count) {
    for (int i = 0; i < 1000 && g_deviceEvents.load() < count; ++i) Sleep(1);
    return g_deviceEvents.load() == count;
}

TEST_F(Saa713xFamily, TvIoRunsTheCallbackOnItsEventThreadForEachDeviceEvent) {
    Load(FamilyBench({"713x_IO TV Card Capture"}).c_str());
    CTVCardFilter* card = OpenCard(Board(0));
    ASSERT_NE(nullptr, card);
    auto& driver = static_cast<hwsim::Saa713xPropertyDriver&>(Driver(Board(0)));
    const int threadsBefore = platform::LiveThreadCount();
    g_deviceEvents = 0;
    const LONG_PTR callback = reinterpret_cast<LONG_PTR>(&CountDeviceEvent);

    EXPECT_EQ(1, card->SetDriverValue(0x55));
    EXPECT_EQ(1, card->InstallDeviceEvent(callback));
    const DWORD firstEvent = driver.DeviceEventHandle();
    EXPECT_NE(0u, firstEvent);
    EXPECT_EQ(1, card->StartEventThread(2));
    EXPECT_EQ(threadsBefore + 1, platform::LiveThreadCount());
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(driver.RaiseDeviceEvent());
        EXPECT_TRUE(DeviceEventsReach(i)) << i;
    }

    // A new event while the thread runs: the thread is stopped first, and waits for nothing.
    EXPECT_EQ(1, card->InstallDeviceEvent(callback));
    EXPECT_EQ(threadsBefore, platform::LiveThreadCount());
    EXPECT_NE(firstEvent, driver.DeviceEventHandle());
    ASSERT_TRUE(driver.RaiseDeviceEvent());
    Sleep(50);
    EXPECT_EQ(3, g_deviceEvents.load());
    EXPECT_EQ(1, card->StartEventThread(0));
    EXPECT_TRUE(DeviceEventsReach(4));  // the event raised before the thread started
    ASSERT_TRUE(driver.RaiseDeviceEvent());
    EXPECT_TRUE(DeviceEventsReach(5));

    EXPECT_EQ(1, card->ReleaseChild());
    EXPECT_EQ(threadsBefore, platform::LiveThreadCount());
    EXPECT_EQ((std::vector<std::string>{"control 10 value 00000055", "control 8 value 00000002",
                                        "control 8 value 00000000", "control 9"}),
              [&] {
                  std::vector<std::string> calls;
                  for (const char* id : {"control 10", "control 8", "control 9"}) {
                      for (const std::string& line : WireWith(driver, id)) calls.push_back(line);
                  }
                  return calls;
              }());

    // A running thread goes with the card.
    EXPECT_EQ(1, card->StartEventThread(0));
    Graph().RemoveFilter(card);
    EXPECT_EQ(threadsBefore, platform::LiveThreadCount());
}

TEST_F(Saa713xFamily, TvIoDeviceEventOperationsDropTheAccessWhenTheDriverRefuses) {
    Load(FamilyBench({"713x_IO TV Card Capture"}).c_str());
    CTVCardFilter* card = OpenCard(Board(0));
    ASSERT_NE(nullptr, card);
    Driver(Board(0)).OverrideSupport(hwsim::kSaa713xPropertySet, 9, 0);
    EXPECT_EQ(0, card->ReleaseChild());
    EXPECT_EQ(nullptr, card->GetAccess());
    EXPECT_EQ(ACCESS_KIND_NONE, card->GetAccessKind());
    // The next call makes the access again.
    EXPECT_EQ(1, card->SetDriverValue(1));
    EXPECT_EQ(ACCESS_KIND_KS_PROPERTY, card->GetAccessKind());
}

}  // namespace
