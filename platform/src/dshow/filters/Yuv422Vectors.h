// Packed 4:2:2 rows converted by source pairs many pixels at a time with the widest vectors
// the processor has (asked at run time: AVX-512BW, AVX2), at equal or halved widths; the same
// BT.601 integer rule as the SSE2 and scalar loops, in 16-bit lanes (see Yuv422Wide.h).
#pragma once

#include "platform/dshow/MediaType.h"

namespace platform::dshow {

enum class VectorSet { Sse2, Avx2, Avx512 };

// The widest set the processor has, no wider than PELVATRO_VECTORS names when set (`sse2`,
// `avx2`, `avx512`), read at each call.
VectorSet WidestVectors();

// From the pairs at `pairs` (the first output pixel's source pair), output pixels [0, n) as BGRX
// at `out`, a vector's width at a time; answers the pixels written (a multiple of the width).
using PairsReader = LONG (*)(const BYTE* pairs, LONG n, BYTE* out);
// The reader of `set` for YUY2 (`lumaFirst`: Y0 U Y1 V) or UYVY (U Y0 V Y1) at `step` 1 (every
// pixel from the pair's first on, two a pair) or 2 (each pair's second pixel); null for SSE2
// and other steps.
PairsReader Yuv422PairsReader(VectorSet set, bool lumaFirst, int step);

// The same of one set, for the builds of those sets.
PairsReader Yuv422PairsAvx2(bool lumaFirst, int step);
PairsReader Yuv422PairsAvx512(bool lumaFirst, int step);

}  // namespace platform::dshow
