// Pictures and their conversion.
#include "Picture.h"

#include <algorithm>
#include <vector>

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

// The overlay type names its picture only in its header.
bool FormatFromHeader(const BITMAPINFOHEADER& h, PixelFormat* format) {
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
    case 16: *format = h.biCompression == BI_BITFIELDS ? PixelFormat::Rgb565 : PixelFormat::Rgb555; return true;
    default: return false;
    }
}

BYTE Clamp(int v) { return BYTE(std::clamp(v, 0, 255)); }

// One YUV pair into two BGRX pixels (BT.601, studio range).
void YuvToBgrx(int y0, int y1, int u, int v, BYTE* out) {
    int d = u - 128, e = v - 128;
    for (int y : {y0, y1}) {
        int c = 298 * (y - 16);
        out[0] = Clamp((c + 516 * d + 128) >> 8);
        out[1] = Clamp((c - 100 * d - 208 * e + 128) >> 8);
        out[2] = Clamp((c + 409 * e + 128) >> 8);
        out[3] = 0;
        out += 4;
    }
}

void ReadRow(PixelFormat format, const BYTE* src, LONG width, BYTE* bgrx) {
    for (LONG x = 0; x < width; ++x) {
        BYTE* o = bgrx + 4 * x;
        switch (format) {
        case PixelFormat::Rgb32: std::copy(src + 4 * x, src + 4 * x + 3, o); o[3] = 0; break;
        case PixelFormat::Rgb24: std::copy(src + 3 * x, src + 3 * x + 3, o); o[3] = 0; break;
        case PixelFormat::Rgb565: {
            unsigned p = src[2 * x] | (src[2 * x + 1] << 8);
            o[0] = BYTE((p & 0x1F) * 255 / 31);
            o[1] = BYTE(((p >> 5) & 0x3F) * 255 / 63);
            o[2] = BYTE(((p >> 11) & 0x1F) * 255 / 31);
            o[3] = 0;
            break;
        }
        case PixelFormat::Rgb555: {
            unsigned p = src[2 * x] | (src[2 * x + 1] << 8);
            o[0] = BYTE((p & 0x1F) * 255 / 31);
            o[1] = BYTE(((p >> 5) & 0x1F) * 255 / 31);
            o[2] = BYTE(((p >> 10) & 0x1F) * 255 / 31);
            o[3] = 0;
            break;
        }
        case PixelFormat::Yuy2:
        case PixelFormat::Uyvy: {
            if (x % 2) break;
            const BYTE* q = src + 2 * x;
            bool yuy2 = format == PixelFormat::Yuy2;
            int y0 = yuy2 ? q[0] : q[1], u = yuy2 ? q[1] : q[0], y1 = yuy2 ? q[2] : q[3], v = yuy2 ? q[3] : q[2];
            BYTE pair[8];
            YuvToBgrx(y0, y1, u, v, pair);
            std::copy(pair, pair + (x + 1 < width ? 8 : 4), o);
            break;
        }
        }
    }
}

void WriteRow(PixelFormat format, const BYTE* bgrx, LONG width, BYTE* dst) {
    for (LONG x = 0; x < width; ++x) {
        const BYTE* i = bgrx + 4 * x;
        switch (format) {
        case PixelFormat::Rgb32: std::copy(i, i + 4, dst + 4 * x); break;
        case PixelFormat::Rgb24: std::copy(i, i + 3, dst + 3 * x); break;
        case PixelFormat::Rgb565: {
            unsigned p = (i[0] >> 3) | ((i[1] >> 2) << 5) | ((i[2] >> 3) << 11);
            dst[2 * x] = BYTE(p);
            dst[2 * x + 1] = BYTE(p >> 8);
            break;
        }
        case PixelFormat::Rgb555: {
            unsigned p = (i[0] >> 3) | ((i[1] >> 3) << 5) | ((i[2] >> 3) << 10);
            dst[2 * x] = BYTE(p);
            dst[2 * x + 1] = BYTE(p >> 8);
            break;
        }
        case PixelFormat::Yuy2:
        case PixelFormat::Uyvy: {
            if (x % 2) break;  // written with its pair; chroma from the pair's first pixel
            const BYTE* next = x + 1 < width ? i + 4 : i;
            auto luma = [](const BYTE* p) { return Clamp(((66 * p[2] + 129 * p[1] + 25 * p[0] + 128) >> 8) + 16); };
            BYTE u = Clamp(((-38 * i[2] - 74 * i[1] + 112 * i[0] + 128) >> 8) + 128);
            BYTE v = Clamp(((112 * i[2] - 94 * i[1] - 18 * i[0] + 128) >> 8) + 128);
            BYTE* q = dst + 2 * x;
            BYTE quad[4] = {luma(i), u, luma(next), v};
            if (format == PixelFormat::Uyvy) quad[0] = u, quad[1] = luma(i), quad[2] = v, quad[3] = luma(next);
            std::copy(quad, quad + (x + 1 < width ? 4 : 2), q);
            break;
        }
        }
    }
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
        known = FormatFromHeader(*h, &format);
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
    std::vector<BYTE> row(size_t(in.width) * 4 + 8);
    for (LONG y = 0; y < in.height; ++y) {
        LONG inRow = in.bottomUp ? in.height - 1 - y : y;
        LONG outRow = out.bottomUp ? out.height - 1 - y : y;
        ReadRow(in.format, src + size_t(inRow) * in.stride, in.width, row.data());
        WriteRow(out.format, row.data(), out.width, dst + size_t(outRow) * out.stride);
    }
}

}  // namespace platform::dshow
