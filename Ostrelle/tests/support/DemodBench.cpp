#include "support/DemodBench.h"

#include "hwsim/bus/RegisterFileDevice.h"

void DemodBench::TearDown()
{
    tuner.reset();
    card.reset();
    CardBench::TearDown();
}

void DemodBench::Fit(int model, const std::string& stations, const std::string& fmStations)
{
    tuner.reset();
    card.reset();
    const std::string bench = R"({"cards": [{"kind": "713x_4 TV Card Capture", "tuner": )" + std::to_string(model) +
                              R"(}], "stations": )" + stations + R"(, "fmStations": )" + fmStations + "}";
    Load(bench.c_str());
    card = MakeCard<CQelCardFilter>(Board(), ACCESS_KIND_QEL);
    if (model == 0) return;
    tuner.reset(card->CreateTuner(model));
    ASSERT_NE(nullptr, tuner);
    Board().Bus().ClearLog();
}

std::vector<BYTE> DemodBench::Registers(const hwsim::I2CDevice* chip)
{
    auto* file = dynamic_cast<const hwsim::RegisterFileDevice*>(chip);
    if (file == nullptr) return {};
    return {file->Peek(0), file->Peek(1), file->Peek(2)};
}

std::vector<std::vector<BYTE>> DemodBench::WritesTo(BYTE address)
{
    std::vector<std::vector<BYTE>> writes;
    for (const hwsim::I2CTransfer& transfer : Board().Bus().Log())
        if (transfer.address == address && transfer.nackAt < 0) writes.push_back(transfer.data);
    return writes;
}
