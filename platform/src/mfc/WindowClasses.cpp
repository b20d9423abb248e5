// Registration of the dialog and control window classes.
#include <mutex>

#include "mfc/Dialog.h"
#include "platform/commctrl.h"

namespace mfc {
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ProgressProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListViewProc(HWND, UINT, WPARAM, LPARAM);
}  // namespace mfc

void AfxRegisterWindowClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        const struct {
            LPCSTR name;
            WNDPROC proc;
        } classes[] = {
            {WC_DIALOG, &AfxDefDlgProc},        {"AfxWnd", &::DefWindowProcA},
            {"Button", &mfc::ButtonProc},       {"Static", &mfc::StaticProc},
            {"Edit", &mfc::EditProc},           {"ListBox", &mfc::ListBoxProc},
            {PROGRESS_CLASS, &mfc::ProgressProc}, {WC_LISTVIEW, &mfc::ListViewProc},
        };
        for (const auto& c : classes) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = c.proc;
            wc.lpszClassName = c.name;
            ::RegisterClassA(&wc);
        }
    });
}

void InitCommonControls() { AfxRegisterWindowClasses(); }

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    AfxRegisterWindowClasses();
    return init != nullptr;
}
