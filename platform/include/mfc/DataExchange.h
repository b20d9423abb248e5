// Dialog data exchange: moving values between a dialog's members and its controls.
#pragma once

#include "mfc/Wnd.h"

// Thrown by CDataExchange::Fail; UpdateData answers FALSE.
class PLATFORM_API CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
};

class PLATFORM_API CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    // The control's window; a missing control fails the exchange.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id) { return PrepareCtrl(id); }
    // Ends the exchange (UpdateData returns FALSE).
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
};

// Attaches the member control object to the dialog's item (once).
PLATFORM_API void DDX_Control(CDataExchange* dx, int id, CWnd& control);
PLATFORM_API void DDX_Text(CDataExchange* dx, int id, CString& value);
PLATFORM_API void DDX_Text(CDataExchange* dx, int id, int& value);
PLATFORM_API void DDX_Text(CDataExchange* dx, int id, UINT& value);
PLATFORM_API void DDX_Text(CDataExchange* dx, int id, long& value);
PLATFORM_API void DDX_Text(CDataExchange* dx, int id, double& value);
PLATFORM_API void DDX_Text(CDataExchange* dx, int id, float& value);
PLATFORM_API void DDX_Check(CDataExchange* dx, int id, int& value);
