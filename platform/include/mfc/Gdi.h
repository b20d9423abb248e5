// Device contexts as the window code meets them (a paint handler's CPaintDC, an owner-drawn
// item's hDC) and menus. These displays draw no pixels of their own: a device context is the
// display's drawing surface and is null where the display has none.
#pragma once

#include <vector>

#include "mfc/Object.h"
#include "platform/winctrl.h"

class CWnd;

class PLATFORM_API CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    // A wrapper for a device context (one per handle, kept for the process).
    static CDC* FromHandle(HDC dc);
    BOOL Attach(HDC dc);
    HDC Detach();
};

class PLATFORM_API CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

#define MF_STRING 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_CHECKED 0x00000008L
#define MF_POPUP 0x00000010L
#define MF_SEPARATOR 0x00000800L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L

// A menu: its items as data.
class PLATFORM_API CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    struct Item {
        UINT flags;
        UINT_PTR id;
        CString text;
    };
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
    UINT GetMenuItemCount() const { return UINT(m_items.size()); }
    const std::vector<Item>& Items() const { return m_items; }

private:
    std::vector<Item> m_items;
};
