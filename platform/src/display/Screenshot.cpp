// Screenshots for tests: a window's client area as drawn in its top-level surface, and PNG files.
#include <png.h>

#include <cstdio>
#include <cstring>

#include "WindowTable.h"
#include "platform/display.h"
#include "platform/windowcore.h"
#include "platform/testoperator.h"

namespace platform {

bool Screenshot::SavePng(const std::string& path) const {
    if (width <= 0 || height <= 0) return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    std::vector<png_byte> row(size_t(width) * 3);
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint32_t p = At(x, y);
                row[size_t(x) * 3] = png_byte(p >> 16);
                row[size_t(x) * 3 + 1] = png_byte(p >> 8);
                row[size_t(x) * 3 + 2] = png_byte(p);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return std::fclose(file) == 0 && ok;
}

Screenshot TestOperator::TakeScreenshot(HWND window) const {
    Screenshot shot;
    if (!window) window = ActiveWindow();
    if (!window) return shot;
    win::PaintGeometry g;
    if (!win::GetPaintGeometry(window, &g)) return shot;
    // The paint pass first: every window of the tree that needs it, parents before children.
    std::vector<HWND> order{g.top};
    for (size_t i = 0; i < order.size(); ++i) {
        for (HWND child : GetChildWindowList(order[i])) order.push_back(child);
    }
    for (HWND w : order) ::UpdateWindow(w);
    if (!win::GetPaintGeometry(window, &g)) return shot;
    RECT client;
    ::GetClientRect(window, &client);
    ViewSurface(g.top, [&](const SurfaceView& view) {
        shot.width = client.right;
        shot.height = client.bottom;
        shot.pixels.assign(size_t(shot.width) * size_t(shot.height), 0);
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x) {
                int sx = g.origin.x + x, sy = g.origin.y + y;
                if (sx < 0 || sy < 0 || sx >= view.width || sy >= view.height) continue;
                uint32_t p;
                std::memcpy(&p, view.pixels + size_t(sy) * size_t(view.stride) + size_t(sx) * 4, 4);
                shot.pixels[size_t(y) * size_t(shot.width) + size_t(x)] = p & 0xFFFFFF;
            }
    });
    return shot;
}

}  // namespace platform
