// The handle maps behind CGdiObject's and CDC's temporary wrappers.
#include "mfc/GdiWrappers.h"

#include <map>
#include <memory>
#include <mutex>

#include "gdi/GdiObjects.h"

namespace platform::mfc {

namespace {

struct Maps {
    std::mutex lock;
    std::map<HGDIOBJ, CGdiObject*> owned;      // the objects' own wrappers (not ours to free)
    std::map<HGDIOBJ, CGdiObject*> temporary;  // made here, freed with their objects
    std::map<HDC, CDC*> dcs;                   // temporary wrappers of DCs
};

Maps& M() {
    static auto* m = new Maps;
    return *m;
}

// An object or DC went: its temporary wrapper goes with it. Called with the GDI lock held.
void Forget(HGDIOBJ handle) {
    Maps& m = M();
    CGdiObject* object = nullptr;
    CDC* dc = nullptr;
    {
        std::lock_guard<std::mutex> g(m.lock);
        if (auto it = m.temporary.find(handle); it != m.temporary.end()) {
            object = it->second;
            m.temporary.erase(it);
        }
        if (auto it = m.dcs.find(static_cast<HDC>(handle)); it != m.dcs.end()) {
            dc = it->second;
            m.dcs.erase(it);
        }
    }
    if (object) {
        object->m_hObject = nullptr;
        delete object;
    }
    if (dc) {
        dc->m_hDC = nullptr;
        delete dc;
    }
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
    if (!type) return nullptr;  // no such object: nothing would free a wrapper of it
    CGdiObject*& w = m.temporary[handle];
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
    if (type != OBJ_DC && type != OBJ_MEMDC) return nullptr;  // no DC: nothing would free a wrapper of it
    Maps& m = M();
    std::lock_guard<std::mutex> g(m.lock);
    CDC*& w = m.dcs[dc];
    if (!w) {
        w = new CDC;
        w->m_hDC = dc;
    }
    return w;
}

}  // namespace platform::mfc
