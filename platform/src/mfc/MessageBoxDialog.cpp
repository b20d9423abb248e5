// Message boxes as modal dialogs: the text, the buttons of the box's type, the default button.
#include <algorithm>
#include <sstream>

#include "display/DisplayHost.h"
#include "display/TextWidth.h"
#include "mfc/Dialog.h"
#include "mfc/Gdi.h"
#include "mfc/WindowMaps.h"
#include "platform/runtime.h"
#include "platform/windowcore.h"

namespace {

std::vector<int> Buttons(UINT type) {
    switch (type & 0xF) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

class CMessageBoxDialog : public CDialog {
public:
    CMessageBoxDialog(HWND owner, const char* text, const char* caption, UINT type) : m_type(type) {
        std::vector<std::string> lines;
        std::istringstream in(text ? text : "");
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        int columns = 0;
        for (const std::string& l : lines) columns = std::max(columns, platform::display::TextWidth(l));
        std::vector<int> buttons = Buttons(type);
        int buttonsWidth = int(buttons.size()) * 56 - 6;
        int width = std::clamp(columns * 4 + 20, buttonsWidth + 20, 360);
        int textHeight = std::max<int>(int(lines.size()), 1) * 8;
        m_template.id = 0;
        m_template.caption = caption;
        m_template.x = 0;
        m_template.y = 0;
        m_template.cx = width;
        m_template.cy = textHeight + 44;
        m_template.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        m_template.controls.push_back(
            {IDC_STATIC, "Static", text, 10, 10, width - 20, textHeight, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0});
        int defaultIndex = int((type & 0xF00) >> 8);
        if (defaultIndex >= int(buttons.size())) defaultIndex = 0;
        int x = (width - buttonsWidth) / 2;
        for (size_t i = 0; i < buttons.size(); ++i) {
            DWORD style = WS_VISIBLE | WS_TABSTOP | (int(i) == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            m_template.controls.push_back({buttons[i], "Button", platform::display::MessageBoxButtonText(buttons[i]),
                                           x + int(i) * 56, textHeight + 20, 50, 14, style, 0});
        }
        m_buttons = buttons;
        m_owner = owner;
        InitModalIndirect(&m_template, CWnd::FromHandle(owner));
    }

    BOOL OnInitDialog() override {
        m_window = m_hWnd;
        platform::display::SetMessageBoxWindow(m_hWnd, true);
        CenterWindow(CWnd::FromHandle(m_owner));
        CDialog::OnInitDialog();
        // A box of several answers without a cancel one cannot be closed: its "Close" is grey.
        bool cancels = std::find(m_buttons.begin(), m_buttons.end(), IDCANCEL) != m_buttons.end();
        if (!cancels && m_buttons.size() > 1) GetSystemMenu(FALSE)->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        // The default button takes the focus, so Enter presses it.
        for (HWND child : platform::GetChildWindowList(m_hWnd)) {
            if ((::GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) ::SetFocus(child);
        }
        return FALSE;
    }

    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override {
        if (code != BN_CLICKED) return FALSE;
        if (id == IDCANCEL && std::find(m_buttons.begin(), m_buttons.end(), IDCANCEL) == m_buttons.end()) {
            // Closing a box without a cancel button: a lone OK answers OK, other boxes stay open.
            if (m_buttons.size() == 1) EndDialog(m_buttons.front());
            return TRUE;
        }
        if (std::find(m_buttons.begin(), m_buttons.end(), int(id)) == m_buttons.end()) return FALSE;
        EndDialog(int(id));
        return TRUE;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != platform::display::kEndWithoutAnswer) return CDialog::WindowProc(message, wParam, lParam);
        EndDialog(0);
        return 0;
    }

    INT_PTR Run() {
        INT_PTR result = DoModal();
        if (m_window) platform::display::SetMessageBoxWindow(m_window, false);
        return result;
    }

private:
    UINT m_type;
    HWND m_owner = nullptr;
    HWND m_window = nullptr;
    std::vector<int> m_buttons;
    AfxDialogTemplate m_template;
};

}  // namespace

namespace platform::display {

int RunMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    // Modal to the active window of the calling thread when no owner is named: it is disabled
    // while the box is up.
    if (!owner) owner = ::GetActiveWindow();
    while (owner && ::GetParent(owner)) owner = ::GetParent(owner);
    CMessageBoxDialog box(owner, text, caption, type);
    INT_PTR result = box.Run();
    if (result == -1) {
        // The box could not run (no window classes, or a WM_QUIT): its default answer, but none
        // when the program is closing.
        return CloseAsked() ? 0 : DefaultMessageBoxAnswer(type);
    }
    return int(result);
}

}  // namespace platform::display
