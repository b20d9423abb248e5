// Packed 4:2:2 rows converted by source pairs sixteen pixels at a time with AVX2, for a
// processor that has it (asked once at run time); the same BT.601 integer rule as the SSE2
// and scalar loops, in 16-bit lanes.
#pragma once

#include "platform/dshow/MediaType.h"

namespace platform::dshow {

// Whether the processor runs the loops below.
bool HasAvx2();

// From the pairs at `pairs` (the first output pixel's source pair), output pixels [0, n) as
// BGRX at `out`, sixteen at a time: `step` 1 takes every pixel from the pair's first on (two
// pixels a pair), 2 the second pixel of each pair. `lumaFirst` for YUY2 (Y0 U Y1 V), else UYVY
// (U Y0 V Y1). Answers the pixels written (a multiple of 16); 0 without AVX2.
LONG Yuv422PairsAvx2(const BYTE* pairs, bool lumaFirst, int step, LONG n, BYTE* out);

}  // namespace platform::dshow
