// The skin loader: image files and resources of every format the picture loader reads become
// bitmaps of their size in pixels over the background fill; a file not read whole, or too large,
// attaches nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "EnBitmap.h"
#include "platform/TestImages.h"

using platform::test::ChannelDistance;
using platform::test::TestImage;

namespace {

constexpr COLORREF kFill = RGB(0x11, 0x5C, 0xAB);
constexpr uint32_t kFillPixel = 0x115CAB;
constexpr uint32_t kKey = 0xFF00FF;

std::string HomePath(const char* name) { return std::string(std::getenv("PELVATRO_HOME")) + "/" + name; }

// A picture with a transparent dot every fifth pixel (in the key colour, for the GIF).
TestImage Picture(std::vector<bool>* clear) {
    TestImage image = platform::test::BlockImage(40, 24);
    clear->assign(image.pixels.size(), false);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if ((x + 2 * y) % 5 == 0) {
                (*clear)[size_t(y * image.width + x)] = true;
                image.At(x, y) = kKey;
            }
    return image;
}

// The bitmap's size and pixels (0x00RRGGBB, top row first).
TestImage Read(CEnBitmap& bitmap) {
    BITMAP bm{};
    ::GetObjectA(bitmap.GetSafeHandle(), sizeof bm, &bm);
    TestImage out{bm.bmWidth, bm.bmHeight, std::vector<uint32_t>(size_t(bm.bmWidth) * size_t(bm.bmHeight))};
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap.GetSafeHandle());
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            COLORREF c = ::GetPixel(dc, x, y);
            out.At(x, y) = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
        }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return out;
}

void ExpectPicture(CEnBitmap& bitmap, const TestImage& image, const std::vector<bool>& clear, int tolerance,
                   const char* what) {
    const TestImage got = Read(bitmap);
    ASSERT_EQ(got.width, image.width) << what;
    ASSERT_EQ(got.height, image.height) << what;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const bool fill = !clear.empty() && clear[size_t(y * image.width + x)];
            ASSERT_LE(ChannelDistance(got.At(x, y), fill ? kFillPixel : image.At(x, y)), fill ? 0 : tolerance)
                << what << " at " << x << "," << y;
        }
}

}  // namespace

TEST(EnBitmapLoad, FilesAndResourcesOfEveryFormatAtTheirSizeOverTheBackground) {
    std::vector<bool> clear;
    const TestImage image = Picture(&clear);
    const std::vector<bool> none;
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        int tolerance;
        const std::vector<bool>& clear;
    } cases[] = {{"skin.bmp", platform::test::WriteBmp(image), 0, none},
                 {"skin.jpg", platform::test::WriteJpeg(image), 8, none},
                 {"skin.gif", platform::test::WriteGif(image, {0, 0, 0, 0, false, kKey}), 0, clear}};
    for (const Case& c : cases) {
        const std::string path = HomePath(c.name);
        platform::test::WriteBytes(path, c.bytes);
        CEnBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadImage(path.c_str(), kFill)) << c.name;
        ExpectPicture(bitmap, image, c.clear, c.tolerance, c.name);
    }
    // A resource of a type of its own.
    static const std::vector<uint8_t> resource = platform::test::WriteGif(image, {0, 0, 0, 0, true, kKey});
    AfxRegisterResourceData(3520, "SKIN", resource.data(), DWORD(resource.size()));
    CEnBitmap fromResource;
    ASSERT_TRUE(fromResource.LoadImage(3520, "SKIN", nullptr, kFill));
    ExpectPicture(fromResource, image, clear, 0, "resource");
    CEnBitmap missing;
    EXPECT_FALSE(missing.LoadImage(3521, "SKIN", nullptr, kFill));
    EXPECT_EQ(missing.GetSafeHandle(), nullptr);

    // Without a background the transparent pixels keep what the new bitmap held (black); the
    // others are the picture's.
    CEnBitmap unfilled;
    ASSERT_TRUE(unfilled.LoadImage(HomePath("skin.gif").c_str(), 0xFFFFFFFF));
    const TestImage got = Read(unfilled);
    EXPECT_EQ(got.At(0, 0), 0u);
    EXPECT_EQ(got.At(1, 0), image.At(1, 0));
}

TEST(EnBitmapLoad, AFileNotReadWholeOrTooLargeAttachesNothing) {
    std::vector<bool> clear;
    const TestImage image = Picture(&clear);
    const std::vector<uint8_t> files[] = {platform::test::WriteBmp(image), platform::test::WriteJpeg(image),
                                          platform::test::WriteGif(image)};
    for (const std::vector<uint8_t>& whole : files) {
        const std::string path = HomePath("cut");
        platform::test::WriteBytes(path, std::vector<uint8_t>(whole.begin(), whole.begin() + long(whole.size() / 2)));
        CEnBitmap bitmap;
        EXPECT_FALSE(bitmap.LoadImage(path.c_str(), kFill));
        EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
    }
    // A file past what an int counts, and one past what the size query tells whole (4 GiB and
    // a few bytes): both sparse, neither read.
    const std::string large = HomePath("large.bmp");
    for (uintmax_t size : {uintmax_t(1) << 31, (uintmax_t(1) << 32) + 100}) {
        platform::test::WriteBytes(large, platform::test::WriteBmp(image));
        std::filesystem::resize_file(large, size);
        CEnBitmap bitmap;
        EXPECT_FALSE(bitmap.LoadImage(large.c_str(), kFill)) << size;
        EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
    }
    std::filesystem::remove(large);
    // No file, an empty one, a folder, no picture.
    CEnBitmap bitmap;
    EXPECT_FALSE(bitmap.LoadImage(HomePath("none.bmp").c_str(), kFill));
    platform::test::WriteBytes(HomePath("empty.bmp"), {});
    EXPECT_FALSE(bitmap.LoadImage(HomePath("empty.bmp").c_str(), kFill));
    EXPECT_FALSE(bitmap.LoadImage(std::getenv("PELVATRO_HOME"), kFill));
    platform::test::WriteBytes(HomePath("text.bmp"), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    EXPECT_FALSE(bitmap.LoadImage(HomePath("text.bmp").c_str(), kFill));
    EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
    EXPECT_EQ(CEnBitmap::LoadFromStream(nullptr, 10), nullptr);

#ifndef PELVATRO_DEBUG_ASSERTS
    // A bitmap that holds one already keeps it.
    const std::string good = HomePath("good.bmp");
    platform::test::WriteBytes(good, files[0]);
    ASSERT_TRUE(bitmap.LoadImage(good.c_str(), kFill));
    HGDIOBJ held = bitmap.GetSafeHandle();
    EXPECT_FALSE(bitmap.LoadImage(good.c_str(), kFill));
    EXPECT_FALSE(bitmap.AttachPicture(nullptr, kFill));
    EXPECT_EQ(bitmap.GetSafeHandle(), held);
    CEnBitmap empty;
    EXPECT_FALSE(empty.AttachPicture(nullptr, kFill));
#endif
}
