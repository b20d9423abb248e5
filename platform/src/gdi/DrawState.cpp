// DrawState: text, bitmaps and caller-drawn images, normal or embossed as disabled.
#include <cstring>

#include "platform/wingdi.h"

BOOL DrawStateA(HDC dc, HBRUSH, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx, int cy,
                UINT flags) {
    if (!GetObjectType(dc)) return FALSE;
    UINT type = flags & 0x000F;
    bool disabled = (flags & DSS_DISABLED) != 0;
    auto draw = [&](int dx, int dy, COLORREF color) -> BOOL {
        switch (type) {
        case DST_TEXT:
        case DST_PREFIXTEXT: {
            auto text = reinterpret_cast<LPCSTR>(data);
            if (!text) return FALSE;
            int count = wData ? int(wData) : int(std::strlen(text));
            COLORREF oldColor = color == CLR_INVALID ? 0 : SetTextColor(dc, color);
            int oldMode = SetBkMode(dc, TRANSPARENT);
            RECT r{x + dx, y + dy, x + dx + (cx ? cx : 32767), y + dy + (cy ? cy : 32767)};
            DrawTextA(dc, text, count, &r, DT_LEFT | DT_TOP | DT_NOCLIP | DT_SINGLELINE |
                                               (type == DST_TEXT ? DT_NOPREFIX : 0));
            SetBkMode(dc, oldMode);
            if (color != CLR_INVALID) SetTextColor(dc, oldColor);
            return TRUE;
        }
        case DST_BITMAP: {
            auto bitmap = reinterpret_cast<HBITMAP>(data);
            BITMAP bm{};
            if (!GetObjectA(bitmap, sizeof bm, &bm)) return FALSE;
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, bitmap);
            BOOL ok = BitBlt(dc, x + dx, y + dy, cx ? cx : bm.bmWidth, cy ? cy : bm.bmHeight, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
            return ok;
        }
        case DST_ICON: return DrawIcon(dc, x + dx, y + dy, reinterpret_cast<HICON>(data));
        case DST_COMPLEX: {
            if (!proc) return FALSE;
            POINT old;
            OffsetViewportOrgEx(dc, x + dx, y + dy, &old);
            BOOL ok = proc(dc, data, wData, cx, cy);
            SetViewportOrgEx(dc, old.x, old.y, nullptr);
            return ok;
        }
        default: return FALSE;
        }
    };
    if (!disabled) return draw(0, 0, CLR_INVALID);
    // Disabled: embossed, a highlight one pixel down and right under the shadow.
    if (type == DST_TEXT || type == DST_PREFIXTEXT) {
        draw(1, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        return draw(0, 0, GetSysColor(COLOR_BTNSHADOW));
    }
    return draw(0, 0, CLR_INVALID);
}
