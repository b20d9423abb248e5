// Fuzz target: the picture decoders (bitmap file, icon, JPEG, GIF) over arbitrary bytes. A
// picture they accept must be whole: its size within the limits, every row of its DIB and of its
// mask present, so the GDI never reads past them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "picture/PictureDecoder.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

volatile unsigned g_sink;

size_t Stride(int width, int bpp) { return ((size_t(width) * size_t(bpp) + 31) / 32) * 4; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace platform::picture;
    DecodedPicture picture;
    if (!DecodePicture(data, size, &picture)) return 0;
    Check(SizeAllowed(picture.width, picture.height));
    const BITMAPINFOHEADER& h = picture.image.Info()->bmiHeader;
    Check(h.biSize == sizeof(BITMAPINFOHEADER) && h.biWidth == picture.width);
    Check((h.biHeight < 0 ? -h.biHeight : h.biHeight) == picture.height);
    Check(picture.image.bits.size() >= Stride(picture.width, h.biBitCount) * size_t(picture.height));
    if (!picture.mask.bits.empty()) {
        const BITMAPINFOHEADER& m = picture.mask.Info()->bmiHeader;
        Check(m.biWidth == picture.width && m.biBitCount == 1);
        Check(picture.mask.bits.size() == Stride(picture.width, 1) * size_t(picture.height));
    }
    // Every byte is read once, so the sanitizer sees any that is not the picture's own.
    unsigned sum = 0;
    for (uint8_t b : picture.image.bits) sum += b;
    for (uint8_t b : picture.mask.bits) sum += b;
    g_sink = sum;
    return 0;
}
