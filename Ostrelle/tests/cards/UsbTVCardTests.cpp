// The EM28xx USB box cards opened as the station opens them (AddDeviceFilter) on each simulated
// box: the tuner from the box controller's type code or the EEPROM, the USB tuner at 0xC6 with
// its lock from the box's decoder, the crossbars' decoder input mode, the audio switch on the
// bridge GPIO bits, remote keys, the EEPROM through CEm2800Access; and the family's answers to
// missing access objects and failed reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "access/CustomDataAccess.h"
#include "cards/usb/Em2800Filter.h"
#include "cards/usb/Em2820Filter.h"
#include "cards/usb/Em2821Filter.h"
#include "cards/usb/UsbCard2881Filter.h"
#include "cards/usb/UsbTVBoxFilter.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/CardKind.h"
#include "hwsim/boards/Em28xxBox.h"
#include "hwsim/chips/VideoDecoder.h"
#include "hwsim/drivers/EmpiaDriver.h"
#include "platform/runtime.h"
#include "support/CardBench.h"
#include "tuners/TunerModuleOverrides.h"
#include "tuners/UsbTuner.h"

namespace {

// The EM28xx boxes, and those of them with the box controller, as the card-kind rows tell.
const std::vector<std::string> kBoxes =
    hwsim::CaptureNamesWhere([](const hwsim::CardKind& kind) { return hwsim::IsEm28xxBox(kind.captureName); });
const std::vector<std::string> kControllerBoxes = hwsim::CaptureNamesWhere(
    [](const hwsim::CardKind& kind) { return hwsim::HasEm28xxBoxController(kind.captureName); });
constexpr float kStationKHz = 471250.0f;

class UsbBoxes : public CardBench {
protected:
    void SetUp() override {}

    // One box of `kind` with the tuner `model` fitted, a blank EEPROM and `extra` bench keys.
    hwsim::Card& Box(const std::string& kind, int model = 97, const std::string& extra = "") {
        std::filesystem::remove(hwsim::Bench::StateFileFor(*hwsim::FindCardKind(kind), 0));
        const std::string bench = R"({"cards": [{"kind": ")" + kind + R"(", "tuner": )" + std::to_string(model) + extra +
                                  R"(}], "stations": [{"kHz": 471250}]})";
        Load(bench.c_str());
        return Board(0);
    }
    CUsbTVFilter* Open(hwsim::Card& board) { return dynamic_cast<CUsbTVFilter*>(OpenCard(board)); }
    CUsbTVCrossbarFilter* OpenCrossbar(hwsim::Card& board) {
        return dynamic_cast<CUsbTVCrossbarFilter*>(
            Graph().AddDeviceFilter(AM_KSCATEGORY_CROSSBAR, board.Kind().crossbarName, "Crossbar", 0, 0));
    }
    hwsim::EmpiaDriver& Empia(hwsim::Card& board) { return static_cast<hwsim::EmpiaDriver&>(Driver(board)); }
    static hwsim::RegisterFileDevice& Decoder(hwsim::Card& board) {
        return *static_cast<hwsim::RegisterFileDevice*>(board.Chip("decoder"));
    }
    bool Logged(hwsim::Card& board, const std::string& text) {
        const auto lines = Driver(board).Log().Lines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
};

// ---- which tuner ----

TEST_F(UsbBoxes, ControllerTypeCodeChoosesTheModelWithMakerT) {
    const std::pair<int, int> codes[] = {{1, 3}, {2, 2}, {3, 1}, {4, 14}, {5, 5}, {6, 11}, {7, 4}, {8, 4}, {200, 4}};
    for (const std::string& kind : kControllerBoxes) {
        for (auto [code, model] : codes) {
            if (code != 6 && code != 200 && kind != "USB 2800 Video") continue;
            SCOPED_TRACE(kind + " code " + std::to_string(code));
            hwsim::Card& board = Box(kind, model, R"(, "tunerTypeCode": )" + std::to_string(code));
            CUsbTVFilter* card = Open(board);
            ASSERT_NE(nullptr, card);
            EXPECT_EQ(model, card->GetTunerModel());
            EXPECT_EQ('T', card->GetFactoryLetter());
        }
    }
}

TEST_F(UsbBoxes, TypeCode0LetsTheEepromDecideAndAnUnknownOrUnreadableModelIs93) {
    for (const std::string& kind : kBoxes) {
        SCOPED_TRACE(kind);
        const bool at_d0 = kind == "USB 2821 Video";
        hwsim::Card& board = Box(kind, 69);
        Poke(board, at_d0 ? 0xD0 : 0xC0, {'A', 69});
        CUsbTVFilter* card = Open(board);
        ASSERT_NE(nullptr, card);
        EXPECT_EQ(69, card->GetTunerModel());
        EXPECT_EQ('A', card->GetFactoryLetter());
    }
    hwsim::Card& unnamed = Box("USB 2800 Video", 93);
    Poke(unnamed, 0xC0, {'P', 250});
    ASSERT_NE(nullptr, Open(unnamed));
    EXPECT_EQ(93, Open(unnamed)->GetTunerModel());

    hwsim::Card& unreadable = Box("USB 2820 Video", 93, R"(, "faults": [{"chip": "eeprom", "kind": "absent"}])");
    CUsbTVFilter* card = Open(unreadable);
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(93, card->GetTunerModel());
    EXPECT_EQ('T', card->GetFactoryLetter());

    // A controller that does not answer reads as type code 0.
    hwsim::Card& silent = Box("USB 2800 Video", 92, R"(, "tunerTypeCode": 6, "faults": [{"chip": "remote", "kind": "absent"}])");
    Poke(silent, 0xC0, {'P', 92});
    ASSERT_NE(nullptr, (card = Open(silent)));
    EXPECT_EQ(92, card->GetTunerModel());
    EXPECT_EQ('P', card->GetFactoryLetter());
}

TEST_F(UsbBoxes, Model69InTheEepromWinsOverTheTypeCode) {
    hwsim::Card& board = Box("USB 2881 Video", 69, R"(, "tunerTypeCode": 6)");
    Poke(board, 0xC0, {'A', 69});
    CUsbTVFilter* card = Open(board);
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(69, card->GetTunerModel());
    EXPECT_EQ('A', card->GetFactoryLetter());
}

// The 2821 keeps its tuner at 0xD0 and 0xD1: read there on the first opening already, not only
// after its tuner was made.
TEST_F(UsbBoxes, The2821ReadsItsTunerAtD0AndD1FromTheFirstOpening) {
    hwsim::Card& board = Box("USB 2821 Video", 92);
    Poke(board, 0xC0, {'T', 5});
    Poke(board, 0xD0, {'P', 92});
    CUsbTVFilter* card = Open(board);
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(92, card->GetTunerModel());
    EXPECT_EQ('P', card->GetFactoryLetter());
}

// ---- the USB tuner ----

TEST_F(UsbBoxes, Model97TunerWritesAtC6AndTakesItsLockFromTheBoxDecoder) {
    hwsim::Card& board = Box("USB 2800 Video", 97);
    Poke(board, 0xC0, {'P', 97});
    CUsbTVFilter* card = Open(board);
    ASSERT_NE(nullptr, card);
    auto* tuner = dynamic_cast<CTuner_P97*>(card->GetTuner());
    ASSERT_NE(nullptr, tuner);
    EXPECT_EQ(0xC6, tuner->GetWriteAddress());
    EXPECT_EQ(97, tuner->GetModelCode());
    BYTE demod = 0;
    ASSERT_TRUE(card->GetDemodAddress(&demod));
    EXPECT_EQ(0x4B, demod);

    EXPECT_FALSE(card->GetTunerStatus());
    ASSERT_TRUE(card->SetTVChannelFreq(kStationKHz));
    EXPECT_TRUE(Logged(board, "raw C6 write"));
    EXPECT_TRUE(card->GetTunerStatus());
    EXPECT_TRUE(Logged(board, "i2c 4B sub 1F read"));
    // Switched to composite, the decoder no longer sees the tuner's picture; back on the tuner
    // it does again.
    CUsbTVCrossbarFilter* crossbar = OpenCrossbar(board);
    ASSERT_NE(nullptr, crossbar);
    ASSERT_TRUE(crossbar->SetVideoInput(1));
    EXPECT_FALSE(card->GetTunerStatus());
    ASSERT_TRUE(crossbar->SetVideoInput(0));
    EXPECT_TRUE(card->GetTunerStatus());
    ASSERT_TRUE(card->SetTVChannelFreq(kStationKHz + 20000));
    EXPECT_FALSE(card->GetTunerStatus());
}

TEST_F(UsbBoxes, OtherModelsGetTheUsbTunerAndADecoderAt42IsKept) {
    hwsim::Card& board = Box("Vorlane USB TV Box Video", 93);
    Poke(board, 0xC0, {'P', 93});
    CUsbTVFilter* card = Open(board);
    ASSERT_NE(nullptr, card);
    auto* usb = dynamic_cast<CUsbTuner*>(card->GetTuner());
    ASSERT_NE(nullptr, usb);
    EXPECT_EQ(93, usb->GetModelCode());
    EXPECT_EQ(0xC6, usb->GetWriteAddress());
    EXPECT_EQ(0x4B, usb->GetDecoderAddress());
    ASSERT_TRUE(card->SetTVChannelFreq(kStationKHz));
    EXPECT_TRUE(card->GetTunerStatus());

    hwsim::Card& two = Box("USB 2820 Video", 93);
    two.AddChip("decoder42", std::make_unique<hwsim::VideoDecoder>(hwsim::VideoDecoder::kAddress, nullptr));
    ASSERT_NE(nullptr, (card = Open(two)));
    BYTE demod = 0;
    ASSERT_TRUE(card->GetDemodAddress(&demod));
    EXPECT_EQ(0x42, demod);
}

TEST_F(UsbBoxes, SetTunerModelMakesTheNewTunerAndKeepsTheWindow) {
    hwsim::Card& board = Box("USB 2800 Video", 97, R"(, "tunerTypeCode": 6)");
    CUsbTVFilter* card = Open(board);
    ASSERT_NE(nullptr, card);
    KeyWindow window;
    card->GetTuner()->SetNotifyWindow(window.Window());
    ASSERT_TRUE(card->SetTunerModel(97));
    EXPECT_NE(nullptr, dynamic_cast<CTuner_P97*>(card->GetTuner()));
    EXPECT_EQ(97, card->GetTunerModel());
    EXPECT_EQ('P', card->GetFactoryLetter());
    EXPECT_EQ(window.Window(), card->GetTuner()->GetNotifyWindow());
    ASSERT_TRUE(card->SetTVChannelFreq(kStationKHz));
    EXPECT_TRUE(card->GetTunerStatus());
}

TEST_F(UsbBoxes, FindLockedAddressesSeesThePllOnceItLocks) {
    hwsim::Card& board = Box("USB 2800 Video", 97);
    CUsbTVFilter* card = Open(board);
    ASSERT_NE(nullptr, card);
    BYTE found[255] = {};
    auto has = [&](int count, BYTE address) { return std::find(found, found + count, address) != found + count; };
    int count = card->FindLockedAddresses(found, 254);
    EXPECT_FALSE(has(count, 0xC7));
    ASSERT_TRUE(card->SetTVChannelFreq(kStationKHz));
    count = card->FindLockedAddresses(found, 1000);  // stops at 254
    EXPECT_TRUE(has(count, 0xC6));
    EXPECT_TRUE(has(count, 0xC7));
    EXPECT_LE(count, 255);
    EXPECT_EQ(0, card->FindLockedAddresses(nullptr, 254));
    count = card->FindLockedAddresses(found, 0xC6);
    EXPECT_TRUE(has(count, 0xC6));
    EXPECT_FALSE(has(count, 0xC7));
}

// ---- the crossbars ----

TEST_F(UsbBoxes, CrossbarWritesTheInputModeIntoTheDecodersLowNibble) {
    hwsim::Card& board = Box("USB 2800 Video", 97);
    ASSERT_NE(nullptr, Open(board));
    CUsbTVCrossbarFilter* crossbar = OpenCrossbar(board);
    ASSERT_NE(nullptr, crossbar);
    EXPECT_NE(nullptr, dynamic_cast<CEm2800CrossbarFilter*>(crossbar));
    EXPECT_EQ(4, crossbar->GetAudioRoute(0));
    Decoder(board).Poke(2, 0xC3);
    EXPECT_TRUE(crossbar->SetVideoInput(2));
    EXPECT_EQ(0xC9, Decoder(board).Peek(2));
    EXPECT_TRUE(crossbar->SetVideoInput(0));
    EXPECT_EQ(0xC2, Decoder(board).Peek(2));
    EXPECT_TRUE(crossbar->SetVideoInput(1));
    EXPECT_EQ(0xC0, Decoder(board).Peek(2));
    EXPECT_TRUE(crossbar->SetVideoInput(7));
    EXPECT_EQ(0xC0, Decoder(board).Peek(2));
}

TEST_F(UsbBoxes, The2820CrossbarRoutesItsPinsFirstAndThe2881sReachesItsBox) {
    hwsim::Card& board = Box("USB 2820 Video", 97);
    ASSERT_NE(nullptr, Open(board));
    CUsbTVCrossbarFilter* crossbar = OpenCrossbar(board);
    ASSERT_NE(nullptr, dynamic_cast<CEm2820CrossbarFilter*>(crossbar));
    EXPECT_EQ(3, crossbar->GetVideoRoute(2));
    Decoder(board).Poke(2, 0x53);
    EXPECT_TRUE(crossbar->SetVideoInput(2));
    EXPECT_EQ(3, board.VideoRoute());
    EXPECT_EQ(0x59, Decoder(board).Peek(2));

    hwsim::Card& box2881 = Box("USB 2881 Video", 97);
    ASSERT_NE(nullptr, Open(box2881));
    crossbar = OpenCrossbar(box2881);
    ASSERT_NE(nullptr, dynamic_cast<CUsbCard2881CrossbarFilter*>(crossbar));
    EXPECT_EQ(1, crossbar->GetVideoRoute(0));
    EXPECT_EQ(6, crossbar->GetAudioRoute(2));
    Decoder(box2881).Poke(2, 0xA0);
    EXPECT_TRUE(crossbar->SetVideoInput(0));
    EXPECT_EQ(0xA2, Decoder(box2881).Peek(2));
}

// The TV box's crossbar names a device that is no video input: FALSE, nothing written. A
// decoder that does not answer: FALSE, and no mode written over a byte never read.
TEST_F(UsbBoxes, CrossbarWritesNothingWithoutTheDeviceOrTheDecodersByte) {
    hwsim::Card& tvBox = Box("Vorlane USB TV Box Video", 97);
    ASSERT_NE(nullptr, Open(tvBox));
    CUsbTVCrossbarFilter* crossbar = OpenCrossbar(tvBox);
    ASSERT_NE(nullptr, dynamic_cast<CUsbTVBoxCrossbarFilter*>(crossbar));
    Decoder(tvBox).Poke(2, 0xC3);
    Driver(tvBox).Log().Clear();
    EXPECT_FALSE(crossbar->SetVideoInput(2));
    EXPECT_EQ(0xC3, Decoder(tvBox).Peek(2));
    EXPECT_EQ("", Driver(tvBox).Log().Text());

    hwsim::Card& board = Box("USB 2821 Video", 97);
    ASSERT_NE(nullptr, Open(board));
    crossbar = OpenCrossbar(board);
    ASSERT_NE(nullptr, dynamic_cast<CEm2821CrossbarFilter*>(crossbar));
    board.Chip("decoder")->SetAbsent(true);
    Driver(board).Log().Clear();
    EXPECT_FALSE(crossbar->SetVideoInput(2));
    EXPECT_TRUE(Logged(board, "i2c 4B sub 02 read"));
    EXPECT_FALSE(Logged(board, "i2c 4A")) << Driver(board).Log().Text();
}

// ---- audio switch, keys, EEPROM, access ----

TEST_F(UsbBoxes, AudioSourceSwitchesTheBridgeGpioBitsAfter300Ms) {
    hwsim::Card& board = Box("USB 2800 Video", 97);
    CUsbTVFilter* card = Open(board);
    ASSERT_NE(nullptr, card);
    auto lines = [&] { return board.Bridge().PinLevels() & 0xFF; };
    ASSERT_EQ(S_OK, card->GetAccess()->GPIO_Write(0x05, 0));
    const ULONGLONG start = platform::ClockNow();
    EXPECT_EQ(S_OK, card->SetAudioSource(1, TRUE));
    EXPECT_GE(platform::ClockNow() - start, 300u);
    EXPECT_EQ(0x06u, lines());
    EXPECT_EQ(S_OK, card->SetAudioSource(0, TRUE));
    EXPECT_EQ(0x05u, lines());
    card->GetAccess()->GPIO_Write(0xF9, 0);
    EXPECT_EQ(S_OK, card->SetAudioSource(2, TRUE));
    EXPECT_EQ(0x08u, lines());
    card->GetAccess()->GPIO_Write(0x05, 0);
    EXPECT_EQ(S_OK, card->SetAudioSource(1, FALSE));
    EXPECT_EQ(0x07u, lines());
    card->GetAccess()->GPIO_Write(0xA1, 0);
    EXPECT_EQ(S_OK, card->SetAudioSource(3, TRUE));
    EXPECT_EQ(0xA1u, lines());
}

TEST_F(UsbBoxes, KeysComeFromTheBoxControllerAndTheTvBoxAcknowledgesAndWaits10Ms) {
    hwsim::Card& board = Box("USB 2821 Video", 97, R"(, "keys": [33])");
    CUsbTVFilter* card = Open(board);
    ASSERT_NE(nullptr, card);
    BYTE key = 0;
    ASSERT_TRUE(card->GetRemoteData(&key));
    EXPECT_EQ(33, key);
    EXPECT_FALSE(card->GetRemoteData(&key));
    board.PressKey(0xC4);  // not inverted
    ASSERT_TRUE(card->GetRemoteData(&key));
    EXPECT_EQ(0xC4, key);

    hwsim::Card& tvBox = Box("Vorlane USB TV Box Video", 97, R"(, "keys": [17])");
    ASSERT_NE(nullptr, (card = Open(tvBox)));
    Driver(tvBox).Log().Clear();
    const ULONGLONG start = platform::ClockNow();
    ASSERT_TRUE(card->GetRemoteData(&key));
    EXPECT_GE(platform::ClockNow() - start, 10u);
    EXPECT_EQ(17, key);
    EXPECT_TRUE(Logged(tvBox, "i2c BB sub 30 write 00"));
    EXPECT_FALSE(card->GetRemoteData(&key));
    EXPECT_FALSE(Logged(tvBox, "i2c 60"));
}

TEST_F(UsbBoxes, RemoteThreadPostsTheBoxesKeysToTheWindow) {
    for (const char* kind : {"USB 2881 Video", "Vorlane USB TV Box Video"}) {
        SCOPED_TRACE(kind);
        hwsim::Card& board = Box(kind, 97, R"(, "keys": [33, 196])");
        CUsbTVFilter* card = Open(board);
        ASSERT_NE(nullptr, card);
        KeyWindow window;
        card->SetNotifyWindow(window.Window());
        ASSERT_TRUE(card->StartRemoteThread());
        EXPECT_EQ((std::vector<WPARAM>{33, 196}), window.WaitForKeys(2, 1000));
        card->StopRemoteThread();
    }
}

TEST_F(UsbBoxes, EachBoxOpensItsAccessAndWritesTheWholeEeprom) {
    for (const std::string& kind : kBoxes) {
        SCOPED_TRACE(kind);
        hwsim::Card& board = Box(kind, 97);
        CUsbTVFilter* card = Open(board);
        ASSERT_NE(nullptr, card);
        const bool is2881 = kind == "USB 2881 Video";
        EXPECT_EQ(is2881 ? 8 : 4, card->GetAccessKind());
        EXPECT_STREQ(is2881 ? "USB 2881 TVTuner" : kind.c_str(), card->GetTunerName());
        ExpectWholeEepromThroughTheCard(*card, board, kind);
    }
}

TEST_F(UsbBoxes, CaptureSizeAc97AndRawRequestsReachTheBox) {
    hwsim::Card& board = Box("USB 2800 Video", 97);
    CUsbTVFilter* card = Open(board);
    ASSERT_NE(nullptr, card);
    SIZE size = {};
    ASSERT_TRUE(card->GetMaxCaptureSize(&size));
    EXPECT_EQ(720, size.cx);
    EXPECT_EQ(576, size.cy);
    EXPECT_FALSE(card->GetMaxCaptureSize(nullptr));

    EXPECT_TRUE(card->AC97Write(0x10, 0x1234));
    EXPECT_EQ(0x1234, Empia(board).Ac97Register(0x10));
    Empia(board).SetAc97Register(0x12, 0x5678);
    WORD value = 0;
    EXPECT_TRUE(card->AC97Read(0x12, &value));
    EXPECT_EQ(0x5678, value);
    DWORD stored = 7;
    EXPECT_TRUE(card->WriteRaw(0x2000, &stored));
    stored = 0;
    EXPECT_TRUE(card->ReadRaw(0x2000, &stored));
    EXPECT_EQ(7u, stored);
}

// ---- without a box ----

TEST(UsbCardWithoutAccess, NullPointersAndAMissingAccessAnswerBeforeAnyTraffic) {
    TestCard<CEm2800Filter> card;
    EXPECT_EQ(E_POINTER, card.SetAudioSource(1, TRUE));
    BYTE key = 0;
    EXPECT_FALSE(card.GetRemoteData(&key));
    EXPECT_FALSE(card.AC97Write(0x10, 1));
    WORD word = 0;
    EXPECT_FALSE(card.AC97Read(0x10, &word));
    BYTE found[255];
    EXPECT_EQ(0, card.FindLockedAddresses(found, 254));
    BYTE demod = 0;
    EXPECT_FALSE(card.GetDemodAddress(&demod));
    int factory = 0;
    EXPECT_EQ(E_POINTER, card.GetTunerInfo(&factory, nullptr));
    int model = 0;
    EXPECT_EQ(S_OK, card.GetTunerInfo(&factory, &model));
    EXPECT_EQ(93, model);

    FakeBoardCard<CUsbTVBoxFilter> fake(CUsbTVFilter::kAccessKind);
    EXPECT_FALSE(fake.card.GetRemoteData(nullptr));
    EXPECT_TRUE(fake.access->reads.empty());
}

TEST(UsbCardWithoutAccess, AFailedGpioReadIsAnsweredAndNothingIsWritten) {
    FakeBoardCard<CEm2820Filter> fake(CUsbTVFilter::kAccessKind);
    fake.access->script = {{E_ACCESSDENIED, 0}};
    EXPECT_EQ(E_ACCESSDENIED, fake.card.SetAudioSource(1, TRUE));
    fake.access->script = {{E_FAIL, 0}};
    EXPECT_EQ(E_FAIL, fake.card.SetAudioSource(0, FALSE));
    EXPECT_TRUE(fake.access->gpioWrites.empty());
    fake.access->gpio = 0x05;
    EXPECT_EQ(S_OK, fake.card.SetAudioSource(1, TRUE));
    EXPECT_EQ((std::vector<std::pair<DWORD, DWORD>>{{0x06, 0}}), fake.access->gpioWrites);
}

// Without an access object no tuner can be made: the card keeps the tuner, model and maker it has.
TEST(UsbCardWithoutAccess, SetTunerModelThatMakesNoTunerKeepsTheOldOne) {
    TestCard<CEm2821Filter> card;
    card.SetTunerModelField(5);
    auto* old = new CUsbTuner(nullptr);
    ASSERT_TRUE(card.SetTuner(old));
    EXPECT_FALSE(card.SetTunerModel(97));
    EXPECT_EQ(old, card.GetTuner());
    EXPECT_EQ(5, card.GetTunerModel());
    EXPECT_EQ('N', card.GetFactoryLetter());
}

}  // namespace
