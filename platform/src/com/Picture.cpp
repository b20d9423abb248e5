// Pictures read by OleLoadPicture: the decoded picture as a GDI bitmap (and, where the background
// shows through, a mask bitmap), sized in HIMETRIC at 96 pixels per inch.
#include <algorithm>
#include <vector>

#include "gdi/DibFile.h"
#include "objbase.h"
#include "picture/PictureDecoder.h"
#include "platform/comobject.h"

namespace platform {
namespace {

constexpr int64_t kHimetricPerInch = 2540;
constexpr int64_t kPixelsPerInch = 96;

// a * b / c rounded to the nearest, halves away from zero (c > 0).
int64_t Scale(int64_t a, int64_t b, int64_t c) {
    const int64_t n = a * b;
    return n >= 0 ? (n + c / 2) / c : -((-n + c / 2) / c);
}

class Picture : public ComObject<IPicture> {
public:
    Picture(picture::PictureKind kind, int width, int height, HBITMAP image, HBITMAP mask)
        : m_kind(kind), m_width(width), m_height(height), m_image(image), m_mask(mask),
          m_himetricWidth(LONG(Scale(width, kHimetricPerInch, kPixelsPerInch))),
          m_himetricHeight(LONG(Scale(height, kHimetricPerInch, kPixelsPerInch))) {}

    STDMETHODIMP get_Handle(OLE_HANDLE* handle) override {
        if (!handle) return E_POINTER;
        const auto value = reinterpret_cast<uintptr_t>(m_image);
        *handle = OLE_HANDLE(value);
        return value == *handle ? S_OK : E_FAIL;
    }
    STDMETHODIMP get_hPal(OLE_HANDLE* palette) override {
        if (!palette) return E_POINTER;
        *palette = 0;
        return S_OK;
    }
    STDMETHODIMP get_Type(SHORT* type) override {
        if (!type) return E_POINTER;
        *type = m_kind == picture::PictureKind::Icon ? PICTYPE_ICON : PICTYPE_BITMAP;
        return S_OK;
    }
    STDMETHODIMP get_Width(OLE_XSIZE_HIMETRIC* width) override {
        if (!width) return E_POINTER;
        *width = m_himetricWidth;
        return S_OK;
    }
    STDMETHODIMP get_Height(OLE_YSIZE_HIMETRIC* height) override {
        if (!height) return E_POINTER;
        *height = m_himetricHeight;
        return S_OK;
    }
    STDMETHODIMP Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                        OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT) override;
    STDMETHODIMP set_hPal(OLE_HANDLE) override { return E_NOTIMPL; }
    STDMETHODIMP get_CurDC(HDC* current) override {
        if (!current) return E_POINTER;
        *current = nullptr;
        return S_OK;
    }
    STDMETHODIMP SelectPicture(HDC, HDC*, OLE_HANDLE*) override { return E_NOTIMPL; }
    STDMETHODIMP get_KeepOriginalFormat(BOOL* keep) override {
        if (!keep) return E_POINTER;
        *keep = FALSE;
        return S_OK;
    }
    STDMETHODIMP put_KeepOriginalFormat(BOOL) override { return S_OK; }
    STDMETHODIMP PictureChanged() override { return S_OK; }
    STDMETHODIMP SaveAsFile(LPSTREAM, BOOL, LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Attributes(DWORD* attributes) override {
        if (!attributes) return E_POINTER;
        *attributes = m_mask ? PICTURE_TRANSPARENT : 0;
        return S_OK;
    }

protected:
    ~Picture() override {
        DeleteObject(m_image);
        if (m_mask) DeleteObject(m_mask);
    }

private:
    // HIMETRIC positions as pixels from the picture's left and top edges.
    int PixelX(int64_t x) const { return int(Scale(x, m_width, m_himetricWidth)); }
    int PixelY(int64_t y) const { return int(Scale(int64_t(m_himetricHeight) - y, m_height, m_himetricHeight)); }

    picture::PictureKind m_kind;
    int m_width, m_height;
    HBITMAP m_image, m_mask;
    LONG m_himetricWidth, m_himetricHeight;
};

// A source running backwards is read forwards into the destination mirrored along that axis
// (a negative destination extent includes its start point).
void Forwards(int* from, int* to, LONG* start, LONG* extent) {
    if (*to >= *from) return;
    std::swap(*from, *to);
    *start += *extent > 0 ? *extent - 1 : *extent + 1;
    *extent = -*extent;
}

STDMETHODIMP Picture::Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                             OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT) {
    if (cx == 0 || cy == 0 || cxSrc == 0 || cySrc == 0) return E_INVALIDARG;
    int left = PixelX(xSrc), right = PixelX(int64_t(xSrc) + cxSrc);
    int top = PixelY(ySrc), bottom = PixelY(int64_t(ySrc) + cySrc);
    Forwards(&left, &right, &x, &cx);
    Forwards(&top, &bottom, &y, &cy);
    if (left == right || top == bottom) return S_OK;  // less than a pixel of the picture
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return E_INVALIDARG;
    bool drawn = true;
    HGDIOBJ old = nullptr;
    if (m_mask) {
        // The classic two passes: the mask cuts the holes, the image (black where the background
        // shows) is laid in with XOR.
        old = SelectObject(memory, m_mask);
        drawn = StretchBlt(dc, x, y, cx, cy, memory, left, top, right - left, bottom - top, SRCAND);
        SelectObject(memory, m_image);
        drawn = drawn && StretchBlt(dc, x, y, cx, cy, memory, left, top, right - left, bottom - top, SRCINVERT);
    } else {
        old = SelectObject(memory, m_image);
        drawn = StretchBlt(dc, x, y, cx, cy, memory, left, top, right - left, bottom - top, SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    return drawn ? S_OK : E_FAIL;
}

// The rest of the stream, or `size` bytes of it.
HRESULT ReadAll(IStream* stream, LONG size, std::vector<uint8_t>* bytes) {
    const uint64_t wanted = size > 0 ? uint64_t(size) : UINT64_MAX;
    std::vector<uint8_t> chunk(65536);
    while (bytes->size() < wanted) {
        ULONG got = 0;
        const ULONG ask = ULONG(std::min<uint64_t>(chunk.size(), wanted - bytes->size()));
        const HRESULT hr = stream->Read(chunk.data(), ask, &got);
        if (FAILED(hr)) return hr;
        if (got == 0) break;
        bytes->insert(bytes->end(), chunk.begin(), chunk.begin() + std::min(got, ask));
    }
    return S_OK;
}

}  // namespace
}  // namespace platform

HRESULT OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL, REFIID riid, LPVOID* lplpvObj) {
    if (!lplpvObj) return E_POINTER;
    *lplpvObj = nullptr;
    if (!lpstream) return E_POINTER;
    if (!IsEqualGUID(riid, IID_IPicture) && !IsEqualGUID(riid, IID_IUnknown)) return E_NOINTERFACE;
    std::vector<uint8_t> bytes;
    if (HRESULT hr = platform::ReadAll(lpstream, lSize, &bytes); FAILED(hr)) return hr;
    platform::picture::DecodedPicture decoded;
    if (!platform::picture::DecodePicture(bytes.data(), bytes.size(), &decoded)) return CTL_E_INVALIDPICTURE;
    HBITMAP image = platform::gdi::BitmapFromDib(decoded.image, false);
    HBITMAP mask = decoded.mask.bits.empty() ? nullptr : platform::gdi::BitmapFromDib(decoded.mask, false);
    if (!image || (!mask && !decoded.mask.bits.empty())) {
        if (image) DeleteObject(image);
        if (mask) DeleteObject(mask);
        return CTL_E_INVALIDPICTURE;
    }
    return platform::CreateComObject<platform::Picture>(riid, lplpvObj, decoded.kind, decoded.width, decoded.height,
                                                        image, mask);
}
