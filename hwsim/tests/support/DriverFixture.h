// Tests of the simulated drivers: a bench with one card of each kind, the EEPROM and a PLL
// tuner of model 32 at 0xC2 on each bus, and what a refused request must leave alone.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "support/BenchFixture.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/drivers/KsDriver.h"

namespace hwsim {

class DriverFixture : public BenchFixture {
protected:
    void SetUp() override {
        BenchFixture::SetUp();
        bench = Bench::FromText(R"({"cards": [
            {"kind": "713x BDA Analog Capture", "tuner": 32},
            {"kind": "713x_4 TV Card Capture", "tuner": 32}],
          "stations": [{"kHz": 49750}]})");
    }
    void TearDown() override {
        bench.reset();
        BenchFixture::TearDown();
    }

    Card& KeshCard() { return *bench->Cards()[0]; }
    Card& PropertyCard() { return *bench->Cards()[1]; }

    // Nothing reached the card: no bus transfer, no GPIO or register change.
    static void ExpectCardUntouched(Card& card) {
        EXPECT_EQ("", card.Bus().LogText());
        EXPECT_EQ(0u, card.Bridge().Read(Saa713x::kGpioMode));
        EXPECT_EQ(0u, card.Bridge().HostLatches());
        EXPECT_EQ(0u, card.Bridge().Read(0x16C));
    }

    std::unique_ptr<Bench> bench;
};

}  // namespace hwsim
