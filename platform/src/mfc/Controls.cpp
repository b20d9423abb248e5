// The control objects.
#include "mfc/CommonControls.h"
#include "mfc/Controls.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CImageList, CObject)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create("Static", text, style, rect, parent, id);
}

BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create("Button", caption, style, rect, parent, id);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (result) *result = TRUE;
    return TRUE;
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create("Edit", "", style, rect, parent, id);
}

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create("ListBox", "", style, rect, parent, id);
}

void CListBox::GetText(int index, CString& text) const {
    int length = GetTextLen(index);
    if (length < 0) {
        text.Empty();
        return;
    }
    GetText(index, text.GetBufferSetLength(length));
    text.ReleaseBuffer(length);
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
    DeleteImageList();
    m_hImageList = ImageList_LoadBitmapA(nullptr, MAKEINTRESOURCE(bitmapId), cx, grow, mask);
    return m_hImageList != nullptr;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) return FALSE;
    ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return TRUE;
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(PROGRESS_CLASS, "", style, rect, parent, id);
}

void CProgressCtrl::GetRange(int& low, int& high) const {
    PBRANGE range{};
    SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    low = range.iLow;
    high = range.iHigh;
}

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_LISTVIEW, "", style, rect, parent, id);
}

CImageList* CListCtrl::SetImageList(CImageList* list, int which) {
    if (which < 0 || which > 2) return nullptr;
    SendMessage(LVM_SETIMAGELIST, WPARAM(which), reinterpret_cast<LPARAM>(list ? list->m_hImageList : nullptr));
    CImageList* old = m_imageLists[which];
    m_imageLists[which] = list;
    return old;
}

int CListCtrl::InsertColumn(int column, LPCSTR heading, int format, int width, int subItem) {
    LVCOLUMN c{};
    c.mask = LVCF_TEXT | LVCF_FMT;
    c.fmt = format;
    c.pszText = const_cast<LPSTR>(heading);
    if (width != -1) {
        c.mask |= LVCF_WIDTH;
        c.cx = width;
    }
    if (subItem != -1) {
        c.mask |= LVCF_SUBITEM;
        c.iSubItem = subItem;
    }
    return InsertColumn(column, &c);
}

int CListCtrl::InsertColumn(int column, const LVCOLUMN* column_) {
    return int(SendMessage(LVM_INSERTCOLUMNA, WPARAM(column), reinterpret_cast<LPARAM>(column_)));
}

int CListCtrl::InsertItem(int item, LPCSTR text) {
    LVITEM i{};
    i.mask = LVIF_TEXT;
    i.iItem = item;
    i.pszText = const_cast<LPSTR>(text);
    return InsertItem(&i);
}

int CListCtrl::InsertItem(int item, LPCSTR text, int image) {
    LVITEM i{};
    i.mask = LVIF_TEXT | LVIF_IMAGE;
    i.iItem = item;
    i.pszText = const_cast<LPSTR>(text);
    i.iImage = image;
    return InsertItem(&i);
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCSTR text) {
    LVITEM i{};
    i.iSubItem = subItem;
    i.pszText = const_cast<LPSTR>(text);
    return BOOL(SendMessage(LVM_SETITEMTEXTA, WPARAM(item), reinterpret_cast<LPARAM>(&i)));
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    char buffer[1024];
    LVITEM i{};
    i.iSubItem = subItem;
    i.pszText = buffer;
    i.cchTextMax = sizeof buffer;
    int n = int(SendMessage(LVM_GETITEMTEXTA, WPARAM(item), reinterpret_cast<LPARAM>(&i)));
    return CString(buffer, n);
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    LVITEM i{};
    i.mask = LVIF_PARAM;
    i.iItem = item;
    i.lParam = LPARAM(data);
    return SetItem(&i);
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEM i{};
    i.mask = LVIF_PARAM;
    i.iItem = item;
    return GetItem(&i) ? DWORD_PTR(i.lParam) : 0;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEM i{};
    i.state = state;
    i.stateMask = mask;
    return BOOL(SendMessage(LVM_SETITEMSTATE, WPARAM(item), reinterpret_cast<LPARAM>(&i)));
}
