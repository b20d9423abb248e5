// 4:2:2 pairs to BGRX sixteen pixels at a time with AVX2.
#include "Yuv422Vectors.h"

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC target("avx2")
#include <immintrin.h>

namespace platform::dshow {
namespace {

struct V {
    using T = __m256i;
    static constexpr int kLanes = 2;
    static T Load(const void* p) { return _mm256_loadu_si256(static_cast<const T*>(p)); }
    static void Store(void* p, T v) { _mm256_storeu_si256(static_cast<T*>(p), v); }
    static T Set16(short v) { return _mm256_set1_epi16(v); }
    static T Zero() { return _mm256_setzero_si256(); }
    static T Add(T a, T b) { return _mm256_add_epi16(a, b); }
    static T Or(T a, T b) { return _mm256_or_si256(a, b); }
    static T Srai8(T a) { return _mm256_srai_epi16(a, 8); }
    static T Maddubs(T a, T b) { return _mm256_maddubs_epi16(a, b); }
    static T PackUs(T a, T b) { return _mm256_packus_epi16(a, b); }
    static T UnpackLo8(T a, T b) { return _mm256_unpacklo_epi8(a, b); }
    static T UnpackHi8(T a, T b) { return _mm256_unpackhi_epi8(a, b); }
    static T Shuffle(T a, T mask) { return _mm256_shuffle_epi8(a, mask); }
    // Quarters (64 bits) 0 and 2 to lane 0, 1 and 3 to lane 1.
    static T QuartersToLanes(T a) { return _mm256_permute4x64_epi64(a, 0xD8); }
};

}  // namespace
}  // namespace platform::dshow

#include "Yuv422Wide.h"

namespace platform::dshow {
PairsReader Yuv422PairsAvx2(bool lumaFirst, int step) { return PairsOf(lumaFirst, step); }
}  // namespace platform::dshow

#else
namespace platform::dshow {
PairsReader Yuv422PairsAvx2(bool, int) { return nullptr; }
}  // namespace platform::dshow
#endif
