// Pens, brushes and the system colours.
#include <array>

#include "gdi/GdiObjects.h"

using namespace platform::gdi;

namespace {

// The classic scheme.
constexpr std::array<COLORREF, COLOR_INFOBK + 1> kSysColors = {
    0xC0C0C0,  // COLOR_SCROLLBAR
    0x808000,  // COLOR_BACKGROUND
    0x800000,  // COLOR_ACTIVECAPTION
    0x808080,  // COLOR_INACTIVECAPTION
    0xC0C0C0,  // COLOR_MENU
    0xFFFFFF,  // COLOR_WINDOW
    0x000000,  // COLOR_WINDOWFRAME
    0x000000,  // COLOR_MENUTEXT
    0x000000,  // COLOR_WINDOWTEXT
    0xFFFFFF,  // COLOR_CAPTIONTEXT
    0xC0C0C0,  // COLOR_ACTIVEBORDER
    0xC0C0C0,  // COLOR_INACTIVEBORDER
    0x808080,  // COLOR_APPWORKSPACE
    0x800000,  // COLOR_HIGHLIGHT
    0xFFFFFF,  // COLOR_HIGHLIGHTTEXT
    0xC0C0C0,  // COLOR_BTNFACE
    0x808080,  // COLOR_BTNSHADOW
    0x808080,  // COLOR_GRAYTEXT
    0x000000,  // COLOR_BTNTEXT
    0xC0C0C0,  // COLOR_INACTIVECAPTIONTEXT
    0xFFFFFF,  // COLOR_BTNHIGHLIGHT
    0x000000,  // COLOR_3DDKSHADOW
    0xDFDFDF,  // COLOR_3DLIGHT
    0x000000,  // COLOR_INFOTEXT
    0xE1FFFF,  // COLOR_INFOBK
};

HBRUSH NewBrush(int style, COLORREF color, std::shared_ptr<Bitmap> pattern) {
    auto b = std::make_unique<Brush>();
    b->style = style;
    b->color = color;
    b->pattern = std::move(pattern);
    return static_cast<HBRUSH>(Insert(std::move(b), OBJ_BRUSH));
}

}  // namespace

DWORD GetSysColor(int index) {
    return (index >= 0 && index < int(kSysColors.size())) ? kSysColors[size_t(index)] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    if (index < 0 || index >= int(kSysColors.size())) return nullptr;
    Guard g(Lock());
    static std::array<HBRUSH, kSysColors.size()> brushes{};
    HBRUSH& b = brushes[size_t(index)];
    if (!b) {
        auto brush = std::make_unique<Brush>();
        brush->color = kSysColors[size_t(index)];
        b = static_cast<HBRUSH>(InsertStock(std::move(brush), OBJ_BRUSH));
    }
    return b;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    LOGPEN p{UINT(style), POINT{width, 0}, color};
    return CreatePenIndirect(&p);
}

HPEN CreatePenIndirect(const LOGPEN* logpen) {
    if (!logpen) return nullptr;
    int style = int(logpen->lopnStyle & PS_STYLE_MASK);
    if (style > PS_INSIDEFRAME) return nullptr;
    Guard g(Lock());
    auto p = std::make_unique<Pen>();
    p->style = style;
    p->width = std::max<LONG>(logpen->lopnWidth.x, 1);
    p->color = logpen->lopnColor;
    return static_cast<HPEN>(Insert(std::move(p), OBJ_PEN));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    Guard g(Lock());
    return NewBrush(BS_SOLID, color, nullptr);
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    Guard g(Lock());
    Bitmap* b = Get<Bitmap>(bitmap);
    if (!b) return nullptr;
    // The brush keeps its own copy: the bitmap may be deleted afterwards.
    auto copy = std::make_shared<Bitmap>(*b);
    copy->window = nullptr;
    copy->changed.clear();
    return NewBrush(BS_PATTERN, 0, std::move(copy));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush) return nullptr;
    switch (brush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(brush->lbColor);
    case BS_NULL: {
        Guard g(Lock());
        return NewBrush(BS_NULL, 0, nullptr);
    }
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    default: return nullptr;
    }
}
