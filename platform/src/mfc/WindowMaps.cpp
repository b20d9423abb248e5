// The framework's window bookkeeping: objects by handle, the creation hook, and the current message.
#include "mfc/WindowMaps.h"

#include <mutex>
#include <unordered_map>
#include <vector>

#include <strings.h>

#include "mfc/CommonControls.h"
#include "mfc/Controls.h"
#include "mfc/Dialog.h"
#include "WindowTable.h"
#include "platform/windowcore.h"

namespace mfc {

namespace {

class Maps : public platform::WindowObserver {
public:
    Maps() { platform::AddWindowObserver(this); }

    void OnWindowDestroyed(HWND window) override {
        CWnd* temporary = nullptr;
        {
            std::lock_guard<std::mutex> g(lock);
            auto p = permanent.find(window);
            if (p != permanent.end()) {
                // Attached without subclassing: nothing saw WM_NCDESTROY.
                p->second->m_hWnd = nullptr;
                permanent.erase(p);
            }
            auto t = temporaries.find(window);
            if (t != temporaries.end()) {
                temporary = t->second;
                temporaries.erase(t);
            }
        }
        if (temporary) {
            temporary->m_hWnd = nullptr;
            delete temporary;
        }
    }

    std::mutex lock;
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, CWnd*> temporaries;
};

Maps& TheMaps() {
    static Maps* maps = new Maps;  // lives as long as the window table
    return *maps;
}

thread_local std::vector<CurrentMessage> t_current;

// A wrapper of the control class that matches the window's class, so the usual cast of
// GetDlgItem's answer to the control's class names an object of that class.
CWnd* NewWrapper(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (strcasecmp(name, "Button") == 0) return new CButton;
    if (strcasecmp(name, "Static") == 0) return new CStatic;
    if (strcasecmp(name, "Edit") == 0) return new CEdit;
    if (strcasecmp(name, "ListBox") == 0) return new CListBox;
    if (strcasecmp(name, PROGRESS_CLASS) == 0) return new CProgressCtrl;
    if (strcasecmp(name, WC_LISTVIEW) == 0) return new CListCtrl;
    if (strcasecmp(name, WC_DIALOG) == 0) return new CDialog;
    return new CWnd;
}

}  // namespace

CWnd* Permanent(HWND window) {
    Maps& m = TheMaps();
    std::lock_guard<std::mutex> g(m.lock);
    auto it = m.permanent.find(window);
    return it == m.permanent.end() ? nullptr : it->second;
}

void SetPermanent(HWND window, CWnd* object) {
    Maps& m = TheMaps();
    std::lock_guard<std::mutex> g(m.lock);
    m.permanent[window] = object;
}

void ErasePermanent(HWND window) {
    Maps& m = TheMaps();
    std::lock_guard<std::mutex> g(m.lock);
    m.permanent.erase(window);
}

CWnd* Temporary(HWND window) {
    Maps& m = TheMaps();
    std::lock_guard<std::mutex> g(m.lock);
    auto it = m.temporaries.find(window);
    if (it != m.temporaries.end()) return it->second;
    CWnd* wrapper = NewWrapper(window);
    wrapper->m_hWnd = window;
    m.temporaries[window] = wrapper;
    return wrapper;
}

void HookWindowCreate(CWnd* object) {
    platform::win::SetCreationHook([](HWND window, void* context) { static_cast<CWnd*>(context)->SubclassWindow(window); },
                                   object);
}

void UnhookWindowCreate() { platform::win::SetCreationHook(nullptr, nullptr); }

const CurrentMessage* Current() { return t_current.empty() ? nullptr : &t_current.back(); }

LRESULT CallWndProc(CWnd* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    t_current.push_back(CurrentMessage{window, message, wParam, lParam});
    LRESULT result = object->WindowProc(message, wParam, lParam);
    t_current.pop_back();
    if (message == WM_NCDESTROY && object->m_hWnd == window) {
        object->Detach();
        object->PostNcDestroy();
    }
    return result;
}

// The dialog base units of the system font: 6 x 13 pixels per character.
int DialogUnitsToPixelsX(int units) { return units * 6 / 4; }
int DialogUnitsToPixelsY(int units) { return units * 13 / 8; }

}  // namespace mfc
