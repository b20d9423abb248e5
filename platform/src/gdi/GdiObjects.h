// The GDI's objects and their handle table. Internal to the platform library.
//
// Every call takes the one GDI lock (recursive) for its whole work, so a renderer's streaming
// thread and the window thread may both draw; the lock is never held while a window procedure
// runs, and never taken while the window table's lock is held.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "gdi/Region.h"
#include "platform/wingdi.h"

namespace platform::gdi {

std::recursive_mutex& Lock();
using Guard = std::lock_guard<std::recursive_mutex>;

struct Object {
    virtual ~Object() = default;
    DWORD type = 0;
    bool stock = false;
    int references = 0;         // selections into DCs and saved DC states
    bool deletePending = false;  // deleted while selected: freed at the last deselection
    HGDIOBJ handle = nullptr;
};

// A pixel inside holds red, green and blue in bits 16-23, 8-15 and 0-7, its top byte unused (BGRX in
// memory); COLORREF is 0x00BBGGRR.
inline uint32_t PixelOf(COLORREF c) {
    if ((c >> 24) == 0x02) c &= 0xFFFFFF;  // palette-relative: drawn as its RGB value
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF ColorOf(uint32_t p) { return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16); }

struct Bitmap : Object {
    static constexpr DWORD kType = OBJ_BITMAP;
    int width = 0;
    int height = 0;
    int bpp = 32;
    bool dib = false;       // a DIB section (its bits are the caller's to write)
    bool bottomUp = false;  // rows stored from the bottom (a DIB section of positive height)
    int stride = 0;         // bytes per stored row, a multiple of 4
    std::vector<uint8_t> store;
    uint8_t* external = nullptr;  // a caller's DIB bits read in place (no copy)
    bool rgb555 = false;          // 16 bits as 5-5-5 (a DIB without bit fields) rather than 5-6-5
    std::vector<uint32_t> colors;  // colour table of 1, 4 and 8 bits (pixel values)
    // A top-level window's surface: the window, and what was drawn since the display was told.
    HWND window = nullptr;
    std::vector<RECT> changed;

    bool Mono() const { return bpp == 1 && !dib; }
    uint8_t* Data() { return external ? external : store.data(); }
    const uint8_t* Data() const { return external ? external : store.data(); }
    uint8_t* Row(int y) { return Data() + size_t(bottomUp ? height - 1 - y : y) * size_t(stride); }
    const uint8_t* Row(int y) const { return Data() + size_t(bottomUp ? height - 1 - y : y) * size_t(stride); }
    // n pixels of row y from x (all within the bitmap), as pixel values.
    void ReadSpan(int y, int x, int n, uint32_t* out) const;
    void WriteSpan(int y, int x, int n, const uint32_t* in);
    uint32_t Get(int x, int y) const {
        uint32_t p;
        ReadSpan(y, x, 1, &p);
        return p;
    }
    void Set(int x, int y, uint32_t p) { WriteSpan(y, x, 1, &p); }
    // The stored value nearest to a colour for depths with a table (1, 4, 8 bits).
    uint32_t Nearest(uint32_t pixel) const;
    void MarkChanged(const RECT& r);
};

// The most store one bitmap may have: larger ones are refused before anything is allocated.
constexpr uint64_t kMaxBitmapStore = uint64_t(256) << 20;
// A bitmap object of the given format, zeroed; bits-per-pixel 1, 4, 8, 16, 24 or 32. Null when its
// store would exceed kMaxBitmapStore or cannot be had.
std::unique_ptr<Bitmap> MakeBitmap(int width, int height, int bpp, bool dib, bool bottomUp);

struct Pen : Object {
    static constexpr DWORD kType = OBJ_PEN;
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

struct Brush : Object {
    static constexpr DWORD kType = OBJ_BRUSH;
    int style = BS_SOLID;
    COLORREF color = 0;
    std::shared_ptr<Bitmap> pattern;  // a copy of the pattern bitmap
};

struct Font : Object {
    static constexpr DWORD kType = OBJ_FONT;
    LOGFONTA logfont{};  // face name in UTF-8
};

struct RegionObject : Object {
    static constexpr DWORD kType = OBJ_REGION;
    Region region;
};

struct Palette : Object {
    static constexpr DWORD kType = OBJ_PAL;
    std::vector<PALETTEENTRY> entries;
};

struct DCState {
    HGDIOBJ pen = nullptr, brush = nullptr, font = nullptr, bitmap = nullptr, palette = nullptr;
    COLORREF text = 0, bk = 0xFFFFFF;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    UINT align = TA_LEFT | TA_TOP;
    POINT viewportOrg{0, 0}, windowOrg{0, 0}, brushOrg{0, 0}, current{0, 0};
    bool clipped = false;
    Region clip;  // device coordinates
    COLORREF dcBrush = 0xFFFFFF, dcPen = 0;
};

struct DC : Object {
    static constexpr DWORD kType = OBJ_DC;
    DCState s;
    std::vector<DCState> saved;
    bool memory = false;
    bool info = false;  // an information context: answers questions, draws nothing
    HWND window = nullptr;
    std::shared_ptr<Bitmap> surface;  // a window's DC: its top-level window's surface
    POINT offset{0, 0};               // device origin within the surface
    Region visible;                   // a window's DC: where it may draw, in surface coordinates

    Bitmap* Target() const;
    // Logical to surface coordinates.
    POINT ToSurface(int x, int y) const {
        return POINT{x - s.windowOrg.x + s.viewportOrg.x + offset.x, y - s.windowOrg.y + s.viewportOrg.y + offset.y};
    }
    RECT ToSurface(const RECT& r) const;
    // Where drawing lands, in surface coordinates: the target's bounds, the window's visible
    // part and the clip region.
    Region Clip() const;
    void ClipInto(Region& out) const;
    // The clip within a surface rectangle, in a region of this thread's that the next call
    // rewrites (so a span walk allocates nothing).
    const Region& ClipWithin(const RECT& area) const;
};

// ---- the handle table ----
HGDIOBJ Insert(std::unique_ptr<Object> object, DWORD type);
// A freed DC kept to serve as the next (null if none), and its entry back in the table under a
// new handle once the caller has set it up.
DC* SpareDC();
HGDIOBJ InsertSpareDC(DWORD type);
// An object that lives as long as the process (never freed, not counted).
HGDIOBJ InsertStock(std::unique_ptr<Object> object, DWORD type);
Object* Find(HGDIOBJ handle);
template <class T>
T* Get(HGDIOBJ handle) {
    Object* o = Find(handle);
    if (!o) return nullptr;
    if constexpr (T::kType == OBJ_DC) return (o->type == OBJ_DC || o->type == OBJ_MEMDC) ? static_cast<T*>(o) : nullptr;
    else return o->type == T::kType ? static_cast<T*>(o) : nullptr;
}
// A selection or saved state now refers to / no longer refers to the object.
void Reference(HGDIOBJ handle);
void Release(HGDIOBJ handle);
// The default objects a new DC holds.
DCState DefaultState(bool memory);
HGDIOBJ Stock(int index);
// Frees a DC and what it holds.
void FreeDC(DC* dc);
// Hears of every object and DC freed, with the GDI lock held (the framework's temporary wrappers).
void SetObjectGoneHook(void (*hook)(HGDIOBJ object));
// A new DC with the default state.
HDC NewDC(bool memory, bool info);
HBITMAP StockBitmap();

}  // namespace platform::gdi
