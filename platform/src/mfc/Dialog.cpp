// CDialog: creation from templates, the modal run, dialog keys.
#include "mfc/Dialog.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/windowcore.h"
#include "platform/wingdi.h"

#include "mfc/DialogNavigation.h"
#include "mfc/Resources.h"
#include "mfc/WinApp.h"
#include "mfc/WindowMaps.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace mfc {

bool IsPushButton(HWND window) {
    char name[16];
    if (!::GetClassNameA(window, name, sizeof name) || strcasecmp(name, "Button") != 0) return false;
    DWORD type = DWORD(::GetWindowLongPtrA(window, GWL_STYLE)) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

namespace {

void AddTabStops(HWND dialog, std::vector<HWND>& stops) {
    for (HWND child : platform::GetChildWindowList(dialog)) {
        DWORD style = DWORD(::GetWindowLongPtrA(child, GWL_STYLE));
        if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
        char cls[16] = {};
        ::GetClassNameA(child, cls, sizeof cls);
        if (strcasecmp(cls, WC_DIALOG) == 0) AddTabStops(child, stops);
        else if (style & WS_TABSTOP) stops.push_back(child);
    }
}

}  // namespace

std::vector<HWND> TabStops(HWND dialog) {
    std::vector<HWND> stops;
    AddTabStops(dialog, stops);
    return stops;
}

}  // namespace mfc

namespace {

using mfc::IsPushButton;
using mfc::TabStops;

HWND DefaultButton(HWND dialog) {
    for (HWND child : platform::GetChildWindowList(dialog)) {
        if ((::GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK) != BS_DEFPUSHBUTTON) continue;
        char name[16];
        ::GetClassNameA(child, name, sizeof name);
        if (strcasecmp(name, "Button") == 0) return child;
    }
    return nullptr;
}

void MoveFocus(HWND dialog, int step) {
    std::vector<HWND> stops = TabStops(dialog);
    if (stops.empty()) return;
    HWND focus = ::GetFocus();
    auto it = std::find(stops.begin(), stops.end(), focus);
    int index = it == stops.end() ? (step > 0 ? -1 : 0) : int(it - stops.begin());
    index = (index + step + int(stops.size())) % int(stops.size());
    ::SetFocus(stops[index]);
}

void SendButtonCommand(HWND dialog, int id) {
    HWND button = ::GetDlgItem(dialog, id);
    if (button && !::IsWindowEnabled(button)) return;
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace

LRESULT CALLBACK AfxDefDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: SendButtonCommand(window, IDCANCEL); return 0;
    case WM_INITDIALOG: return TRUE;
    case WM_ERASEBKGND: {
        // The dialog face, in the brush the dialog's colour message gives.
        auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(window, WM_CTLCOLORDLG, wParam, LPARAM(window)));
        if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
        RECT client;
        ::GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        return TRUE;
    }
    case DM_GETDEFID: {
        HWND button = DefaultButton(window);
        return button ? MAKELONG(::GetDlgCtrlID(button), DC_HASDEFID) : 0;
    }
    default: return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

BOOL CDialog::CreateFromTemplate(HWND parent, bool modal) {
    const AfxDialogTemplate* t = m_lpDialogTemplate ? m_lpDialogTemplate : AfxFindDialogTemplate(m_nIDHelp);
    if (!t) {
        PlatformTrace("CDialog: no dialog template %u\n", m_nIDHelp);
        return FALSE;
    }
    AfxRegisterWindowClasses();
    // A child dialog goes into its parent; a top-level one is owned by it.
    mfc::HookWindowCreate(this);
    HWND window = ::CreateWindowExA(0, WC_DIALOG, t->caption, t->style & ~DWORD(WS_VISIBLE),
                                    mfc::DialogUnitsToPixelsX(t->x), mfc::DialogUnitsToPixelsY(t->y),
                                    mfc::DialogUnitsToPixelsX(t->cx), mfc::DialogUnitsToPixelsY(t->cy), parent,
                                    nullptr, nullptr, nullptr);
    mfc::UnhookWindowCreate();
    if (!window) return FALSE;
    if (m_hWnd != window) {
        ::DestroyWindow(window);
        return FALSE;
    }
    for (const AfxControlTemplate& c : t->controls) {
        HWND control = ::CreateWindowExA(c.exStyle, c.className, c.text, c.style | WS_CHILD,
                                         mfc::DialogUnitsToPixelsX(c.x), mfc::DialogUnitsToPixelsY(c.y),
                                         mfc::DialogUnitsToPixelsX(c.cx), mfc::DialogUnitsToPixelsY(c.cy), window,
                                         (HMENU)(INT_PTR)c.id, nullptr, nullptr);
        if (!control) {
            PlatformTrace("CDialog: template %u, control %d of class \"%s\" cannot be created\n", m_nIDHelp, c.id,
                          c.className ? c.className : "");
            ::DestroyWindow(window);
            return FALSE;
        }
    }
    // The dialog font, for the dialog and every control.
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    ::SendMessageA(window, WM_SETFONT, WPARAM(font), FALSE);
    for (HWND control : platform::GetChildWindowList(window)) ::SendMessageA(control, WM_SETFONT, WPARAM(font), FALSE);
    std::vector<HWND> stops = TabStops(window);
    HWND first = stops.empty() ? nullptr : stops.front();
    if (SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(first), 0) && first && ::IsWindow(first)) ::SetFocus(first);
    // A modal dialog shows itself when its loop first goes idle.
    if (m_hWnd && (t->style & WS_VISIBLE) && !modal) ShowWindow(SW_SHOW);
    return m_hWnd != nullptr;
}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        // The main window owns the dialog when it is a window of this thread.
        CWnd* main = AfxGetMainWnd();
        if (main && main != this && ::GetWindowThreadProcessId(main->m_hWnd, nullptr) == ::GetCurrentThreadId())
            owner = main->m_hWnd;
    }
    while (owner && ::GetParent(owner)) owner = ::GetParent(owner);
    bool reenable = owner && ::IsWindowEnabled(owner);
    if (reenable) ::EnableWindow(owner, FALSE);

    // The focus goes back where it was when the dialog ends (a message box over a page).
    HWND focusBefore = ::GetFocus();
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateFromTemplate(owner, true) && (m_nFlags & WF_CONTINUEMODAL)) RunModalLoop(MLF_SHOWONIDLE);
    m_nFlags &= ~UINT(WF_CONTINUEMODAL);

    if (reenable && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
    if (m_hWnd) ::ShowWindow(m_hWnd, SW_HIDE);
    DestroyWindow();
    if (focusBefore && ::IsWindow(focusBefore) && !::GetFocus()) ::SetFocus(focusBefore);
    return m_nModalResult;
}

BOOL CDialog::InitModalIndirect(const AfxDialogTemplate* dialogTemplate, CWnd* parent) {
    m_lpDialogTemplate = dialogTemplate;
    if (parent) m_pParentWnd = parent;
    return dialogTemplate != nullptr;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDHelp = templateId;
    if (parent) m_pParentWnd = parent;
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    return CreateFromTemplate(owner, false);
}

void CDialog::EndDialog(int result) {
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) {
        EndModalLoop(result);
    } else if (m_hWnd) {
        m_nModalResult = result;
        ShowWindow(SW_HIDE);
    }
}

LRESULT CDialog::HandleInitDialog(WPARAM wParam, LPARAM lParam) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message != WM_KEYDOWN || !m_hWnd) return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    switch (msg->wParam) {
    case VK_RETURN: {
        HWND focus = ::GetFocus();
        int id = (focus && ::GetParent(focus) == m_hWnd && IsPushButton(focus)) ? ::GetDlgCtrlID(focus)
                                                                                 : int(LOWORD(GetDefID()));
        SendButtonCommand(m_hWnd, id ? id : IDOK);
        return TRUE;
    }
    case VK_ESCAPE: SendButtonCommand(m_hWnd, IDCANCEL); return TRUE;
    case VK_TAB: MoveFocus(m_hWnd, (::GetKeyState(VK_SHIFT) < 0) ? -1 : 1); return TRUE;
    default: return FALSE;
    }
}

void CDialog::NextDlgCtrl() const { MoveFocus(m_hWnd, 1); }
void CDialog::PrevDlgCtrl() const { MoveFocus(m_hWnd, -1); }

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control) control->SetFocus();
}

void CDialog::SetDefID(UINT id) {
    for (HWND child : platform::GetChildWindowList(m_hWnd)) {
        if (!IsPushButton(child)) continue;
        DWORD style = DWORD(::GetWindowLongPtrA(child, GWL_STYLE));
        DWORD type = style & BS_TYPEMASK;
        if (type == BS_OWNERDRAW) continue;
        DWORD wanted = UINT(::GetDlgCtrlID(child)) == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if (type != wanted) ::SendMessageA(child, BM_SETSTYLE, (style & ~BS_TYPEMASK) | wanted, TRUE);
    }
}

DWORD CDialog::GetDefID() const { return DWORD(SendMessage(DM_GETDEFID)); }
