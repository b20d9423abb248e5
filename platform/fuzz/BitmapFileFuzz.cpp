// Fuzz target: the bitmap-file reader (the 40-byte header and the V4 and V5 ones, colour tables
// and bit-field masks inside or after the header) over arbitrary bytes. A file it accepts gives a
// 40-byte header, then exactly the table or the three masks the file holds, then every row.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gdi/DibFile.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

volatile unsigned g_sink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using platform::gdi::PackedDib;
    PackedDib dib;
    if (!platform::gdi::ReadBitmapFile(data, size, &dib)) return 0;
    Check(dib.info.size() >= sizeof(BITMAPINFOHEADER));
    const BITMAPINFOHEADER& h = dib.Info()->bmiHeader;
    BITMAPINFOHEADER file;
    std::memcpy(&file, data + sizeof(BITMAPFILEHEADER), sizeof file);
    Check(h.biSize == sizeof(BITMAPINFOHEADER) && h.biWidth == file.biWidth && h.biHeight == file.biHeight);
    Check(h.biBitCount == file.biBitCount && h.biCompression == file.biCompression);
    const size_t after = dib.info.size() - sizeof(BITMAPINFOHEADER);
    if (h.biBitCount > 8 && h.biCompression == BI_BITFIELDS) {
        // The masks where the file keeps them: inside a header of 52 bytes and more, else after it.
        Check(after == 12);
        const size_t at = sizeof(BITMAPFILEHEADER) + (file.biSize >= 52 ? sizeof(BITMAPINFOHEADER) : file.biSize);
        Check(at + 12 <= size && std::memcmp(dib.info.data() + sizeof(BITMAPINFOHEADER), data + at, 12) == 0);
    } else if (h.biBitCount > 8) {
        Check(after == 0);
    } else {
        Check(after % 4 == 0 && after <= 4 * 256);
    }
    const size_t height = size_t(h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight);
    Check(dib.bits.size() == ((size_t(h.biWidth) * h.biBitCount + 31) / 32) * 4 * height);
    unsigned sum = 0;
    for (uint8_t b : dib.info) sum += b;
    for (uint8_t b : dib.bits) sum += b;
    g_sink = sum;
    return 0;
}
