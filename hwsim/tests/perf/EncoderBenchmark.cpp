// The MPEG encoder chip's cost: CPU seconds for one second of 720x576 video at 25 pictures a
// second with its 48 kHz stereo sound, coded into the program stream. Under 1 the simulated
// encoder keeps up with real time.
#include <benchmark/benchmark.h>

#include <vector>

#include "hwsim/boards/CardSignal.h"
#include "hwsim/chips/Mpeg2Encoder.h"

namespace {

void EncoderSecondOf720x576(benchmark::State& state) {
    constexpr int kWidth = 720, kHeight = 576, kRate = 25;
    hwsim::CardSignal station;
    station.kind = hwsim::CardSignal::Kind::Station;
    station.toneHz = hwsim::CardSignal::StationToneHz(0);
    std::vector<std::vector<BYTE>> pictures;
    std::vector<BYTE> yuy2(size_t(kWidth) * kHeight * 2);
    for (int frame = 0; frame < kRate; ++frame) {
        station.DrawYuy2(ULONGLONG(frame), kWidth, kHeight, yuy2.data());
        std::vector<BYTE> uyvy(yuy2.size());
        for (size_t i = 0; i < yuy2.size(); i += 2) {
            uyvy[i] = yuy2[i + 1];
            uyvy[i + 1] = yuy2[i];
        }
        pictures.push_back(std::move(uyvy));
    }
    std::vector<int16_t> sound(size_t(hwsim::CardSignal::kSampleRate) * 2);
    station.FillPcm(0, hwsim::CardSignal::kSampleRate, sound.data());

    hwsim::Mpeg2Encoder encoder;
    hwsim::Mpeg2Encoder::Settings settings;
    encoder.Open(settings);
    size_t bytes = 0;
    for (auto _ : state) {
        for (int frame = 0; frame < kRate; ++frame) {
            encoder.EncodeVideo(pictures[size_t(frame)].data(), pictures[size_t(frame)].size());
            encoder.EncodeAudio(sound.data() + size_t(frame) * 1920 * 2, 1920);
        }
        bytes += encoder.TakeOutput().size();
    }
    encoder.Flush();
    state.counters["stream_bytes_per_s"] = benchmark::Counter(double(bytes) / double(state.iterations()));
}
BENCHMARK(EncoderSecondOf720x576)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
