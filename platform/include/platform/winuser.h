// Windows as message targets: window classes, handles, per-thread queues, timers, message boxes.
#pragma once

#include "platform/winbase.h"

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *PMSG, *LPMSG;

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA, WNDCLASS;

typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA, CREATESTRUCT, *LPCREATESTRUCT;

// ---- messages ----
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETREDRAW 0x000B
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_DRAWITEM 0x002B
#define WM_MEASUREITEM 0x002C
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_NOTIFY 0x004E
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCHITTEST 0x0084
#define WM_GETDLGCODE 0x0087
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORLISTBOX 0x0134
#define WM_CTLCOLORSTATIC 0x0138
#define WM_CTLCOLORBTN 0x0135
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MOUSELEAVE 0x02A3
#define WM_MOUSEHOVER 0x02A1
#define MK_LBUTTON 0x0001
#define WM_DEVICECHANGE 0x0219
#define WM_USER 0x0400
#define WM_APP 0x8000

// ---- window styles ----
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_STATICEDGE 0x00020000L
#define CW_USEDEFAULT ((int)0x80000000)
#define HWND_DESKTOP ((HWND)0)
#define HWND_BROADCAST ((HWND)0xffff)

#define GWL_WNDPROC (-4)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWL_ID (-12)
#define GWLP_WNDPROC GWL_WNDPROC
#define GWLP_USERDATA GWL_USERDATA
#define GWLP_ID GWL_ID

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWNA 8
#define SW_RESTORE 9

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// ---- window class and window calls ----
PLATFORM_API ATOM RegisterClassA(const WNDCLASSA* windowClass);
#define RegisterClass RegisterClassA
PLATFORM_API BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* windowClass);
PLATFORM_API HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                                  int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
#define CreateWindowEx CreateWindowExA
#define CreateWindowA(c, n, s, x, y, w, h, p, m, i, l) CreateWindowExA(0, c, n, s, x, y, w, h, p, m, i, l)
#define CreateWindow CreateWindowA
PLATFORM_API BOOL DestroyWindow(HWND window);
PLATFORM_API BOOL IsWindow(HWND window);
PLATFORM_API HWND GetParent(HWND window);
PLATFORM_API HWND SetParent(HWND window, HWND parent);
PLATFORM_API DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId);
PLATFORM_API LONG_PTR GetWindowLongPtrA(HWND window, int index);
PLATFORM_API LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
#define GetWindowLongPtr GetWindowLongPtrA
#define SetWindowLongPtr SetWindowLongPtrA
#define GetWindowLong(w, i) ((LONG)GetWindowLongPtrA(w, i))
#define SetWindowLong(w, i, v) ((LONG)SetWindowLongPtrA(w, i, v))
PLATFORM_API LRESULT CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
#define CallWindowProc CallWindowProcA
PLATFORM_API LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
#define DefWindowProc DefWindowProcA
PLATFORM_API int GetDlgCtrlID(HWND window);
PLATFORM_API HWND GetDlgItem(HWND dialog, int id);
PLATFORM_API HWND GetWindow(HWND window, UINT command);
#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5
PLATFORM_API BOOL SetWindowTextA(HWND window, LPCSTR text);
PLATFORM_API int GetWindowTextA(HWND window, LPSTR text, int maxCount);
PLATFORM_API int GetWindowTextLengthA(HWND window);
#define SetWindowText SetWindowTextA
#define GetWindowText GetWindowTextA
#define GetWindowTextLength GetWindowTextLengthA
PLATFORM_API BOOL ShowWindow(HWND window, int command);
PLATFORM_API BOOL IsWindowVisible(HWND window);
// Minimised (SW_MINIMIZE, SC_MINIMIZE) and not restored since.
PLATFORM_API BOOL IsIconic(HWND window);
PLATFORM_API BOOL EnableWindow(HWND window, BOOL enable);
PLATFORM_API BOOL IsWindowEnabled(HWND window);
PLATFORM_API BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
PLATFORM_API BOOL GetWindowRect(HWND window, LPRECT rect);
PLATFORM_API BOOL GetClientRect(HWND window, LPRECT rect);
PLATFORM_API BOOL ScreenToClient(HWND window, LPPOINT point);
PLATFORM_API BOOL ClientToScreen(HWND window, LPPOINT point);
PLATFORM_API BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
PLATFORM_API BOOL UpdateWindow(HWND window);
PLATFORM_API HWND SetFocus(HWND window);
PLATFORM_API HWND GetFocus();
PLATFORM_API HWND GetActiveWindow();
PLATFORM_API HWND SetActiveWindow(HWND window);
PLATFORM_API BOOL SetForegroundWindow(HWND window);
PLATFORM_API HWND GetDesktopWindow();
typedef BOOL(CALLBACK* WNDENUMPROC)(HWND, LPARAM);
PLATFORM_API BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam);
PLATFORM_API BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC callback, LPARAM lParam);
PLATFORM_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam);
PLATFORM_API BOOL IsChild(HWND parent, HWND window);
PLATFORM_API BOOL GetClassNameA(HWND window, LPSTR name, int maxCount);
#define GetClassName GetClassNameA
PLATFORM_API BOOL ValidateRect(HWND window, const RECT* rect);
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_CLASS_ALREADY_EXISTS 1410L

// ---- messages and queues ----
PLATFORM_API BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
#define PostMessage PostMessageA
PLATFORM_API BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
#define PostThreadMessage PostThreadMessageA
PLATFORM_API LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
#define SendMessage SendMessageA
PLATFORM_API BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
#define GetMessage GetMessageA
PLATFORM_API BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove);
#define PeekMessage PeekMessageA
PLATFORM_API LRESULT DispatchMessageA(const MSG* msg);
#define DispatchMessage DispatchMessageA
PLATFORM_API BOOL TranslateMessage(const MSG* msg);
PLATFORM_API void PostQuitMessage(int exitCode);
PLATFORM_API BOOL WaitMessage();
PLATFORM_API DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                             DWORD wakeMask);
#define QS_ALLINPUT 0x04FF
#define QS_ALLEVENTS 0x04BF
#define QS_POSTMESSAGE 0x0008

// ---- timers ----
PLATFORM_API UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc);
PLATFORM_API BOOL KillTimer(HWND window, UINT_PTR id);

// ---- message boxes ----
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_TOPMOST 0x00040000L
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDCLOSE 8

PLATFORM_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
#define MessageBox MessageBoxA
PLATFORM_API BOOL MessageBeep(UINT type);

// ---- keys ----
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_DELETE 0x2E
#define VK_NUMPAD0 0x60
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_OEM_1 0xBA       // ; :
#define VK_OEM_PLUS 0xBB    // = +
#define VK_OEM_COMMA 0xBC   // , <
#define VK_OEM_MINUS 0xBD   // - _
#define VK_OEM_PERIOD 0xBE  // . >
#define VK_OEM_2 0xBF       // / ?
#define VK_OEM_3 0xC0       // ` ~
#define VK_OEM_4 0xDB       // [ {
#define VK_OEM_5 0xDC       // \ |
#define VK_OEM_6 0xDD       // ] }
#define VK_OEM_7 0xDE       // ' "
PLATFORM_API SHORT GetKeyState(int key);
PLATFORM_API SHORT GetAsyncKeyState(int key);

// ---- device change ----
#define DBT_DEVNODES_CHANGED 0x0007
#define DBT_DEVICEARRIVAL 0x8000
#define DBT_DEVICEREMOVECOMPLETE 0x8004
