// The handle maps behind CGdiObject's and CDC's temporary wrappers.
#include "mfc/GdiWrappers.h"

#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "gdi/GdiObjects.h"

namespace platform::mfc {

namespace {

// A temporary wrapper and the thread that asked for it.
template <class W>
struct Temporary {
    std::thread::id thread;
    W* wrapper;
};

struct Maps {
    std::mutex lock;
    std::map<HGDIOBJ, CGdiObject*> owned;  // the objects' own wrappers (not ours to free)
    std::multimap<HGDIOBJ, Temporary<CGdiObject>> temporary;  // by handle, one per asking thread
    std::multimap<HDC, Temporary<CDC>> dcs;
    // Of objects and DCs that went: no longer found by handle, freed at their thread's idle.
    std::vector<Temporary<CGdiObject>> goneObjects;
    std::vector<Temporary<CDC>> goneDcs;
};

Maps& M() {
    static auto* m = new Maps;
    return *m;
}

template <class Handle, class W>
void Retire(std::multimap<Handle, Temporary<W>>& map, Handle handle, std::vector<Temporary<W>>* gone) {
    auto [first, last] = map.equal_range(handle);
    for (auto it = first; it != last; ++it) gone->push_back(it->second);
    map.erase(first, last);
}

// An object or DC went: its temporary wrappers stay (with the stale handle) until their threads'
// idle, but a new object with the same handle gets wrappers of its own. Called with the GDI lock held.
void Forget(HGDIOBJ handle) {
    Maps& m = M();
    std::lock_guard<std::mutex> g(m.lock);
    Retire(m.temporary, handle, &m.goneObjects);
    Retire(m.dcs, static_cast<HDC>(handle), &m.goneDcs);
}

template <class Handle, class W>
void Take(std::multimap<Handle, Temporary<W>>& map, std::vector<Temporary<W>>& gone, std::vector<W*>* out) {
    const auto self = std::this_thread::get_id();
    for (auto it = map.begin(); it != map.end();) {
        if (it->second.thread != self) {
            ++it;
            continue;
        }
        out->push_back(it->second.wrapper);
        it = map.erase(it);
    }
    for (auto it = gone.begin(); it != gone.end();) {
        if (it->thread != self) {
            ++it;
            continue;
        }
        out->push_back(it->wrapper);
        it = gone.erase(it);
    }
}

// A thread that ends frees the temporary wrappers it still has.
struct ThreadEnd {
    ~ThreadEnd() {
        FreeTemporaries(true);
        FreeTemporaries(false);
    }
};

template <class Handle, class W>
W** Find(std::multimap<Handle, Temporary<W>>& map, Handle handle) {
    thread_local ThreadEnd end;
    (void)end;
    const auto self = std::this_thread::get_id();
    auto [first, last] = map.equal_range(handle);
    for (auto it = first; it != last; ++it)
        if (it->second.thread == self) return &it->second.wrapper;
    return &map.emplace(handle, Temporary<W>{self, nullptr})->second.wrapper;
}

void HookOnce() {
    static std::once_flag once;
    std::call_once(once, [] { platform::gdi::SetObjectGoneHook(&Forget); });
}

std::unique_ptr<CGdiObject> MakeWrapper(DWORD type) {
    switch (type) {
    case OBJ_PEN: return std::make_unique<CPen>();
    case OBJ_BRUSH: return std::make_unique<CBrush>();
    case OBJ_FONT: return std::make_unique<CFont>();
    case OBJ_BITMAP: return std::make_unique<CBitmap>();
    case OBJ_REGION: return std::make_unique<CRgn>();
    case OBJ_PAL: return std::make_unique<CPalette>();
    default: return std::make_unique<CGdiObject>();
    }
}

}  // namespace

void Own(HGDIOBJ handle, CGdiObject* wrapper) {
    Maps& m = M();
    std::lock_guard<std::mutex> g(m.lock);
    m.owned[handle] = wrapper;
}

void Disown(HGDIOBJ handle, CGdiObject* wrapper) {
    Maps& m = M();
    std::lock_guard<std::mutex> g(m.lock);
    auto it = m.owned.find(handle);
    if (it != m.owned.end() && it->second == wrapper) m.owned.erase(it);
}

CGdiObject* WrapperOf(HGDIOBJ handle) {
    if (!handle) return nullptr;
    HookOnce();
    platform::gdi::Guard gdi(platform::gdi::Lock());  // the object stays while its wrapper is made
    const DWORD type = ::GetObjectType(handle);
    Maps& m = M();
    std::lock_guard<std::mutex> g(m.lock);
    if (auto it = m.owned.find(handle); it != m.owned.end()) return it->second;
    if (!type) return nullptr;  // no such object
    CGdiObject*& w = *Find(m.temporary, handle);
    if (!w) {
        w = MakeWrapper(type).release();
        w->m_hObject = handle;
    }
    return w;
}

CDC* WrapperOf(HDC dc) {
    if (!dc) return nullptr;
    HookOnce();
    platform::gdi::Guard gdi(platform::gdi::Lock());  // the DC stays while its wrapper is made
    const DWORD type = ::GetObjectType(dc);
    if (type != OBJ_DC && type != OBJ_MEMDC) return nullptr;  // no DC
    Maps& m = M();
    std::lock_guard<std::mutex> g(m.lock);
    CDC*& w = *Find(m.dcs, dc);
    if (!w) {
        w = new CDC;
        w->m_hDC = dc;
    }
    return w;
}

void FreeTemporaries(bool objects) {
    Maps& m = M();
    std::vector<CGdiObject*> gdi;
    std::vector<CDC*> dcs;
    {
        std::lock_guard<std::mutex> g(m.lock);
        if (objects)
            Take(m.temporary, m.goneObjects, &gdi);
        else
            Take(m.dcs, m.goneDcs, &dcs);
    }
    for (CGdiObject* object : gdi) {
        object->m_hObject = nullptr;  // the object is not the wrapper's to delete
        delete object;
    }
    for (CDC* dc : dcs) {
        dc->m_hDC = nullptr;
        delete dc;
    }
}

}  // namespace platform::mfc
