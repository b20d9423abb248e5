// Icon files: the directory, its largest image (the deepest among equals), and that image's
// colour rows and AND mask. Images stored as PNG are not read.
#include <cstring>

#include "picture/PictureDecoder.h"

namespace platform::picture {
namespace {

constexpr size_t kDirectoryBytes = 6;
constexpr size_t kEntryBytes = 16;

uint16_t Word(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Dword(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

// The 32-bit image's fourth bytes as transparency, unless every one is 0 (an image without it).
void ApplyAlpha(DecodedPicture* out) {
    const int w = out->width, h = out->height;
    uint8_t* bits = out->image.bits.data();
    const size_t stride = size_t(w) * 4;
    bool anyAlpha = false;
    for (size_t i = 3; i < out->image.bits.size() && !anyAlpha; i += 4) anyAlpha = bits[i] != 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = bits + size_t(y) * stride + size_t(x) * 4;
            if (anyAlpha && p[3] < 128) {
                std::memset(p, 0, 4);
                // Bottom-up rows: stored row y is image row h - 1 - y.
                SetMaskBit(out->mask, w, x, h - 1 - y, true);
            }
            p[3] = 0;
        }
}

}  // namespace

bool DecodeIcon(const uint8_t* data, size_t size, DecodedPicture* out) {
    if (size < kDirectoryBytes || Word(data) != 0 || Word(data + 2) != 1) return false;
    const size_t count = Word(data + 4);
    if (count == 0 || size < kDirectoryBytes + count * kEntryBytes) return false;
    // The entry with the most pixels, then the most bits per pixel (0 in the size means 256).
    const uint8_t* best = nullptr;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = data + kDirectoryBytes + i * kEntryBytes;
        auto area = [](const uint8_t* p) { return (p[0] ? p[0] : 256) * (p[1] ? p[1] : 256); };
        if (!best || area(e) > area(best) || (area(e) == area(best) && Word(e + 6) > Word(best + 6))) best = e;
    }
    const uint32_t length = Dword(best + 8), offset = Dword(best + 12);
    if (offset > size || length > size - offset || length < sizeof(BITMAPINFOHEADER)) return false;
    const uint8_t* image = data + offset;

    // The header counts the colour rows and the mask rows together.
    BITMAPINFOHEADER h;
    std::memcpy(&h, image, sizeof h);
    if (h.biSize < sizeof h || h.biSize > length || h.biHeight <= 0 || h.biHeight % 2 != 0) return false;
    if (h.biCompression != BI_RGB || (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8 &&
                                      h.biBitCount != 24 && h.biBitCount != 32))
        return false;
    h.biHeight /= 2;
    std::vector<uint8_t> colour(image, image + length);
    std::memcpy(colour.data(), &h, sizeof h);
    if (!gdi::ReadPackedDib(colour.data(), colour.size(), &out->image)) return false;
    const int w = h.biWidth, rows = h.biHeight;
    if (!SizeAllowed(w, rows)) return false;

    // The AND mask follows the colour rows; it is bottom-up as they are.
    const size_t maskStride = ((size_t(w) + 31) / 32) * 4;
    const size_t maskOffset = size_t(h.biSize) + (out->image.info.size() - sizeof h) + out->image.bits.size();
    if (maskOffset > length || maskStride * size_t(rows) > length - maskOffset) return false;
    out->kind = PictureKind::Icon;
    out->width = w;
    out->height = rows;
    out->mask = MakeMask(w, rows);
    for (int y = 0; y < rows; ++y)
        std::memcpy(out->mask.bits.data() + size_t(y) * maskStride, image + maskOffset + size_t(rows - 1 - y) * maskStride,
                    maskStride);
    if (h.biBitCount == 32) ApplyAlpha(out);
    return true;
}

}  // namespace platform::picture
