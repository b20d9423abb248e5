// CWinThread and CWinApp: the application object, its main window and the program's start.
#pragma once

#include "mfc/Wnd.h"

class PLATFORM_API CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    virtual BOOL InitInstance() { return FALSE; }
    // The message loop of a program whose InitInstance returned TRUE; ends with WM_QUIT.
    virtual int Run();
    virtual int ExitInstance() { return m_nExitCode; }
    virtual BOOL PreTranslateMessage(MSG* msg) { return FALSE; }
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

    CWnd* m_pMainWnd = nullptr;
    DWORD m_nThreadID = 0;
    int m_nExitCode = 0;
};

class PLATFORM_API CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // There is one application object, a global of the program.
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    HICON LoadIcon(UINT id) const;
    HICON LoadIcon(LPCSTR name) const;
    HICON LoadStandardIcon(LPCSTR name) const;
    // Accepted for compatibility: controls look the same either way here.
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }

    LPCSTR m_pszAppName;
    LPCSTR m_pszExeName = "pelvatro";
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = const_cast<LPSTR>("");
    int m_nCmdShow = SW_SHOWNORMAL;
};

PLATFORM_API CWinApp* AfxGetApp();
PLATFORM_API CWnd* AfxGetMainWnd();
PLATFORM_API LPCSTR AfxGetAppName();
PLATFORM_API HINSTANCE AfxGetInstanceHandle();
PLATFORM_API HINSTANCE AfxGetResourceHandle();
PLATFORM_API void AfxEnableControlContainer();
// A message box over the main window, titled with the application's name.
PLATFORM_API int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
PLATFORM_API int AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = 0);
// The program's start: the application object's InitInstance, then its Run (or, when
// InitInstance answered FALSE, nothing more), then ExitInstance; returns the exit code.
// Starts the display PELVATRO_DISPLAY names when none was started.
PLATFORM_API int AfxWinMain();
