// RGNDATA read into a region.
#include "gdi/RegionData.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace platform::gdi {

namespace {

// The largest translation taken.
constexpr int64_t kCoordinateLimit = int64_t(1) << 27;

bool Translation(const XFORM* transform, int64_t* dx, int64_t* dy) {
    *dx = *dy = 0;
    if (!transform) return true;
    if (transform->eM11 != 1.0f || transform->eM22 != 1.0f || transform->eM12 != 0.0f || transform->eM21 != 0.0f)
        return false;
    if (!(std::fabs(transform->eDx) < float(kCoordinateLimit)) || !(std::fabs(transform->eDy) < float(kCoordinateLimit)))
        return false;
    *dx = int64_t(transform->eDx);
    *dy = int64_t(transform->eDy);
    return true;
}

}  // namespace

bool RegionFromData(const XFORM* transform, DWORD size, const RGNDATA* data, Region* out) {
    if (!data || size < sizeof(RGNDATAHEADER)) return false;
    const RGNDATAHEADER& h = data->rdh;
    if (h.dwSize != sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES) return false;
    if (uint64_t(h.nCount) * sizeof(RECT) > uint64_t(size) - sizeof(RGNDATAHEADER)) return false;
    int64_t dx, dy;
    if (!Translation(transform, &dx, &dy)) return false;
    std::vector<RECT> rects(h.nCount);
    if (h.nCount) std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
    for (RECT& r : rects) {
        const int64_t l = std::min(r.left, r.right) + dx, t = std::min(r.top, r.bottom) + dy;
        const int64_t rr = std::max(r.left, r.right) + dx, b = std::max(r.top, r.bottom) + dy;
        for (int64_t v : {l, t, rr, b})
            if (v < INT32_MIN || v > INT32_MAX) return false;
        r = RECT{LONG(l), LONG(t), LONG(rr), LONG(b)};
    }
    *out = Region::FromRects(rects);
    return true;
}

}  // namespace platform::gdi
