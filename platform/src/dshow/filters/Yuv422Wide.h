// 4:2:2 pairs to BGRX in vectors of 16-bit lanes, for the vector sets' builds: each includes
// this after its target pragma and a struct V of its operations (T the vector, kLanes its
// 128-bit lanes, the operations working lane by lane except QuartersToLanes).
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

template <int kY, int chroma, int step, bool high = false>
inline V::T Pairing() {
    return V::Load(kPairing<kY, chroma, step, high>.bytes);
}

inline V::T Bytes(int first, int second) {
    return V::Set16(short(uint16_t(uint8_t(first)) | uint16_t(uint8_t(second)) << 8));
}

// Pixels from their (Y, U) and (Y, V) byte pairs, lane j holding pixels 4j..4j+3 in its low
// half and 4 kLanes + 4j.. in its high half, written in order at `out`.
inline void StorePixels(V::T yu, V::T yv, BYTE* out) {
    const V::T blue = V::Add(V::Add(V::Maddubs(yu, Bytes(1, 2)), V::Set16(-277)),
                             V::Srai8(V::Add(V::Maddubs(yu, Bytes(42, 4)), V::Set16(224))));
    const V::T greenRest = V::Add(V::Maddubs(yu, Bytes(42, -100)), V::Maddubs(yv, Bytes(0, 48)));
    const V::T green = V::Add(V::Add(V::Maddubs(yv, Bytes(1, -1)), V::Set16(135)),
                              V::Srai8(V::Add(greenRest, V::Set16(224))));
    const V::T red = V::Add(V::Add(V::Maddubs(yv, Bytes(1, 2)), V::Set16(-223)),
                            V::Srai8(V::Add(V::Maddubs(yv, Bytes(42, -103)), V::Set16(96))));
    // [B G] and [R 0] a lane, interleaved to B G R 0.
    const V::T bg = V::PackUs(blue, green), r0 = V::PackUs(red, V::Zero());
    const V::T br = V::UnpackLo8(bg, r0), g0 = V::UnpackHi8(bg, r0);
    V::Store(out, V::UnpackLo8(br, g0));
    V::Store(out + 16 * V::kLanes, V::UnpackHi8(br, g0));
}

template <int kY, int kStep>
LONG Pairs(const BYTE* pairs, LONG n, BYTE* out) {
    constexpr LONG kPixels = 8 * V::kLanes;
    LONG x = 0;
    if constexpr (kStep == 1) {
        const V::T yuMask = Pairing<kY, 1, 1>(), yvMask = Pairing<kY, 3, 1>();
        for (; x + kPixels <= n; x += kPixels) {
            const V::T v = V::QuartersToLanes(V::Load(pairs + 2 * x));
            StorePixels(V::Shuffle(v, yuMask), V::Shuffle(v, yvMask), out + 4 * x);
        }
    } else {
        const V::T yuLow = Pairing<kY, 1, 2>(), yvLow = Pairing<kY, 3, 2>();
        const V::T yuHigh = Pairing<kY, 1, 2, true>(), yvHigh = Pairing<kY, 3, 2, true>();
        for (; x + kPixels <= n; x += kPixels) {
            // Four pixels a lane in each load: the first's to the lanes' low halves.
            const V::T a = V::Load(pairs + 4 * x), b = V::Load(pairs + 4 * x + 16 * V::kLanes);
            StorePixels(V::Or(V::Shuffle(a, yuLow), V::Shuffle(b, yuHigh)),
                        V::Or(V::Shuffle(a, yvLow), V::Shuffle(b, yvHigh)), out + 4 * x);
        }
    }
    return x;
}

PairsReader PairsOf(bool lumaFirst, int step) {
    if (lumaFirst) return step == 1 ? Pairs<0, 1> : step == 2 ? Pairs<0, 2> : nullptr;
    return step == 1 ? Pairs<1, 1> : step == 2 ? Pairs<1, 2> : nullptr;
}

}  // namespace
}  // namespace platform::dshow
