// Plugging the bench's cards into the simulated PC, and the order of the filter-class records.
#include "SimulatedPc.h"

#include "cards/base/CardFilterClasses.h"
#include "graph/FilterClassRecord.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"
#include "StationFilterClasses.h"

SimulatedPc::SimulatedPc(std::unique_ptr<hwsim::Bench> bench)
    : m_bench(std::move(bench)), m_devices(std::make_unique<hwsim::BenchDevices>(*m_bench)) {}

SimulatedPc::~SimulatedPc() {
    m_devices.reset();
    m_bench.reset();
}

std::unique_ptr<SimulatedPc> SimulatedPc::Load(const std::string& benchPath) {
    return std::unique_ptr<SimulatedPc>(new SimulatedPc(hwsim::Bench::Load(benchPath)));
}

std::unique_ptr<SimulatedPc> SimulatedPc::FromText(const std::string& benchText) {
    return std::unique_ptr<SimulatedPc>(new SimulatedPc(hwsim::Bench::FromText(benchText)));
}

bool SimulatedPc::StateKept() const {
    bool kept = true;
    for (const auto& card : m_bench->Cards()) kept = kept && card->StateKept();
    return kept;
}

void RegisterFilterClasses() {
    RegisterGraphFilterClasses();
    RegisterCardFilterClasses();
    RegisterStationFilterClasses();
}
