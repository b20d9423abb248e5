// 4:2:2 pairs to BGRX thirty-two pixels at a time with AVX-512BW and VBMI.
#include "Yuv422Vectors.h"

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC target("avx512f,avx512bw,avx512vbmi")
#include <immintrin.h>

#include "Yuv422Wide.h"

namespace platform::dshow {
namespace {

struct V {
    PLATFORM_VECTOR_OPS(512, 512, 4)
    // Quarters (64 bits) j and j + 4 to lane j.
    static T QuartersToLanes(T a) {
        return _mm512_maskz_permutexvar_epi64(0xFF, _mm512_setr_epi64(0, 4, 1, 5, 2, 6, 3, 7), a);
    }
};

LONG Gather(const BYTE* row, const Yuv422Gather& gather, LONG block, LONG blocks, BYTE* out) {
    const __mmask64 halves[2] = {0x00FF00FF00FF00FF, 0xFF00FF00FF00FF00};  // of each lane
    for (LONG b = 0; b < blocks; ++b) {
        V::T yu = V::Zero(), yv = V::Zero();
        for (int half = 0; half < 2; ++half) {
            const size_t group = 2 * size_t(block + b) + size_t(half);
            const BYTE* window = row + gather.windows[group];
            const uint8_t* picks = gather.picks.data() + 128 * group;
            const V::T low = V::Load(window), high = V::Load(window + 64);
            yu = V::Or(yu, _mm512_maskz_permutex2var_epi8(halves[half], low, V::Load(picks), high));
            yv = V::Or(yv, _mm512_maskz_permutex2var_epi8(halves[half], low, V::Load(picks + 64), high));
        }
        StorePixels<V>(yu, yv, out + 128 * size_t(b));
    }
    return 32 * blocks;
}

}  // namespace

PairsReader Yuv422PairsAvx512(bool lumaFirst, int step) { return PairsOf<V>(lumaFirst, step); }
Yuv422Gather::Reader Yuv422GatherAvx512() { return Gather; }

}  // namespace platform::dshow

#else
namespace platform::dshow {
PairsReader Yuv422PairsAvx512(bool, int) { return nullptr; }
Yuv422Gather::Reader Yuv422GatherAvx512() { return nullptr; }
}  // namespace platform::dshow
#endif
