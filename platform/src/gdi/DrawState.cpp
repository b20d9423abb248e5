// DrawState: text, bitmaps, icons and caller-drawn images, normal, in one brush (DSS_MONO), or
// embossed as disabled (DSS_DISABLED).
#include <cstring>

#include "platform/wingdi.h"

namespace {

struct Image {
    UINT type;
    DRAWSTATEPROC proc;
    LPARAM data;
    WPARAM wData;
};

// Text at (x, y) in a colour (CLR_INVALID: the DC's text colour).
BOOL DrawTextAt(HDC dc, const Image& image, int x, int y, int cx, int cy, COLORREF color) {
    auto text = reinterpret_cast<LPCSTR>(image.data);
    if (!text) return FALSE;
    int count = image.wData ? int(image.wData) : int(std::strlen(text));
    COLORREF oldColor = color == CLR_INVALID ? 0 : SetTextColor(dc, color);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT r{x, y, x + (cx ? cx : 32767), y + (cy ? cy : 32767)};
    DrawTextA(dc, text, count, &r,
              DT_LEFT | DT_TOP | DT_NOCLIP | DT_SINGLELINE | (image.type == DST_TEXT ? DT_NOPREFIX : 0));
    SetBkMode(dc, oldMode);
    if (color != CLR_INVALID) SetTextColor(dc, oldColor);
    return TRUE;
}

// A bitmap, an icon or a caller-drawn image at (x, y), as it is.
BOOL DrawPicture(HDC dc, const Image& image, int x, int y, int cx, int cy) {
    switch (image.type) {
    case DST_BITMAP: {
        auto bitmap = reinterpret_cast<HBITMAP>(image.data);
        BITMAP bm{};
        if (!GetObjectA(bitmap, sizeof bm, &bm)) return FALSE;
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, bitmap);
        BOOL ok = BitBlt(dc, x, y, cx ? cx : bm.bmWidth, cy ? cy : bm.bmHeight, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        return ok;
    }
    case DST_ICON: return DrawIconEx(dc, x, y, reinterpret_cast<HICON>(image.data), cx, cy, 0, nullptr, DI_NORMAL);
    case DST_COMPLEX: {
        if (!image.proc) return FALSE;
        POINT old;
        OffsetViewportOrgEx(dc, x, y, &old);
        BOOL ok = image.proc(dc, image.data, image.wData, cx, cy);
        SetViewportOrgEx(dc, old.x, old.y, nullptr);
        return ok;
    }
    default: return FALSE;
    }
}

// The picture's size: the one given, else its own (a bitmap's, an icon's 32 x 32).
SIZE PictureSize(const Image& image, int cx, int cy) {
    SIZE s{cx, cy};
    if (image.type == DST_BITMAP) {
        BITMAP bm{};
        GetObjectA(reinterpret_cast<HBITMAP>(image.data), sizeof bm, &bm);
        if (!cx) s.cx = bm.bmWidth;
        if (!cy) s.cy = bm.bmHeight;
    } else if (image.type == DST_ICON) {
        if (!cx) s.cx = 32;
        if (!cy) s.cy = 32;
    }
    return s;
}

// Paints the brush where the mask (monochrome, selected in `mask`) is black; the rest of the
// target stays.
void PaintWhereBlack(HDC dc, HDC mask, int x, int y, SIZE size, HBRUSH brush) {
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0)), oldBk = SetBkColor(dc, RGB(255, 255, 255));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    BitBlt(dc, x, y, size.cx, size.cy, mask, 0, 0, 0x00B8074A);  // the pattern where the source is 0
    SelectObject(dc, oldBrush);
    SetBkColor(dc, oldBk);
    SetTextColor(dc, oldText);
}

// The picture's shape in one brush (mono), or embossed: the highlight one pixel down and right
// under the shadow. The shape is what the picture draws over a white ground.
BOOL DrawShape(HDC dc, const Image& image, int x, int y, int cx, int cy, HBRUSH mono) {
    const SIZE size = PictureSize(image, cx, cy);
    if (size.cx <= 0 || size.cy <= 0) return FALSE;
    HDC colour = CreateCompatibleDC(dc), mask = CreateCompatibleDC(dc);
    HBITMAP picture = CreateBitmap(size.cx, size.cy, 1, 32, nullptr);
    HBITMAP shape = CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
    BOOL ok = colour && mask && picture && shape;
    if (ok) {
        HGDIOBJ oldPicture = SelectObject(colour, picture), oldShape = SelectObject(mask, shape);
        PatBlt(colour, 0, 0, size.cx, size.cy, WHITENESS);
        ok = DrawPicture(colour, image, 0, 0, cx, cy);
        SetBkColor(colour, RGB(255, 255, 255));
        BitBlt(mask, 0, 0, size.cx, size.cy, colour, 0, 0, SRCCOPY);  // white stays white, the rest black
        if (ok && mono) {
            PaintWhereBlack(dc, mask, x, y, size, mono);
        } else if (ok) {
            HBRUSH highlight = CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT));
            HBRUSH shadow = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
            PaintWhereBlack(dc, mask, x + 1, y + 1, size, highlight);
            PaintWhereBlack(dc, mask, x, y, size, shadow);
            DeleteObject(highlight);
            DeleteObject(shadow);
        }
        SelectObject(colour, oldPicture);
        SelectObject(mask, oldShape);
    }
    if (picture) DeleteObject(picture);
    if (shape) DeleteObject(shape);
    if (colour) DeleteDC(colour);
    if (mask) DeleteDC(mask);
    return ok;
}

}  // namespace

BOOL DrawStateA(HDC dc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx, int cy,
                UINT flags) {
    if (!GetObjectType(dc)) return FALSE;
    const Image image{flags & 0x000F, proc, data, wData};
    const bool disabled = (flags & DSS_DISABLED) != 0, mono = (flags & DSS_MONO) != 0;
    // DSS_MONO draws in the brush given, the text colour's when none is.
    HBRUSH ownBrush = mono && !brush ? CreateSolidBrush(GetTextColor(dc)) : nullptr;
    if (ownBrush) brush = ownBrush;
    BOOL ok = FALSE;
    if (image.type == DST_TEXT || image.type == DST_PREFIXTEXT) {
        LOGBRUSH lb{};
        if (mono) GetObjectA(brush, sizeof lb, &lb);
        if (disabled) {
            // Embossed, a highlight one pixel down and right under the shadow.
            DrawTextAt(dc, image, x + 1, y + 1, cx, cy, GetSysColor(COLOR_BTNHIGHLIGHT));
            ok = DrawTextAt(dc, image, x, y, cx, cy, GetSysColor(COLOR_BTNSHADOW));
        } else {
            ok = DrawTextAt(dc, image, x, y, cx, cy, mono ? lb.lbColor : CLR_INVALID);
        }
    } else if (disabled || mono) {
        ok = DrawShape(dc, image, x, y, cx, cy, disabled ? nullptr : brush);
    } else {
        ok = DrawPicture(dc, image, x, y, cx, cy);
    }
    if (ownBrush) DeleteObject(ownBrush);
    return ok;
}
