// Image lists: images of one size, each with its pixels and its mask, drawn into a DC.
#include <mutex>
#include <vector>

#include "platform/commctrl.h"
#include "platform/wingdi.h"

namespace {

struct Image {
    std::vector<COLORREF> pixels;  // rows from the top
    std::vector<bool> transparent;
};

}  // namespace

struct _IMAGELIST {
    int cx;
    int cy;
    UINT flags;
    std::mutex lock;
    std::vector<Image> images;
};

namespace {

// A bitmap's pixels as COLORREFs, rows from the top; empty when it cannot be read.
std::vector<COLORREF> ReadPixels(HBITMAP bitmap, int* width, int* height) {
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return {};
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bits(size_t(info.bmWidth) * size_t(info.bmHeight));
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, UINT(info.bmHeight), bits.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) return {};
    std::vector<COLORREF> pixels(bits.size());
    for (size_t i = 0; i < bits.size(); ++i) pixels[i] = RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF);
    *width = info.bmWidth;
    *height = info.bmHeight;
    return pixels;
}

// Cuts a strip into images of the list's size; `clear` tells which pixels are transparent.
template <class Clear>
int AddStrip(HIMAGELIST list, const std::vector<COLORREF>& strip, int width, int height, Clear clear) {
    if (strip.empty() || height < list->cy || width < list->cx) return -1;
    std::lock_guard<std::mutex> g(list->lock);
    int first = int(list->images.size());
    for (int left = 0; left + list->cx <= width; left += list->cx) {
        Image image;
        for (int y = 0; y < list->cy; ++y)
            for (int x = left; x < left + list->cx; ++x) {
                size_t at = size_t(y) * size_t(width) + size_t(x);
                image.pixels.push_back(strip[at]);
                image.transparent.push_back(clear(at));
            }
        list->images.push_back(std::move(image));
    }
    return first;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
    if (cx <= 0 || cy <= 0) return nullptr;
    return new _IMAGELIST{cx, cy, flags, {}, {}};
}

HIMAGELIST ImageList_LoadBitmapA(HINSTANCE instance, LPCSTR bitmap, int cx, int grow, COLORREF mask) {
    if (cx <= 0) return nullptr;
    HBITMAP strip = LoadBitmapA(instance, bitmap);
    if (!strip) return nullptr;
    BITMAP info{};
    GetObjectA(strip, sizeof info, &info);
    HIMAGELIST list = ImageList_Create(cx, info.bmHeight, mask == CLR_NONE ? ILC_COLOR : ILC_MASK, 0, grow);
    if (list && ImageList_AddMasked(list, strip, mask) < 0) {
        ImageList_Destroy(list);
        list = nullptr;
    }
    DeleteObject(strip);
    return list;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    if (!list) return FALSE;
    delete list;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    if (!list) return 0;
    std::lock_guard<std::mutex> g(list->lock);
    return int(list->images.size());
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    if (!list) return FALSE;
    if (cx) *cx = list->cx;
    if (cy) *cy = list->cy;
    return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
    if (!list) return -1;
    int width = 0, height = 0, maskWidth = 0, maskHeight = 0;
    std::vector<COLORREF> pixels = ReadPixels(image, &width, &height);
    // The mask's white pixels are transparent, where the list keeps masks.
    std::vector<COLORREF> clear = (list->flags & ILC_MASK) ? ReadPixels(mask, &maskWidth, &maskHeight)
                                                           : std::vector<COLORREF>{};
    bool masked = maskWidth == width && maskHeight == height;
    return AddStrip(list, pixels, width, height, [&](size_t at) { return masked && clear[at] != RGB(0, 0, 0); });
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask) {
    if (!list) return -1;
    int width = 0, height = 0;
    std::vector<COLORREF> pixels = ReadPixels(image, &width, &height);
    return AddStrip(list, pixels, width, height,
                    [&](size_t at) { return mask != CLR_NONE && pixels[at] == (mask & 0xFFFFFF); });
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
    if (!list) return FALSE;
    std::lock_guard<std::mutex> g(list->lock);
    if (index == -1) {
        list->images.clear();
        return TRUE;
    }
    if (index < 0 || index >= int(list->images.size())) return FALSE;
    list->images.erase(list->images.begin() + index);
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
    if (!list || !dc) return FALSE;
    std::lock_guard<std::mutex> g(list->lock);
    if (index < 0 || index >= int(list->images.size())) return FALSE;
    const Image& image = list->images[size_t(index)];
    for (int row = 0; row < list->cy; ++row)
        for (int column = 0; column < list->cx; ++column) {
            size_t at = size_t(row) * size_t(list->cx) + size_t(column);
            if (!image.transparent[at]) SetPixelV(dc, x + column, y + row, image.pixels[at]);
        }
    return TRUE;
}
