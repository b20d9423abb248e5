// Region arithmetic on y-x bands.
#include "gdi/Region.h"

#include <algorithm>

#include "platform/wingdi.h"

namespace platform::gdi {

namespace {

bool In(Region::Op op, bool a, bool b) {
    switch (op) {
    case Region::Op::And: return a && b;
    case Region::Op::Or: return a || b;
    case Region::Op::Xor: return a != b;
    case Region::Op::Diff: return a && !b;
    }
    return false;
}

// Combines two span lists with the operation by sweeping their edges, into `out`.
void CombineSpans(const std::vector<int>& a, const std::vector<int>& b, Region::Op op, std::vector<int>& out) {
    out.clear();
    size_t i = 0, j = 0;
    bool inA = false, inB = false, inside = false;
    while (i < a.size() || j < b.size()) {
        int x = std::min(i < a.size() ? a[i] : INT32_MAX, j < b.size() ? b[j] : INT32_MAX);
        while (i < a.size() && a[i] == x) {
            inA = !inA;
            ++i;
        }
        while (j < b.size() && b[j] == x) {
            inB = !inB;
            ++j;
        }
        bool now = In(op, inA, inB);
        if (now != inside) {
            out.push_back(x);
            inside = now;
        }
    }
}

const std::vector<int> kNone;

// A region's band edges in order (top, bottom, top, ...), each edge once.
struct Edges {
    std::span<const Band> bands;
    size_t k = 0;
    bool Done() const { return k >= 2 * bands.size(); }
    int At() const { return k % 2 ? bands[k / 2].bottom : bands[k / 2].top; }
    void Skip(int y) {
        while (!Done() && At() == y) ++k;
    }
};

}  // namespace

Region& Region::operator=(const Region& o) {
    if (this == &o) return *this;
    for (size_t i = 0; i < o.m_count; ++i) {
        if (i < m_bands.size()) {
            m_bands[i].top = o.m_bands[i].top;
            m_bands[i].bottom = o.m_bands[i].bottom;
            m_bands[i].spans = o.m_bands[i].spans;  // keeps this band's capacity
        } else {
            m_bands.push_back(o.m_bands[i]);
        }
    }
    m_count = o.m_count;
    return *this;
}

void Region::SetRect(const RECT& r) {
    m_count = 0;
    if (r.left >= r.right || r.top >= r.bottom) return;
    NextBand().spans.assign({r.left, r.right});
    Commit(r.top, r.bottom);
}

Band& Region::NextBand() {
    if (m_count == m_bands.size()) m_bands.emplace_back();
    return m_bands[m_count];
}

void Region::Commit(int top, int bottom) {
    Band& next = m_bands[m_count];
    if (next.spans.empty() || top >= bottom) return;
    if (m_count > 0 && m_bands[m_count - 1].bottom == top && m_bands[m_count - 1].spans == next.spans) {
        m_bands[m_count - 1].bottom = bottom;
        return;
    }
    next.top = top;
    next.bottom = bottom;
    ++m_count;
}

void Region::CombineInto(const Region& a, const Region& b, Op op, Region& out) {
    out.m_count = 0;
    // Each region's band edges are already in order: merged, not sorted.
    Edges ea{a.Bands()}, eb{b.Bands()};
    auto nextY = [&](int& y) {
        if (ea.Done() && eb.Done()) return false;
        y = std::min(ea.Done() ? INT32_MAX : ea.At(), eb.Done() ? INT32_MAX : eb.At());
        ea.Skip(y);
        eb.Skip(y);
        return true;
    };
    int top, bottom;
    if (!nextY(top)) return;
    size_t i = 0, j = 0;
    for (; nextY(bottom); top = bottom) {
        while (i < a.m_count && a.m_bands[i].bottom <= top) ++i;
        while (j < b.m_count && b.m_bands[j].bottom <= top) ++j;
        const std::vector<int>& sa = (i < a.m_count && a.m_bands[i].top <= top) ? a.m_bands[i].spans : kNone;
        const std::vector<int>& sb = (j < b.m_count && b.m_bands[j].top <= top) ? b.m_bands[j].spans : kNone;
        if (sa.empty() && sb.empty()) continue;
        CombineSpans(sa, sb, op, out.NextBand().spans);
        out.Commit(top, bottom);
    }
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
    Region out;
    CombineInto(a, b, op, out);
    return out;
}

void Region::CombineWith(const Region& other, Op op) {
    // The result is built beside this region, whose storage then serves the next call.
    thread_local Region result;
    CombineInto(*this, other, op, result);
    Swap(result);
}

void Region::CombineWith(const RECT& r, Op op) {
    thread_local Region rect;
    rect.SetRect(r);
    CombineWith(rect, op);
}

namespace {

// The union of sorted[first, last): halves united pairwise, so each rectangle takes part in about
// log n unions and the work is near the size of what the unions hold.
Region UniteRange(const std::vector<RECT>& sorted, size_t first, size_t last) {
    if (last - first == 1) return Region(sorted[first]);
    const size_t middle = first + (last - first) / 2;
    return Region::Combine(UniteRange(sorted, first, middle), UniteRange(sorted, middle, last), Region::Op::Or);
}

}  // namespace

Region Region::FromRects(const std::vector<RECT>& rects) {
    std::vector<RECT> sorted;
    sorted.reserve(rects.size());
    for (const RECT& r : rects)
        if (r.left < r.right && r.top < r.bottom) sorted.push_back(r);
    if (sorted.empty()) return Region();
    // Neighbours first: rectangles near each other meet in the small unions.
    std::sort(sorted.begin(), sorted.end(),
              [](const RECT& p, const RECT& q) { return p.top != q.top ? p.top < q.top : p.left < q.left; });
    return UniteRange(sorted, 0, sorted.size());
}

int Region::Kind() const {
    if (m_count == 0) return NULLREGION;
    return (m_count == 1 && m_bands[0].spans.size() == 2) ? SIMPLEREGION : COMPLEXREGION;
}

RECT Region::Box() const {
    if (m_count == 0) return RECT{0, 0, 0, 0};
    RECT box{INT32_MAX, m_bands.front().top, INT32_MIN, m_bands[m_count - 1].bottom};
    for (const Band& b : Bands()) {
        box.left = std::min(box.left, b.spans.front());
        box.right = std::max(box.right, b.spans.back());
    }
    return box;
}

bool Region::Contains(int x, int y) const {
    for (const Band& b : Bands()) {
        if (y < b.top) return false;
        if (y >= b.bottom) continue;
        for (size_t i = 0; i < b.spans.size(); i += 2)
            if (x >= b.spans[i] && x < b.spans[i + 1]) return true;
        return false;
    }
    return false;
}

bool Region::Intersects(const RECT& r) const {
    for (const Band& b : Bands()) {
        if (b.bottom <= r.top) continue;
        if (b.top >= r.bottom) return false;
        for (size_t i = 0; i < b.spans.size(); i += 2)
            if (b.spans[i] < r.right && b.spans[i + 1] > r.left) return true;
    }
    return false;
}

std::vector<RECT> Region::Rects() const {
    std::vector<RECT> out;
    for (const Band& b : Bands())
        for (size_t i = 0; i < b.spans.size(); i += 2) out.push_back(RECT{b.spans[i], b.top, b.spans[i + 1], b.bottom});
    return out;
}

void Region::Offset(int dx, int dy) {
    for (size_t k = 0; k < m_count; ++k) {
        Band& b = m_bands[k];
        b.top += dy;
        b.bottom += dy;
        for (int& x : b.spans) x += dx;
    }
}

bool Region::operator==(const Region& o) const {
    if (m_count != o.m_count) return false;
    for (size_t i = 0; i < m_count; ++i)
        if (m_bands[i].top != o.m_bands[i].top || m_bands[i].bottom != o.m_bands[i].bottom ||
            m_bands[i].spans != o.m_bands[i].spans)
            return false;
    return true;
}

}  // namespace platform::gdi
