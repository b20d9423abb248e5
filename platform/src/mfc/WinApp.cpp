// The application object and the program's start.
#include "mfc/WinApp.h"

#include <atomic>

#include "platform/display.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
std::atomic<CWinApp*> g_app{nullptr};
}

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName ? appName : "Pelvatro") {
    m_nThreadID = ::GetCurrentThreadId();
    g_app = this;
}

CWinApp::~CWinApp() {
    CWinApp* self = this;
    g_app.compare_exchange_strong(self, nullptr);
}

HICON CWinApp::LoadIcon(UINT id) const { return ::LoadIconA(m_hInstance, MAKEINTRESOURCE(id)); }
HICON CWinApp::LoadIcon(LPCSTR name) const { return ::LoadIconA(m_hInstance, name); }
HICON CWinApp::LoadStandardIcon(LPCSTR name) const { return ::LoadIconA(nullptr, name); }

CWinApp* AfxGetApp() { return g_app.load(); }

CWnd* AfxGetMainWnd() {
    CWinApp* app = AfxGetApp();
    return app ? app->GetMainWnd() : nullptr;
}

LPCSTR AfxGetAppName() {
    CWinApp* app = AfxGetApp();
    return app ? app->m_pszAppName : "Pelvatro";
}

HINSTANCE AfxGetInstanceHandle() {
    CWinApp* app = AfxGetApp();
    return app ? app->m_hInstance : nullptr;
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

void AfxEnableControlContainer() {}

int AfxMessageBox(LPCSTR text, UINT type, UINT helpId) {
    // Owned by the active window of the calling thread (the main window when none is active).
    HWND owner = ::GetActiveWindow();
    CWnd* main = AfxGetMainWnd();
    if (!owner && main && ::GetWindowThreadProcessId(main->m_hWnd, nullptr) == ::GetCurrentThreadId()) owner = main->m_hWnd;
    return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT textId, UINT type, UINT helpId) {
    CString text;
    text.LoadString(textId);
    return AfxMessageBox(text, type, helpId);
}

int AfxWinMain() {
    if (!platform::CurrentDisplay()) platform::StartDisplay(platform::DisplayKindFromEnvironment(false));
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    int code = app->InitInstance() ? app->Run() : app->ExitInstance();
    return code;
}
