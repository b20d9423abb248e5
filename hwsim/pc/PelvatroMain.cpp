// The station program: the display, the simulated PC with the bench's cards, the filter classes
// in their order, then the application object.
#include <cstdio>

#include "Pelvatro.h"
#include "SimulatedPc.h"
#include "hwsim/bench/Bench.h"
#include "platform/display.h"

CPelvatroApp theApp;

int main() {
    platform::StartMachineDefaultDisplay();
    std::unique_ptr<SimulatedPc> pc;
    try {
        pc = SimulatedPc::Load(hwsim::Bench::DefaultPath());
    } catch (const hwsim::BenchError& error) {
        fprintf(stderr, "pelvatro: %s\n", error.what());
        platform::StopDisplay();
        return 2;
    }
    RegisterFilterClasses();
    int code = AfxWinMain();
    platform::StopDisplay();
    return code;
}
