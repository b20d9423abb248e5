// CDrawBmpHelper: free drawing helpers for skins, one per drawing case.
#pragma once

#include <afxwin.h>

class CSkinBitmap;

namespace CDrawBmpHelper {

// The bitmap at the rectangle's top-left corner, clipped to its size (two names, one drawing).
void DrawBitmap(CDC* dc, const CRect& rect, CBitmap* bitmap);
void DrawBmp(CDC* dc, const CRect& rect, CBitmap* bitmap);
// Key-coloured pixels of the source leave the target as it was; the palette is used when the
// target has one.
void DrawTransparent(CDC* dc, int x, int y, int width, int height, CBitmap* source, int sourceX, int sourceY,
                     COLORREF transparent, CPalette* palette = nullptr);
void DrawTransparentBitmap(CDC* dc, int x, int y, CSkinBitmap* bitmap, COLORREF transparent);
void FillPattern(CDC* dc, const CRect& rect, CBitmap* bitmap);
// Tiles the rectangle through a memory bitmap of its size.
void TileRect(CDC* dc, const CRect& rect, CBitmap* bitmap);
// The bitmap, or its part, stretched onto the rectangle.
void StretchBitmap(CDC* dc, const CRect& rect, CBitmap* bitmap, const CRect* part = nullptr);
// The same through a memory bitmap of the rectangle's size.
void StretchRect(CDC* dc, const CRect& rect, CBitmap* bitmap, const CRect* part = nullptr);
BOOL LoadBitmapFile(CBitmap* bitmap, LPCTSTR path);

}  // namespace CDrawBmpHelper
