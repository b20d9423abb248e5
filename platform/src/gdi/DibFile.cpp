// Bitmap files and packed DIBs read from bytes.
#include "gdi/DibFile.h"

#include <algorithm>
#include <cstring>

namespace platform::gdi {
namespace {

constexpr size_t kMasksBytes = 12;

// The three masks of BI_BITFIELDS sit inside headers of 52 bytes and more (the V4 and V5 ones),
// after the 40-byte header otherwise.
bool MasksInHeader(const BITMAPINFOHEADER& h) {
    return h.biBitCount > 8 && h.biCompression == BI_BITFIELDS && h.biSize >= sizeof(BITMAPINFOHEADER) + kMasksBytes;
}

// Bytes after the header: the colour table (up to 256 entries, 8 bits and fewer) or the three
// masks.
size_t TableBytes(const BITMAPINFOHEADER& h) {
    if (h.biBitCount <= 8)
        return 4 * (h.biClrUsed ? std::min<size_t>(h.biClrUsed, 256) : size_t(1) << std::min<WORD>(h.biBitCount, 8));
    return h.biCompression == BI_BITFIELDS && !MasksInHeader(h) ? kMasksBytes : 0;
}

}  // namespace

bool ReadPackedDib(const uint8_t* data, size_t size, PackedDib* out) {
    if (!data || size < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER h;
    std::memcpy(&h, data, sizeof h);
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > size || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biWidth > 32768 || h.biHeight > 32768 || h.biHeight < -32768)
        return false;
    const size_t tableBytes = TableBytes(h);
    const size_t height = size_t(h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight);
    const size_t stride = ((size_t(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    const size_t bitsOffset = h.biSize + tableBytes;
    if (bitsOffset > size || stride * height > size - bitsOffset) return false;
    out->info.assign(data, data + sizeof(BITMAPINFOHEADER));
    if (MasksInHeader(h))
        out->info.insert(out->info.end(), data + sizeof(BITMAPINFOHEADER), data + sizeof(BITMAPINFOHEADER) + kMasksBytes);
    out->info.insert(out->info.end(), data + h.biSize, data + bitsOffset);
    reinterpret_cast<BITMAPINFOHEADER*>(out->info.data())->biSize = sizeof(BITMAPINFOHEADER);
    out->bits.assign(data + bitsOffset, data + bitsOffset + stride * height);
    return true;
}

bool ReadBitmapFile(const uint8_t* data, size_t size, PackedDib* out) {
    if (!data || size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return false;
    BITMAPFILEHEADER f;
    std::memcpy(&f, data, sizeof f);
    if (f.bfType != 0x4D42) return false;
    BITMAPINFOHEADER h;
    std::memcpy(&h, data + sizeof f, sizeof h);
    // The rows start where the file header says: after the header and table, maybe past a gap.
    const uint64_t tableEnd = uint64_t(sizeof f) + h.biSize + TableBytes(h);
    if (h.biSize < sizeof h || tableEnd > f.bfOffBits || f.bfOffBits > size) return false;
    std::vector<uint8_t> packed(data + sizeof f, data + tableEnd);
    packed.insert(packed.end(), data + f.bfOffBits, data + size);
    return ReadPackedDib(packed.data(), packed.size(), out);
}

}  // namespace platform::gdi
