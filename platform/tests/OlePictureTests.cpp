// The picture loader: every format at its size in HIMETRIC and drawn pixel for pixel, the
// background showing through transparent pixels, Render's HIMETRIC source and its flips, the
// stream over global memory, and bad input (metafiles, cut files, damaged bytes) refused whole.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "GdiTestSurfaces.h"
#include "objbase.h"
#include "platform/TestImages.h"
#include "platform/comobject.h"

using platform::test::BlockImage;
using platform::test::ChannelDistance;
using platform::test::TestImage;

namespace {

constexpr uint32_t kBackground = 0x00AB5C11;

// A stream over a global block holding the bytes (freed with the stream).
IStream* StreamOf(const std::vector<uint8_t>& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty()) std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    EXPECT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
    return stream;
}

HRESULT Load(const std::vector<uint8_t>& bytes, IPicture** picture, LONG size = 0) {
    IStream* stream = StreamOf(bytes);
    HRESULT hr = OleLoadPicture(stream, size ? size : LONG(bytes.size()), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(picture));
    stream->Release();
    return hr;
}

LONG Himetric(int pixels) { return MulDiv(pixels, 2540, 96); }

// Renders upright at (0, 0) into a surface of the picture's size filled with the background.
void RenderUpright(IPicture* picture, TestSurface& surface) {
    surface.Fill(kBackground);
    OLE_XSIZE_HIMETRIC w;
    OLE_YSIZE_HIMETRIC h;
    picture->get_Width(&w);
    picture->get_Height(&h);
    ASSERT_EQ(picture->Render(surface.dc, 0, 0, surface.width, surface.height, 0, h, w, -h, nullptr), S_OK);
}

// Every pixel within `tolerance` of the image's (or the background where `clear` says so).
void ExpectPixels(TestSurface& surface, const TestImage& image, int tolerance, const char* what,
                  const std::vector<bool>& clear = {}) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            bool background = !clear.empty() && clear[size_t(y) * size_t(image.width) + size_t(x)];
            uint32_t want = background ? kBackground : image.At(x, y);
            ASSERT_LE(ChannelDistance(surface.At(x, y), want), background ? 0 : tolerance)
                << what << " at " << x << "," << y << ": " << std::hex << surface.At(x, y) << " for " << want;
        }
}

TestImage SmallImage() { return BlockImage(24, 16); }

}  // namespace

TEST(OlePicture, EveryFormatReadsAtItsSizeAndDrawsItsPixels) {
    const TestImage image = SmallImage();
    const long comBefore = platform::LiveComObjectCount();
    const int bitmapsBefore = GdiLiveObjectCount(OBJ_BITMAP);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        int tolerance;
        SHORT type;
    } cases[] = {
        {"bmp", platform::test::WriteBmp(image), 0, PICTYPE_BITMAP},
        {"jpeg", platform::test::WriteJpeg(image), 6, PICTYPE_BITMAP},
        {"progressive jpeg", platform::test::WriteJpeg(image, true), 6, PICTYPE_BITMAP},
        {"gif", platform::test::WriteGif(image), 0, PICTYPE_BITMAP},
        {"interlaced gif", platform::test::WriteGif(image, {0, 0, 0, 0, true}), 0, PICTYPE_BITMAP},
        {"icon", platform::test::WriteIcon(image, std::vector<bool>(24 * 16, false)), 0, PICTYPE_ICON},
    };
    for (const Case& c : cases) {
        IPicture* picture = nullptr;
        ASSERT_EQ(Load(c.bytes, &picture), S_OK) << c.name;
        OLE_XSIZE_HIMETRIC w = 0;
        OLE_YSIZE_HIMETRIC h = 0;
        ASSERT_EQ(picture->get_Width(&w), S_OK);
        ASSERT_EQ(picture->get_Height(&h), S_OK);
        EXPECT_EQ(w, 635) << c.name;  // 24 pixels at 96 per inch
        EXPECT_EQ(h, 423) << c.name;
        SHORT type = 0;
        picture->get_Type(&type);
        EXPECT_EQ(type, c.type) << c.name;
        TestSurface surface(24, 16);
        RenderUpright(picture, surface);
        ExpectPixels(surface, image, c.tolerance, c.name);
        picture->Release();
    }
    EXPECT_EQ(platform::LiveComObjectCount(), comBefore);
    EXPECT_EQ(GdiLiveObjectCount(OBJ_BITMAP), bitmapsBefore);
}

TEST(OlePicture, TransparentPixelsLetTheBackgroundShow) {
    TestImage image = SmallImage();
    std::vector<bool> clear(size_t(image.width * image.height));
    constexpr uint32_t kKey = 0x00FF00FF;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if ((x * 7 + y * 3) % 5 == 0) {
                clear[size_t(y * image.width + x)] = true;
                image.At(x, y) = kKey;
            }
    // The icon's AND mask (its colour black there, as icons store it: a colour would be XORed
    // onto the background), the GIF's transparent index; a GIF whose first image covers part of
    // the screen shows the background around it, and its second image is not drawn.
    TestImage iconImage = image;
    for (uint32_t& p : iconImage.pixels)
        if (p == kKey) p = 0;
    std::vector<uint8_t> icon = platform::test::WriteIcon(iconImage, clear);
    std::vector<uint8_t> gif = platform::test::WriteGif(image, {0, 0, 0, 0, true, kKey});
    std::vector<bool> outside(clear.size());
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            outside[size_t(y * image.width + x)] = x < 5 || x >= 16 || y < 3 || y >= 12 || clear[size_t(y * image.width + x)];
    const std::vector<uint8_t> framedGif = platform::test::WriteGif(image, {5, 3, 11, 9, false, kKey, true});
    struct Case {
        const char* name;
        const std::vector<uint8_t>& bytes;
        const std::vector<bool>& clear;
    } cases[] = {{"icon", icon, clear}, {"gif", gif, clear}, {"framed gif", framedGif, outside}};
    for (const Case& c : cases) {
        IPicture* picture = nullptr;
        ASSERT_EQ(Load(c.bytes, &picture), S_OK) << c.name;
        DWORD attributes = 0;
        picture->get_Attributes(&attributes);
        EXPECT_EQ(attributes & PICTURE_TRANSPARENT, DWORD(PICTURE_TRANSPARENT)) << c.name;
        TestSurface surface(24, 16);
        RenderUpright(picture, surface);
        ExpectPixels(surface, image, 0, c.name, c.clear);
        picture->Release();
    }
    // Without a transparent pixel the picture is opaque.
    IPicture* opaque = nullptr;
    ASSERT_EQ(Load(platform::test::WriteGif(SmallImage()), &opaque), S_OK);
    DWORD attributes = 1;
    opaque->get_Attributes(&attributes);
    EXPECT_EQ(attributes, 0u);
    opaque->Release();
}

TEST(OlePicture, RenderTakesAHimetricSourceAndFlipsOnTheOtherSign) {
    const TestImage image = SmallImage();
    IPicture* picture = nullptr;
    ASSERT_EQ(Load(platform::test::WriteBmp(image), &picture), S_OK);
    const LONG w = Himetric(24), h = Himetric(16);
    struct Case {
        const char* name;
        LONG xSrc, ySrc, cxSrc, cySrc;
        int destWidth, destHeight;
        // The image pixel a destination pixel shows.
        int (*u)(int x), (*v)(int y);
    } cases[] = {
        {"positive height: upside down", 0, 0, w, h, 24, 16, [](int x) { return x; }, [](int y) { return 15 - y; }},
        {"negative width: mirrored", w, h, -w, -h, 24, 16, [](int x) { return 23 - x; }, [](int y) { return y; }},
        {"both", w, 0, -w, h, 24, 16, [](int x) { return 23 - x; }, [](int y) { return 15 - y; }},
        // The right half and the lower half of the picture, doubled.
        {"part, doubled", Himetric(12), Himetric(8), Himetric(12), -Himetric(8), 24, 16,
         [](int x) { return 12 + x / 2; }, [](int y) { return 8 + y / 2; }},
    };
    for (const Case& c : cases) {
        TestSurface surface(c.destWidth, c.destHeight);
        surface.Fill(kBackground);
        ASSERT_EQ(picture->Render(surface.dc, 0, 0, c.destWidth, c.destHeight, c.xSrc, c.ySrc, c.cxSrc, c.cySrc,
                                  nullptr),
                  S_OK)
            << c.name;
        for (int y = 0; y < c.destHeight; ++y)
            for (int x = 0; x < c.destWidth; ++x)
                ASSERT_EQ(surface.At(x, y), image.At(c.u(x), c.v(y))) << c.name << " at " << x << "," << y;
    }
    // An offset destination, clipped by the surface, leaves the rest as it was.
    TestSurface surface(30, 20);
    surface.Fill(kBackground);
    ASSERT_EQ(picture->Render(surface.dc, 10, 8, 24, 16, 0, h, w, -h, nullptr), S_OK);
    EXPECT_EQ(surface.At(9, 8), kBackground);
    EXPECT_EQ(surface.At(10, 8), image.At(0, 0));
    EXPECT_EQ(surface.At(29, 19), image.At(19, 11));
    EXPECT_EQ(picture->Render(surface.dc, 0, 0, 0, 16, 0, h, w, -h, nullptr), E_INVALIDARG);
    EXPECT_EQ(picture->Render(surface.dc, 0, 0, 24, 16, 0, h, 0, -h, nullptr), E_INVALIDARG);
    picture->Release();
}

TEST(OlePicture, StreamOnGlobalMemoryReadsTheBlockAndFreesItWhenAsked) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 5);
    std::memcpy(GlobalLock(block), "abcde", 5);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
    STATSTG stat{};
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 5u);
    char text[8] = {};
    ULONG got = 0;
    ASSERT_EQ(stream->Read(text, 8, &got), S_OK);
    EXPECT_EQ(got, 5u);
    EXPECT_STREQ(text, "abcde");
    stream->Release();
    // Not asked to free it: the block is still the caller's (the leak checker sees the rest).
    EXPECT_EQ(std::memcmp(GlobalLock(block), "abcde", 5), 0);
    GlobalUnlock(block);
    GlobalFree(block);

    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    ASSERT_EQ(stream->Write("xy", 2, &got), S_OK);
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 2u);
    stream->Release();
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, nullptr), E_INVALIDARG);

    // The loader reads the size it is given and leaves the stream after it.
    std::vector<uint8_t> bytes = platform::test::WriteBmp(SmallImage());
    const LONG size = LONG(bytes.size());
    bytes.insert(bytes.end(), {'t', 'a', 'i', 'l'});
    IStream* two = StreamOf(bytes);
    IPicture* picture = nullptr;
    ASSERT_EQ(OleLoadPicture(two, size, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture)), S_OK);
    ASSERT_EQ(two->Read(text, 4, &got), S_OK);
    EXPECT_EQ(std::memcmp(text, "tail", 4), 0);
    picture->Release();
    two->Release();
}

TEST(OlePicture, BadInputGetsAFailureAndNoPicture) {
    const long comBefore = platform::LiveComObjectCount();
    const int bitmapsBefore = GdiLiveObjectCount(OBJ_BITMAP);
    auto refused = [](const std::vector<uint8_t>& bytes, const char* what, size_t length) {
        IPicture* picture = reinterpret_cast<IPicture*>(1);
        IStream* stream = StreamOf(bytes);
        HRESULT hr = OleLoadPicture(stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
        stream->Release();
        EXPECT_EQ(hr, CTL_E_INVALIDPICTURE) << what << " cut to " << length;
        EXPECT_EQ(picture, nullptr) << what;
        if (SUCCEEDED(hr) && picture) picture->Release();
    };
    // Metafiles: placeable and enhanced; and nothing at all.
    std::vector<uint8_t> wmf = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x10, 0, 0x10, 0, 0x60, 0, 0, 0, 0, 0, 0, 0};
    std::vector<uint8_t> emf(88, 0);
    emf[0] = 1;
    std::memcpy(emf.data() + 40, " EMF", 4);
    refused(wmf, "placeable metafile", wmf.size());
    refused(emf, "enhanced metafile", emf.size());
    refused({}, "empty stream", 0);

    // Every format cut at every length short of whole. (A GIF's trailer byte after its first
    // image is not needed.)
    const TestImage image = SmallImage();
    struct File {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t spare;
    } files[] = {{"bmp", platform::test::WriteBmp(image), 0},
                 {"jpeg", platform::test::WriteJpeg(image), 0},
                 {"progressive jpeg", platform::test::WriteJpeg(image, true), 0},
                 {"gif", platform::test::WriteGif(image), 1},
                 {"icon", platform::test::WriteIcon(image, std::vector<bool>(24 * 16, true)), 0}};
    for (const File& f : files)
        for (size_t length = 0; length + f.spare < f.bytes.size(); ++length)
            refused(std::vector<uint8_t>(f.bytes.begin(), f.bytes.begin() + long(length)), f.name, length);

    // Damaged bytes: whatever the answer, a picture or a failure without one, never a fault.
    std::mt19937 rng(35);
    for (const File& f : files)
        for (int round = 0; round < 300; ++round) {
            std::vector<uint8_t> bytes = f.bytes;
            for (int k = 0, n = 1 + int(rng() % 4); k < n; ++k) bytes[rng() % bytes.size()] = uint8_t(rng());
            IPicture* picture = nullptr;
            HRESULT hr = Load(bytes, &picture);
            if (FAILED(hr)) {
                EXPECT_EQ(picture, nullptr);
                continue;
            }
            TestSurface surface(24, 16);
            RenderUpright(picture, surface);
            picture->Release();
        }
    EXPECT_EQ(platform::LiveComObjectCount(), comBefore);
    EXPECT_EQ(GdiLiveObjectCount(OBJ_BITMAP), bitmapsBefore);

    // Arguments.
    IStream* stream = StreamOf(platform::test::WriteBmp(image));
    void* out = nullptr;
    EXPECT_EQ(OleLoadPicture(stream, 0, FALSE, IID_IStream, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(OleLoadPicture(nullptr, 0, FALSE, IID_IPicture, &out), E_POINTER);
    EXPECT_EQ(OleLoadPicture(stream, 0, FALSE, IID_IPicture, nullptr), E_POINTER);
    stream->Release();
}
