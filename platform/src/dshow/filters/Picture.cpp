// Pictures and their conversion.
#include "Picture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "RowScaler.h"
#include "dvdmedia.h"

namespace platform::dshow {

namespace {

struct FormatRow {
    const GUID* subtype;
    PixelFormat format;
    WORD bits;
};
const FormatRow kFormats[] = {
    {&MEDIASUBTYPE_RGB32, PixelFormat::Rgb32, 32},   {&MEDIASUBTYPE_RGB24, PixelFormat::Rgb24, 24},
    {&MEDIASUBTYPE_RGB565, PixelFormat::Rgb565, 16}, {&MEDIASUBTYPE_RGB555, PixelFormat::Rgb555, 16},
    {&MEDIASUBTYPE_YUY2, PixelFormat::Yuy2, 16},     {&MEDIASUBTYPE_UYVY, PixelFormat::Uyvy, 16},
};

WORD BitsOf(PixelFormat format) {
    for (const FormatRow& row : kFormats)
        if (row.format == format) return row.bits;
    return 0;
}

bool IsYuv(PixelFormat format) { return format == PixelFormat::Yuy2 || format == PixelFormat::Uyvy; }

const BITMAPINFOHEADER* HeaderOf(const AM_MEDIA_TYPE& type) {
    if (!type.pbFormat) return nullptr;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo) && type.cbFormat >= sizeof(VIDEOINFOHEADER))
        return &reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2) && type.cbFormat >= sizeof(VIDEOINFOHEADER2))
        return &reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat)->bmiHeader;
    return nullptr;
}

// The red, green and blue masks of a BI_BITFIELDS picture, after its header in the format
// block; null when the block ends before them.
const DWORD* MasksOf(const AM_MEDIA_TYPE& type, const BITMAPINFOHEADER& h) {
    const size_t at = size_t(reinterpret_cast<const BYTE*>(&h) - type.pbFormat) + sizeof(BITMAPINFOHEADER);
    return type.cbFormat >= at + 3 * sizeof(DWORD) ? reinterpret_cast<const DWORD*>(type.pbFormat + at) : nullptr;
}

// The overlay type names its picture only in its header (and the masks after it).
bool FormatFromHeader(const BITMAPINFOHEADER& h, const DWORD* masks, PixelFormat* format) {
    for (const FormatRow& row : kFormats) {
        if (row.subtype->Data1 == h.biCompression && h.biCompression > BI_BITFIELDS) {
            *format = row.format;
            return h.biBitCount == row.bits;
        }
    }
    if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return false;
    switch (h.biBitCount) {
    case 32: *format = PixelFormat::Rgb32; return true;
    case 24: *format = PixelFormat::Rgb24; return true;
    case 16:
        if (h.biCompression == BI_RGB) {
            *format = PixelFormat::Rgb555;
            return true;
        }
        if (!masks || (masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F)) {
            *format = PixelFormat::Rgb565;
            return true;
        }
        *format = PixelFormat::Rgb555;
        return masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F;
    default: return false;
    }
}

BYTE Clamp(int v) { return BYTE(std::clamp(v, 0, 255)); }

// Writers of one row of BGRX pixels.
void WriteRgb32(const BYTE* i, LONG n, BYTE* dst) { std::copy(i, i + 4 * size_t(n), dst); }

void WriteRgb24(const BYTE* i, LONG n, BYTE* dst) {
    for (LONG x = 0; x < n; ++x, i += 4, dst += 3) dst[0] = i[0], dst[1] = i[1], dst[2] = i[2];
}

template <int greenBits>
void WriteRgb16(const BYTE* i, LONG n, BYTE* dst) {
    for (LONG x = 0; x < n; ++x, i += 4, dst += 2) {
        unsigned p = (i[0] >> 3) | ((i[1] >> (8 - greenBits)) << 5) | ((i[2] >> 3) << (5 + greenBits));
        dst[0] = BYTE(p);
        dst[1] = BYTE(p >> 8);
    }
}

BYTE LumaOf(const BYTE* p) { return Clamp(((66 * p[2] + 129 * p[1] + 25 * p[0] + 128) >> 8) + 16); }

// Chroma from each pair's first pixel.
template <int y0, int u, int y1, int v>
void WriteYuv422(const BYTE* i, LONG n, BYTE* dst) {
    for (LONG x = 0; x < n; x += 2, i += 8, dst += 4) {
        const bool pair = x + 1 < n;
        const BYTE* next = pair ? i + 4 : i;
        BYTE quad[4];
        quad[y0] = LumaOf(i);
        quad[u] = Clamp(((-38 * i[2] - 74 * i[1] + 112 * i[0] + 128) >> 8) + 128);
        quad[y1] = LumaOf(next);
        quad[v] = Clamp(((112 * i[2] - 94 * i[1] - 18 * i[0] + 128) >> 8) + 128);
        std::copy(quad, quad + (pair ? 4 : 2), dst);
    }
}

using RowWriter = void (*)(const BYTE*, LONG, BYTE*);
RowWriter WriterOf(PixelFormat format) {
    switch (format) {
    case PixelFormat::Rgb32: return WriteRgb32;
    case PixelFormat::Rgb24: return WriteRgb24;
    case PixelFormat::Rgb565: return WriteRgb16<6>;
    case PixelFormat::Rgb555: return WriteRgb16<5>;
    case PixelFormat::Yuy2: return WriteYuv422<0, 1, 2, 3>;
    case PixelFormat::Uyvy: return WriteYuv422<1, 0, 3, 2>;
    }
    return WriteRgb32;
}

}  // namespace

Picture MakePicture(PixelFormat format, LONG width, LONG height) {
    Picture p;
    p.format = format;
    p.width = width;
    p.height = height;
    p.bottomUp = !IsYuv(format);
    p.stride = ((size_t(width) * BitsOf(format) + 31) / 32) * 4;
    return p;
}

bool PictureOf(const AM_MEDIA_TYPE& type, Picture* picture) {
    if (!IsEqualGUID(type.majortype, MEDIATYPE_Video)) return false;
    const BITMAPINFOHEADER* h = HeaderOf(type);
    if (!h || h->biWidth <= 0 || h->biHeight == 0 || h->biWidth > 16384 || std::abs(h->biHeight) > 16384) return false;
    PixelFormat format;
    bool known = false;
    if (IsEqualGUID(type.subtype, MEDIASUBTYPE_Overlay)) {
        known = FormatFromHeader(*h, h->biCompression == BI_BITFIELDS ? MasksOf(type, *h) : nullptr, &format);
    } else {
        for (const FormatRow& row : kFormats)
            if (IsEqualGUID(type.subtype, *row.subtype)) format = row.format, known = true;
    }
    if (!known) return false;
    LONG height = std::abs(h->biHeight);
    *picture = MakePicture(format, h->biWidth, height);
    if (!IsYuv(format)) picture->bottomUp = h->biHeight > 0;
    return true;
}

void ConvertPicture(const Picture& in, const BYTE* src, const Picture& out, BYTE* dst) {
    RowScaler scaler;
    std::vector<BYTE> row;
    ConvertPicture(in, src, out, dst, &scaler, &row);
}

void ConvertPicture(const Picture& in, const BYTE* src, const Picture& out, BYTE* dst, RowScaler* scaler,
                    std::vector<BYTE>* row) {
    if (in.width <= 0 || in.height <= 0 || out.width <= 0 || out.height <= 0) return;
    scaler->Prepare(in, out.width, out.height);
    const bool direct = out.format == PixelFormat::Rgb32;  // read straight into the output
    if (!direct) row->resize(size_t(out.width) * 4);
    const RowWriter write = WriterOf(out.format);
    for (LONG y = 0; y < out.height; ++y) {
        BYTE* target = dst + size_t(out.bottomUp ? out.height - 1 - y : y) * out.stride;
        scaler->Read(src, y, 0, out.width, direct ? target : row->data());
        if (!direct) write(row->data(), out.width, target);
    }
}

}  // namespace platform::dshow
