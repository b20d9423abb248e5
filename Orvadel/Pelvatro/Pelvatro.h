// CPelvatroApp: the station's application object. It starts COM, runs the main dialog modally
// and, when the test run asked for it, switches the PC off at exit.
#pragma once

#include <afxwin.h>

class CPelvatroApp : public CWinApp {
public:
    CPelvatroApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Set once, by the main dialog, when a finished test run asks for the power-off.
    BOOL m_bPowerOff;

private:
    BOOL m_bComStarted;  // InitInstance got as far as starting COM
};

// The application object of the process; null when there is none or it is another kind.
CPelvatroApp* GetPelvatroApp();

// Enables the shutdown privilege and asks the system to exit with the flags.
void PowerOffComputer(UINT flags);
