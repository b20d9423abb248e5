// Device-independent bitmaps: DIB sections, and conversion between a DIB's format and a bitmap.
#include <cstring>

#include "gdi/Raster.h"

namespace platform::gdi {
namespace {

constexpr DWORD kMask565[3] = {0xF800, 0x07E0, 0x001F};
constexpr DWORD kMask555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr DWORD kMask888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

// The three masks: inside the V4 and V5 headers (52 bytes and more), after a 40-byte one.
const DWORD* Masks(const BITMAPINFO* info) {
    const DWORD size = info->bmiHeader.biSize >= sizeof(BITMAPINFOHEADER) + 12 ? DWORD(sizeof(BITMAPINFOHEADER))
                                                                                : info->bmiHeader.biSize;
    return reinterpret_cast<const DWORD*>(reinterpret_cast<const uint8_t*>(info) + size);
}

// The format a BITMAPINFO describes, checked; null when it is not one this GDI reads.
struct DibFormat {
    int width, height, bpp;
    bool bottomUp, rgb555;
    std::vector<uint32_t> colors;
};

bool ReadFormat(const BITMAPINFO* info, UINT usage, DibFormat* f) {
    if (!info) return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1) return false;
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
    int64_t height = h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight;
    if (int64_t(h.biWidth) * height > (int64_t(1) << 28)) return false;
    f->width = h.biWidth;
    f->height = int(height);
    f->bpp = bpp;
    f->bottomUp = h.biHeight > 0;
    f->rgb555 = false;
    f->colors.clear();
    if (h.biCompression == BI_BITFIELDS) {
        const DWORD* m = Masks(info);
        if (bpp == 16 && std::memcmp(m, kMask565, 12) == 0) f->rgb555 = false;
        else if (bpp == 16 && std::memcmp(m, kMask555, 12) == 0) f->rgb555 = true;
        else if (!(bpp == 32 && std::memcmp(m, kMask888, 12) == 0)) return false;
    } else if (h.biCompression == BI_RGB) {
        f->rgb555 = bpp == 16;
    } else {
        return false;
    }
    if (bpp <= 8) {
        size_t n = h.biClrUsed ? std::min<size_t>(h.biClrUsed, size_t(1) << bpp) : size_t(1) << bpp;
        const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(info) + h.biSize);
        for (size_t i = 0; i < n; ++i)
            f->colors.push_back(usage == DIB_PAL_COLORS ? 0 : (uint32_t(table[i].rgbRed) << 16) |
                                                                  (uint32_t(table[i].rgbGreen) << 8) | table[i].rgbBlue);
    }
    return true;
}

std::unique_ptr<Bitmap> MakeDib(const DibFormat& f, bool dib) {
    auto b = MakeBitmap(f.width, f.height, f.bpp, dib, f.bottomUp);
    if (!b) return nullptr;
    b->rgb555 = f.rgb555;
    if (!f.colors.empty()) b->colors = f.colors;
    return b;
}

// A caller's DIB bits read in place, as a bitmap.
Bitmap ViewDib(const DibFormat& f, const void* bits) {
    Bitmap b;
    b.width = f.width;
    b.height = f.height;
    b.bpp = f.bpp;
    b.dib = true;
    b.bottomUp = f.bottomUp;
    b.rgb555 = f.rgb555;
    b.stride = ((f.width * f.bpp + 31) / 32) * 4;
    b.external = const_cast<uint8_t*>(static_cast<const uint8_t*>(bits));
    if (!f.colors.empty()) b.colors = f.colors;
    else if (f.bpp <= 8) b.colors = MakeBitmap(1, 1, f.bpp, false, false)->colors;
    return b;
}

// The image row of DIB scan line i (stored order).
int ImageRow(int scan, int height, bool bottomUp) { return bottomUp ? height - 1 - scan : scan; }

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset) {
    if (bits) *bits = nullptr;
    DibFormat f;
    if (section || !ReadFormat(info, usage, &f)) return nullptr;
    Guard g(Lock());
    auto b = MakeDib(f, true);
    if (!b) return nullptr;
    if (bits) *bits = b->store.data();
    return static_cast<HBITMAP>(Insert(std::move(b), OBJ_BITMAP));
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
    if (!header || header->biWidth < 0) return nullptr;
    int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    HBITMAP b = CreateBitmap(header->biWidth, height, 1, 32, nullptr);
    if (b && (init & CBM_INIT) && bits && SetDIBits(dc, b, 0, UINT(height), bits, info, usage) == 0) {
        DeleteObject(b);
        return nullptr;
    }
    return b;
}

int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage) {
    Guard g(Lock());
    Bitmap* b = Get<Bitmap>(bitmap);
    if (!Get<DC>(dc) || !b || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    DWORD* masks = reinterpret_cast<DWORD*>(reinterpret_cast<uint8_t*>(info) + h.biSize);
    if (!bits && h.biBitCount == 0) {
        // The bitmap's own format: the header, and the three masks of 16 bits; no colour table.
        h.biWidth = b->width;
        h.biHeight = b->height;
        h.biPlanes = 1;
        h.biBitCount = WORD(b->bpp);
        h.biCompression = b->bpp == 16 ? BI_BITFIELDS : BI_RGB;
        h.biSizeImage = DWORD(((b->width * b->bpp + 31) / 32) * 4 * b->height);
        h.biClrUsed = 0;
        h.biClrImportant = 0;
        if (b->bpp == 16) std::memcpy(masks, b->rgb555 ? kMask555 : kMask565, 12);
        return b->height ? b->height : 1;
    }
    // The format asked: its depth and orientation, the bitmap's width.
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
    if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32))) return 0;
    bool bottomUp = h.biHeight >= 0;
    auto out = MakeBitmap(b->width, b->height, bpp, true, bottomUp);
    if (!out) return 0;
    out->rgb555 = bpp == 16 && h.biCompression == BI_RGB;
    if (bpp <= 8 && b->bpp == bpp) out->colors = b->colors;
    h.biWidth = b->width;
    h.biHeight = bottomUp ? b->height : -b->height;
    h.biPlanes = 1;
    h.biSizeImage = DWORD(out->stride * out->height);
    h.biClrUsed = 0;
    if (bpp <= 8) {
        auto* table = reinterpret_cast<RGBQUAD*>(masks);
        for (size_t i = 0; i < out->colors.size(); ++i) {
            uint32_t c = out->colors[i];
            table[i] = RGBQUAD{BYTE(c), BYTE(c >> 8), BYTE(c >> 16), 0};
        }
    } else if (h.biCompression == BI_BITFIELDS) {
        std::memcpy(masks, bpp == 16 ? kMask565 : kMask888, 12);
    }
    if (!bits) return b->height ? b->height : 1;
    std::vector<uint32_t> row(size_t(b->width));
    int copied = 0;
    for (UINT scan = start; scan < start + lines && int(scan) < b->height; ++scan, ++copied) {
        int y = ImageRow(int(scan), b->height, bottomUp);
        b->ReadSpan(y, 0, b->width, row.data());
        out->WriteSpan(y, 0, b->width, row.data());
        std::memcpy(static_cast<uint8_t*>(bits) + size_t(scan - start) * size_t(out->stride), out->Row(y),
                    size_t(out->stride));
    }
    return copied;
}

int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
    DibFormat f;
    if (!bits || !ReadFormat(info, usage, &f)) return 0;
    Guard g(Lock());
    Bitmap* b = Get<Bitmap>(bitmap);
    if (!b) return 0;
    auto view = ViewDib(f, bits);
    // The caller's buffer holds `lines` scan lines from `start`.
    std::vector<uint32_t> row(size_t(f.width));
    int n = std::min(f.width, b->width), copied = 0;
    for (UINT i = 0; i < lines && int(start + i) < f.height; ++i, ++copied) {
        const uint8_t* src = static_cast<const uint8_t*>(bits) + size_t(i) * size_t(view.stride);
        Bitmap line = view;
        line.external = const_cast<uint8_t*>(src);
        line.height = 1;
        line.bottomUp = false;
        line.ReadSpan(0, 0, f.width, row.data());
        int y = ImageRow(int(start + i), f.height, f.bottomUp);
        if (y < b->height) b->WriteSpan(y, 0, n, row.data());
    }
    return copied;
}

int StretchDIBits(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    DibFormat f;
    if (!bits || !ReadFormat(info, usage, &f)) return 0;
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return 0;
    auto view = ViewDib(f, bits);
    BlitSource source;
    source.bitmap = &view;
    source.x = srcX;
    // A bottom-up image counts the source rectangle from its bottom row.
    source.y = f.bottomUp ? f.height - srcY - srcHeight : srcY;
    source.width = srcWidth;
    source.height = srcHeight;
    return Blit(*d, x, y, width, height, &source, rop) ? std::abs(srcHeight) : 0;
}

int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int srcX, int srcY, UINT start, UINT lines,
                      const void* bits, const BITMAPINFO* info, UINT usage) {
    if (start != 0) return 0;
    return StretchDIBits(dc, x, y, int(width), int(height), srcX, srcY, int(width), int(height), bits, info, usage,
                         SRCCOPY) ? int(lines) : 0;
}
