// Bitmaps: storage in the bitmap's own format, read and written as 32-bit pixel values.
#include <algorithm>
#include <new>
#include <cstring>

#include "gdi/GdiObjects.h"

namespace platform::gdi {

namespace {

std::vector<uint32_t> DefaultColors(int bpp) {
    std::vector<uint32_t> c;
    if (bpp == 1) return {0x000000, 0xFFFFFF};
    if (bpp == 4) {
        static const uint32_t vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                         0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                         0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        return std::vector<uint32_t>(vga, vga + 16);
    }
    if (bpp == 8) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = (i >> 5) * 255 / 7, g = ((i >> 2) & 7) * 255 / 7, b = (i & 3) * 255 / 3;
            c.push_back((r << 16) | (g << 8) | b);
        }
    }
    return c;
}

uint32_t Expand565(uint16_t v) {
    uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
    return (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
}

uint32_t Expand555(uint16_t v) {
    uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
    return (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
}

uint16_t Pack555(uint32_t p) {
    return uint16_t((((p >> 16) & 0xFF) >> 3) << 10 | (((p >> 8) & 0xFF) >> 3) << 5 | ((p & 0xFF) >> 3));
}

uint16_t Pack565(uint32_t p) {
    return uint16_t((((p >> 16) & 0xFF) >> 3) << 11 | (((p >> 8) & 0xFF) >> 2) << 5 | ((p & 0xFF) >> 3));
}

}  // namespace

std::unique_ptr<Bitmap> MakeBitmap(int width, int height, int bpp, bool dib, bool bottomUp) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const uint64_t stride = ((uint64_t(width) * uint64_t(bpp) + 31) / 32) * 4;
    if (stride * uint64_t(height) > kMaxBitmapStore) return nullptr;
    try {
        auto b = std::make_unique<Bitmap>();
        b->width = width;
        b->height = height;
        b->bpp = bpp;
        b->dib = dib;
        b->bottomUp = bottomUp;
        b->stride = int(stride);
        b->store.assign(size_t(stride) * size_t(height), 0);
        b->colors = DefaultColors(bpp);
        return b;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

uint32_t Bitmap::Nearest(uint32_t p) const {
    p &= 0xFFFFFF;
    if (Mono()) {
        int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        return (r * 30 + g * 59 + b * 11) >= 12800 ? 1 : 0;
    }
    uint32_t best = 0;
    int bestDistance = INT32_MAX;
    for (uint32_t i = 0; i < colors.size(); ++i) {
        uint32_t c = colors[i] & 0xFFFFFF;
        int dr = int((c >> 16) & 0xFF) - int((p >> 16) & 0xFF), dg = int((c >> 8) & 0xFF) - int((p >> 8) & 0xFF),
            db = int(c & 0xFF) - int(p & 0xFF);
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0) break;
        }
    }
    return best;
}

void Bitmap::ReadSpan(int y, int x, int n, uint32_t* out) const {
    const uint8_t* row = Row(y);
    switch (bpp) {
    case 32: std::memcpy(out, row + size_t(x) * 4, size_t(n) * 4); break;
    case 24:
        for (int i = 0; i < n; ++i) {
            const uint8_t* p = row + size_t(x + i) * 3;
            out[i] = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
        }
        break;
    case 16:
        for (int i = 0; i < n; ++i) {
            uint16_t v;
            std::memcpy(&v, row + size_t(x + i) * 2, 2);
            out[i] = rgb555 ? Expand555(v) : Expand565(v);
        }
        break;
    default:
        for (int i = 0; i < n; ++i) {
            int bit = (x + i) * bpp;
            uint32_t index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
            out[i] = index < colors.size() ? colors[index] : 0;
        }
        break;
    }
}

void Bitmap::WriteSpan(int y, int x, int n, const uint32_t* in) {
    uint8_t* row = Row(y);
    switch (bpp) {
    case 32: std::memcpy(row + size_t(x) * 4, in, size_t(n) * 4); break;
    case 24:
        for (int i = 0; i < n; ++i) {
            uint8_t* p = row + size_t(x + i) * 3;
            p[0] = uint8_t(in[i]);
            p[1] = uint8_t(in[i] >> 8);
            p[2] = uint8_t(in[i] >> 16);
        }
        break;
    case 16:
        for (int i = 0; i < n; ++i) {
            uint16_t v = rgb555 ? Pack555(in[i]) : Pack565(in[i]);
            std::memcpy(row + size_t(x + i) * 2, &v, 2);
        }
        break;
    default:
        for (int i = 0; i < n; ++i) {
            int bit = (x + i) * bpp;
            int shift = 8 - bpp - bit % 8;
            uint8_t mask = uint8_t(((1u << bpp) - 1) << shift);
            row[bit / 8] = uint8_t((row[bit / 8] & ~mask) | ((Nearest(in[i]) << shift) & mask));
        }
        break;
    }
}

void Bitmap::MarkChanged(const RECT& r) {
    if (!window || r.left >= r.right || r.top >= r.bottom) return;
    if (changed.size() >= 64) {
        RECT box = r;
        for (const RECT& c : changed)
            box = RECT{std::min(box.left, c.left), std::min(box.top, c.top), std::max(box.right, c.right),
                       std::max(box.bottom, c.bottom)};
        changed.assign(1, box);
        return;
    }
    changed.push_back(r);
}

}  // namespace platform::gdi

using namespace platform::gdi;

namespace {
bool ValidDepth(UINT bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }
}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (width < 0 || height < 0 || planes != 1 || !ValidDepth(bitsPerPixel) || width > 65536 || height > 65536)
        return nullptr;
    Guard g(Lock());
    auto b = MakeBitmap(width, height, int(bitsPerPixel), false, false);
    if (!b) return nullptr;
    if (bits) {
        // The caller's rows are counted in words.
        size_t rowBytes = size_t(((width * int(bitsPerPixel) + 15) / 16) * 2);
        for (int y = 0; y < height; ++y)
            std::memcpy(b->Row(y), static_cast<const uint8_t*>(bits) + rowBytes * size_t(y),
                        std::min(rowBytes, size_t(b->stride)));
    }
    return static_cast<HBITMAP>(Insert(std::move(b), OBJ_BITMAP));
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
    return bm ? CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits) : nullptr;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (width < 0 || height < 0 || width > 65536 || height > 65536) return nullptr;
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return nullptr;
    // A memory DC that holds a monochrome bitmap makes monochrome ones; every other makes 32-bit.
    Bitmap* target = d->Target();
    int bpp = (d->memory && target && target->Mono()) ? 1 : 32;
    auto b = MakeBitmap(width, height, bpp, false, false);
    return b ? static_cast<HBITMAP>(Insert(std::move(b), OBJ_BITMAP)) : nullptr;
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits) {
    Guard g(Lock());
    Bitmap* b = Get<Bitmap>(bitmap);
    if (!b || !bits || size <= 0) return 0;
    size_t rowBytes = size_t(((b->width * b->bpp + 15) / 16) * 2);
    LONG copied = 0;
    for (int y = 0; y < b->height && copied < size; ++y) {
        size_t n = std::min(rowBytes, size_t(size - copied));
        std::memcpy(static_cast<uint8_t*>(bits) + copied, b->Row(y), n);
        copied += LONG(n);
    }
    return copied;
}

BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size) {
    Guard g(Lock());
    if (!Get<Bitmap>(bitmap) || !size) return FALSE;
    *size = SIZE{0, 0};
    return TRUE;
}
