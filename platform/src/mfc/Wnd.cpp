// CCmdTarget and CWnd: message-map dispatch, subclassing and the window calls.
#include "mfc/Wnd.h"

#include <cstdlib>

#include "mfc/DataExchange.h"
#include "mfc/Gdi.h"
#include "mfc/WinApp.h"
#include "mfc/WindowMaps.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

// ---- CCmdTarget ----

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
    bool command = message == WM_COMMAND || message == WM_NOTIFY;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage != message) continue;
            if (!command || (e->nCode == code && id >= e->nID && id <= e->nLastID)) return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    const AFX_MSGMAP_ENTRY* e = FindEntry(WM_COMMAND, UINT(code), id);
    if (!e) return FALSE;
    e->pfn(this, WPARAM(id), 0);
    return TRUE;
}

// ---- CWnd: handles and creation ----

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::CWnd(HWND window) : m_hWnd(window) {}

CWnd::~CWnd() {
    if (m_hWnd && mfc::Permanent(m_hWnd) == this) {
        // An object that goes away before its window takes the window with it.
        if (::IsWindow(m_hWnd)) {
            ::DestroyWindow(m_hWnd);
        }
        if (m_hWnd) Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND window) { return window ? mfc::Permanent(window) : nullptr; }

CWnd* CWnd::FromHandle(HWND window) {
    if (!window || !::IsWindow(window)) return nullptr;
    if (CWnd* object = mfc::Permanent(window)) return object;
    return mfc::Temporary(window);
}

BOOL CWnd::Attach(HWND window) {
    if (!window || m_hWnd || mfc::Permanent(window)) return FALSE;
    m_hWnd = window;
    mfc::SetPermanent(window, this);
    return TRUE;
}

HWND CWnd::Detach() {
    HWND window = m_hWnd;
    if (window) mfc::ErasePermanent(window);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return window;
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void* context) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr, (HMENU)(UINT_PTR)id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
    AfxRegisterWindowClasses();
    CREATESTRUCT cs{param, nullptr, idOrMenu, parent, height, width, y, x, LONG(style), windowName, className, exStyle};
    if (!PreCreateWindow(cs)) return FALSE;
    // The object takes the window before its first message, so its map sees WM_NCCREATE and
    // WM_CREATE (OnCreate). A top-level window given a parent is owned by it.
    mfc::HookWindowCreate(this);
    HWND window = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style) & ~DWORD(WS_VISIBLE),
                                    cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, nullptr, cs.lpCreateParams);
    mfc::UnhookWindowCreate();
    if (!window) return FALSE;
    if (m_hWnd != window) {
        ::DestroyWindow(window);
        return FALSE;
    }
    if (DWORD(cs.style) & WS_VISIBLE) ::ShowWindow(window, SW_SHOW);
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND window) {
    if (!Attach(window)) return FALSE;
    PreSubclassWindow();
    WNDPROC old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (old != &AfxWndProc) m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent) return FALSE;
    HWND item = ::GetDlgItem(parent->m_hWnd, int(id));
    return item ? SubclassWindow(item) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd) return nullptr;
    if (m_pfnSuper) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    return Detach();
}

LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* object = mfc::Permanent(window);
    if (!object) return ::DefWindowProcA(window, message, wParam, lParam);
    return mfc::CallWndProc(object, window, message, wParam, lParam);
}

// ---- CWnd: messages ----

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const mfc::CurrentMessage* m = mfc::Current();
    if (!m || m->hwnd != m_hWnd) return 0;
    return DefWindowProc(m->message, m->wParam, m->lParam);
}

namespace {
// Offers a message the parent received back to the child's object.
BOOL ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* object = CWnd::FromHandlePermanent(child);
    return object ? object->OnChildNotify(message, wParam, lParam, result) : FALSE;
}
}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *result = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        *result = 0;
        return OnNotify(wParam, lParam, result);
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(message, 0, 0);
    if (!e) return FALSE;
    *result = e->pfn(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control && ReflectToChild(control, WM_COMMAND, wParam, lParam, nullptr)) return TRUE;
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header) return FALSE;
    if (header->hwndFrom && ReflectToChild(header->hwndFrom, WM_NOTIFY, wParam, lParam, result)) return TRUE;
    const AFX_MSGMAP_ENTRY* e = FindEntry(WM_NOTIFY, header->code, UINT(header->idFrom));
    if (!e) return FALSE;
    e->pfn(this, reinterpret_cast<WPARAM>(result), lParam);
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) { return FALSE; }

void CWnd::OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem) {
    LRESULT result = TRUE;
    if (drawItem && drawItem->CtlType != ODT_MENU &&
        ReflectToChild(drawItem->hwndItem, WM_DRAWITEM, WPARAM(id), reinterpret_cast<LPARAM>(drawItem), &result))
        return;
    Default();
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND item = ::GetDlgItem(m_hWnd, id);
    return item ? ::SendMessageA(item, message, wParam, lParam) : 0;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapse, proc); }

BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) const {
    return ::MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

// ---- CWnd: text and items ----

void CWnd::SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }

int CWnd::GetWindowText(LPSTR text, int maxCount) const { return ::GetWindowTextA(m_hWnd, text, maxCount); }

void CWnd::GetWindowText(CString& text) const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, text.GetBufferSetLength(length), length + 1);
    text.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }

void CWnd::GetDlgItem(int id, HWND* window) const { *window = ::GetDlgItem(m_hWnd, id); }

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

int CWnd::SetDlgCtrlID(int id) { return int(::SetWindowLongPtrA(m_hWnd, GWLP_ID, id)); }

void CWnd::SetDlgItemText(int id, LPCSTR text) {
    if (HWND item = ::GetDlgItem(m_hWnd, id)) ::SetWindowTextA(item, text);
}

int CWnd::GetDlgItemText(int id, LPSTR text, int maxCount) const {
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item) {
        if (text && maxCount > 0) *text = '\0';
        return 0;
    }
    return ::GetWindowTextA(item, text, maxCount);
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    text.Empty();
    if (CWnd* item = GetDlgItem(id)) item->GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) {
    CString text;
    if (isSigned) text.Format("%d", int(value));
    else text.Format("%u", value);
    SetDlgItemText(id, text);
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
    CString text;
    GetDlgItemText(id, text);
    text.Trim();
    char* end = nullptr;
    long value = isSigned ? strtol(text, &end, 10) : long(strtoul(text, &end, 10));
    bool ok = !text.IsEmpty() && end && *end == '\0';
    if (translated) *translated = ok;
    return ok ? UINT(value) : 0;
}

void CWnd::CheckDlgButton(int id, UINT check) { SendDlgItemMessage(id, BM_SETCHECK, check); }

UINT CWnd::IsDlgButtonChecked(int id) const { return UINT(SendDlgItemMessage(id, BM_GETCHECK)); }

// ---- CWnd: state and geometry ----

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
DWORD CWnd::GetStyle() const { return DWORD(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return DWORD(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, LONG_PTR(LONG(changed)));
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    DWORD style = GetExStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, LONG_PTR(LONG(changed)));
    return TRUE;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }

void CWnd::ScreenToClient(LPRECT rect) const {
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::ClientToScreen(LPRECT rect) const {
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    CRect area(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    CWnd* owner = alternateOwner ? alternateOwner : GetParent();
    if (owner && owner->IsWindowVisible()) owner->GetWindowRect(&area);
    CRect me;
    GetWindowRect(&me);
    int x = area.left + (area.Width() - me.Width()) / 2;
    int y = area.top + (area.Height() - me.Height()) / 2;
    if (GetStyle() & WS_CHILD) {
        CPoint p(x, y);
        ::ScreenToClient(::GetParent(m_hWnd), &p);
        x = p.x;
        y = p.y;
    }
    MoveWindow(x, y, me.Width(), me.Height());
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }
void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}
CFont* CWnd::GetFont() const { return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

CWnd* CWnd::GetParent() const {
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) parent = ::GetWindow(m_hWnd, GW_OWNER);
    return FromHandle(parent);
}

CWnd* CWnd::GetTopLevelParent() const {
    HWND window = m_hWnd;
    while (HWND parent = ::GetParent(window)) window = parent;
    return FromHandle(window);
}

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::GetWindow(UINT command) const { return FromHandle(::GetWindow(m_hWnd, command)); }

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

HICON CWnd::GetIcon(BOOL bigIcon) const {
    return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bigIcon ? ICON_BIG : ICON_SMALL, 0));
}

// ---- CWnd: data exchange ----

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
        return TRUE;
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
}
