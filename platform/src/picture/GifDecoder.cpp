// GIF files through giflib: the first image over the logical screen. Screen pixels outside that
// image, and its pixels of the transparent index, let the background show.
#include <algorithm>
#include <cstring>
#include <memory>

#include <gif_lib.h>

#include "picture/PictureDecoder.h"

namespace platform::picture {
namespace {

struct Source {
    const uint8_t* data;
    size_t size;
    size_t position;
};

int ReadSource(GifFileType* gif, GifByteType* buffer, int wanted) {
    auto* s = static_cast<Source*>(gif->UserData);
    const size_t n = std::min(size_t(wanted < 0 ? 0 : wanted), s->size - s->position);
    std::memcpy(buffer, s->data + s->position, n);
    s->position += n;
    return int(n);
}

struct Closer {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// The transparent index a graphic control block names, -1 for none; false when unreadable.
bool ReadExtension(GifFileType* gif, int* transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) *transparent = (block[1] & 1) ? block[4] : -1;
    while (block)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    return true;
}

// The first image's rows (interlaced ones in their four passes), painted onto the screen.
bool ReadImage(GifFileType* gif, int transparent, DecodedPicture* out) {
    if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
    const GifImageDesc& d = gif->Image;
    const ColorMapObject* colours = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!colours || !SizeAllowed(d.Width, d.Height)) return false;
    std::vector<GifPixelType> line(size_t(d.Width));
    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = d.Interlace ? kStart[pass] : 0, step = d.Interlace ? kStep[pass] : 1;
        for (int row = start; row < d.Height; row += step) {
            if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR) return false;
            const int y = d.Top + row;
            if (y >= out->height) continue;
            uint32_t* pixels = Row32(out->image, out->width, y);
            for (int i = 0; i < d.Width && d.Left + i < out->width; ++i) {
                const int x = d.Left + i, index = line[size_t(i)];
                if (index == transparent) continue;
                // An index past the colour map stands for black.
                const GifColorType c = index < colours->ColorCount ? colours->Colors[index] : GifColorType{0, 0, 0};
                pixels[x] = (uint32_t(c.Red) << 16) | (uint32_t(c.Green) << 8) | c.Blue;
                SetMaskBit(out->mask, out->width, x, y, false);
            }
        }
    }
    return true;
}

}  // namespace

bool DecodeGif(const uint8_t* data, size_t size, DecodedPicture* out) {
    Source source{data, size, 0};
    int error = 0;
    std::unique_ptr<GifFileType, Closer> gif(DGifOpen(&source, ReadSource, &error));
    if (!gif || !SizeAllowed(gif->SWidth, gif->SHeight)) return false;
    out->kind = PictureKind::Bitmap;
    out->width = gif->SWidth;
    out->height = gif->SHeight;
    out->image = MakeDib32(out->width, out->height);
    // Everything starts transparent; the image's pixels make it opaque.
    out->mask = MakeMask(out->width, out->height);
    std::fill(out->mask.bits.begin(), out->mask.bits.end(), uint8_t(0xFF));
    int transparent = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return false;
        if (type == EXTENSION_RECORD_TYPE) {
            if (!ReadExtension(gif.get(), &transparent)) return false;
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            if (!ReadImage(gif.get(), transparent, out)) return false;
            break;
        } else {
            return false;  // the end before any image
        }
    }
    // A picture the image covers wholly, without a transparent pixel, needs no mask.
    bool opaque = true;
    for (int y = 0; y < out->height && opaque; ++y)
        for (int x = 0; x < out->width && opaque; ++x) opaque = !MaskBit(out->mask, out->width, x, y);
    if (opaque) out->mask = {};
    return true;
}

}  // namespace platform::picture
