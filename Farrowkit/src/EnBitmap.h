// CEnBitmap: the bitmap loader of skins (image resources and files) and the palette-aware
// transparent draw.
#pragma once

#include <afxwin.h>

class CEnBitmap : public CBitmap {
public:
    // The resource's bytes: without a buffer *size gets its size; with one they are copied when
    // *size is large enough. FALSE when the resource is missing or the buffer is too small.
    static BOOL LoadFromResource(UINT id, LPCTSTR type, HMODULE module, BYTE* buffer, int* size);

    // Draws width x height of the source from (sourceX, sourceY) at (x, y); pixels of the
    // transparent colour leave the target as it was.
    static void DrawTransparent(HDC dc, int x, int y, int width, int height, HBITMAP source, int sourceX,
                                int sourceY, COLORREF transparent, HPALETTE palette);
};
