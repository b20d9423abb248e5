// A card of the simulated bench opened by the card manager, and its EEPROM bytes through the
// station's byte-access object.
#include <gtest/gtest.h>

#include <objbase.h>

#include <memory>

#include "cards/base/CardFilterClasses.h"
#include "CardMan.h"
#include "CardSearchTuner.h"
#include "CardRWInterface.h"
#include "graph/FilterClassRecord.h"
#include "MultiCardMan.h"
#include "cards/base/TVCardFilter.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/chips/Eeprom24C02.h"

namespace {

class CardOnBenchTest : public testing::Test {
protected:
    CardOnBenchTest() {
        CoInitialize(nullptr);
        RegisterGraphFilterClasses();
        RegisterCardFilterClasses();
        bench = hwsim::Bench::FromText(
            R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 95}, {"kind": "713x_4 TV Card Capture", "tuner": 5}]})");
        devices = std::make_unique<hwsim::BenchDevices>(*bench);
    }
    ~CardOnBenchTest() override {
        cards.reset();
        devices.reset();
        bench.reset();
        CoUninitialize();
    }
    hwsim::Card& Board(size_t index) { return *bench->Cards()[index]; }

    std::unique_ptr<hwsim::Bench> bench;
    std::unique_ptr<hwsim::BenchDevices> devices;
    std::unique_ptr<CMultiCardMan> cards = std::make_unique<CMultiCardMan>();
};

TEST_F(CardOnBenchTest, EveryKnownCardOpensWithItsCardFilter) {
    ASSERT_TRUE(cards->Init());
    ASSERT_EQ(cards->GetCardCount(), 2);
    EXPECT_EQ(cards->CreateAll(), 2);
    for (int i = 0; i < 2; ++i) {
        CTVCardFilter* filter = cards->GetCard(i)->GetCardFilter();
        ASSERT_NE(filter, nullptr) << "card " << i;
        EXPECT_NE(filter->GetAccess(), nullptr);
    }
    EXPECT_TRUE(cards->GetCard(0)->MuteAudio());
    cards->GetCard(0)->Release();
    cards->GetCard(0)->Release();
    EXPECT_EQ(cards->GetCard(0)->GetCardFilter(), nullptr);
    EXPECT_EQ(cards->GetCard(0)->GetGraph().GetFilterList(), nullptr);
}

TEST_F(CardOnBenchTest, ByteAccessReachesEveryAddressOfTheCardsEeprom) {
    ASSERT_TRUE(cards->Init());
    cards->CreateAll();
    for (int i = 0; i < 2; ++i) {
        CCardRWInterface rw(cards->GetCard(i)->GetCardFilter());
        EXPECT_EQ(rw.GetAccess(), cards->GetCard(i)->GetCardFilter()->GetAccess());
        EXPECT_TRUE(rw.WriteByte(255, 0x5A)) << "card " << i;
        EXPECT_TRUE(rw.WriteByte(0, 0xA5));
        EXPECT_EQ(Board(i).Eeprom().Peek(255), 0x5A);
        EXPECT_EQ(Board(i).Eeprom().Peek(0), 0xA5);
        unsigned char value = 0;
        EXPECT_TRUE(rw.ReadByte(255, &value));
        EXPECT_EQ(value, 0x5A);
        EXPECT_FALSE(rw.WriteByte(256, 0x11)) << "an address past the EEPROM is not cut to 0";
        EXPECT_FALSE(rw.WriteByte(-1, 0x11));
        EXPECT_EQ(Board(i).Eeprom().Peek(0), 0xA5);
    }
    // A card that is gone answers false.
    Board(0).Unplug();
    CCardRWInterface rw(cards->GetCard(0)->GetCardFilter());
    unsigned char value = 0;
    EXPECT_FALSE(rw.WriteByte(1, 0x22));
    EXPECT_FALSE(rw.ReadByte(1, &value));
}

}  // namespace

// The scan tuner of an opened card tunes through the card filter down to the simulated tuner;
// without a card filter it refuses.
TEST_F(CardOnBenchTest, CardSearchTunerTunesThroughTheCardFilter) {
    CCardSearchTuner closed;
    BYTE status = 7;
    EXPECT_FALSE(closed.SetFrequence(49750000));
    EXPECT_FALSE(closed.GetStatus(status));
    EXPECT_EQ(status, 7);

    ASSERT_TRUE(cards->Init());
    ASSERT_EQ(cards->CreateAll(), 2);
    CCardSearchTuner tuner(cards->GetCard(0)->GetCardFilter());
    EXPECT_TRUE(tuner.SetFrequence(49750999)) << "passed on as 49750 kHz";
    EXPECT_TRUE(tuner.GetStatus(status));
    EXPECT_LE(status, 1);
    tuner.SetCardFilter(nullptr);
    EXPECT_FALSE(tuner.SetFrequence(49750000));
}
