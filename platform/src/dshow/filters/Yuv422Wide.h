// 4:2:2 pairs to BGRX in vectors of 16-bit lanes, for the vector sets' builds: each includes
// this after its target pragma and instantiates PairsOf with a struct of its operations (T the
// vector, kLanes its 128-bit lanes, the operations working lane by lane except QuartersToLanes),
// most of them made by PLATFORM_VECTOR_OPS.
//
// The rule, c = 298 (Y - 16) + 128, d = U - 128, e = V - 128, blue (c + 516 d) >> 8, green
// (c - 100 d - 208 e) >> 8, red (c + 409 e) >> 8, needs more than 16 bits, but each sum splits
// into a multiple of 256 and a rest that fits: with 298 = 256 + 42, 516 = 512 + 4, 409 = 512 - 103
// and -208 = -256 + 48, and floor((256 a + r) / 256) = a + floor(r / 256),
//   blue  = Y + 2U - 277 + ((42 Y + 4 U + 224) >> 8)
//   green = Y - V + 135 + ((42 Y - 100 U + 48 V + 224) >> 8)
//   red   = Y + 2V - 223 + ((42 Y - 103 V + 96) >> 8)
// where every term stays within -26,169..22,950 and the shift is arithmetic (a floor), as the
// 32-bit one is; saturating packs clamp to 0..255. Each pixel's luma is paired with its pair's U
// and with its V as bytes, so that one multiply-add of unsigned by signed bytes makes two terms.
#pragma once

#include <cstdint>

#include "Yuv422Vectors.h"

// The operations of a set whose intrinsics are _mm<W>_..._si<B> and _epi16 (W empty for 128
// bits), `lanes` 128-bit lanes.
#define PLATFORM_VECTOR_OPS(W, B, lanes)                                                          \
    using T = __m##B##i;                                                                          \
    static constexpr int kLanes = lanes;                                                          \
    static T Load(const void* p) { return _mm##W##_loadu_si##B(static_cast<const T*>(p)); }       \
    static void Store(void* p, T v) { _mm##W##_storeu_si##B(static_cast<T*>(p), v); }             \
    static T Set16(short v) { return _mm##W##_set1_epi16(v); }                                    \
    static T Zero() { return _mm##W##_setzero_si##B(); }                                          \
    static T Add(T a, T b) { return _mm##W##_add_epi16(a, b); }                                   \
    static T Or(T a, T b) { return _mm##W##_or_si##B(a, b); }                                     \
    static T Srai8(T a) { return _mm##W##_srai_epi16(a, 8); }                                     \
    static T Maddubs(T a, T b) { return _mm##W##_maddubs_epi16(a, b); }                           \
    static T PackUs(T a, T b) { return _mm##W##_packus_epi16(a, b); }                             \
    static T UnpackLo8(T a, T b) { return _mm##W##_unpacklo_epi8(a, b); }                        \
    static T UnpackHi8(T a, T b) { return _mm##W##_unpackhi_epi8(a, b); }                        \
    static T Shuffle(T a, T mask) { return _mm##W##_shuffle_epi8(a, mask); }

namespace platform::dshow {
namespace {

// Bytes pairing pixel i's luma with its U (chroma 1) or V (chroma 3), the same in each 128-bit
// lane, kY the luma's byte in a pair: at step 1 eight pixels of four pairs; at step 2 (each
// pair's second pixel) four, written to the lane's low half (`high` false) or high half.
struct Mask {
    alignas(64) char bytes[64];
};
constexpr Mask PairingMask(int kY, int chroma, int step, bool high) {
    Mask mask{};
    for (int lane = 0; lane < 4; ++lane) {
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

template <class V, int kY, int chroma, int step, bool high = false>
inline typename V::T Pairing() {
    return V::Load(kPairing<kY, chroma, step, high>.bytes);
}

template <class V>
inline typename V::T Bytes(int first, int second) {
    return V::Set16(short(uint16_t(uint8_t(first)) | uint16_t(uint8_t(second)) << 8));
}

// Pixels from their (Y, U) and (Y, V) byte pairs, lane j holding pixels 4j..4j+3 in its low
// half and 4 kLanes + 4j.. in its high half, written in order at `out`.
template <class V, class T = typename V::T>
inline void StorePixels(T yu, T yv, BYTE* out) {
    const T blue = V::Add(V::Add(V::Maddubs(yu, Bytes<V>(1, 2)), V::Set16(-277)),
                             V::Srai8(V::Add(V::Maddubs(yu, Bytes<V>(42, 4)), V::Set16(224))));
    const T greenRest = V::Add(V::Maddubs(yu, Bytes<V>(42, -100)), V::Maddubs(yv, Bytes<V>(0, 48)));
    const T green = V::Add(V::Add(V::Maddubs(yv, Bytes<V>(1, -1)), V::Set16(135)),
                              V::Srai8(V::Add(greenRest, V::Set16(224))));
    const T red = V::Add(V::Add(V::Maddubs(yv, Bytes<V>(1, 2)), V::Set16(-223)),
                            V::Srai8(V::Add(V::Maddubs(yv, Bytes<V>(42, -103)), V::Set16(96))));
    // [B G] and [R 0] a lane, interleaved to B G R 0.
    const T bg = V::PackUs(blue, green), r0 = V::PackUs(red, V::Zero());
    const T br = V::UnpackLo8(bg, r0), g0 = V::UnpackHi8(bg, r0);
    V::Store(out, V::UnpackLo8(br, g0));
    V::Store(out + 16 * V::kLanes, V::UnpackHi8(br, g0));
}

template <class V, int kY, int kStep>
LONG Pairs(const BYTE* pairs, LONG n, BYTE* out) {
    using T = typename V::T;
    constexpr LONG kPixels = 8 * V::kLanes;
    LONG x = 0;
    if constexpr (kStep == 1) {
        const T yuMask = Pairing<V, kY, 1, 1>(), yvMask = Pairing<V, kY, 3, 1>();
        for (; x + kPixels <= n; x += kPixels) {
            const T v = V::QuartersToLanes(V::Load(pairs + 2 * x));
            StorePixels<V>(V::Shuffle(v, yuMask), V::Shuffle(v, yvMask), out + 4 * x);
        }
    } else {
        const T yuLow = Pairing<V, kY, 1, 2>(), yvLow = Pairing<V, kY, 3, 2>();
        const T yuHigh = Pairing<V, kY, 1, 2, true>(), yvHigh = Pairing<V, kY, 3, 2, true>();
        for (; x + kPixels <= n; x += kPixels) {
            // Four pixels a lane in each load: the first's to the lanes' low halves.
            const T a = V::Load(pairs + 4 * x), b = V::Load(pairs + 4 * x + 16 * V::kLanes);
            StorePixels<V>(V::Or(V::Shuffle(a, yuLow), V::Shuffle(b, yuHigh)),
                        V::Or(V::Shuffle(a, yvLow), V::Shuffle(b, yvHigh)), out + 4 * x);
        }
    }
    return x;
}

template <class V>
PairsReader PairsOf(bool lumaFirst, int step) {
    if (lumaFirst) return step == 1 ? Pairs<V, 0, 1> : step == 2 ? Pairs<V, 0, 2> : nullptr;
    return step == 1 ? Pairs<V, 1, 1> : step == 2 ? Pairs<V, 1, 2> : nullptr;
}

}  // namespace
}  // namespace platform::dshow
