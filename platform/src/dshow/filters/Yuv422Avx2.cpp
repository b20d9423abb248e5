// 4:2:2 pairs to BGRX sixteen pixels at a time with AVX2.
#include "Yuv422Vectors.h"

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC target("avx2")
#include <immintrin.h>

#include "Yuv422Wide.h"

namespace platform::dshow {
namespace {

struct V {
    PLATFORM_VECTOR_OPS(256, 256, 2)
    // Quarters (64 bits) 0 and 2 to lane 0, 1 and 3 to lane 1.
    static T QuartersToLanes(T a) { return _mm256_permute4x64_epi64(a, 0xD8); }
};

}  // namespace

PairsReader Yuv422PairsAvx2(bool lumaFirst, int step) { return PairsOf<V>(lumaFirst, step); }

}  // namespace platform::dshow

#else
namespace platform::dshow {
PairsReader Yuv422PairsAvx2(bool, int) { return nullptr; }
}  // namespace platform::dshow
#endif
