// Picture files read from bytes into DIBs: bitmap files, icons, JPEG and GIF. The picture object
// (com/Picture.cpp) turns the result into GDI bitmaps. Nothing here touches the GDI, so the fuzz
// target builds these files alone.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gdi/DibFile.h"

namespace platform::picture {

enum class PictureKind { Bitmap, Icon };

struct DecodedPicture {
    PictureKind kind = PictureKind::Bitmap;
    int width = 0, height = 0;  // pixels
    gdi::PackedDib image;
    // Where the picture lets the background show: a 1-bit DIB of the same size, white where
    // transparent (the image is black there). Empty for a picture without transparency.
    gdi::PackedDib mask;
};

// Every picture is at most this many pixels a side and this many pixels in all.
constexpr int kMaxSide = 16384;
constexpr int64_t kMaxPixels = int64_t(1) << 25;

// The format is told by the first bytes. False for anything not read whole (a truncated or
// malformed file, a format not read here such as a metafile); *out is then unspecified.
bool DecodePicture(const uint8_t* data, size_t size, DecodedPicture* out);

// The decoders behind it, one per format.
bool DecodeBitmapFile(const uint8_t* data, size_t size, DecodedPicture* out);
bool DecodeIcon(const uint8_t* data, size_t size, DecodedPicture* out);
bool DecodeJpeg(const uint8_t* data, size_t size, DecodedPicture* out);
bool DecodeGif(const uint8_t* data, size_t size, DecodedPicture* out);

// A top-down 32-bit DIB of the size (0x00RRGGBB pixels, zeroed), and a top-down 1-bit mask DIB
// (black and white table, all opaque). Their pixels: Row32, and the mask's bits (true: transparent).
gdi::PackedDib MakeDib32(int width, int height);
gdi::PackedDib MakeMask(int width, int height);
inline uint32_t* Row32(gdi::PackedDib& dib, int width, int y) {
    return reinterpret_cast<uint32_t*>(dib.bits.data()) + size_t(y) * size_t(width);
}
void SetMaskBit(gdi::PackedDib& mask, int width, int x, int y, bool transparent);
bool MaskBit(const gdi::PackedDib& mask, int width, int x, int y);
// True when width x height is within the limits above.
bool SizeAllowed(int64_t width, int64_t height);

}  // namespace platform::picture
