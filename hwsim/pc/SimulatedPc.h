// The PC the station program runs on: the bench's cards plugged into the simulated PC, with their
// drivers in the device tree. Only the program's start-up glue (and the tests) know it; the
// station's own code meets the cards through the device enumerator and the drivers' filters.
#pragma once

#include <memory>
#include <string>

namespace hwsim {
class Bench;
class BenchDevices;
}  // namespace hwsim

class SimulatedPc {
public:
    // Loads a bench file and plugs its cards. Throws hwsim::BenchError.
    static std::unique_ptr<SimulatedPc> Load(const std::string& benchPath);
    // The same from a bench's text (tests).
    static std::unique_ptr<SimulatedPc> FromText(const std::string& benchText);
    // Unplugs the cards.
    ~SimulatedPc();
    SimulatedPc(const SimulatedPc&) = delete;
    SimulatedPc& operator=(const SimulatedPc&) = delete;

    hwsim::Bench& Bench() const { return *m_bench; }
    hwsim::BenchDevices& Devices() const { return *m_devices; }
    // FALSE when a card's EEPROM state file missed a write (each such file is named on stderr).
    bool StateKept() const;

private:
    explicit SimulatedPc(std::unique_ptr<hwsim::Bench> bench);

    std::unique_ptr<hwsim::Bench> m_bench;
    std::unique_ptr<hwsim::BenchDevices> m_devices;
};

// Links the filter classes of the program's libraries in their fixed order: the graph library's,
// then the card classes'. Once per process.
void RegisterFilterClasses();
