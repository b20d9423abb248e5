#include "DrawBmpHelper.h"

#include "EnBitmap.h"
#include "SkinBitmap.h"

namespace CDrawBmpHelper {

namespace {

CSize SizeOf(CBitmap* bitmap) {
    BITMAP bm{};
    if (!bitmap || !bitmap->GetBitmap(&bm)) return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

// Draws through a screen-compatible memory bitmap of the rectangle's size, copied in one block.
template <class Paint>
void ThroughMemory(CDC* dc, const CRect& rect, Paint paint) {
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap canvas;
    canvas.CreateCompatibleBitmap(dc, rect.Width(), rect.Height());
    CBitmap* old = memory.SelectObject(&canvas);
    paint(&memory, CRect(0, 0, rect.Width(), rect.Height()));
    dc->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

}  // namespace

void DrawBitmap(CDC* dc, const CRect& rect, CBitmap* bitmap) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(bitmap);
    dc->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void DrawBmp(CDC* dc, const CRect& rect, CBitmap* bitmap) { DrawBitmap(dc, rect, bitmap); }

void DrawTransparent(CDC* dc, int x, int y, int width, int height, CBitmap* source, int sourceX, int sourceY,
                     COLORREF transparent, CPalette* palette) {
    CEnBitmap::DrawTransparent(dc->GetSafeHdc(), x, y, width, height, HBITMAP(*source), sourceX, sourceY,
                               transparent, palette ? HPALETTE(*palette) : nullptr);
}

void DrawTransparentBitmap(CDC* dc, int x, int y, CSkinBitmap* bitmap, COLORREF transparent) {
    const CSize size = SizeOf(bitmap);
    DrawTransparent(dc, x, y, size.cx, size.cy, bitmap, 0, 0, transparent);
}

void FillPattern(CDC* dc, const CRect& rect, CBitmap* bitmap) {
    CBrush brush;
    brush.CreatePatternBrush(bitmap);
    dc->FillRect(&rect, &brush);
}

void TileRect(CDC* dc, const CRect& rect, CBitmap* bitmap) {
    const CSize size = SizeOf(bitmap);
    if (size.cx <= 0 || size.cy <= 0) return;
    ThroughMemory(dc, rect, [&](CDC* memory, const CRect& area) {
        for (int y = 0; y < area.bottom; y += size.cy)
            for (int x = 0; x < area.right; x += size.cx) DrawBitmap(memory, CRect(x, y, x + size.cx, y + size.cy), bitmap);
    });
}

void StretchBitmap(CDC* dc, const CRect& rect, CBitmap* bitmap, const CRect* part) {
    const CSize size = SizeOf(bitmap);
    const CRect from = part ? *part : CRect(0, 0, size.cx, size.cy);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(bitmap);
    dc->SetStretchBltMode(COLORONCOLOR);
    dc->StretchBlt(rect.left, rect.top, rect.Width(), rect.Height(), &memory, from.left, from.top, from.Width(),
                   from.Height(), SRCCOPY);
    memory.SelectObject(old);
}

void StretchRect(CDC* dc, const CRect& rect, CBitmap* bitmap, const CRect* part) {
    ThroughMemory(dc, rect, [&](CDC* memory, const CRect& area) { StretchBitmap(memory, area, bitmap, part); });
}

BOOL LoadBitmapFile(CBitmap* bitmap, LPCTSTR path) {
    HANDLE loaded = ::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!loaded) return FALSE;
    bitmap->DeleteObject();
    return bitmap->Attach(loaded);
}

}  // namespace CDrawBmpHelper
