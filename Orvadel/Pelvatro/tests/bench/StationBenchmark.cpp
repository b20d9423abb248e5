// The station's wall time on the real clock: from pressing "确 定" to the status that every card
// is written, for one card and for eight cards on the headless display. The cards are written in
// parallel (one write thread each), so eight take hardly longer than one.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "PageDevice.h"
#include "Pelvatro.h"
#include "SimulatedPc.h"
#include "platform/display.h"
#include "platform/runtime.h"
#include "platform/testoperator.h"
#include "resource.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string KeshBench(int count) {
    std::string bench = R"({"cards": [)";
    for (int i = 0; i < count; ++i) {
        bench += std::string(i > 0 ? "," : "") + R"({"kind": "713x BDA Analog Capture", "tuner": 95, "eeprom": "blank"})";
    }
    return bench + "]}";
}

// Runs the station on `cards` blank cards; the seconds from OK to the completion status.
double SecondsToWrite(int cards) {
    std::filesystem::remove_all(platform::StateDir() + "/eeprom");
    std::unique_ptr<SimulatedPc> pc = SimulatedPc::FromText(KeshBench(cards));
    CPelvatroApp app;
    platform::TestOperator op;
    Clock::time_point pressed, written;
    op.Then([&] {
        pressed = Clock::now();
        op.Click(IDC_DEVICE_OK);
    });
    op.When([&] { return op.Text(IDC_DEVICE_CANCEL) == "关 闭"; },
            [&] {
                written = Clock::now();
                if (op.Text(IDC_STATUS) != "烧写完成，请重新启动电脑。") fprintf(stderr, "not every card was written\n");
                op.Click(IDC_DEVICE_CANCEL);
            });
    app.InitInstance();
    app.ExitInstance();
    // The close button's WM_QUIT, posted again for the loops around the main dialog's, is left
    // for the program's end; the next run starts without it.
    MSG quit;
    while (PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    return std::chrono::duration<double>(written - pressed).count();
}

void EightCardsAgainstOne(benchmark::State& state) {
    double one = 0, eight = 0;
    for (auto _ : state) {
        one = SecondsToWrite(1);
        eight = SecondsToWrite(8);
        state.SetIterationTime(one + eight);
    }
    state.counters["one_card_s"] = one;
    state.counters["eight_cards_s"] = eight;
    state.counters["eight_over_one"] = eight / one;
}
BENCHMARK(EightCardsAgainstOne)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    // A state directory and program folder of the run's own.
    std::string base = (std::filesystem::temp_directory_path() / "pelvatro-bench-XXXXXX").string();
    if (!mkdtemp(base.data())) return 2;
    std::filesystem::create_directories(base + "/state");
    std::filesystem::create_directories(base + "/home");
    setenv("PELVATRO_STATE_DIR", (base + "/state").c_str(), 1);
    setenv("PELVATRO_HOME", (base + "/home").c_str(), 1);
    platform::StartDisplay(platform::DisplayKind::Headless);
    RegisterFilterClasses();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::StopDisplay();
    std::error_code ec;
    std::filesystem::remove_all(base, ec);
    return 0;
}
