// CCmdTarget and CWnd: a C++ object attached to a window, receiving its messages through the
// class's message map, with the window calls as members.
#pragma once

#include "mfc/Geometry.h"
#include "mfc/MessageMap.h"
#include "mfc/String.h"
#include "platform/winctrl.h"

#define MLF_NOIDLEMSG 0x0001
#define MLF_SHOWONIDLE 0x0004

class CDataExchange;
class CDC;
class CMenu;

class PLATFORM_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Runs the map entry for a command or control notification; FALSE when none handles it.
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry of the map chain that matches (null for none).
    const AFX_MSGMAP_ENTRY* FindEntry(UINT message, UINT code, UINT id) const;
};

class PLATFORM_API CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    explicit CWnd(HWND window);
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    bool operator==(const CWnd& other) const { return m_hWnd == other.m_hWnd; }

    // The object attached to a window; for a window without one, a wrapper kept until the window
    // is destroyed.
    static CWnd* FromHandle(HWND window);
    static CWnd* FromHandlePermanent(HWND window);
    BOOL Attach(HWND window);
    HWND Detach();

    // ---- creation ----
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                        void* context = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs) { return TRUE; }
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}

    // ---- messages ----
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg) { return FALSE; }
    LRESULT Default();
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR id);
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK) const;

    // ---- modal loops ----
    // Pumps messages until EndModalLoop; a WM_QUIT ends the loop and is posted again.
    int RunModalLoop(DWORD flags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int result);

    // ---- text and items ----
    void SetWindowText(LPCSTR text);
    int GetWindowText(LPSTR text, int maxCount) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    CWnd* GetDlgItem(int id) const;
    void GetDlgItem(int id, HWND* window) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);
    void SetDlgItemText(int id, LPCSTR text);
    int GetDlgItemText(int id, LPSTR text, int maxCount) const;
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;

    // ---- state and geometry ----
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const { return (GetStyle() & WS_MINIMIZE) != 0; }
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void CenterWindow(CWnd* alternateOwner = nullptr);
    CDC* GetDC();
    int ReleaseDC(CDC* dc);
    void SetFont(class CFont* font, BOOL redraw = TRUE);
    class CFont* GetFont() const;
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void UpdateWindow();
    CWnd* GetParent() const;
    CWnd* GetTopLevelParent() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* GetWindow(UINT command) const;
    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const;
    // The system menu of a top-level window with WS_SYSMENU (null for others), first holding
    // "&Close" (SC_CLOSE); `revert` puts it back to that and answers null.
    CMenu* GetSystemMenu(BOOL revert) const;

    // ---- data exchange ----
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* dx) {}

    // ---- command routing ----
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A message a child sent its parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*), offered
    // back to the child's object; TRUE when the child handled it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // ---- default handlers (each runs the window's default procedure) ----
    afx_msg void OnTimer(UINT_PTR id) { Default(); }
    afx_msg void OnDestroy() { Default(); }
    afx_msg void OnClose() { Default(); }
    afx_msg void OnPaint() { Default(); }
    afx_msg void OnSysCommand(UINT id, LPARAM lParam) { Default(); }
    afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);
    afx_msg void OnEnable(BOOL enable) { Default(); }
    afx_msg void OnShowWindow(BOOL show, UINT status) { Default(); }
    afx_msg void OnSize(UINT type, int cx, int cy) { Default(); }
    afx_msg void OnMove(int x, int y) { Default(); }
    afx_msg void OnSetFocus(CWnd* oldWnd) { Default(); }
    afx_msg void OnKillFocus(CWnd* newWnd) { Default(); }
    afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags) { Default(); }
    afx_msg void OnKeyUp(UINT ch, UINT repeat, UINT flags) { Default(); }
    afx_msg void OnChar(UINT ch, UINT repeat, UINT flags) { Default(); }
    afx_msg void OnMouseMove(UINT flags, CPoint point) { Default(); }
    afx_msg void OnLButtonDown(UINT flags, CPoint point) { Default(); }
    afx_msg void OnLButtonUp(UINT flags, CPoint point) { Default(); }
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point) { Default(); }
    afx_msg void OnRButtonDown(UINT flags, CPoint point) { Default(); }
    afx_msg void OnMouseHover(UINT flags, CPoint point) { Default(); }
    afx_msg void OnMouseLeave() { Default(); }
    afx_msg int OnCreate(LPCREATESTRUCT cs) { return (int)Default(); }
    afx_msg BOOL OnEraseBkgnd(CDC* dc) { return (BOOL)Default(); }
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) { return (HBRUSH)Default(); }
    afx_msg HCURSOR OnQueryDragIcon() { return (HCURSOR)Default(); }
    afx_msg BOOL OnDeviceChange(UINT event, DWORD_PTR data) { return (BOOL)Default(); }

    // Flags of m_nFlags.
    enum { WF_MODALLOOP = 0x0001, WF_CONTINUEMODAL = 0x0002 };
    UINT m_nFlags = 0;
    int m_nModalResult = 0;
    WNDPROC m_pfnSuper = nullptr;  // the window's procedure before this object subclassed it

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;
};

// The procedure of every window a CWnd has subclassed.
PLATFORM_API LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Offers a message to PreTranslateMessage of the windows from its target up to its top-level
// window; TRUE when one of them took it.
PLATFORM_API BOOL AfxPreTranslateMessage(MSG* msg);
// Registers the window classes of the dialogs and controls (done on first use as well).
PLATFORM_API void AfxRegisterWindowClasses();
