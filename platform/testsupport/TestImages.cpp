// Picture files written by tests.
#include "platform/TestImages.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>

namespace platform::test {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// BITMAPINFOHEADER of a 24-bit image `rows` high.
void PutInfoHeader(std::vector<uint8_t>& out, int width, int rows) {
    Put32(out, 40);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(rows));
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
}

// The 24-bit rows, bottom row first, each padded to 4 bytes.
void PutRows24(std::vector<uint8_t>& out, const TestImage& image) {
    for (int y = image.height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < image.width; ++x) {
            uint32_t p = image.At(x, y);
            out.push_back(uint8_t(p));
            out.push_back(uint8_t(p >> 8));
            out.push_back(uint8_t(p >> 16));
        }
        while ((out.size() - start) % 4) out.push_back(0);
    }
}

[[noreturn]] void JpegFail(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    throw std::runtime_error(text);
}

int GifWrite(GifFileType* gif, const GifByteType* bytes, int n) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + n);
    return n;
}

void GifCheck(int result, const char* what) {
    if (result == GIF_ERROR) throw std::runtime_error(what);
}

}  // namespace

TestImage BlockImage(int width, int height) {
    static const uint32_t kColours[] = {0xC02020, 0x20C020, 0x2020C0, 0xE0E040, 0x40E0E0, 0xE040E0, 0x808080, 0xF0F0F0};
    TestImage image{width, height, std::vector<uint32_t>(size_t(width) * size_t(height))};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.At(x, y) = kColours[(x / 8 + 3 * (y / 8)) % 8];
    return image;
}

std::vector<uint8_t> WriteBmp(const TestImage& image) {
    std::vector<uint8_t> out;
    const uint32_t stride = uint32_t((image.width * 3 + 3) / 4 * 4);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + stride * uint32_t(image.height));
    Put32(out, 0);
    Put32(out, 54);
    PutInfoHeader(out, image.width, image.height);
    PutRows24(out, image);
    return out;
}

std::vector<uint8_t> WriteJpeg(const TestImage& image, bool progressive) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    errors.error_exit = JpegFail;
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width);
    info.image_height = JDIMENSION(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < 3; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(image.width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < image.width; ++x) {
            uint32_t p = image.At(x, int(info.next_scanline));
            row[size_t(x) * 3] = uint8_t(p >> 16);
            row[size_t(x) * 3 + 1] = uint8_t(p >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(p);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

std::vector<uint8_t> WriteGif(const TestImage& image, const GifOptions& o) {
    // The colour map: every colour of the image, the transparent one last.
    std::map<uint32_t, int> index;
    std::vector<GifColorType> colours;
    for (uint32_t p : image.pixels)
        if (int64_t(p) != o.transparentColour && !index.count(p)) {
            index[p] = int(colours.size());
            colours.push_back(GifColorType{GifByteType(p >> 16), GifByteType(p >> 8), GifByteType(p)});
        }
    const int transparent = int(colours.size());
    colours.push_back(GifColorType{0, 0, 0});
    if (colours.size() > 256) throw std::runtime_error("too many colours for a GIF");
    while (colours.size() < 256) colours.push_back(GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(256, colours.data());

    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, GifWrite, &error);
    if (!gif) throw std::runtime_error("EGifOpen");
    EGifSetGifVersion(gif, true);
    GifCheck(EGifPutScreenDesc(gif, image.width, image.height, 8, 0, map), "screen");
    if (o.transparentColour >= 0) {
        const GifByteType control[4] = {1, 0, 0, GifByteType(transparent)};
        GifCheck(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control), "control");
    }
    const int w = o.width ? o.width : image.width, h = o.height ? o.height : image.height;
    GifCheck(EGifPutImageDesc(gif, o.left, o.top, w, h, o.interlace, nullptr), "image");
    std::vector<int> order;
    if (o.interlace) {
        const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < h; y += step[pass]) order.push_back(y);
    } else {
        for (int y = 0; y < h; ++y) order.push_back(y);
    }
    std::vector<GifPixelType> line(static_cast<size_t>(w));
    for (int y : order) {
        for (int x = 0; x < w; ++x) {
            uint32_t p = image.At(o.left + x, o.top + y);
            line[size_t(x)] = GifPixelType(int64_t(p) == o.transparentColour ? transparent : index[p]);
        }
        GifCheck(EGifPutLine(gif, line.data(), w), "line");
    }
    if (o.secondImage) {
        GifCheck(EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr), "second image");
        std::vector<GifPixelType> black(size_t(image.width), GifPixelType(transparent));
        for (int y = 0; y < image.height; ++y) GifCheck(EGifPutLine(gif, black.data(), image.width), "second line");
    }
    GifCheck(EGifCloseFile(gif, &error), "close");
    GifFreeMapObject(map);
    return out;
}

std::vector<uint8_t> WriteIcon(const TestImage& image, const std::vector<bool>& transparent) {
    std::vector<uint8_t> dib;
    PutInfoHeader(dib, image.width, image.height * 2);
    PutRows24(dib, image);
    const size_t maskStride = (size_t(image.width) + 31) / 32 * 4;
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < image.width; ++x)
            if (transparent[size_t(y) * size_t(image.width) + size_t(x)]) row[size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
        dib.insert(dib.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out.push_back(uint8_t(image.width));
    out.push_back(uint8_t(image.height));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, uint32_t(dib.size()));
    Put32(out, 6 + 16);
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

int ChannelDistance(uint32_t a, uint32_t b) {
    int d = 0;
    for (int shift = 0; shift < 24; shift += 8)
        d = std::max(d, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return d;
}

}  // namespace platform::test
