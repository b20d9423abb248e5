// The list view window class in report mode: columns, rows of texts, images, states, data.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "ControlPaint.h"
#include "ControlStates.h"
#include "platform/commctrl.h"

namespace mfc {

namespace {

struct Column {
    std::string text;
    int width = 0;
    int format = LVCFMT_LEFT;
};

struct Row {
    std::vector<std::string> texts;  // one per sub-item
    int image = 0;
    UINT state = 0;
    LPARAM data = 0;
};

struct ListViewState {
    std::vector<Column> columns;
    std::vector<Row> rows;
    HIMAGELIST images[3] = {nullptr, nullptr, nullptr};
    DWORD extendedStyle = 0;
};

ControlStates<ListViewState>& States() {
    static auto* states = new ControlStates<ListViewState>;
    return *states;
}

void SetText(Row& row, int subItem, const char* text) {
    if (subItem < 0) return;
    if (int(row.texts.size()) <= subItem) row.texts.resize(subItem + 1);
    row.texts[subItem] = text ? text : "";
}

// Applies an item record's fields to a row; false when the sub-item is out of range.
void Apply(Row& row, const LVITEMA& item) {
    if (item.mask & LVIF_TEXT) SetText(row, item.iSubItem, item.pszText);
    if (item.iSubItem != 0) return;
    if (item.mask & LVIF_IMAGE) row.image = item.iImage;
    if (item.mask & LVIF_PARAM) row.data = item.lParam;
    if (item.mask & LVIF_STATE) row.state = (row.state & ~item.stateMask) | (item.state & item.stateMask);
}

LRESULT CopyText(const std::string& text, LVITEMA* item) {
    if (!item->pszText || item->cchTextMax <= 0) return 0;
    size_t n = std::min(text.size(), size_t(item->cchTextMax) - 1);
    std::memcpy(item->pszText, text.data(), n);
    item->pszText[n] = '\0';
    return LRESULT(n);
}

// The columns' messages; nothing for another message.
std::optional<LRESULT> ColumnMessage(ListViewState& s, UINT message, WPARAM wParam, LPARAM lParam, bool& changed) {
    int index = int(INT_PTR(wParam));
    switch (message) {
    case LVM_INSERTCOLUMNA: {
        auto* c = reinterpret_cast<const LVCOLUMNA*>(lParam);
        if (!c) return -1;
        Column column;
        if (c->mask & LVCF_TEXT) column.text = c->pszText ? c->pszText : "";
        if (c->mask & LVCF_WIDTH) column.width = c->cx;
        if (c->mask & LVCF_FMT) column.format = c->fmt;
        index = std::clamp(index, 0, int(s.columns.size()));
        s.columns.insert(s.columns.begin() + index, column);
        changed = true;
        return index;
    }
    case LVM_DELETECOLUMN:
        if (index < 0 || index >= int(s.columns.size())) return FALSE;
        s.columns.erase(s.columns.begin() + index);
        for (Row& r : s.rows)
            if (int(r.texts.size()) > index) r.texts.erase(r.texts.begin() + index);
        changed = true;
        return TRUE;
    case LVM_GETCOLUMNWIDTH: return (index >= 0 && index < int(s.columns.size())) ? s.columns[index].width : 0;
    case LVM_SETCOLUMNWIDTH:
        if (index < 0 || index >= int(s.columns.size())) return FALSE;
        s.columns[index].width = int(LOWORD(lParam));
        changed = true;
        return TRUE;
    case LVM_GETCOLUMNA: {
        auto* c = reinterpret_cast<LVCOLUMNA*>(lParam);
        if (!c || index < 0 || index >= int(s.columns.size())) return FALSE;
        const Column& col = s.columns[index];
        if (c->mask & LVCF_WIDTH) c->cx = col.width;
        if (c->mask & LVCF_FMT) c->fmt = col.format;
        if ((c->mask & LVCF_TEXT) && c->pszText && c->cchTextMax > 0) {
            size_t n = std::min(col.text.size(), size_t(c->cchTextMax) - 1);
            std::memcpy(c->pszText, col.text.data(), n);
            c->pszText[n] = '\0';
        }
        return TRUE;
    }
    default: return std::nullopt;
    }
}

// The rows' messages: items, their texts and states; nothing for another message.
std::optional<LRESULT> RowMessage(ListViewState& s, UINT message, WPARAM wParam, LPARAM lParam, bool& changed) {
    int index = int(INT_PTR(wParam));
    auto* item = reinterpret_cast<LVITEMA*>(lParam);
    int rowCount = int(s.rows.size());
    auto validRow = [&](int i) { return i >= 0 && i < rowCount; };
    switch (message) {
    case LVM_INSERTITEMA: {
        if (!item || item->iSubItem != 0) return -1;
        int at = std::clamp(item->iItem, 0, rowCount);
        Row row;
        row.texts.resize(1);
        Apply(row, *item);
        s.rows.insert(s.rows.begin() + at, row);
        changed = true;
        return at;
    }
    case LVM_SETITEMA:
        if (!item || !validRow(item->iItem)) return FALSE;
        Apply(s.rows[item->iItem], *item);
        changed = true;
        return TRUE;
    case LVM_SETITEMTEXTA:
        if (!item || !validRow(index)) return FALSE;
        SetText(s.rows[index], item->iSubItem, item->pszText);
        changed = true;
        return TRUE;
    case LVM_GETITEMTEXTA: {
        if (!item || !validRow(index)) return 0;
        const Row& r = s.rows[index];
        return CopyText(item->iSubItem >= 0 && item->iSubItem < int(r.texts.size()) ? r.texts[item->iSubItem] : "", item);
    }
    case LVM_GETITEMA: {
        if (!item || !validRow(item->iItem)) return FALSE;
        const Row& r = s.rows[item->iItem];
        if (item->mask & LVIF_TEXT)
            CopyText(item->iSubItem >= 0 && item->iSubItem < int(r.texts.size()) ? r.texts[item->iSubItem] : "", item);
        if (item->mask & LVIF_IMAGE) item->iImage = r.image;
        if (item->mask & LVIF_PARAM) item->lParam = r.data;
        if (item->mask & LVIF_STATE) item->state = r.state & item->stateMask;
        return TRUE;
    }
    case LVM_SETITEMSTATE: {
        if (!item) return FALSE;
        for (int i = 0; i < rowCount; ++i) {
            if (index != -1 && i != index) continue;
            s.rows[i].state = (s.rows[i].state & ~item->stateMask) | (item->state & item->stateMask);
        }
        changed = true;
        return TRUE;
    }
    case LVM_GETITEMSTATE: return validRow(index) ? LRESULT(s.rows[index].state & UINT(lParam)) : 0;
    case LVM_GETITEMCOUNT: return rowCount;
    case LVM_DELETEITEM:
        if (!validRow(index)) return FALSE;
        s.rows.erase(s.rows.begin() + index);
        changed = true;
        return TRUE;
    case LVM_DELETEALLITEMS:
        s.rows.clear();
        changed = true;
        return TRUE;
    default: return std::nullopt;
    }
}

// The image lists' and extended style's messages; 0 for another message.
LRESULT LookMessage(ListViewState& s, UINT message, WPARAM wParam, LPARAM lParam, bool& changed) {
    int index = int(INT_PTR(wParam));
    switch (message) {
    case LVM_SETIMAGELIST: {
        if (index < 0 || index > 2) return 0;
        HIMAGELIST old = s.images[index];
        s.images[index] = reinterpret_cast<HIMAGELIST>(lParam);
        changed = true;
        return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETIMAGELIST: return (index >= 0 && index <= 2) ? reinterpret_cast<LRESULT>(s.images[index]) : 0;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD old = s.extendedStyle;
        DWORD mask = wParam ? DWORD(wParam) : 0xFFFFFFFFu;
        s.extendedStyle = (old & ~mask) | (DWORD(lParam) & mask);
        changed = true;
        return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return s.extendedStyle;
    default: return 0;
    }
}

LRESULT Handle(ListViewState& s, UINT message, WPARAM wParam, LPARAM lParam, bool& changed) {
    if (auto r = ColumnMessage(s, message, wParam, lParam, changed)) return *r;
    if (auto r = RowMessage(s, message, wParam, lParam, changed)) return *r;
    return LookMessage(s, message, wParam, lParam, changed);
}

// A column's text: one line, centred up and down, aligned as the column's format asks.
UINT TextFormat(int fmt) {
    UINT align = (fmt & LVCFMT_RIGHT) ? DT_RIGHT : (fmt & LVCFMT_CENTER) ? DT_CENTER : 0;
    return DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align;
}

// The header's raised cells with the column titles, then the raised rest of its line.
void PaintHeader(HDC dc, const ListViewState& s, const RECT& r, int height) {
    int x = r.left, y = r.top;
    for (const Column& c : s.columns) {
        RECT cell{x, y, x + c.width, y + height};
        FillRect(dc, &cell, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &cell, EDGE_RAISED, BF_RECT);
        RECT t{cell.left + 6, cell.top, cell.right - 6, cell.bottom};
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, c.text.c_str(), -1, &t, TextFormat(c.format));
        x += c.width;
    }
    RECT rest{x, y, r.right, y + height};
    FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT);
}

// How the rows are drawn: their height, the small images' size, the text colour of a row that
// is not selected, and the extended styles that change them.
struct RowLook {
    int height = 0;
    int imageWidth = 0, imageHeight = 0;
    COLORREF text = 0;
    bool grid = false, fullRow = false;
};

// One item's line from `y`: its small image and its texts in the columns, the selection in the
// highlight colours, grid lines when asked.
void PaintRow(HDC dc, const ListViewState& s, const Row& row, bool selected, const RECT& r, int y,
              const RowLook& look) {
    int x = r.left;
    for (size_t i = 0; i < s.columns.size(); ++i) {
        const Column& c = s.columns[i];
        RECT cell{x, y, x + c.width, y + look.height};
        RECT t{cell.left + 2, cell.top, cell.right - 2, cell.bottom};
        if (i == 0 && look.imageWidth) t.left += look.imageWidth + 2;
        if (selected && (look.fullRow || i == 0)) {
            RECT mark = i == 0 ? RECT{t.left - 2, cell.top, cell.right, cell.bottom} : cell;
            FillRect(dc, &mark, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(dc, look.text);
        }
        if (i == 0 && look.imageWidth)
            ImageList_Draw(s.images[LVSIL_SMALL], row.image, dc, cell.left + 2,
                           cell.top + (look.height - look.imageHeight) / 2, ILD_TRANSPARENT);
        if (i < row.texts.size()) DrawTextA(dc, row.texts[i].c_str(), -1, &t, TextFormat(c.format));
        x += c.width;
        if (look.grid) {
            RECT line{x - 1, y, x, y + look.height};
            FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
        }
    }
    if (look.grid) {
        RECT line{r.left, y + look.height - 1, x, y + look.height};
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
    }
}

// Report view: the header (unless LVS_NOCOLUMNHEADER), then one line per item until the bottom.
void Paint(HWND window) {
    ControlPaint p(window, WM_CTLCOLOREDIT);
    if (!p.dc) return;
    p.FillBackground(p.client);
    RECT r = p.DrawBorder();
    ListViewState s = States().With(window, [](ListViewState& st) { return st; });
    TEXTMETRICA tm{};
    GetTextMetricsA(p.dc, &tm);
    RowLook look;
    if (s.images[LVSIL_SMALL]) ImageList_GetIconSize(s.images[LVSIL_SMALL], &look.imageWidth, &look.imageHeight);
    int headerHeight = tm.tmHeight + 6;
    look.height = std::max<int>(tm.tmHeight + 2, look.imageHeight + 1);
    IntersectClipRect(p.dc, r.left, r.top, r.right, r.bottom);
    SetBkMode(p.dc, TRANSPARENT);
    look.text = GetTextColor(p.dc);
    look.grid = (s.extendedStyle & LVS_EX_GRIDLINES) != 0;
    look.fullRow = (s.extendedStyle & LVS_EX_FULLROWSELECT) != 0;
    int y = r.top;
    if (!(p.style & LVS_NOCOLUMNHEADER)) {
        PaintHeader(p.dc, s, r, headerHeight);
        y += headerHeight;
    }
    for (const Row& row : s.rows) {
        if (y >= r.bottom) break;
        bool selected = (row.state & LVIS_SELECTED) && (::GetFocus() == window || (p.style & LVS_SHOWSELALWAYS));
        PaintRow(p.dc, s, row, selected, r, y, look);
        y += look.height;
    }
}

}  // namespace

LRESULT CALLBACK ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= LVM_FIRST && message < LVM_FIRST + 0x100) {
        bool changed = false;
        LRESULT r = States().With(window, [&](ListViewState& s) { return Handle(s, message, wParam, lParam, changed); });
        if (changed) Changed(window);
        return r;
    }
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: ::InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_PAINT: Paint(window); return 0;
    default: return DefaultControlProc(States(), window, message, wParam, lParam);
    }
}

}  // namespace mfc
