// A region as y-x bands: horizontal bands, each a sorted list of disjoint x spans, bands sorted
// and never touching with equal spans (so equal areas have equal representations).
#pragma once

#include <vector>

#include "platform/wintypes.h"

namespace platform::gdi {

struct Band {
    int top = 0;
    int bottom = 0;
    std::vector<int> spans;  // x0, x1, x0, x1, ... (half-open, sorted, disjoint, not touching)
};

class Region {
public:
    Region() = default;
    explicit Region(const RECT& r);
    static Region FromRects(const std::vector<RECT>& rects);

    bool Empty() const { return m_bands.empty(); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    RECT Box() const;
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& r) const;
    std::vector<RECT> Rects() const;
    const std::vector<Band>& Bands() const { return m_bands; }
    void Offset(int dx, int dy);
    bool operator==(const Region& o) const;

    enum class Op { And, Or, Xor, Diff };
    static Region Combine(const Region& a, const Region& b, Op op);
    Region Intersect(const RECT& r) const { return Combine(*this, Region(r), Op::And); }

private:
    void Append(int top, int bottom, std::vector<int>&& spans);
    std::vector<Band> m_bands;
};

}  // namespace platform::gdi
