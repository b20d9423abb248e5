// A 713x_4 TV card of the simulated bench fitted with one tuner model and its chips, a card
// object over the board's real access class, and the tuner its factory makes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/CardBench.h"
#include "cards/saa713x/QelCardFilter.h"
#include "hwsim/chips/IfDemodulator.h"
#include "hwsim/chips/PllTuner.h"

class DemodBench : public CardBench {
protected:
    void SetUp() override {}
    void TearDown() override;

    // Plugs one card with `model` fitted and the stations given (JSON lists), and makes the
    // model's tuner through the card's factory (model 0: no tuner, no tuner chips).
    void Fit(int model, const std::string& stations = "[]", const std::string& fmStations = "[]");

    hwsim::Card& Board() { return CardBench::Board(0); }
    hwsim::PllTuner& Pll() { return *static_cast<hwsim::PllTuner*>(Board().Chip("tuner")); }
    hwsim::IfDemodulator& Demod() { return *static_cast<hwsim::IfDemodulator*>(Board().Chip("demodulator")); }
    // Registers 0, 1, 2 of a demodulator.
    static std::vector<BYTE> Registers(const hwsim::I2CDevice* chip);
    // The bus transfers written to one 8-bit address since the log was cleared.
    std::vector<std::vector<BYTE>> WritesTo(BYTE address);

    std::unique_ptr<TestCard<CQelCardFilter>> card;
    std::unique_ptr<CTunerBase> tuner;
};
