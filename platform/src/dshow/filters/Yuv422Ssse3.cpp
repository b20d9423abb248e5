// 4:2:2 pairs to BGRX eight pixels at a time with SSSE3.
#include "Yuv422Vectors.h"

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC target("ssse3")
#include <immintrin.h>

#include "Yuv422Wide.h"

namespace platform::dshow {
namespace {

struct V {
    PLATFORM_VECTOR_OPS(, 128, 1)
    // The one lane holds quarters (64 bits) 0 and 1 already.
    static T QuartersToLanes(T a) { return a; }
};

}  // namespace

PairsReader Yuv422PairsSsse3(bool lumaFirst, int step) { return PairsOf<V>(lumaFirst, step); }

}  // namespace platform::dshow

#else
namespace platform::dshow {
PairsReader Yuv422PairsSsse3(bool, int) { return nullptr; }
}  // namespace platform::dshow
#endif
