// The message loops (modal loops and the application's own) and PreTranslateMessage routing.
#include <algorithm>
#include <cstdint>

#include "display/DisplayHost.h"
#include "mfc/Gdi.h"
#include "mfc/WinApp.h"
#include "mfc/WindowMaps.h"
#include "platform/runtime.h"

BOOL AfxPreTranslateMessage(MSG* msg) {
    for (HWND window = msg->hwnd; window; window = ::GetParent(window)) {
        CWnd* object = CWnd::FromHandlePermanent(window);
        if (object && object->PreTranslateMessage(msg)) return TRUE;
    }
    return FALSE;
}

namespace mfc {

bool PumpMessages(const std::function<bool()>& keepGoing, const std::function<void()>& onFirstIdle, int* quitCode) {
    bool firstIdle = true;
    for (;;) {
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                *quitCode = int(msg.wParam);
                return false;
            }
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            if (!keepGoing()) return true;
            continue;
        }
        if (firstIdle) {
            firstIdle = false;
            if (onFirstIdle) onFirstIdle();
        }
        if (!keepGoing()) return true;
        CGdiObject::DeleteTempMap();  // the temporary wrappers of what the messages handled
        CDC::DeleteTempMap();
        ULONGLONG wake = platform::display::Idle();
        if (!keepGoing()) return true;
        DWORD timeout = INFINITE;
        if (wake != UINT64_MAX) {
            ULONGLONG now = platform::ClockNow();
            timeout = wake <= now ? 0 : DWORD(std::min<ULONGLONG>(wake - now, 0x7FFFFFFF));
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout, QS_ALLINPUT);
    }
}

}  // namespace mfc

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int result) {
    m_nModalResult = result;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~UINT(WF_CONTINUEMODAL);
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop
    }
}

int CWnd::RunModalLoop(DWORD flags) {
    bool showOnIdle = (flags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    int quitCode = 0;
    bool ended = mfc::PumpMessages([this] { return ContinueModal() && m_hWnd; },
                                   [this, showOnIdle] {
                                       if (showOnIdle && ContinueModal()) ShowWindow(SW_SHOWNORMAL);
                                   },
                                   &quitCode);
    if (!ended) {
        // A WM_QUIT ends this loop; the loops around it see it too.
        ::PostQuitMessage(quitCode);
        m_nModalResult = -1;
    }
    m_nFlags &= ~UINT(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

int CWinThread::Run() {
    int quitCode = 0;
    mfc::PumpMessages([] { return true; }, nullptr, &quitCode);
    m_nExitCode = quitCode;
    return ExitInstance();
}
