// CMenu's reading of items and the system menu of each top-level window, kept as data until the
// window goes.
#include "mfc/SystemMenu.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "mfc/Wnd.h"
#include "platform/windowcore.h"
#include "platform/winctrl.h"

namespace mfc {

namespace {

struct Menus : platform::WindowObserver {
    std::mutex lock;
    std::map<HWND, std::unique_ptr<CMenu>> byWindow;
    void OnWindowDestroyed(HWND window) override {
        std::lock_guard<std::mutex> g(lock);
        byWindow.erase(window);
    }
};

Menus& TheMenus() {
    static Menus* menus = [] {
        auto* m = new Menus;
        platform::AddWindowObserver(m);
        return m;
    }();
    return *menus;
}

bool HasSystemMenu(HWND window) {
    DWORD style = DWORD(::GetWindowLongPtrA(window, GWL_STYLE));
    return ::IsWindow(window) && !(style & WS_CHILD) && (style & WS_SYSMENU);
}

void FillDefault(CMenu& menu) {
    menu.RemoveAll();
    menu.AppendMenu(MF_STRING, SC_CLOSE, "&Close");
}

// The window's menu, made with its default items on first use (lock held).
CMenu* MenuLocked(Menus& m, HWND window) {
    auto& slot = m.byWindow[window];
    if (!slot) {
        slot = std::make_unique<CMenu>();
        FillDefault(*slot);
    }
    return slot.get();
}

}  // namespace

std::vector<CMenu::Item> SystemMenuItems(HWND topLevel) {
    if (!HasSystemMenu(topLevel)) return {};
    Menus& m = TheMenus();
    std::lock_guard<std::mutex> g(m.lock);
    return MenuLocked(m, topLevel)->Items();
}

}  // namespace mfc

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
    if (!mfc::HasSystemMenu(m_hWnd)) return nullptr;
    mfc::Menus& m = mfc::TheMenus();
    std::lock_guard<std::mutex> g(m.lock);
    CMenu* menu = mfc::MenuLocked(m, m_hWnd);
    if (!revert) return menu;
    mfc::FillDefault(*menu);
    return nullptr;
}

UINT CMenu::EnableMenuItem(UINT item, UINT enable) {
    constexpr UINT kState = MF_GRAYED | MF_DISABLED;
    for (size_t i = 0; i < m_items.size(); ++i) {
        Item& it = m_items[i];
        bool match = (enable & MF_BYPOSITION) ? i == item : !(it.flags & MF_SEPARATOR) && it.id == item;
        if (!match) continue;
        UINT before = it.flags & kState;
        it.flags = (it.flags & ~kState) | (enable & kState);
        return before;
    }
    return 0xFFFFFFFFu;
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
    const Item* found = nullptr;
    if (flags & MF_BYPOSITION) {
        if (item < m_items.size()) found = &m_items[item];
    } else {
        for (const Item& i : m_items)
            if (!found && !(i.flags & MF_SEPARATOR) && i.id == item) found = &i;
    }
    text = found ? found->text : CString();
    return found ? text.GetLength() : 0;
}

int CMenu::GetMenuString(UINT item, LPSTR text, int maxCount, UINT flags) const {
    CString s;
    int length = GetMenuString(item, s, flags);
    if (!text || maxCount <= 0) return length;
    int n = std::min(length, maxCount - 1);
    std::memcpy(text, LPCSTR(s), size_t(n));
    text[n] = 0;
    return n;
}
