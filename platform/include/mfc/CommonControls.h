// The common-control objects: CProgressCtrl, CListCtrl and CImageList.
#pragma once

#include "mfc/Wnd.h"
#include "platform/commctrl.h"

class PLATFORM_API CImageList : public CObject {
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() = default;
    ~CImageList() override { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // From a bitmap resource of images cx wide; FALSE when the bitmap is not registered.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL DeleteImageList();
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int Add(HBITMAP image, COLORREF mask) { return ImageList_AddMasked(m_hImageList, image, mask); }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    HIMAGELIST m_hImageList = nullptr;
};

class PLATFORM_API CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(short low, short high) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(low, high)); }
    void SetRange32(int low, int high) { SendMessage(PBM_SETRANGE32, WPARAM(low), LPARAM(high)); }
    void GetRange(int& low, int& high) const;
    int SetPos(int pos) { return int(SendMessage(PBM_SETPOS, WPARAM(pos))); }
    int GetPos() const { return int(SendMessage(PBM_GETPOS)); }
    int OffsetPos(int delta) { return int(SendMessage(PBM_DELTAPOS, WPARAM(delta))); }
    int SetStep(int step) { return int(SendMessage(PBM_SETSTEP, WPARAM(step))); }
    int StepIt() { return int(SendMessage(PBM_STEPIT)); }
};

class PLATFORM_API CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Sets one of the list's image lists (LVSIL_SMALL, ...); returns the previous one's object.
    CImageList* SetImageList(CImageList* list, int which);
    HIMAGELIST GetImageList(int which) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, WPARAM(which)));
    }
    DWORD SetExtendedStyle(DWORD style) { return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(style))); }
    DWORD GetExtendedStyle() const { return DWORD(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    int InsertColumn(int column, LPCSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    int InsertColumn(int column, const LVCOLUMN* column_);
    BOOL DeleteColumn(int column) { return BOOL(SendMessage(LVM_DELETECOLUMN, WPARAM(column))); }
    int GetColumnWidth(int column) const { return int(SendMessage(LVM_GETCOLUMNWIDTH, WPARAM(column))); }
    int InsertItem(const LVITEM* item) { return int(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(item))); }
    int InsertItem(int item, LPCSTR text);
    int InsertItem(int item, LPCSTR text, int image);
    BOOL SetItem(const LVITEM* item) { return BOOL(SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL GetItem(LVITEM* item) const { return BOOL(SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL SetItemText(int item, int subItem, LPCSTR text);
    CString GetItemText(int item, int subItem) const;
    int GetItemCount() const { return int(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL DeleteItem(int item) { return BOOL(SendMessage(LVM_DELETEITEM, WPARAM(item))); }
    BOOL DeleteAllItems() { return BOOL(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const { return UINT(SendMessage(LVM_GETITEMSTATE, WPARAM(item), LPARAM(mask))); }
    // The check box of a row (state image 2 checked, 1 not).
    BOOL SetCheck(int item, BOOL check = TRUE) {
        return SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    BOOL GetCheck(int item) const { return ((GetItemState(item, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1; }

private:
    CImageList* m_imageLists[3] = {nullptr, nullptr, nullptr};
};
