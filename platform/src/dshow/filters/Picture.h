// Uncompressed pictures as the video filters see them: the layout a video media type
// describes (RGB32, RGB24, RGB565, RGB555, YUY2, UYVY in a VIDEOINFOHEADER or VIDEOINFOHEADER2,
// and the Overlay Mixer's overlay type, whose header names the picture), and conversion
// between any two of them through 32-bit RGB rows (BT.601 for YUV; RowScaler reads them).
#pragma once

#include <cstddef>
#include <vector>

#include "platform/dshow/MediaType.h"

namespace platform::dshow {

enum class PixelFormat { Rgb32, Rgb24, Rgb565, Rgb555, Yuy2, Uyvy };

struct Picture {
    PixelFormat format = PixelFormat::Rgb32;
    LONG width = 0;
    LONG height = 0;      // rows, always positive
    bool bottomUp = true;  // RGB with a positive biHeight; YUV is always top-down
    size_t stride = 0;     // bytes per row, rounded up to 4
    size_t Size() const { return stride * size_t(height); }
};

// The picture `type` carries; false for any other type (not video, other subtypes, planar YUV,
// palettes, a missing or odd-sized format block).
bool PictureOf(const AM_MEDIA_TYPE& type, Picture* picture);
// A picture of `format` and that size; RGB ones bottom-up.
Picture MakePicture(PixelFormat format, LONG width, LONG height);
// Converts `in` (its bytes at `src`, at least in.Size()) into `out` (at `dst`), scaled to its
// size when the two differ (nearest neighbour, as a COLORONCOLOR stretch).
void ConvertPicture(const Picture& in, const BYTE* src, const Picture& out, BYTE* dst);
// The same with the work space given (kept by a caller that converts again and again).
class RowScaler;
void ConvertPicture(const Picture& in, const BYTE* src, const Picture& out, BYTE* dst, RowScaler* scaler,
                    std::vector<BYTE>* row);

}  // namespace platform::dshow
