// Resources built into the program (bitmaps, icons, custom data) and bitmap files.
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "gdi/DibFile.h"
#include "gdi/GdiObjects.h"

using platform::gdi::BitmapFromDib;
using platform::gdi::PackedDib;
using platform::gdi::ReadBitmapFile;
using platform::gdi::ReadPackedDib;

namespace {

struct ResourceEntry {
    const void* data;
    DWORD size;
};

std::string TypeKey(LPCSTR type) {
    auto v = reinterpret_cast<ULONG_PTR>(type);
    return v <= 0xFFFF ? "#" + std::to_string(v) : std::string(type);
}

std::map<std::pair<std::string, UINT>, ResourceEntry>& Table() {
    static auto* table = new std::map<std::pair<std::string, UINT>, ResourceEntry>;
    return *table;
}

std::mutex& TableLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

const ResourceEntry* Find(LPCSTR name, LPCSTR type) {
    auto id = reinterpret_cast<ULONG_PTR>(name);
    if (id > 0xFFFF) return nullptr;
    std::lock_guard<std::mutex> g(TableLock());
    auto it = Table().find({TypeKey(type), UINT(id)});
    return it == Table().end() ? nullptr : &it->second;
}

// A packed DIB (header, colour table or masks, bits) as a bitmap. Null when the bytes are not
// a whole DIB.
HBITMAP FromPackedDib(const uint8_t* data, size_t size, bool dibSection) {
    PackedDib dib;
    return ReadPackedDib(data, size, &dib) ? BitmapFromDib(dib, dibSection) : nullptr;
}

HBITMAP LoadBitmapFile(LPCSTR path, bool dibSection) {
    if (!path) return nullptr;
    std::string p(path);
    for (char& c : p)
        if (c == '\\') c = '/';
    std::ifstream in(p, std::ios::binary);
    if (!in) return nullptr;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PackedDib dib;
    return ReadBitmapFile(bytes.data(), bytes.size(), &dib) ? BitmapFromDib(dib, dibSection) : nullptr;
}

}  // namespace

HBITMAP platform::gdi::BitmapFromDib(const PackedDib& dib, bool dibSection) {
    const BITMAPINFO* bmi = dib.Info();
    if (dibSection) {
        void* out = nullptr;
        HBITMAP b = CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &out, nullptr, 0);
        if (b) std::memcpy(out, dib.bits.data(), dib.bits.size());
        return b;
    }
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateDIBitmap(screen, &bmi->bmiHeader, CBM_INIT, dib.bits.data(), bmi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return b;
}

void AfxRegisterResourceData(UINT id, LPCSTR type, const void* data, DWORD size) {
    std::lock_guard<std::mutex> g(TableLock());
    Table()[{TypeKey(type), id}] = ResourceEntry{data, size};
}

HRSRC FindResourceA(HMODULE, LPCSTR name, LPCSTR type) {
    return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(Find(name, type)));
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) { return resource; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource ? reinterpret_cast<const ResourceEntry*>(resource)->size : 0;
}

LPVOID LockResource(HGLOBAL data) {
    return data ? const_cast<void*>(reinterpret_cast<const ResourceEntry*>(data)->data) : nullptr;
}

BOOL FreeResource(HGLOBAL) { return TRUE; }

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR name) {
    const ResourceEntry* e = Find(name, RT_BITMAP);
    return e ? FromPackedDib(static_cast<const uint8_t*>(e->data), e->size, false) : nullptr;
}

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    if (type == IMAGE_ICON) return (flags & LR_LOADFROMFILE) ? nullptr : LoadIconA(instance, name);
    if (type != IMAGE_BITMAP) return nullptr;
    bool dib = (flags & LR_CREATEDIBSECTION) != 0;
    if (flags & LR_LOADFROMFILE) return LoadBitmapFile(name, dib);
    const ResourceEntry* e = Find(name, RT_BITMAP);
    return e ? FromPackedDib(static_cast<const uint8_t*>(e->data), e->size, dib) : nullptr;
}

BOOL DestroyIcon(HICON icon) { return icon ? TRUE : FALSE; }

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH, UINT) {
    if (!icon || !GetObjectType(dc)) return FALSE;
    // An icon handle stands for its resource id.
    UINT id = UINT(reinterpret_cast<ULONG_PTR>(icon) & 0xFFFF);
    const ResourceEntry* e = Find(MAKEINTRESOURCE(id), RT_ICON);
    int w = width ? width : 32, h = height ? height : 32;
    if (!e) {
        // An icon the program does not carry: a plain framed square.
        RECT r{x, y, x + w, y + h};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return TRUE;
    }
    HBITMAP picture = FromPackedDib(static_cast<const uint8_t*>(e->data), e->size, true);
    if (!picture) return FALSE;
    DIBSECTION ds{};
    GetObjectA(picture, sizeof ds, &ds);
    const BITMAP& bm = ds.dsBm;
    bool bottomUp = ds.dsBmih.biHeight > 0;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, picture);
    // Opaque where the fourth byte says so.
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            int u = i * bm.bmWidth / w, v = j * bm.bmHeight / h;
            const uint8_t* row = static_cast<const uint8_t*>(bm.bmBits) +
                                 size_t(bm.bmWidthBytes) * size_t(bottomUp ? bm.bmHeight - 1 - v : v);
            if (bm.bmBitsPixel != 32 || row[u * 4 + 3] >= 128) SetPixel(dc, x + i, y + j, GetPixel(mem, u, v));
        }
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(picture);
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }
