// CSkinBitmap: a bitmap that skinned windows draw in the ways skins need (plain, transparent,
// stretched, tiled, three-piece) and that cuts a window region out of itself by a key colour.
#pragma once

#include <afxwin.h>

class CSkinBitmap : public CBitmap {
public:
    CSkinBitmap() = default;
    ~CSkinBitmap() override;

    int GetWidth() const;
    int GetHeight() const;
    CSize GetSize() const;

    BOOL LoadFromFile(LPCTSTR path);
    BOOL LoadFromResource(UINT id);

    void Draw(CDC* dc, int x, int y, CRect* part = nullptr);
    void StretchDraw(CDC* dc, CRect* target, CRect* part = nullptr);
    BOOL DrawTransparent(CDC* dc, int x, int y, COLORREF transparent);
    void FillPattern(CDC* dc, CRect* rect);
    static void DrawHorizontal(CDC* dc, CRect* target, CSkinBitmap* left, CSkinBitmap* middle,
                               CSkinBitmap* right, bool stretch);
    static void DrawVertical(CDC* dc, CRect* target, CSkinBitmap* top, CSkinBitmap* middle, CSkinBitmap* bottom,
                             bool stretch);

    // The opaque pixels' region, read in two GetDIBits calls; the caller owns it. NULL for depths
    // other than 8, 16, 24 and 32 bits, and when a read or an allocation fails.
    HRGN CreateRegion(COLORREF transparent);
    // The same region built pixel by pixel (small bitmaps only).
    void MakeRgnByPixels(CRgn* region, COLORREF transparent);
};
