// The Lurvan PCI Express card on two simulated dual-tuner boards, end to end (card class ->
// CPcieAccess through SetupAPI and DeviceIoControl -> the board's driver -> its I2C bus, GPIO
// lines and chips): both capture devices of a board opened through the graph, each reaching its
// own Xceive tuner, the EEPROM, the remote keys, the upstream tuner device it keeps, and a board
// whose device interface cannot be found.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <typeinfo>
#include <vector>

#include "access/PcieAccess.h"
#include "cards/devices/PcieFilter.h"
#include "hwsim/boards/BoardChips.h"
#include "hwsim/chips/XceiveTuner.h"
#include "platform/runtime.h"
#include "support/CardBench.h"

namespace {

constexpr float kStationKHz = 471250.0f;
constexpr float kEmptyKHz = 615250.0f;

class PcieCard : public CardBench {
protected:
    void SetUp() override {
        const hwsim::CardKind& kind = *hwsim::FindCardKind(CPcieFilter::kCaptureName);
        for (int instance = 0; instance < 2; ++instance) std::filesystem::remove(hwsim::Bench::StateFileFor(kind, instance));
        Load(R"({"cards": [
            {"kind": "VORLANE Lurvan Audio/Video Capture", "tuner": 91},
            {"kind": "VORLANE Lurvan Audio/Video Capture", "tuner": 91}],
          "stations": [{"kHz": 471250}]})");
    }
    void TearDown() override {
        platform::ClearFailures();
        CardBench::TearDown();
    }

    CPcieFilter* Open(int index) { return dynamic_cast<CPcieFilter*>(OpenCard(Board(0), index)); }

    static hwsim::XceiveTuner& Xceive(hwsim::Card& board, int half) {
        return *dynamic_cast<hwsim::XceiveTuner*>(board.Chip(half ? hwsim::kLurvanSecondTunerRole : "tuner"));
    }
};

TEST_F(PcieCard, BothCaptureDevicesOfABoardOpenWithTheFixedTunerAndKeepTheUpstreamTuner) {
    for (int index = 0; index < 2; ++index) {
        SCOPED_TRACE(index);
        hwsim::Card& board = Board(0);
        board.ClearGraphLog();
        CPcieFilter* card = Open(index);
        ASSERT_NE(nullptr, card);
        EXPECT_EQ(index, card->GetDeviceIndex());
        ASSERT_NE(nullptr, card->GetAccess());
        EXPECT_EQ(typeid(CPcieAccess), typeid(*card->GetAccess()));
        EXPECT_EQ(ACCESS_KIND_NONE, card->GetAccessKind());
        EXPECT_EQ('E', card->GetFactoryLetter());
        EXPECT_EQ(91, card->GetTunerModel());
        ASSERT_NE(nullptr, card->GetTuner());
        EXPECT_EQ(91, card->GetTuner()->GetModelCode());
        EXPECT_TRUE(card->HasTunerFilter());
        // The capture filter went in for the search and out again, the graph then added it for
        // good; the upstream devices the search brought in stay (the crossbar and TV audio of
        // the first card are still there for the second).
        const std::vector<std::string> joined =
            index == 0 ? std::vector<std::string>({"+capture", "+crossbar", "+tuner", "+tv audio", "-capture", "+capture"})
                       : std::vector<std::string>({"+capture", "+tuner", "-capture", "+capture"});
        EXPECT_EQ(joined, board.GraphLog());

        // The destructor takes the tuner device out of the graph.
        board.ClearGraphLog();
        Graph().RemoveFilter(card);
        const std::vector<std::string> left = board.GraphLog();
        EXPECT_EQ(std::vector<std::string>({"-capture", "-tuner"}),
                  std::vector<std::string>(left.begin(), left.begin() + std::min<size_t>(2, left.size())));
        // The second board was never touched.
        EXPECT_TRUE(Board(1).GraphLog().empty());
    }
}

TEST_F(PcieCard, EachDeviceIndexLoadsFirmwareIntoAndTunesItsOwnXceiveChip) {
    struct Row {
        int index;
        int board;
        int half;
    };
    for (const Row& row : {Row{0, 0, 0}, Row{1, 0, 1}, Row{2, 1, 0}, Row{3, 1, 1}}) {
        SCOPED_TRACE(row.index);
        auto* card = dynamic_cast<CPcieFilter*>(OpenCard(Board(0), row.index));
        ASSERT_NE(nullptr, card);
        ASSERT_TRUE(card->SetTunerStandard(AnalogVideo_PAL_D));
        ASSERT_TRUE(card->SetTVChannelFreq(kStationKHz));
        hwsim::XceiveTuner& own = Xceive(Board(row.board), row.half);
        EXPECT_TRUE(own.Tunable()) << own.LoadError();
        EXPECT_EQ("XcBasePalSecam", own.Base());
        EXPECT_FALSE(own.Patch().empty());
        EXPECT_FALSE(own.ResetPulses().empty());
        EXPECT_TRUE(own.Locked());
        DWORD status = 0;
        EXPECT_TRUE(card->GetTVChannelStatus(&status));
        // The other three chips saw neither a reset nor a record.
        for (int board = 0; board < 2; ++board) {
            for (int half = 0; half < 2; ++half) {
                if (board == row.board && half == row.half) continue;
                hwsim::XceiveTuner& other = Xceive(Board(board), half);
                EXPECT_TRUE(other.ResetPulses().empty()) << board << "/" << half;
                EXPECT_EQ(0u, other.RecordsAccepted()) << board << "/" << half;
                EXPECT_EQ(0, other.TunedKHz()) << board << "/" << half;
            }
        }
        // Locked with no signal: the tuner reads its own lock.
        ASSERT_TRUE(card->SetTVChannelFreq(kEmptyKHz));
        EXPECT_FALSE(own.Locked());
        DWORD locked = 0;
        EXPECT_EQ(S_OK, card->IsSignalLocked(&locked));
        EXPECT_EQ(1u, locked);
        EXPECT_EQ(E_POINTER, card->IsSignalLocked(nullptr));
        Graph().RemoveFilter(card);
        Load(R"({"cards": [
            {"kind": "VORLANE Lurvan Audio/Video Capture", "tuner": 91},
            {"kind": "VORLANE Lurvan Audio/Video Capture", "tuner": 91}],
          "stations": [{"kHz": 471250}]})");
    }
}

TEST_F(PcieCard, TheWholeEepromIsWrittenAndReadBackThroughTheDeviceInterface) {
    CPcieFilter* card = Open(1);
    ASSERT_NE(nullptr, card);
    ExpectWholeEepromThroughTheCard(*card, Board(0), "index 1");
}

TEST_F(PcieCard, KeysComeFromTheControllerOnlyWhileItsReadyRegisterReadsOne) {
    CPcieFilter* card = Open(0);
    ASSERT_NE(nullptr, card);
    hwsim::I2CKeyController& keys = Board(0).KeyController();
    BYTE key = 0x55;
    EXPECT_FALSE(card->GetRemoteData(&key));
    EXPECT_FALSE(card->GetRemoteData(nullptr));

    Board(0).PressKey(0x1C);
    EXPECT_TRUE(card->GetRemoteData(&key));
    EXPECT_EQ(0x1C, key);
    EXPECT_FALSE(card->GetRemoteData(&key));  // one press, one key

    key = 0x55;
    keys.Poke(CPcieFilter::kKeyReg, 0x2D);
    keys.Poke(CPcieFilter::kKeyReadyReg, 2);
    EXPECT_FALSE(card->GetRemoteData(&key));
    EXPECT_EQ(0x55, key);

    // The acknowledgement goes to the controller's read address, which the board's driver takes
    // as the Trident boards' does: 0xFF in the key register clears the waiting key.
    keys.Poke(CPcieFilter::kKeyReadyReg, 0);
    Board(0).PressKey(0x07);
    EXPECT_TRUE(card->AckRemoteKey());
    EXPECT_FALSE(keys.KeyWaiting());
    Board(0).PressKey(0x07);
    EXPECT_TRUE(card->GetRemoteData(&key));
    EXPECT_EQ(0x07, key);

    // And through the remote thread to the window.
    KeyWindow window;
    card->SetNotifyWindow(window.Window());
    Board(0).PressKey(0x21);
    Board(0).PressKey(0xC4);
    ASSERT_TRUE(card->StartRemoteThread());
    EXPECT_EQ((std::vector<WPARAM>{0x21, 0xC4}), window.WaitForKeys(2, 3000));
    card->StopRemoteThread();
}

// Without its device interface the card is still made with its tuner, and its access object
// fails every request: the station sees every EEPROM byte fail.
TEST_F(PcieCard, WithoutTheDeviceInterfaceTheCardIsMadeAndEveryEepromWriteFails) {
    const std::vector<BYTE> before = Board(0).Eeprom().Contents();
    platform::InjectFailure("SetupDiEnumDeviceInterfaces", 1, ERROR_NO_MORE_ITEMS);
    CPcieFilter* card = Open(0);
    platform::ClearFailures();
    ASSERT_NE(nullptr, card);
    ASSERT_NE(nullptr, card->GetAccess());
    EXPECT_EQ(ACCESS_KIND_NONE, card->GetAccessKind());
    EXPECT_NE(nullptr, card->GetTuner());
    EXPECT_TRUE(card->HasTunerFilter());

    std::vector<BYTE> image(256, 0x5A);
    int count = 256;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE), card->WriteEeprom(image.data(), 0, &count, 0));
    int read = 256;
    std::vector<BYTE> back(256);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE), card->ReadEeprom(back.data(), 0, &read));
    EXPECT_EQ(0, read);
    EXPECT_EQ(before, Board(0).Eeprom().Contents());
    Board(0).PressKey(0x11);
    BYTE key = 0;
    EXPECT_FALSE(card->GetRemoteData(&key));
    EXPECT_FALSE(card->SetTVChannelFreq(kStationKHz));
}

// Without an owner graph (or its capture graph builder) there is nothing to add, search or
// remove: the card opens its access without a tuner device instead of calling a missing graph.
TEST_F(PcieCard, WithoutAnOwnerGraphTheUpstreamSearchIsSkipped) {
    Graph();  // COM on this thread; the card is not the graph's
    CRootFilter::SetDeviceIndex(1);
    CPcieFilter card(nullptr, &CLSID_VideoInputDeviceCategory, CPcieFilter::kCaptureName, 0);
    CRootFilter::SetDeviceIndex(0);
    ASSERT_TRUE(card.SetUp());
    EXPECT_EQ(1, card.GetDeviceIndex());
    EXPECT_FALSE(card.HasTunerFilter());
    EXPECT_TRUE(Board(0).GraphLog().empty());
    ASSERT_TRUE(card.SetTunerStandard(AnalogVideo_PAL_D));
    ASSERT_TRUE(card.SetTVChannelFreq(kStationKHz));
    EXPECT_TRUE(Xceive(Board(0), 1).Locked());
    EXPECT_EQ(0, Xceive(Board(0), 0).TunedKHz());
}

TEST_F(PcieCard, TheCrossbarKeepsTheDefaultRoutes) {
    auto* crossbar = dynamic_cast<CPcieCrossbarFilter*>(
        Graph().AddDeviceFilter(AM_KSCATEGORY_CROSSBAR, CPcieCrossbarFilter::kCrossbarName, "Xbar", 0, 0));
    ASSERT_NE(nullptr, crossbar);
    CComPtr<IAMCrossbar> device;
    ASSERT_EQ(S_OK, crossbar->GetFilter()->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(&device)));
    for (int source = 0; source < 3; ++source) {
        EXPECT_TRUE(crossbar->SetVideoInput(source));
        EXPECT_TRUE(crossbar->SetAudioInput(source));
        long video = -2;
        long audio = -2;
        device->get_IsRoutedTo(0, &video);
        device->get_IsRoutedTo(1, &audio);
        EXPECT_EQ(source, video);
        EXPECT_EQ(source + 3, audio);
    }
}

TEST_F(PcieCard, TheAudioDecoderOpensAsItsClassAndIsDroppedWithoutItsInterface) {
    auto open = [this] {
        return Graph().AddDeviceFilter(AM_KSCATEGORY_TVAUDIO, CPcieAudioDecoderFilter::kDeviceName, "Audio", 0, 1);
    };
    platform::InjectFailure("QueryInterface:IAMTVAudio", 1);
    EXPECT_EQ(nullptr, open());
    platform::ClearFailures();

    auto* audio = dynamic_cast<CPcieAudioDecoderFilter*>(open());
    ASSERT_NE(nullptr, audio);
    long modes = 0;
    long mode = 0;
    ASSERT_TRUE(audio->GetHardwareSupportedTVAudioModes(&modes));
    EXPECT_NE(0, modes & AMTVAUDIO_MODE_MONO);
    ASSERT_TRUE(audio->GetAvailableTVAudioModes(&modes));
    EXPECT_TRUE(audio->SetTVAudioMode(AMTVAUDIO_MODE_MONO));
    ASSERT_TRUE(audio->GetTVAudioMode(&mode));
    EXPECT_EQ(AMTVAUDIO_MODE_MONO, mode);
    // The second board's device: it went away with its board.
    Board(1).Unplug();
    EXPECT_FALSE(audio->SetTVAudioMode(AMTVAUDIO_MODE_STEREO));
}

}  // namespace
