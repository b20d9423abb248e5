// Bitmap files and packed DIBs read from bytes: the headers checked against what follows them,
// and the DIB copied out as a header of 40 bytes with its colour table or masks, then its rows.
// Needs nothing of the rest of the GDI, so the picture loader's fuzz target builds it alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/dibheaders.h"

namespace platform::gdi {

struct PackedDib {
    std::vector<uint8_t> info;  // BITMAPINFOHEADER (biSize 40), then the colour table or the three masks
    std::vector<uint8_t> bits;  // every row, each padded to 4 bytes
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};

// A packed DIB (header, table or masks, rows). False when the bytes cannot hold what the header
// describes, or the sizes are out of range (at most 32768 pixels a side).
bool ReadPackedDib(const uint8_t* data, size_t size, PackedDib* out);
// A bitmap file ("BM", file header, then a packed DIB, the rows where the file header says).
bool ReadBitmapFile(const uint8_t* data, size_t size, PackedDib* out);

// The DIB as a bitmap: a DIB section of its own depth, or a 32-bit device bitmap. Null when the
// GDI refuses its format. (Lives with the GDI's resources, not in the stand-alone reader.)
HBITMAP BitmapFromDib(const PackedDib& dib, bool dibSection);

}  // namespace platform::gdi
