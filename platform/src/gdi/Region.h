// A region as y-x bands: horizontal bands, each a sorted list of disjoint x spans, bands sorted
// and never touching with equal spans (so equal areas have equal representations).
#pragma once

#include <span>
#include <vector>

#include "platform/wintypes.h"

namespace platform::gdi {

struct Band {
    int top = 0;
    int bottom = 0;
    std::vector<int> spans;  // x0, x1, x0, x1, ... (half-open, sorted, disjoint, not touching)
};

// The bands live in storage that outlasts them: a region that shrinks, is emptied or is
// rewritten in place keeps its bands' and spans' capacity, so a region redone every frame
// (an update region, a clip) allocates nothing once it has been as large.
class Region {
public:
    Region() = default;
    explicit Region(const RECT& r) { SetRect(r); }
    Region(const Region& o) { *this = o; }
    Region(Region&& o) noexcept { Swap(o); }
    Region& operator=(const Region& o);
    // The region moved from is left empty, holding this one's storage.
    Region& operator=(Region&& o) noexcept {
        Swap(o);
        o.Clear();
        return *this;
    }
    void Swap(Region& o) noexcept {
        m_bands.swap(o.m_bands);
        std::swap(m_count, o.m_count);
    }
    static Region FromRects(const std::vector<RECT>& rects);

    // Becomes empty, or the rectangle, in the storage it has.
    void Clear() { m_count = 0; }
    void SetRect(const RECT& r);

    bool Empty() const { return m_count == 0; }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    RECT Box() const;
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& r) const;
    std::vector<RECT> Rects() const;
    std::span<const Band> Bands() const { return {m_bands.data(), m_count}; }
    void Offset(int dx, int dy);
    bool operator==(const Region& o) const;

    enum class Op { And, Or, Xor, Diff };
    static Region Combine(const Region& a, const Region& b, Op op);
    Region Intersect(const RECT& r) const { return Combine(*this, Region(r), Op::And); }
    // This region combined with another, or with a rectangle, in place (this op other).
    void CombineWith(const Region& other, Op op);
    void CombineWith(const RECT& r, Op op);

private:
    // Writes a op b into out, reusing out's storage; out is neither a nor b.
    static void CombineInto(const Region& a, const Region& b, Op op, Region& out);
    // The band after the live ones, to be filled and then kept by Commit.
    Band& NextBand();
    void Commit(int top, int bottom);
    std::vector<Band> m_bands;  // the first m_count are the region's
    size_t m_count = 0;
};

}  // namespace platform::gdi
