// Loading a settings file of one section whose entries fill about 10 MB (420,000 entries of 25 bytes), and
// tenths of it: the time grows with the entries, ten times the entries about ten times the time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "SkinIniFile.h"

namespace {

std::string WriteSettings(int entries) {
    const std::string path = "/tmp/settings-load-bench-" + std::to_string(entries) + ".txt";
    std::ofstream out(path, std::ios::binary);
    out << "[Remote]\r\n";
    char line[64];
    for (int i = 0; i < entries; ++i) {
        std::snprintf(line, sizeof(line), "Key%06d=Value%06d;x\r\n", i, i);
        out << line;
    }
    return path;
}

void LoadOneSection(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const std::string path = WriteSettings(entries);
    // A load and then a read of the last key, as the station reads its settings.
    char key[16];
    std::snprintf(key, sizeof(key), "Key%06d", entries - 1);
    for (auto _ : state) {
        CSkinIniFile ini(path.c_str());
        CString last;
        if (!ini.Load() || ini.GetKeyCount("Remote") != entries || !ini.GetValue("Remote", key, last)) {
            state.SkipWithError("the file did not load whole");
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * entries);
    std::remove(path.c_str());
}
BENCHMARK(LoadOneSection)->Arg(4200)->Arg(42000)->Arg(420000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
