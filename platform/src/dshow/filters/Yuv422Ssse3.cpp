// 4:2:2 pairs to BGRX eight pixels at a time with SSSE3.
#include "Yuv422Vectors.h"

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC target("ssse3")
#include <immintrin.h>

namespace platform::dshow {
namespace {

struct V {
    using T = __m128i;
    static constexpr int kLanes = 1;
    static T Load(const void* p) { return _mm_loadu_si128(static_cast<const T*>(p)); }
    static void Store(void* p, T v) { _mm_storeu_si128(static_cast<T*>(p), v); }
    static T Set16(short v) { return _mm_set1_epi16(v); }
    static T Zero() { return _mm_setzero_si128(); }
    static T Add(T a, T b) { return _mm_add_epi16(a, b); }
    static T Or(T a, T b) { return _mm_or_si128(a, b); }
    static T Srai8(T a) { return _mm_srai_epi16(a, 8); }
    static T Maddubs(T a, T b) { return _mm_maddubs_epi16(a, b); }
    static T PackUs(T a, T b) { return _mm_packus_epi16(a, b); }
    static T UnpackLo8(T a, T b) { return _mm_unpacklo_epi8(a, b); }
    static T UnpackHi8(T a, T b) { return _mm_unpackhi_epi8(a, b); }
    static T Shuffle(T a, T mask) { return _mm_shuffle_epi8(a, mask); }
    // The one lane holds quarters (64 bits) 0 and 1 already.
    static T QuartersToLanes(T a) { return a; }
};

}  // namespace
}  // namespace platform::dshow

#include "Yuv422Wide.h"

namespace platform::dshow {
PairsReader Yuv422PairsSsse3(bool lumaFirst, int step) { return PairsOf(lumaFirst, step); }
}  // namespace platform::dshow

#else
namespace platform::dshow {
PairsReader Yuv422PairsSsse3(bool, int) { return nullptr; }
}  // namespace platform::dshow
#endif
