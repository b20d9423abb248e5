// 4:2:2 pairs to BGRX with AVX2.
//
// The rule, c = 298 (Y - 16) + 128, d = U - 128, e = V - 128, blue (c + 516 d) >> 8, green
// (c - 100 d - 208 e) >> 8, red (c + 409 e) >> 8, needs more than 16 bits, but each sum splits
// into a multiple of 256 and a rest that fits: with 298 = 256 + 42, 516 = 512 + 4, 409 = 512 - 103
// and -208 = -256 + 48, and floor((256 a + r) / 256) = a + floor(r / 256),
//   blue  = Y + 2U - 277 + ((42 Y + 4 U + 224) >> 8)
//   green = Y - V + 135 + ((42 Y - 100 U + 48 V + 224) >> 8)
//   red   = Y + 2V - 223 + ((42 Y - 103 V + 96) >> 8)
// where every term stays within -26,169..22,950 and the shift is arithmetic (a floor), as the
// 32-bit one is. Each pixel's luma is paired with its pair's U and with its V as bytes, so that
// one multiply-add of unsigned by signed bytes (vpmaddubsw) makes two terms of a sum at once.
#include "Yuv422Avx2.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PLATFORM_AVX2 1
#endif

namespace platform::dshow {

#ifdef PLATFORM_AVX2

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

namespace {

#define AVX2_FN __attribute__((target("avx2"), always_inline)) inline

// Bytes pairing pixel i's luma with its U (chroma 1) or V (chroma 3) for eight pixels of four
// pairs a lane, kY the luma's byte in a pair; at step 2 (the second pixel of each pair) four
// pixels a lane, written to the lane's low half (`high` false) or high half.
struct Mask {
    alignas(32) char bytes[32];
};
constexpr Mask PairingMask(int kY, int chroma, int step, bool high) {
    Mask mask{};
    for (int lane = 0; lane < 2; ++lane) {
        for (int i = 0; i < 8; ++i) {
            char* at = mask.bytes + 16 * lane + 2 * i;
            if (step == 1) {
                const int pair = 4 * (i >> 1);
                at[0] = char(pair + 2 * (i & 1) + kY), at[1] = char(pair + (chroma - kY));
            } else if ((i >= 4) == high) {
                const int pair = 4 * (i & 3);
                at[0] = char(pair + 2 + kY), at[1] = char(pair + (chroma - kY));
            } else {
                at[0] = at[1] = char(0x80);  // zero
            }
        }
    }
    return mask;
}
template <int kY, int chroma, int step, bool high>
constexpr Mask kPairing = PairingMask(kY, chroma, step, high);

template <int kY, int chroma, int step, bool high = false>
AVX2_FN __m256i Pairing() {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(kPairing<kY, chroma, step, high>.bytes));
}

AVX2_FN __m256i Bytes(int first, int second) {
    return _mm256_set1_epi16(short(uint16_t(uint8_t(first)) | uint16_t(uint8_t(second)) << 8));
}

// Sixteen pixels from their (Y, U) and (Y, V) byte pairs, lane 0 holding pixels 0-3 and 8-11
// and lane 1 pixels 4-7 and 12-15, written in order at `out`.
AVX2_FN void Store16(__m256i yu, __m256i yv, BYTE* out) {
    const __m256i blue = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_maddubs_epi16(yu, Bytes(1, 2)), _mm256_set1_epi16(-277)),
        _mm256_srai_epi16(_mm256_add_epi16(_mm256_maddubs_epi16(yu, Bytes(42, 4)), _mm256_set1_epi16(224)), 8));
    const __m256i greenRest = _mm256_add_epi16(_mm256_maddubs_epi16(yu, Bytes(42, -100)),
                                               _mm256_maddubs_epi16(yv, Bytes(0, 48)));
    const __m256i green =
        _mm256_add_epi16(_mm256_add_epi16(_mm256_maddubs_epi16(yv, Bytes(1, -1)), _mm256_set1_epi16(135)),
                         _mm256_srai_epi16(_mm256_add_epi16(greenRest, _mm256_set1_epi16(224)), 8));
    const __m256i red = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_maddubs_epi16(yv, Bytes(1, 2)), _mm256_set1_epi16(-223)),
        _mm256_srai_epi16(_mm256_add_epi16(_mm256_maddubs_epi16(yv, Bytes(42, -103)), _mm256_set1_epi16(96)), 8));
    // Saturating packs clamp to 0..255: [B G] and [R 0] a lane, interleaved to B G R 0.
    const __m256i bg = _mm256_packus_epi16(blue, green);
    const __m256i r0 = _mm256_packus_epi16(red, _mm256_setzero_si256());
    const __m256i br = _mm256_unpacklo_epi8(bg, r0), g0 = _mm256_unpackhi_epi8(bg, r0);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_unpacklo_epi8(br, g0));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), _mm256_unpackhi_epi8(br, g0));
}

AVX2_FN __m256i Load(const BYTE* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }

template <int kY, int kStep>
__attribute__((target("avx2"))) LONG Pairs(const BYTE* pairs, LONG n, BYTE* out) {
    LONG x = 0;
    if constexpr (kStep == 1) {
        const __m256i yuMask = Pairing<kY, 1, 1>(), yvMask = Pairing<kY, 3, 1>();
        for (; x + 16 <= n; x += 16) {
            // Source quarters (four pixels each) 0 and 2 to lane 0, 1 and 3 to lane 1.
            const __m256i v = _mm256_permute4x64_epi64(Load(pairs + 2 * x), 0xD8);
            Store16(_mm256_shuffle_epi8(v, yuMask), _mm256_shuffle_epi8(v, yvMask), out + 4 * x);
        }
    } else {
        const __m256i yuLow = Pairing<kY, 1, 2>(), yvLow = Pairing<kY, 3, 2>();
        const __m256i yuHigh = Pairing<kY, 1, 2, true>(), yvHigh = Pairing<kY, 3, 2, true>();
        for (; x + 16 <= n; x += 16) {
            // Pixels 0-3 and 4-7 in the lanes of the first load, 8-11 and 12-15 of the second.
            const __m256i a = Load(pairs + 4 * x), b = Load(pairs + 4 * x + 32);
            Store16(_mm256_or_si256(_mm256_shuffle_epi8(a, yuLow), _mm256_shuffle_epi8(b, yuHigh)),
                    _mm256_or_si256(_mm256_shuffle_epi8(a, yvLow), _mm256_shuffle_epi8(b, yvHigh)), out + 4 * x);
        }
    }
    return x;
}

}  // namespace

LONG Yuv422PairsAvx2(const BYTE* pairs, bool lumaFirst, int step, LONG n, BYTE* out) {
    if (!HasAvx2() || (step != 1 && step != 2)) return 0;
    if (lumaFirst) return step == 1 ? Pairs<0, 1>(pairs, n, out) : Pairs<0, 2>(pairs, n, out);
    return step == 1 ? Pairs<1, 1>(pairs, n, out) : Pairs<1, 2>(pairs, n, out);
}

#else

bool HasAvx2() { return false; }
LONG Yuv422PairsAvx2(const BYTE*, bool, int, LONG, BYTE*) { return 0; }

#endif

}  // namespace platform::dshow
