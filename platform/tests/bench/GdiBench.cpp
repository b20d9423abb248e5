// The software GDI's speed on a video frame's size: a 720 x 576 32-bit copy, the same frame
// stretched to half size (COLORONCOLOR), and one line of mixed Latin and Chinese text.
#include <benchmark/benchmark.h>

#include "platform/wingdi.h"

namespace {

struct Frame {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    Frame(int w, int h) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateBitmap(w, h, 1, 32, nullptr);
        old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, w, h, WHITENESS);
    }
    ~Frame() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
};

void BitBlt720x576(benchmark::State& state) {
    Frame src(720, 576), dst(720, 576);
    for (auto _ : state) BitBlt(dst.dc, 0, 0, 720, 576, src.dc, 0, 0, SRCCOPY);
    state.SetBytesProcessed(int64_t(state.iterations()) * 720 * 576 * 4);
}
BENCHMARK(BitBlt720x576)->Unit(benchmark::kMicrosecond);

void StretchBlt720x576ToHalf(benchmark::State& state) {
    Frame src(720, 576), dst(360, 288);
    SetStretchBltMode(dst.dc, COLORONCOLOR);
    for (auto _ : state) StretchBlt(dst.dc, 0, 0, 360, 288, src.dc, 0, 0, 720, 576, SRCCOPY);
}
BENCHMARK(StretchBlt720x576ToHalf)->Unit(benchmark::kMicrosecond);

void DrawTextMixedLine(benchmark::State& state) {
    Frame dst(400, 30);
    HGDIOBJ font = SelectObject(dst.dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dst.dc, TRANSPARENT);
    for (auto _ : state) {
        RECT r{0, 0, 400, 30};
        DrawTextA(dst.dc, "请稍候，正在烧写...... Card 0: 713x BDA Analog Capture", -1, &r,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dst.dc, font);
}
BENCHMARK(DrawTextMixedLine)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
