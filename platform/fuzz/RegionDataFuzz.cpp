// Fuzz target: RGNDATA from arbitrary bytes (the first 24 bytes an XFORM when the first byte is
// odd). A region it accepts holds only what its rectangles cover, and every input is read in
// time near n log n of its rectangles: an input that takes longer than its bound stops the run.
// The time is the thread's own processor time, so a busy machine does not stretch it.
#include <time.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "gdi/RegionData.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// 250 ms, and 4 us per rectangle, read or made, and doubling of them: far above what n log n
// needs under the sanitizers (a cold start's page faults included), far below what a quadratic
// build of a few thousand overlapping rectangles that make few takes.
double BoundSeconds(size_t rects) {
    return 0.25 + 4e-6 * double(rects) * std::log2(double(rects) + 2);
}

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using platform::gdi::Region;
    if (size == 0) return 0;
    const bool transformed = data[0] & 1;
    ++data, --size;
    XFORM transform{};
    if (transformed) {
        if (size < sizeof transform) return 0;
        std::memcpy(&transform, data, sizeof transform);
        data += sizeof transform, size -= sizeof transform;
    }
    // Aligned as a caller's RGNDATA would be.
    std::vector<uint32_t> aligned((size + 3) / 4);
    if (size) std::memcpy(aligned.data(), data, size);
    const auto* rgn = reinterpret_cast<const RGNDATA*>(aligned.data());
    Region region;
    const double start = ThreadSeconds();
    const bool read = platform::gdi::RegionFromData(transformed ? &transform : nullptr, DWORD(size), rgn, &region);
    const double seconds = ThreadSeconds() - start;
    const size_t count = size >= sizeof(RGNDATAHEADER) ? (size - sizeof(RGNDATAHEADER)) / sizeof(RECT) : 0;
    const std::vector<RECT> rects = region.Rects();
    if (seconds >= BoundSeconds(count + rects.size())) {
        fprintf(stderr, "%zu rectangles read, %zu made: %.3f s\n", count, rects.size(), seconds);
        __builtin_trap();
    }
    if (!read) return 0;
    // The region's rectangles are ordered bands of disjoint spans, inside the union of the input's.
    const RECT box = region.Box();
    for (const RECT& r : rects) {
        Check(r.left < r.right && r.top < r.bottom);
        Check(r.left >= box.left && r.right <= box.right && r.top >= box.top && r.bottom <= box.bottom);
    }
    for (size_t i = 1; i < rects.size(); ++i)
        Check(rects[i - 1].top < rects[i].top || (rects[i - 1].top == rects[i].top && rects[i - 1].right < rects[i].left));
    Check(Region::Combine(region, region, Region::Op::Xor).Empty());
    // The first rectangles' corners lie in an input rectangle, moved as the transform says.
    const int64_t dx = transformed ? int64_t(transform.eDx) : 0, dy = transformed ? int64_t(transform.eDy) : 0;
    for (size_t i = 0; i < rects.size() && i < 16; ++i) {
        bool covered = false;
        for (size_t j = 0; j < std::min<size_t>(count, rgn->rdh.nCount) && !covered; ++j) {
            const RECT& in = reinterpret_cast<const RECT*>(rgn->Buffer)[j];
            const int64_t x = rects[i].left - dx, y = rects[i].top - dy;
            covered = x >= std::min(in.left, in.right) && x < std::max(in.left, in.right) &&
                      y >= std::min(in.top, in.bottom) && y < std::max(in.top, in.bottom);
        }
        Check(covered);
    }
    return 0;
}
