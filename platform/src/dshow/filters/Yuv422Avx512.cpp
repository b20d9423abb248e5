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

// Each block's two groups of 16 columns picked from their windows, a group's (Y, U) and (Y, V)
// bytes the halves of each lane, then the first group's to the lanes' low halves and the
// second's to the high halves.
LONG Gather(const BYTE* row, const Yuv422Gather& gather, LONG block, LONG blocks, BYTE* out) {
    for (LONG b = 0; b < blocks; ++b) {
        const size_t group = 2 * size_t(block + b);
        const BYTE* first = row + gather.windows[group];
        const BYTE* second = row + gather.windows[group + 1];
        const uint8_t* picks = gather.picks.data() + 64 * group;
        const V::T g0 = _mm512_permutex2var_epi8(V::Load(first), V::Load(picks), V::Load(first + 64));
        const V::T g1 = _mm512_permutex2var_epi8(V::Load(second), V::Load(picks + 64), V::Load(second + 64));
        StorePixels<V>(_mm512_maskz_unpacklo_epi64(0xFF, g0, g1), _mm512_maskz_unpackhi_epi64(0xFF, g0, g1),
                       out + 128 * size_t(b));
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
