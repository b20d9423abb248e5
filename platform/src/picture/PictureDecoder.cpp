// Picture files read from bytes: the format told by its first bytes, bitmap files through the
// GDI's reader, and the DIBs every decoder fills.
#include "picture/PictureDecoder.h"

#include <cstring>

namespace platform::picture {
namespace {

std::vector<uint8_t> Header(int width, int height, WORD bpp, size_t tableBytes) {
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + tableBytes, 0);
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = -height;  // top-down
    h->biPlanes = 1;
    h->biBitCount = bpp;
    h->biCompression = BI_RGB;
    return info;
}

size_t MaskStride(int width) { return ((size_t(width) + 31) / 32) * 4; }

bool StartsWith(const uint8_t* data, size_t size, const char* magic, size_t n) {
    return size >= n && std::memcmp(data, magic, n) == 0;
}

}  // namespace

bool SizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

gdi::PackedDib MakeDib32(int width, int height) {
    gdi::PackedDib dib;
    dib.info = Header(width, height, 32, 0);
    dib.bits.assign(size_t(width) * size_t(height) * 4, 0);
    return dib;
}

gdi::PackedDib MakeMask(int width, int height) {
    gdi::PackedDib dib;
    dib.info = Header(width, height, 1, 8);
    auto* table = reinterpret_cast<RGBQUAD*>(dib.info.data() + sizeof(BITMAPINFOHEADER));
    table[1] = RGBQUAD{0xFF, 0xFF, 0xFF, 0};
    dib.bits.assign(MaskStride(width) * size_t(height), 0);
    return dib;
}

void SetMaskBit(gdi::PackedDib& mask, int width, int x, int y, bool transparent) {
    uint8_t& byte = mask.bits[size_t(y) * MaskStride(width) + size_t(x) / 8];
    const uint8_t bit = uint8_t(0x80 >> (x % 8));
    byte = transparent ? uint8_t(byte | bit) : uint8_t(byte & ~bit);
}

bool MaskBit(const gdi::PackedDib& mask, int width, int x, int y) {
    return mask.bits[size_t(y) * MaskStride(width) + size_t(x) / 8] & (0x80 >> (x % 8));
}

bool DecodeBitmapFile(const uint8_t* data, size_t size, DecodedPicture* out) {
    if (!gdi::ReadBitmapFile(data, size, &out->image)) return false;
    const BITMAPINFOHEADER& h = out->image.Info()->bmiHeader;
    if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return false;
    out->kind = PictureKind::Bitmap;
    out->width = h.biWidth;
    out->height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    out->mask = {};
    return SizeAllowed(out->width, out->height);
}

bool DecodePicture(const uint8_t* data, size_t size, DecodedPicture* out) {
    if (!data || !out) return false;
    if (StartsWith(data, size, "BM", 2)) return DecodeBitmapFile(data, size, out);
    if (StartsWith(data, size, "\0\0\1\0", 4)) return DecodeIcon(data, size, out);
    if (StartsWith(data, size, "\xFF\xD8\xFF", 3)) return DecodeJpeg(data, size, out);
    if (StartsWith(data, size, "GIF87a", 6) || StartsWith(data, size, "GIF89a", 6)) return DecodeGif(data, size, out);
    // Metafiles (placeable or enhanced) and everything else.
    return false;
}

}  // namespace platform::picture
