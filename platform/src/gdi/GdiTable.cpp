// The handle table, stock objects, and the calls common to every object type.
#include <array>
#include <cstring>
#include <unordered_map>

#include "gdi/GdiObjects.h"

namespace platform::gdi {

namespace {

using Objects = std::unordered_map<uintptr_t, std::unique_ptr<Object>>;

struct Table {
    Objects objects;
    // The entry and object of the last DC freed, cleared, for the next DC: a window's paint
    // makes and frees one every time.
    Objects::node_type spareDC;
    uintptr_t next = 0x40000;
    std::array<int, 16> live{};
    std::array<HGDIOBJ, 20> stock{};
    HBITMAP stockBitmap = nullptr;
};

Table& T() {
    static auto* t = new Table;
    return *t;
}

void (*g_gone)(HGDIOBJ) = nullptr;

void Erase(Object* o) {
    Table& t = T();
    if (o->type < t.live.size()) --t.live[o->type];
    HGDIOBJ handle = o->handle;
    auto entry = t.objects.extract(reinterpret_cast<uintptr_t>(handle));
    if ((o->type == OBJ_DC || o->type == OBJ_MEMDC) && t.spareDC.empty()) {
        // Cleared as a new DC is (nothing of its window stays alive), keeping its region's storage.
        DC& dc = static_cast<DC&>(*o);
        Region visible = std::move(dc.visible);
        visible.Clear();
        dc = DC{};
        dc.visible = std::move(visible);
        t.spareDC = std::move(entry);
    }
    entry = Objects::node_type();
    if (g_gone) g_gone(handle);
}

// Gives the object a handle and counts it.
HGDIOBJ Register(Object& object, DWORD type) {
    Table& t = T();
    object.type = type;
    HGDIOBJ h = reinterpret_cast<HGDIOBJ>(t.next);
    t.next += 4;
    object.handle = h;
    if (type < t.live.size()) ++t.live[type];
    return h;
}

}  // namespace

void SetObjectGoneHook(void (*hook)(HGDIOBJ object)) {
    Guard g(Lock());
    g_gone = hook;
}

HGDIOBJ InsertStock(std::unique_ptr<Object> o, DWORD type) {
    o->stock = true;
    HGDIOBJ h = Insert(std::move(o), type);
    --T().live[type];  // stock objects are not counted: they are never freed
    return h;
}

namespace {

HGDIOBJ MakeStock(int index) {
    auto brush = [](int style, COLORREF c) {
        auto b = std::make_unique<Brush>();
        b->style = style;
        b->color = c;
        return InsertStock(std::move(b), OBJ_BRUSH);
    };
    auto pen = [](int style, COLORREF c) {
        auto p = std::make_unique<Pen>();
        p->style = style;
        p->color = c;
        return InsertStock(std::move(p), OBJ_PEN);
    };
    auto font = [](LONG height, const char* face) {
        auto f = std::make_unique<Font>();
        f->logfont.lfHeight = height;
        f->logfont.lfWeight = FW_NORMAL;
        f->logfont.lfCharSet = DEFAULT_CHARSET;
        std::strncpy(f->logfont.lfFaceName, face, LF_FACESIZE - 1);
        return InsertStock(std::move(f), OBJ_FONT);
    };
    switch (index) {
    case WHITE_BRUSH: return brush(BS_SOLID, 0xFFFFFF);
    case LTGRAY_BRUSH: return brush(BS_SOLID, 0xC0C0C0);
    case GRAY_BRUSH: return brush(BS_SOLID, 0x808080);
    case DKGRAY_BRUSH: return brush(BS_SOLID, 0x404040);
    case BLACK_BRUSH: return brush(BS_SOLID, 0);
    case NULL_BRUSH: return brush(BS_NULL, 0);
    case DC_BRUSH: return brush(BS_SOLID, 0xFFFFFF);
    case WHITE_PEN: return pen(PS_SOLID, 0xFFFFFF);
    case BLACK_PEN: return pen(PS_SOLID, 0);
    case NULL_PEN: return pen(PS_NULL, 0);
    case DC_PEN: return pen(PS_SOLID, 0);
    case SYSTEM_FONT: return font(16, "System");
    case DEFAULT_GUI_FONT: return font(-11, "MS Shell Dlg");
    case DEFAULT_PALETTE: {
        auto p = std::make_unique<Palette>();
        p->entries.resize(20);
        return InsertStock(std::move(p), OBJ_PAL);
    }
    default: return nullptr;
    }
}

}  // namespace

std::recursive_mutex& Lock() {
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

HGDIOBJ Insert(std::unique_ptr<Object> object, DWORD type) {
    HGDIOBJ h = Register(*object, type);
    T().objects.emplace(reinterpret_cast<uintptr_t>(h), std::move(object));
    return h;
}

DC* SpareDC() {
    Table& t = T();
    return t.spareDC.empty() ? nullptr : static_cast<DC*>(t.spareDC.mapped().get());
}

HGDIOBJ InsertSpareDC(DWORD type) {
    Table& t = T();
    HGDIOBJ h = Register(*t.spareDC.mapped(), type);
    t.spareDC.key() = reinterpret_cast<uintptr_t>(h);
    t.objects.insert(std::move(t.spareDC));
    return h;
}

Object* Find(HGDIOBJ handle) {
    auto& objects = T().objects;
    auto it = objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == objects.end() ? nullptr : it->second.get();
}

void Reference(HGDIOBJ handle) {
    if (Object* o = Find(handle)) ++o->references;
}

void Release(HGDIOBJ handle) {
    Object* o = Find(handle);
    if (!o) return;
    if (--o->references <= 0 && o->deletePending) Erase(o);
}

HGDIOBJ Stock(int index) {
    Table& t = T();
    if (index < 0 || index >= int(t.stock.size())) return nullptr;
    if (!t.stock[size_t(index)]) t.stock[size_t(index)] = MakeStock(index);
    return t.stock[size_t(index)];
}

HBITMAP StockBitmap() {
    Table& t = T();
    if (!t.stockBitmap) t.stockBitmap = static_cast<HBITMAP>(InsertStock(MakeBitmap(1, 1, 1, false, false), OBJ_BITMAP));
    return t.stockBitmap;
}

DCState DefaultState(bool memory) {
    DCState s;
    s.pen = Stock(BLACK_PEN);
    s.brush = Stock(WHITE_BRUSH);
    s.font = Stock(SYSTEM_FONT);
    s.palette = Stock(DEFAULT_PALETTE);
    s.bitmap = memory ? StockBitmap() : nullptr;
    for (HGDIOBJ h : {s.pen, s.brush, s.font, s.palette, s.bitmap}) Reference(h);
    return s;
}

}  // namespace platform::gdi

using namespace platform::gdi;

HGDIOBJ GetStockObject(int index) {
    Guard g(Lock());
    return Stock(index);
}

BOOL DeleteObject(HGDIOBJ object) {
    Guard g(Lock());
    Object* o = Find(object);
    if (!o || o->type == OBJ_DC || o->type == OBJ_MEMDC) return FALSE;
    if (o->stock) return TRUE;
    if (o->references > 0) {
        o->deletePending = true;  // freed when the last DC lets it go
        return TRUE;
    }
    Erase(o);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ object) {
    Guard g(Lock());
    Object* o = Find(object);
    return o ? o->type : 0;
}

int GdiLiveObjectCount(DWORD type) {
    Guard g(Lock());
    const auto& live = T().live;
    if (type) return type < live.size() ? live[type] : 0;
    int n = 0;
    for (int c : live) n += c;
    return n;
}

namespace {
template <class T>
int CopyOut(const T& value, int size, LPVOID out) {
    if (!out) return int(sizeof(T));
    int n = std::min(size, int(sizeof(T)));
    if (n <= 0) return 0;
    std::memcpy(out, &value, size_t(n));
    return n;
}
}  // namespace

int GetObjectA(HGDIOBJ object, int size, LPVOID out) {
    Guard g(Lock());
    Object* o = Find(object);
    if (!o) return 0;
    switch (o->type) {
    case OBJ_BITMAP: {
        auto* b = static_cast<Bitmap*>(o);
        BITMAP bm{};
        bm.bmWidth = b->width;
        bm.bmHeight = b->height;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = WORD(b->bpp);
        // A device bitmap's rows are counted in words, a DIB section's in double words.
        bm.bmWidthBytes = b->dib ? b->stride : ((b->width * b->bpp + 15) / 16) * 2;
        bm.bmBits = b->dib ? b->store.data() : nullptr;
        if (b->dib && out && size >= int(sizeof(DIBSECTION))) {
            DIBSECTION ds{};
            ds.dsBm = bm;
            ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
            ds.dsBmih.biWidth = b->width;
            ds.dsBmih.biHeight = b->bottomUp ? b->height : -b->height;
            ds.dsBmih.biPlanes = 1;
            ds.dsBmih.biBitCount = WORD(b->bpp);
            ds.dsBmih.biCompression = b->bpp == 16 ? BI_BITFIELDS : BI_RGB;
            ds.dsBmih.biSizeImage = DWORD(b->stride * b->height);
            if (b->bpp == 16) {
                ds.dsBitfields[0] = 0xF800;
                ds.dsBitfields[1] = 0x07E0;
                ds.dsBitfields[2] = 0x001F;
            }
            return CopyOut(ds, size, out);
        }
        return CopyOut(bm, size, out);
    }
    case OBJ_PEN: {
        auto* p = static_cast<Pen*>(o);
        return CopyOut(LOGPEN{UINT(p->style), POINT{p->width, 0}, p->color}, size, out);
    }
    case OBJ_BRUSH: {
        auto* b = static_cast<Brush*>(o);
        return CopyOut(LOGBRUSH{UINT(b->style), b->color, 0}, size, out);
    }
    case OBJ_FONT: return CopyOut(static_cast<Font*>(o)->logfont, size, out);
    case OBJ_PAL: return CopyOut(WORD(static_cast<Palette*>(o)->entries.size()), size, out);
    default: return 0;
    }
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return nullptr;
    switch (type) {
    case OBJ_PEN: return d->s.pen;
    case OBJ_BRUSH: return d->s.brush;
    case OBJ_FONT: return d->s.font;
    case OBJ_BITMAP: return d->s.bitmap;
    case OBJ_PAL: return d->s.palette;
    default: return nullptr;
    }
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    Object* o = Find(object);
    if (!d || !o || o->deletePending) return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (o->type) {
    case OBJ_PEN: slot = &d->s.pen; break;
    case OBJ_BRUSH: slot = &d->s.brush; break;
    case OBJ_FONT: slot = &d->s.font; break;
    case OBJ_BITMAP: {
        // Only a memory DC holds a bitmap, and a bitmap sits in one DC at a time.
        if (!d->memory) return nullptr;
        if (o->references > 0 && !o->stock && d->s.bitmap != object) return nullptr;
        slot = &d->s.bitmap;
        break;
    }
    case OBJ_REGION: {
        int kind = SelectClipRgn(dc, static_cast<HRGN>(object));
        return reinterpret_cast<HGDIOBJ>(intptr_t(kind));
    }
    default: return nullptr;
    }
    HGDIOBJ old = *slot;
    if (old == object) return old;
    Reference(object);
    *slot = object;
    Release(old);
    return old;
}
