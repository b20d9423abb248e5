// Resources built into the program (bitmaps, icons, custom data) and bitmap files.
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "gdi/GdiObjects.h"

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

// A packed DIB (header, colour table or masks, bits) as a bitmap: a DIB section of its own
// depth, or a 32-bit device bitmap. Null when the bytes are not a whole DIB.
HBITMAP FromPackedDib(const uint8_t* data, size_t size, bool dibSection) {
    if (size < sizeof(BITMAPINFOHEADER)) return nullptr;
    BITMAPINFOHEADER h;
    std::memcpy(&h, data, sizeof h);
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > size || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biWidth > 32768 || h.biHeight > 32768 || h.biHeight < -32768)
        return nullptr;
    size_t tableBytes = 0;
    if (h.biBitCount <= 8) tableBytes = 4 * (h.biClrUsed ? std::min<size_t>(h.biClrUsed, 256) : size_t(1) << h.biBitCount);
    else if (h.biCompression == BI_BITFIELDS) tableBytes = 12;
    size_t height = size_t(h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight);
    size_t stride = ((size_t(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    size_t bitsOffset = h.biSize + tableBytes;
    if (bitsOffset > size || stride * height > size - bitsOffset) return nullptr;
    // A header of exactly 40 bytes followed by the table, as BITMAPINFO has it.
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + tableBytes);
    std::memcpy(info.data(), data, sizeof(BITMAPINFOHEADER));
    reinterpret_cast<BITMAPINFOHEADER*>(info.data())->biSize = sizeof(BITMAPINFOHEADER);
    std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), data + h.biSize, tableBytes);
    auto* bmi = reinterpret_cast<const BITMAPINFO*>(info.data());
    const uint8_t* bits = data + bitsOffset;
    if (dibSection) {
        void* out = nullptr;
        HBITMAP b = CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &out, nullptr, 0);
        if (b) std::memcpy(out, bits, stride * height);
        return b;
    }
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateDIBitmap(screen, &bmi->bmiHeader, CBM_INIT, bits, bmi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return b;
}

HBITMAP LoadBitmapFile(LPCSTR path, bool dibSection) {
    if (!path) return nullptr;
    std::string p(path);
    for (char& c : p)
        if (c == '\\') c = '/';
    std::ifstream in(p, std::ios::binary);
    if (!in) return nullptr;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < sizeof(BITMAPFILEHEADER)) return nullptr;
    BITMAPFILEHEADER f;
    std::memcpy(&f, bytes.data(), sizeof f);
    if (f.bfType != 0x4D42) return nullptr;
    const uint8_t* dib = bytes.data() + sizeof f;
    size_t dibSize = bytes.size() - sizeof f;
    // The pixels must start where the file header says, after the header and table.
    if (f.bfOffBits < sizeof f || f.bfOffBits > bytes.size()) return nullptr;
    BITMAPINFOHEADER h;
    if (dibSize < sizeof h) return nullptr;
    std::memcpy(&h, dib, sizeof h);
    size_t tableBytes = h.biBitCount <= 8 ? 4 * (h.biClrUsed ? std::min<size_t>(h.biClrUsed, 256) : size_t(1) << std::min<WORD>(h.biBitCount, 8))
                        : (h.biCompression == BI_BITFIELDS ? 12 : 0);
    if (h.biSize < sizeof h || size_t(f.bfOffBits) != sizeof f + h.biSize + tableBytes) {
        // A gap between table and pixels: pack them together.
        if (h.biSize < sizeof h || sizeof f + h.biSize + tableBytes > f.bfOffBits) return nullptr;
        std::vector<uint8_t> packed(dib, dib + h.biSize + tableBytes);
        packed.insert(packed.end(), bytes.begin() + f.bfOffBits, bytes.end());
        return FromPackedDib(packed.data(), packed.size(), dibSection);
    }
    return FromPackedDib(dib, dibSize, dibSection);
}

}  // namespace

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
