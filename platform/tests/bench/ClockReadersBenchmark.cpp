// Writers on the virtual clock: each writer thread writes 256 bytes, reading the clock once per
// byte and pausing 5 ms after it. Test time must not depend on how many writers read the clock
// at once: 64 writers take the test time of one (1.28 s), in well under a second of real time.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <vector>

#include "platform/runtime.h"

namespace {

constexpr int kBytes = 256;
constexpr DWORD kPauseMs = 5;

DWORD WINAPI Writer(LPVOID) {
    BYTE image[kBytes];
    for (int i = 0; i < kBytes; ++i) {
        image[i] = BYTE(GetTickCount());
        benchmark::DoNotOptimize(image[i]);
        Sleep(kPauseMs);
    }
    return 0;
}

void WritersReadingTheClock(benchmark::State& state) {
    platform::UseVirtualClock(true);
    const int writers = int(state.range(0));
    ULONGLONG testTime = 0;
    for (auto _ : state) {
        const ULONGLONG start = platform::ClockNow();
        std::vector<HANDLE> threads;
        for (int i = 0; i < writers; ++i) threads.push_back(CreateThread(nullptr, 0, Writer, nullptr, 0, nullptr));
        WaitForMultipleObjects(DWORD(threads.size()), threads.data(), TRUE, INFINITE);
        testTime = platform::ClockNow() - start;
        for (HANDLE thread : threads) CloseHandle(thread);
    }
    state.counters["test_ms"] = double(testTime);
    platform::UseVirtualClock(false);
}

BENCHMARK(WritersReadingTheClock)->Arg(1)->Arg(64)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
