// Rectangle arithmetic.
#include <algorithm>
#include <cstdint>

#include "platform/wingdi.h"

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}
BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }
BOOL CopyRect(LPRECT dest, const RECT* src) {
    if (!dest || !src) return FALSE;
    *dest = *src;
    return TRUE;
}
BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    return rect ? SetRect(rect, rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy) : FALSE;
}
BOOL InflateRect(LPRECT rect, int dx, int dy) {
    return rect ? SetRect(rect, rect->left - dx, rect->top - dy, rect->right + dx, rect->bottom + dy) : FALSE;
}
BOOL IsRectEmpty(const RECT* rect) { return !rect || rect->left >= rect->right || rect->top >= rect->bottom; }
BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (!dest || !a || !b) return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) r = RECT{0, 0, 0, 0};
    *dest = r;
    return !IsRectEmpty(&r);
}
BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (!dest || !a || !b) return FALSE;
    if (IsRectEmpty(a)) *dest = *b;
    else if (IsRectEmpty(b)) *dest = *a;
    else *dest = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                      std::max(a->bottom, b->bottom)};
    if (IsRectEmpty(dest)) *dest = RECT{0, 0, 0, 0};
    return !IsRectEmpty(dest);
}
BOOL PtInRect(const RECT* rect, POINT p) {
    return rect && p.x >= rect->left && p.x < rect->right && p.y >= rect->top && p.y < rect->bottom;
}
BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

int MulDiv(int value, int numerator, int denominator) {
    if (denominator == 0) return -1;
    int64_t p = int64_t(value) * numerator;
    int64_t q = denominator;
    if (q < 0) {
        p = -p;
        q = -q;
    }
    int64_t r = p >= 0 ? (p + q / 2) / q : -((-p + q / 2) / q);
    return (r > INT32_MAX || r < INT32_MIN) ? -1 : int(r);
}
