// Message maps: each class's table of the messages it handles, chained to its base class's.
// An entry carries a small adaptor that unpacks WPARAM and LPARAM into the handler's own
// arguments, so handlers keep their usual signatures.
#pragma once

#include <type_traits>

#include "mfc/Object.h"
#include "platform/winuser.h"

class CCmdTarget;
class CWnd;

typedef LRESULT (*AFX_HANDLER)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND and WM_NOTIFY entries also match nCode and the id range
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_HANDLER pfn;  // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

template <class F>
LRESULT AfxHandlerResult(F&& call) {
    if constexpr (std::is_void_v<std::invoke_result_t<F>>) {
        call();
        return 0;
    } else {
        return (LRESULT)call();
    }
}

#define afx_msg

#define DECLARE_MESSAGE_MAP()                            \
protected:                                               \
    static const AFX_MSGMAP* GetThisMessageMap();        \
    const AFX_MSGMAP* GetMessageMap() const override;   \
                                                         \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }           \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                           \
        typedef theClass ThisClass;                                                             \
        typedef baseClass TheBaseClass;                                                         \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                                       \
    {0, 0, 0, 0, nullptr}};                                                                     \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &entries[0]};      \
    return &messageMap;                                                                         \
    }

#define AFX_ENTRY(message, code, id, lastId, body) \
    {(UINT)(message), (UINT)(code), (UINT)(id), (UINT)(lastId), [](CCmdTarget* t_, WPARAM w_, LPARAM l_) -> LRESULT { \
         ThisClass* self_ = static_cast<ThisClass*>(t_); (void)self_; (void)w_; (void)l_;                             \
         return AfxHandlerResult([&] { return body; }); }},

// ---- commands and control notifications ----
#define ON_COMMAND(id, memberFxn) AFX_ENTRY(WM_COMMAND, 0, id, id, self_->memberFxn())
#define ON_COMMAND_RANGE(id, idLast, memberFxn) AFX_ENTRY(WM_COMMAND, 0, id, idLast, self_->memberFxn((UINT)w_))
#define ON_CONTROL(code, id, memberFxn) AFX_ENTRY(WM_COMMAND, code, id, id, self_->memberFxn())
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn) AFX_ENTRY(WM_COMMAND, code, id, idLast, self_->memberFxn((UINT)w_))
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
// The handler takes (NMHDR*, LRESULT*).
#define ON_NOTIFY(code, id, memberFxn) \
    AFX_ENTRY(WM_NOTIFY, code, id, id, self_->memberFxn((NMHDR*)l_, (LRESULT*)w_))

// ---- window messages ----
// The handler takes (WPARAM, LPARAM) and returns LRESULT (or nothing).
#define ON_MESSAGE(message, memberFxn) AFX_ENTRY(message, 0, 0, 0, self_->memberFxn(w_, l_))
#define ON_WM_CREATE() AFX_ENTRY(WM_CREATE, 0, 0, 0, self_->OnCreate((LPCREATESTRUCT)l_))
#define ON_WM_DESTROY() AFX_ENTRY(WM_DESTROY, 0, 0, 0, self_->OnDestroy())
#define ON_WM_CLOSE() AFX_ENTRY(WM_CLOSE, 0, 0, 0, self_->OnClose())
#define ON_WM_PAINT() AFX_ENTRY(WM_PAINT, 0, 0, 0, self_->OnPaint())
#define ON_WM_TIMER() AFX_ENTRY(WM_TIMER, 0, 0, 0, self_->OnTimer((UINT_PTR)w_))
#define ON_WM_SYSCOMMAND() AFX_ENTRY(WM_SYSCOMMAND, 0, 0, 0, self_->OnSysCommand((UINT)w_, l_))
#define ON_WM_QUERYDRAGICON() AFX_ENTRY(WM_QUERYDRAGICON, 0, 0, 0, self_->OnQueryDragIcon())
#define ON_WM_ERASEBKGND() AFX_ENTRY(WM_ERASEBKGND, 0, 0, 0, self_->OnEraseBkgnd(CDC::FromHandle((HDC)w_)))
#define ON_WM_CTLCOLOR()                                                                            \
    AFX_ENTRY(WM_CTLCOLORSTATIC, 0, 0, 0,                                                           \
              self_->OnCtlColor(CDC::FromHandle((HDC)w_), CWnd::FromHandle((HWND)l_), CTLCOLOR_STATIC)) \
    AFX_ENTRY(WM_CTLCOLORBTN, 0, 0, 0,                                                              \
              self_->OnCtlColor(CDC::FromHandle((HDC)w_), CWnd::FromHandle((HWND)l_), CTLCOLOR_BTN))    \
    AFX_ENTRY(WM_CTLCOLORDLG, 0, 0, 0,                                                              \
              self_->OnCtlColor(CDC::FromHandle((HDC)w_), CWnd::FromHandle((HWND)l_), CTLCOLOR_DLG))
#define ON_WM_DRAWITEM() AFX_ENTRY(WM_DRAWITEM, 0, 0, 0, (self_->OnDrawItem((int)w_, (LPDRAWITEMSTRUCT)l_), TRUE))
#define ON_WM_ENABLE() AFX_ENTRY(WM_ENABLE, 0, 0, 0, self_->OnEnable((BOOL)w_))
#define ON_WM_SHOWWINDOW() AFX_ENTRY(WM_SHOWWINDOW, 0, 0, 0, self_->OnShowWindow((BOOL)w_, (UINT)l_))
#define ON_WM_SIZE() AFX_ENTRY(WM_SIZE, 0, 0, 0, self_->OnSize((UINT)w_, LOWORD(l_), HIWORD(l_)))
#define ON_WM_MOVE() AFX_ENTRY(WM_MOVE, 0, 0, 0, self_->OnMove((short)LOWORD(l_), (short)HIWORD(l_)))
#define ON_WM_SETFOCUS() AFX_ENTRY(WM_SETFOCUS, 0, 0, 0, self_->OnSetFocus(CWnd::FromHandle((HWND)w_)))
#define ON_WM_KILLFOCUS() AFX_ENTRY(WM_KILLFOCUS, 0, 0, 0, self_->OnKillFocus(CWnd::FromHandle((HWND)w_)))
#define ON_WM_KEYDOWN() \
    AFX_ENTRY(WM_KEYDOWN, 0, 0, 0, self_->OnKeyDown((UINT)w_, LOWORD(l_), HIWORD(l_)))
#define ON_WM_KEYUP() AFX_ENTRY(WM_KEYUP, 0, 0, 0, self_->OnKeyUp((UINT)w_, LOWORD(l_), HIWORD(l_)))
#define ON_WM_CHAR() AFX_ENTRY(WM_CHAR, 0, 0, 0, self_->OnChar((UINT)w_, LOWORD(l_), HIWORD(l_)))
#define AFX_MOUSE_ENTRY(message, memberFxn) \
    AFX_ENTRY(message, 0, 0, 0, self_->memberFxn((UINT)w_, CPoint((short)LOWORD(l_), (short)HIWORD(l_))))
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_MOUSEHOVER() AFX_MOUSE_ENTRY(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_MOUSELEAVE() AFX_ENTRY(WM_MOUSELEAVE, 0, 0, 0, self_->OnMouseLeave())
#define ON_WM_DEVICECHANGE() AFX_ENTRY(WM_DEVICECHANGE, 0, 0, 0, self_->OnDeviceChange((UINT)w_, (DWORD_PTR)l_))
