// JPEG files through libjpeg. Its errors come back here by longjmp (its default would end the
// process), and so do its warnings: a warning means damaged or missing data, such as a file
// cut short, which libjpeg would otherwise fill with grey.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "picture/PictureDecoder.h"

namespace platform::picture {
namespace {

// Progressive files may carry many scans; a sane one needs a few dozen.
constexpr int kMaxScans = 256;

struct Failure {
    jpeg_error_mgr manager;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
};

Failure* FailureOf(j_common_ptr info) { return reinterpret_cast<Failure*>(info->err); }

void Fail(j_common_ptr info) { std::longjmp(FailureOf(info)->jump, 1); }

void Message(j_common_ptr info, int level) {
    if (level < 0) Fail(info);
}

void Silent(j_common_ptr) {}

void Progress(j_common_ptr info) {
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) Fail(info);
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedPicture* out) {
    jpeg_decompress_struct info;
    Failure failure;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = Fail;
    failure.manager.emit_message = Message;
    failure.manager.output_message = Silent;
    failure.progress.progress_monitor = Progress;
    if (setjmp(failure.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &failure.progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (!SizeAllowed(info.image_width, info.image_height) || info.jpeg_color_space == JCS_CMYK ||
        info.jpeg_color_space == JCS_YCCK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    const int width = int(info.output_width), height = int(info.output_height);
    out->kind = PictureKind::Bitmap;
    out->width = width;
    out->height = height;
    out->image = MakeDib32(width, height);
    out->mask = {};
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(Row32(out->image, width, int(info.output_scanline)));
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            jpeg_destroy_decompress(&info);
            return false;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    // The fourth byte is unused in a pixel.
    for (size_t i = 3; i < out->image.bits.size(); i += 4) out->image.bits[i] = 0;
    return true;
}

}  // namespace platform::picture
