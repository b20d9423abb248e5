// CPelvatroApp: the program's start and end.
#include "Pelvatro.h"

#include <objbase.h>
#include <stdio.h>

#include "PelvatroDlg.h"
#include "ProgramFolder.h"
#include "platform/display.h"
#include "resource.h"

namespace {
// An unattended run presses a page's pass button, never its fail button, and only once the page
// has been shown long enough to ask its own question first.
const DWORD kPageShownMs = 2000;
}  // namespace

CPelvatroApp::CPelvatroApp() : CWinApp("Pelvatro"), m_bPowerOff(FALSE), m_bComStarted(FALSE) {}

CPelvatroApp* GetPelvatroApp() { return dynamic_cast<CPelvatroApp*>(AfxGetApp()); }

BOOL CPelvatroApp::InitInstance() {
    // A folder cut short would have the station look for its settings elsewhere, and run as
    // another station than this one is.
    CString folder;
    if (!ProgramFolderFits(folder)) {
        fprintf(stderr, "pelvatro: the program folder %s is too long: with the program's name it passes the %d characters a path of the station holds\n",
                PathForOperator(folder).GetString(), MAX_PATH - 1);
        m_nExitCode = 2;
        return FALSE;
    }
    CoInitialize(nullptr);
    m_bComStarted = TRUE;
    platform::SetOperatorPreferences({{IDC_PASS}, {IDC_FAIL}, kPageShownMs});
    AfxEnableControlContainer();
    Enable3dControls();

    CPelvatroDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // No message loop of its own: the program ends with the main dialog.
    return FALSE;
}

int CPelvatroApp::ExitInstance() {
    if (m_bComStarted) CoUninitialize();
    m_bComStarted = FALSE;
    if (m_bPowerOff) PowerOffComputer(EWX_SHUTDOWN | EWX_POWEROFF);
    return CWinApp::ExitInstance();
}

void PowerOffComputer(UINT flags) {
    HANDLE token = nullptr;
    TOKEN_PRIVILEGES privileges{};
    OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
    LookupPrivilegeValue(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr);
    if (token != nullptr) CloseHandle(token);
    ExitWindowsEx(flags, 0);
}
