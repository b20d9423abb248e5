// The control objects: CStatic, CButton, CEdit and CListBox over their window classes.
#pragma once

#include "mfc/Wnd.h"

class PLATFORM_API CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
};

class PLATFORM_API CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCheck() const { return int(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, WPARAM(check)); }
    UINT GetState() const { return UINT(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, WPARAM(highlight)); }
    UINT GetButtonStyle() const { return UINT(GetStyle() & 0xFFFF); }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    // Paints an owner-drawn button (WM_DRAWITEM, reflected from the parent).
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class PLATFORM_API CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return BOOL(SendMessage(EM_SETREADONLY, readOnly)); }
    void SetSel(int start, int end, BOOL noScroll = FALSE) { SendMessage(EM_SETSEL, WPARAM(start), LPARAM(end)); }
};

class PLATFORM_API CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCount() const { return int(SendMessage(LB_GETCOUNT)); }
    int AddString(LPCSTR text) { return int(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int InsertString(int index, LPCSTR text) {
        return int(SendMessage(LB_INSERTSTRING, WPARAM(index), reinterpret_cast<LPARAM>(text)));
    }
    int DeleteString(UINT index) { return int(SendMessage(LB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int GetTextLen(int index) const { return int(SendMessage(LB_GETTEXTLEN, WPARAM(index))); }
    int GetText(int index, LPSTR buffer) const {
        return int(SendMessage(LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buffer)));
    }
    void GetText(int index, CString& text) const;
    int GetCurSel() const { return int(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int index) { return int(SendMessage(LB_SETCURSEL, WPARAM(index))); }
    int GetTopIndex() const { return int(SendMessage(LB_GETTOPINDEX)); }
    int SetTopIndex(int index) { return int(SendMessage(LB_SETTOPINDEX, WPARAM(index))); }
    int FindString(int startAfter, LPCSTR text) const {
        return int(SendMessage(LB_FINDSTRING, WPARAM(startAfter), reinterpret_cast<LPARAM>(text)));
    }
    int FindStringExact(int startAfter, LPCSTR text) const {
        return int(SendMessage(LB_FINDSTRINGEXACT, WPARAM(startAfter), reinterpret_cast<LPARAM>(text)));
    }
    DWORD_PTR GetItemData(int index) const { return DWORD_PTR(SendMessage(LB_GETITEMDATA, WPARAM(index))); }
    int SetItemData(int index, DWORD_PTR data) { return int(SendMessage(LB_SETITEMDATA, WPARAM(index), LPARAM(data))); }
};
