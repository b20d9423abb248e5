// The fast region builder on a 1024 x 768 24-bit skin with many runs: stripes of the key colour
// every 7 pixels, so every row holds about 150 runs.
#include <benchmark/benchmark.h>

#include <cstring>

#include "SkinBitmap.h"

namespace {

void CreateRegion1024x768(benchmark::State& state) {
    const int w = 1024, h = 768, stride = w * 3;
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* p = nullptr;
    CSkinBitmap skin;
    skin.Attach(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0));
    auto* bits = static_cast<unsigned char*>(p);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* px = bits + size_t(y) * stride + size_t(x) * 3;
            const bool key = (x + y) % 7 == 0;
            px[0] = key ? 0xFF : 0x20;
            px[1] = key ? 0x00 : 0x40;
            px[2] = key ? 0xFF : BYTE(x);
        }
    for (auto _ : state) {
        HRGN region = skin.CreateRegion(RGB(255, 0, 255));
        benchmark::DoNotOptimize(region);
        DeleteObject(region);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * w * h);
}
BENCHMARK(CreateRegion1024x768)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
