// Picture files written by tests: bitmap files and icons by hand, JPEG through libjpeg, GIF
// through giflib, from an image of 0x00RRGGBB pixels (top row first).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::test {

struct TestImage {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Flat blocks of 8 x 8 pixels, each of its own colour from a small set, so a JPEG keeps them
// nearly exact.
TestImage BlockImage(int width, int height);

// A 24-bit bottom-up bitmap file.
std::vector<uint8_t> WriteBmp(const TestImage& image);
// Baseline JPEG, quality 100, no chroma subsampling.
std::vector<uint8_t> WriteJpeg(const TestImage& image, bool progressive = false);

struct GifOptions {
    // The first image's place on the screen; 0 width or height: the whole screen.
    int left = 0, top = 0, width = 0, height = 0;
    bool interlace = false;
    // Pixels of this colour get the transparent index (-1: no transparency).
    int64_t transparentColour = -1;
    // A second image after the first (drawn all black), which the reader must ignore.
    bool secondImage = false;
};
// The screen is the image's size; the image has at most 255 colours.
std::vector<uint8_t> WriteGif(const TestImage& image, const GifOptions& options = {});

// An icon file of one 24-bit image with its AND mask (`transparent` per pixel, top row first).
std::vector<uint8_t> WriteIcon(const TestImage& image, const std::vector<bool>& transparent);

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// The largest difference of one colour channel between two pixels.
int ChannelDistance(uint32_t a, uint32_t b);

}  // namespace platform::test
