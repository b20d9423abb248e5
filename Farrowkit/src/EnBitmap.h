// CEnBitmap: the bitmap loader of skins (image resources and files) and the palette-aware
// transparent draw.
#pragma once

#include <afxwin.h>
#include <objbase.h>

class CEnBitmap : public CBitmap {
public:
    // An image resource of any format the picture loader reads, on the background colour
    // (0xFFFFFFFF: none). FALSE when the bitmap already holds one or any step fails.
    BOOL LoadImage(UINT id, LPCTSTR type, HMODULE module, COLORREF background);
    // The same from an image file, read whole; FALSE as well when the file cannot be read whole
    // or is too large for the loader.
    BOOL LoadImage(LPCTSTR path, COLORREF background);
    // The picture drawn into a new screen-compatible bitmap of its size in pixels, which this
    // object then holds. The caller keeps its picture.
    BOOL AttachPicture(IPicture* picture, COLORREF background);

    // A picture read from a copy of the bytes; NULL when they are no picture.
    static IPicture* LoadFromStream(const BYTE* data, int size);

    // The resource's bytes: without a buffer *size gets its size; with one they are copied when
    // *size is large enough. FALSE when the resource is missing or the buffer is too small.
    static BOOL LoadFromResource(UINT id, LPCTSTR type, HMODULE module, BYTE* buffer, int* size);

    // Draws width x height of the source from (sourceX, sourceY) at (x, y); pixels of the
    // transparent colour leave the target as it was.
    static void DrawTransparent(HDC dc, int x, int y, int width, int height, HBITMAP source, int sourceX,
                                int sourceY, COLORREF transparent, HPALETTE palette);
};
