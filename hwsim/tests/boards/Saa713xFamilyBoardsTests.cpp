// The boards of the SAA713x card family and of the base cards: a driver for every card kind,
// the bench entry's choice of the device-control driver, the Cranlow family's key presenter,
// the Voze board's digit controller, and the device event that the property driver keeps.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "support/BenchFixture.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/BoardChips.h"
#include "hwsim/boards/Em28xxBox.h"
#include "hwsim/drivers/KsDeviceControlDriver.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "platform/runtime.h"
#include "platform/winbase.h"

namespace hwsim {
namespace {

using Saa713xFamilyBoards = BenchFixture;

std::string OneCardOfEachKind() {
    std::string cards;
    bool em28xxBox = false;
    for (const CardKind& kind : CardKinds()) {
        if (IsEm28xxBox(kind.captureName) && std::exchange(em28xxBox, true)) continue;  // one box a bench
        cards += std::string(cards.empty() ? "" : ", ") + R"({"kind": ")" + kind.captureName + R"("})";
    }
    return R"({"cards": [)" + cards + "]}";
}

TEST_F(Saa713xFamilyBoards, EveryKindGetsItsDriverAndItsPartsOnTheLines) {
    auto bench = Bench::FromText(OneCardOfEachKind());
    BenchDevices devices(*bench);
    for (const auto& card : bench->Cards()) {
        const char* name = card->FriendlyName();
        KsDriver& driver = devices.Driver(*card);
        EXPECT_EQ(nullptr, dynamic_cast<KsDeviceControlDriver*>(&driver)) << name;
        if (card->Kind().controllerLayout != nullptr) {
            EXPECT_STREQ(card->Kind().controllerLayout().name, card->Controller().Layout().name) << name;
            EXPECT_THROW(card->KeyPresenter(), std::logic_error) << name;
        } else {
            EXPECT_THROW(card->Controller(), std::logic_error) << name;
            EXPECT_EQ(LowBitKeyPresenter::kLines, card->Bridge().PinLevels() & 0x1FF) << name;
        }
        EXPECT_EQ(std::string(name) == "713x_D TV Card Capture", card->Chip("digits") != nullptr) << name;
    }
}

TEST_F(Saa713xFamilyBoards, BenchEntryOfABaseCardMayChooseTheDeviceControlDriver) {
    auto bench = Bench::FromText(R"({"cards": [
        {"kind": "713x TV Card Capture", "driver": "deviceControl"},
        {"kind": "713x TV Card Capture"},
        {"kind": "Vorlane Cranlow Capture", "driver": "deviceControl"}]})");
    BenchDevices devices(*bench);
    EXPECT_NE(nullptr, dynamic_cast<KsDeviceControlDriver*>(&devices.Driver(*bench->Cards()[0])));
    EXPECT_NE(nullptr, dynamic_cast<Saa713xPropertyDriver*>(&devices.Driver(*bench->Cards()[1])));
    EXPECT_NE(nullptr, dynamic_cast<KsDeviceControlDriver*>(&devices.Driver(*bench->Cards()[2])));

    for (const char* text : {R"({"cards": [{"kind": "713x_3 TV Card Capture", "driver": "deviceControl"}]})",
                             R"({"cards": [{"kind": "713x TV Card Capture", "driver": "property"}]})",
                             R"({"cards": [{"kind": "713x TV Card Capture", "driver": 1}]})"}) {
        EXPECT_THROW(Bench::FromText(text), BenchError) << text;
    }
    try {
        Bench::FromText(R"({"cards": [{"kind": "Movrik Video Capture", "driver": "deviceControl"}]})");
    } catch (const BenchError& error) {
        EXPECT_NE(std::string::npos, std::string(error.what()).find("cards[0].driver: \"Movrik Video Capture\" has no"))
            << error.what();
    }
}

TEST_F(Saa713xFamilyBoards, KeyPresenterShowsEachKeyForTheLengthOfAPress) {
    auto bench = Bench::FromText(R"({"cards": [{"kind": "Fosbry TV Capture", "keys": [225, 0]}]})");
    Card& card = *bench->Cards()[0];
    Saa713x& bridge = card.Bridge();
    EXPECT_EQ(0x0E1u, LowBitKeyPresenter::LinesOf(0xE1));  // line 8 low, NOT of the swapped 0x1E
    EXPECT_EQ(0x0E1u, bridge.SampleLines() & 0x1FF);
    Sleep(LowBitKeyPresenter::kPressMs - 1);
    EXPECT_EQ(0x0E1u, bridge.SampleLines() & 0x1FF);
    Sleep(1);
    EXPECT_EQ(0x0FFu, bridge.SampleLines() & 0x1FF);  // key 0: every data line high
    EXPECT_EQ(1u, card.KeyPresenter().PendingKeys());
    Sleep(LowBitKeyPresenter::kPressMs);
    EXPECT_EQ(0x1FFu, bridge.SampleLines() & 0x1FF);
    EXPECT_EQ(0u, card.KeyPresenter().PendingKeys());
    // A press starts at the first look at the lines after the key came.
    Sleep(500);
    card.PressKey(0x5A);
    EXPECT_EQ(LowBitKeyPresenter::LinesOf(0x5A), bridge.SampleLines() & 0x1FF);
}

TEST_F(Saa713xFamilyBoards, PropertyDriverSignalsTheDeviceEventItWasGiven) {
    auto bench = Bench::FromText(R"({"cards": [{"kind": "713x_IO TV Card Capture"}]})");
    BenchDevices devices(*bench);
    auto& driver = static_cast<Saa713xPropertyDriver&>(devices.Driver(*bench->Cards()[0]));
    EXPECT_FALSE(driver.RaiseDeviceEvent());

    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    alignas(8) BYTE buffer[48] = {};
    const DWORD handle = static_cast<DWORD>(reinterpret_cast<uintptr_t>(event));
    std::memcpy(buffer + 24, &handle, sizeof(handle));
    ASSERT_EQ(S_OK, driver.Set(kSaa713xPropertySet, 7, buffer, 24, buffer, 48));
    EXPECT_EQ(handle, driver.DeviceEventHandle());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(event, 0));
    EXPECT_TRUE(driver.RaiseDeviceEvent());
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(event, 0));
    CloseHandle(event);
    EXPECT_FALSE(driver.RaiseDeviceEvent());  // the handle names nothing now
}

}  // namespace
}  // namespace hwsim
