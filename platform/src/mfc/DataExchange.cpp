// Dialog data exchange.
#include "mfc/DataExchange.h"

#include <cerrno>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CUserException, CException)

HWND CDataExchange::PrepareCtrl(int id) {
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (!control) {
        PlatformTrace("DDX: dialog item %d does not exist\n", id);
        Fail();
    }
    m_hWndLastControl = control;
    return control;
}

void CDataExchange::Fail() { throw new CUserException; }

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd) return;
    HWND item = dx->PrepareCtrl(id);
    if (!control.SubclassWindow(item)) {
        PlatformTrace("DDX_Control: item %d is already attached to another object\n", id);
        dx->Fail();
    }
}

namespace {

CString ControlText(HWND control) {
    CString text;
    int length = ::GetWindowTextLengthA(control);
    ::GetWindowTextA(control, text.GetBufferSetLength(length), length + 1);
    text.ReleaseBuffer();
    return text;
}

// Reads a number from the control's text, or fails the exchange when it is not one.
template <class T, class Parse>
void ExchangeNumber(CDataExchange* dx, int id, T& value, LPCSTR format, Parse parse) {
    HWND control = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        CString text;
        text.Format(format, value);
        ::SetWindowTextA(control, text);
        return;
    }
    CString text = ControlText(control);
    text.Trim();
    char* end = nullptr;
    errno = 0;
    auto parsed = parse(text.GetString(), &end);
    if (text.IsEmpty() || *end != '\0' || errno == ERANGE) {
        PlatformTrace("DDX_Text: item %d does not hold a number: \"%s\"\n", id, text.GetString());
        dx->Fail();
    }
    value = T(parsed);
}

}  // namespace

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) value = ControlText(control);
    else ::SetWindowTextA(control, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    ExchangeNumber(dx, id, value, "%d", [](const char* s, char** e) { return strtol(s, e, 10); });
}

void DDX_Text(CDataExchange* dx, int id, UINT& value) {
    ExchangeNumber(dx, id, value, "%u", [](const char* s, char** e) { return strtoul(s, e, 10); });
}

void DDX_Text(CDataExchange* dx, int id, long& value) {
    ExchangeNumber(dx, id, value, "%ld", [](const char* s, char** e) { return strtol(s, e, 10); });
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
    ExchangeNumber(dx, id, value, "%.15g", [](const char* s, char** e) { return strtod(s, e); });
}

void DDX_Text(CDataExchange* dx, int id, float& value) {
    ExchangeNumber(dx, id, value, "%.7g", [](const char* s, char** e) { return strtof(s, e); });
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) value = int(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else ::SendMessageA(control, BM_SETCHECK, WPARAM(value), 0);
}
