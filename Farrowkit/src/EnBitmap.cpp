#include "EnBitmap.h"

#include <climits>
#include <cstring>
#include <vector>

namespace {
constexpr COLORREF kNoBackground = 0xFFFFFFFF;
}  // namespace

BOOL CEnBitmap::LoadImage(UINT id, LPCTSTR type, HMODULE module, COLORREF background) {
    ASSERT(GetSafeHandle() == nullptr);
    if (GetSafeHandle()) return FALSE;
    int size = 0;
    if (!LoadFromResource(id, type, module, nullptr, &size) || size <= 0) return FALSE;
    std::vector<BYTE> buffer(static_cast<size_t>(size));
    if (!LoadFromResource(id, type, module, buffer.data(), &size)) return FALSE;
    IPicture* picture = LoadFromStream(buffer.data(), size);
    if (!picture) return FALSE;
    const BOOL attached = AttachPicture(picture, background);
    picture->Release();
    return attached;
}

namespace {
// The file's bytes, all of them: false when it cannot be opened or read to its end, or holds
// more bytes than the loader's int counts.
bool ReadWholeFile(LPCTSTR path, std::vector<BYTE>* bytes) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) return false;
    try {
        const ULONGLONG length = file.GetLength();
        if (length == 0 || length > ULONGLONG(INT_MAX)) return false;
        bytes->resize(size_t(length));
        if (file.Read(bytes->data(), UINT(length)) != UINT(length)) return false;
        // Nothing after it (a length the size query could not tell whole).
        BYTE more;
        return file.Read(&more, 1) == 0;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}
}  // namespace

BOOL CEnBitmap::LoadImage(LPCTSTR path, COLORREF background) {
    ASSERT(GetSafeHandle() == nullptr);
    if (GetSafeHandle()) return FALSE;
    std::vector<BYTE> buffer;
    if (!ReadWholeFile(path, &buffer)) return FALSE;
    IPicture* picture = LoadFromStream(buffer.data(), int(buffer.size()));
    if (!picture) return FALSE;
    const BOOL attached = AttachPicture(picture, background);
    picture->Release();
    return attached;
}

BOOL CEnBitmap::AttachPicture(IPicture* picture, COLORREF background) {
    ASSERT(GetSafeHandle() == nullptr);
    ASSERT(picture != nullptr);
    if (GetSafeHandle() || !picture) return FALSE;
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    if (FAILED(picture->get_Width(&himetricWidth)) || FAILED(picture->get_Height(&himetricHeight))) return FALSE;

    HDC screenDc = ::GetDC(nullptr);
    CDC* screen = CDC::FromHandle(screenDc);
    const int width = ::MulDiv(himetricWidth, screen->GetDeviceCaps(LOGPIXELSX), 2540);
    const int height = ::MulDiv(himetricHeight, screen->GetDeviceCaps(LOGPIXELSY), 2540);
    CDC memory;
    CBitmap bitmap;
    HRESULT rendered = E_FAIL;
    if (memory.CreateCompatibleDC(screen) && bitmap.CreateCompatibleBitmap(screen, width, height)) {
        CBitmap* old = memory.SelectObject(&bitmap);
        if (background != kNoBackground) memory.FillSolidRect(0, 0, width, height, background);
        rendered = picture->Render(memory.GetSafeHdc(), 0, 0, width, height, 0, himetricHeight, himetricWidth,
                                   -himetricHeight, nullptr);
        memory.SelectObject(old);
    }
    ::ReleaseDC(nullptr, screenDc);
    if (rendered != S_OK) return FALSE;
    return Attach(bitmap.Detach());
}

IPicture* CEnBitmap::LoadFromStream(const BYTE* data, int size) {
    if (!data || size <= 0) return nullptr;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, SIZE_T(size));
    if (!block) return nullptr;
    void* bytes = ::GlobalLock(block);
    if (!bytes) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(bytes, data, size_t(size));
    ::GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) {
        ::GlobalFree(block);
        return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(::OleLoadPicture(stream, size, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture))))
        picture = nullptr;
    stream->Release();
    return picture;
}

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
