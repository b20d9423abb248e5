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

// Combines two span lists with the operation by sweeping their edges.
std::vector<int> CombineSpans(const std::vector<int>& a, const std::vector<int>& b, Region::Op op) {
    std::vector<int> out;
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
    return out;
}

const std::vector<int> kNone;

}  // namespace

Region::Region(const RECT& r) {
    if (r.left < r.right && r.top < r.bottom) m_bands.push_back(Band{r.top, r.bottom, {r.left, r.right}});
}

void Region::Append(int top, int bottom, std::vector<int>&& spans) {
    if (spans.empty() || top >= bottom) return;
    if (!m_bands.empty() && m_bands.back().bottom == top && m_bands.back().spans == spans) {
        m_bands.back().bottom = bottom;
        return;
    }
    m_bands.push_back(Band{top, bottom, std::move(spans)});
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
    Region out;
    // Each region's band edges are already in order: merged, not sorted.
    auto edges = [](const Region& r) {
        std::vector<int> e;
        e.reserve(2 * r.m_bands.size());
        for (const Band& band : r.m_bands) e.insert(e.end(), {band.top, band.bottom});
        return e;
    };
    const std::vector<int> ea = edges(a), eb = edges(b);
    std::vector<int> ys(ea.size() + eb.size());
    std::merge(ea.begin(), ea.end(), eb.begin(), eb.end(), ys.begin());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    size_t i = 0, j = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int top = ys[k], bottom = ys[k + 1];
        while (i < a.m_bands.size() && a.m_bands[i].bottom <= top) ++i;
        while (j < b.m_bands.size() && b.m_bands[j].bottom <= top) ++j;
        const std::vector<int>& sa = (i < a.m_bands.size() && a.m_bands[i].top <= top) ? a.m_bands[i].spans : kNone;
        const std::vector<int>& sb = (j < b.m_bands.size() && b.m_bands[j].top <= top) ? b.m_bands[j].spans : kNone;
        if (sa.empty() && sb.empty()) continue;
        out.Append(top, bottom, CombineSpans(sa, sb, op));
    }
    return out;
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
    if (m_bands.empty()) return NULLREGION;
    return (m_bands.size() == 1 && m_bands[0].spans.size() == 2) ? SIMPLEREGION : COMPLEXREGION;
}

RECT Region::Box() const {
    if (m_bands.empty()) return RECT{0, 0, 0, 0};
    RECT box{INT32_MAX, m_bands.front().top, INT32_MIN, m_bands.back().bottom};
    for (const Band& b : m_bands) {
        box.left = std::min(box.left, b.spans.front());
        box.right = std::max(box.right, b.spans.back());
    }
    return box;
}

bool Region::Contains(int x, int y) const {
    for (const Band& b : m_bands) {
        if (y < b.top) return false;
        if (y >= b.bottom) continue;
        for (size_t i = 0; i < b.spans.size(); i += 2)
            if (x >= b.spans[i] && x < b.spans[i + 1]) return true;
        return false;
    }
    return false;
}

bool Region::Intersects(const RECT& r) const {
    for (const Band& b : m_bands) {
        if (b.bottom <= r.top) continue;
        if (b.top >= r.bottom) return false;
        for (size_t i = 0; i < b.spans.size(); i += 2)
            if (b.spans[i] < r.right && b.spans[i + 1] > r.left) return true;
    }
    return false;
}

std::vector<RECT> Region::Rects() const {
    std::vector<RECT> out;
    for (const Band& b : m_bands)
        for (size_t i = 0; i < b.spans.size(); i += 2) out.push_back(RECT{b.spans[i], b.top, b.spans[i + 1], b.bottom});
    return out;
}

void Region::Offset(int dx, int dy) {
    for (Band& b : m_bands) {
        b.top += dy;
        b.bottom += dy;
        for (int& x : b.spans) x += dx;
    }
}

bool Region::operator==(const Region& o) const {
    if (m_bands.size() != o.m_bands.size()) return false;
    for (size_t i = 0; i < m_bands.size(); ++i)
        if (m_bands[i].top != o.m_bands[i].top || m_bands[i].bottom != o.m_bands[i].bottom ||
            m_bands[i].spans != o.m_bands[i].spans)
            return false;
    return true;
}

}  // namespace platform::gdi
