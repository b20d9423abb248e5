// Packed 4:2:2 rows converted by source pairs many pixels at a time with the widest vectors
// the processor has (asked at run time: AVX-512BW, AVX2, SSSE3), at equal or halved widths; the same
// BT.601 integer rule as the SSE2 and scalar loops, in 16-bit lanes (see Yuv422Wide.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dshow/MediaType.h"

namespace platform::dshow {

// Avx512: AVX-512BW with VBMI (byte permutes).
enum class VectorSet { Sse2, Ssse3, Avx2, Avx512 };

// The widest set the processor has, no wider than PELVATRO_VECTORS names when set (`sse2`,
// `ssse3`, `avx2`, `avx512`), read at each call; a name it does not know limits nothing.
VectorSet WidestVectors();
// Empty when PELVATRO_VECTORS is unset or names a set, else the line that refuses it.
std::string UnknownVectorsSetting();

// From the pairs at `pairs` (the first output pixel's source pair), output pixels [0, n) as BGRX
// at `out`, a vector's width at a time; answers the pixels written (a multiple of the width).
using PairsReader = LONG (*)(const BYTE* pairs, LONG n, BYTE* out);
// The reader of `set` for YUY2 (`lumaFirst`: Y0 U Y1 V) or UYVY (U Y0 V Y1) at `step` 1 (every
// pixel from the pair's first on, two a pair) or 2 (each pair's second pixel); null for SSE2
// and other steps.
PairsReader Yuv422PairsReader(VectorSet set, bool lumaFirst, int step);

// Output columns from any source columns, 32 at a time, by byte permutes: each 16 columns'
// source pairs lie in a window of 128 bytes of the row, their bytes picked by index.
struct Yuv422Gather {
    std::vector<int32_t> windows;  // per 16 columns, the window's first byte in the row
    std::vector<uint8_t> picks;    // per 16 columns, 64 bytes: 8 of (Y, U) picks, 8 of (Y, V), a lane
    // Blocks [block, block + blocks) of 32 columns as BGRX at `out`; answers the pixels.
    using Reader = LONG (*)(const BYTE* row, const Yuv422Gather& gather, LONG block, LONG blocks, BYTE* out);
    Reader read = nullptr;  // null where the set has none or a window cannot hold 16 columns
};
// Makes `gather` for the output columns whose source columns are `source`, from rows of
// `rowBytes` bytes of pairs.
void MakeYuv422Gather(VectorSet set, bool lumaFirst, const std::vector<LONG>& source, size_t rowBytes,
                      Yuv422Gather* gather);

// The same of one set, for the builds of those sets.
PairsReader Yuv422PairsSsse3(bool lumaFirst, int step);
PairsReader Yuv422PairsAvx2(bool lumaFirst, int step);
PairsReader Yuv422PairsAvx512(bool lumaFirst, int step);
Yuv422Gather::Reader Yuv422GatherAvx512();

}  // namespace platform::dshow
