#include "EnBitmap.h"

#include <cstring>

BOOL CEnBitmap::LoadFromResource(UINT id, LPCTSTR type, HMODULE module, BYTE* buffer, int* size) {
    if (!size) return FALSE;
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCE(id), type);
    if (!found) return FALSE;
    HGLOBAL loaded = ::LoadResource(module, found);
    if (!loaded) return FALSE;
    const DWORD length = ::SizeofResource(module, found);
    BOOL result = FALSE;
    if (!buffer) {
        *size = int(length);
        result = TRUE;
    } else if (*size >= 0 && DWORD(*size) >= length) {
        const void* bytes = ::LockResource(loaded);
        if (bytes) {
            std::memcpy(buffer, bytes, length);
            result = TRUE;
        }
    }
    ::FreeResource(loaded);
    return result;
}

void CEnBitmap::DrawTransparent(HDC dc, int x, int y, int width, int height, HBITMAP source, int sourceX,
                                int sourceY, COLORREF transparent, HPALETTE palette) {
    CDC* target = CDC::FromHandle(dc);
    CDC image, mask, from;
    image.CreateCompatibleDC(target);
    mask.CreateCompatibleDC(target);
    from.CreateCompatibleDC(target);

    HBITMAP work = ::CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldImage = ::SelectObject(image, work);
    HGDIOBJ oldSource = ::SelectObject(from, source);
    HPALETTE oldTargetPalette = nullptr, oldImagePalette = nullptr;
    if (palette && (::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE)) {
        oldTargetPalette = ::SelectPalette(dc, palette, FALSE);
        ::RealizePalette(dc);
        oldImagePalette = ::SelectPalette(image, palette, FALSE);
    }
    ::BitBlt(image, 0, 0, width, height, from, sourceX, sourceY, SRCCOPY);

    HBITMAP monochrome = ::CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ oldMask = ::SelectObject(mask, monochrome);
    ::SetBkColor(image, transparent);
    ::BitBlt(mask, 0, 0, width, height, image, 0, 0, SRCCOPY);

    ::SetBkColor(image, RGB(0, 0, 0));
    ::SetTextColor(image, RGB(255, 255, 255));
    ::BitBlt(image, 0, 0, width, height, mask, 0, 0, SRCAND);

    const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    ::BitBlt(dc, x, y, width, height, mask, 0, 0, SRCAND);
    ::BitBlt(dc, x, y, width, height, image, 0, 0, SRCPAINT);
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);

    if (oldImagePalette) ::SelectPalette(image, oldImagePalette, FALSE);
    if (oldTargetPalette) ::SelectPalette(dc, oldTargetPalette, FALSE);
    ::SelectObject(mask, oldMask);
    ::SelectObject(from, oldSource);
    ::SelectObject(image, oldImage);
    ::DeleteObject(monochrome);
    ::DeleteObject(work);
}
