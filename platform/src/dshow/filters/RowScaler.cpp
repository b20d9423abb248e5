// Scaled rows of a picture as BGRX pixels.
#include "RowScaler.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "Yuv422Vectors.h"

namespace platform::dshow {

namespace {

// The source offset of destination offset j of `destExtent` over `srcExtent`: the nearest, as
// a COLORONCOLOR stretch takes it.
LONG Nearest(LONG j, LONG destExtent, LONG srcExtent) {
    return LONG((int64_t(j) * 2 + 1) * srcExtent / (int64_t(destExtent) * 2));
}

void ReadRgb32(const BYTE* src, const RowScaler::Columns& c, LONG first, LONG n, BYTE* o) {
    const LONG* cols = c.source.data() + first;
    for (LONG x = 0; x < n; ++x, o += 4) {
        const BYTE* p = src + 4 * cols[x];
        o[0] = p[0], o[1] = p[1], o[2] = p[2], o[3] = 0;
    }
}

void ReadRgb24(const BYTE* src, const RowScaler::Columns& c, LONG first, LONG n, BYTE* o) {
    const LONG* cols = c.source.data() + first;
    for (LONG x = 0; x < n; ++x, o += 4) {
        const BYTE* p = src + 3 * cols[x];
        o[0] = p[0], o[1] = p[1], o[2] = p[2], o[3] = 0;
    }
}

// 16-bit RGB with `greenBits` of green (6: 5-6-5, 5: 5-5-5).
template <int greenBits>
void ReadRgb16(const BYTE* src, const RowScaler::Columns& c, LONG first, LONG n, BYTE* o) {
    const LONG* cols = c.source.data() + first;
    constexpr unsigned greenMax = (1u << greenBits) - 1;
    for (LONG x = 0; x < n; ++x, o += 4) {
        const BYTE* q = src + 2 * cols[x];
        unsigned p = q[0] | (q[1] << 8);
        o[0] = BYTE((p & 0x1F) * 255 / 31);
        o[1] = BYTE(((p >> 5) & greenMax) * 255 / greenMax);
        o[2] = BYTE(((p >> (5 + greenBits)) & 0x1F) * 255 / 31);
        o[3] = 0;
    }
}

// BT.601 in integers: c = 298 (Y - 16) + 128, d = U - 128, e = V - 128; blue (c + 516 d) >> 8,
// green (c - 100 d - 208 e) >> 8, red (c + 409 e) >> 8, each clamped to 0..255.
uint32_t Bgrx(int luma, int u, int v) {
    const int c = 298 * (luma - 16) + 128, d = u - 128, e = v - 128;
    const int b = std::clamp((c + 516 * d) >> 8, 0, 255);
    const int g = std::clamp((c - 100 * d - 208 * e) >> 8, 0, 255);
    const int r = std::clamp((c + 409 * e) >> 8, 0, 255);
    return uint32_t(b | g << 8 | r << 16);
}

// Packed 4:2:2 whose first luma of a pair is byte kY of it (YUY2 0: Y0 U Y1 V; UYVY 1: U Y0 V Y1).
template <int kY>
uint32_t PixelAt(const BYTE* row, LONG sx) {
    const BYTE* pair = row + 4 * (sx >> 1);
    return Bgrx(row[2 * sx + kY], pair[1 - kY], pair[3 - kY]);
}

#ifdef __SSE2__
// Eight pixels at a time: the luma of each as a 32-bit lane Y | 1 << 16 and its chroma as a lane
// (U - 128) | (V - 128) << 16, so that one multiply-add of 16-bit pairs makes each term in 32 bits.
int32_t Pair(int low, int high) { return int32_t(uint32_t(uint16_t(low)) | uint32_t(uint16_t(high)) << 16); }

struct Channels {
    __m128i b, g, r;
};

inline __attribute__((always_inline)) Channels ChannelsOf(__m128i luma, __m128i chroma) {
    const __m128i c = _mm_madd_epi16(luma, _mm_set1_epi32(Pair(298, -4640)));  // 298 Y - 4640 = c
    return {_mm_srai_epi32(_mm_add_epi32(c, _mm_madd_epi16(chroma, _mm_set1_epi32(Pair(516, 0)))), 8),
            _mm_srai_epi32(_mm_add_epi32(c, _mm_madd_epi16(chroma, _mm_set1_epi32(Pair(-100, -208)))), 8),
            _mm_srai_epi32(_mm_add_epi32(c, _mm_madd_epi16(chroma, _mm_set1_epi32(Pair(0, 409)))), 8)};
}

inline __attribute__((always_inline)) void Store8(__m128i luma0, __m128i chroma0, __m128i luma1, __m128i chroma1,
                                                  BYTE* out) {
    const Channels p = ChannelsOf(luma0, chroma0), q = ChannelsOf(luma1, chroma1);
    // Saturating packs clamp to 0..255: [B0..B7 G0..G7] and [R0..R7 0..], then interleaved.
    const __m128i zero = _mm_setzero_si128();
    const __m128i bg = _mm_packus_epi16(_mm_packs_epi32(p.b, q.b), _mm_packs_epi32(p.g, q.g));
    const __m128i r = _mm_packus_epi16(_mm_packs_epi32(p.r, q.r), zero);
    const __m128i bgPairs = _mm_unpacklo_epi8(bg, _mm_srli_si128(bg, 8));
    const __m128i rPairs = _mm_unpacklo_epi8(r, zero);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(bgPairs, rPairs));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi16(bgPairs, rPairs));
}

// The chroma lanes of 16-bit pairs whose low bytes (kY 1) or high bytes (kY 0) are U and V.
template <int kY>
__m128i ChromaOf(__m128i words) {
    const __m128i uv = kY ? _mm_and_si128(words, _mm_set1_epi16(0xFF)) : _mm_srli_epi16(words, 8);
    return _mm_sub_epi16(uv, _mm_set1_epi16(128));
}

__m128i Load(const BYTE* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

uint32_t Word(const BYTE* p) {
    uint32_t w;
    std::memcpy(&w, p, 4);
    return w;
}

// Four lanes of luma, one from each pair word: its first luma, or its second where `second`.
template <int kY>
__m128i LumaOf(__m128i words, __m128i second) {
    const __m128i first = _mm_srli_epi32(words, 8 * kY), other = _mm_srli_epi32(words, 8 * (2 + kY));
    const __m128i luma = _mm_or_si128(_mm_and_si128(second, other), _mm_andnot_si128(second, first));
    return _mm_or_si128(_mm_and_si128(luma, _mm_set1_epi32(0xFF)), _mm_set1_epi32(1 << 16));
}

// Pixels [x, n) of the columns from `first` to `out` eight at a time, by source pairs where
// kStep is 1 (each pair makes two pixels) or 2 (each makes one, from its second luma), else
// gathered through the table; answers where it stopped.
template <int kY, int kStep>
LONG ReadYuv422By8(const BYTE* row, const RowScaler::Columns& columns, LONG first, LONG x, LONG n, BYTE* out) {
    const LONG* cols = columns.source.data() + first;
    const __m128i one = _mm_set1_epi32(1 << 16);
    for (; x + 8 <= n; x += 8) {
        __m128i luma0, chroma0, luma1, chroma1;
        if constexpr (kStep == 1) {
            const __m128i v = Load(row + 2 * cols[x]);  // four pairs from the pixel's (even) column
            const __m128i luma = kY ? _mm_srli_epi16(v, 8) : _mm_and_si128(v, _mm_set1_epi16(0xFF));
            const __m128i chroma = ChromaOf<kY>(v);
            const __m128i ones = _mm_set1_epi16(1);
            luma0 = _mm_unpacklo_epi16(luma, ones), luma1 = _mm_unpackhi_epi16(luma, ones);
            chroma0 = _mm_unpacklo_epi32(chroma, chroma), chroma1 = _mm_unpackhi_epi32(chroma, chroma);
        } else if constexpr (kStep == 2) {
            const BYTE* pairs = row + 4 * (cols[x] >> 1);  // eight pairs; the second luma is byte 2 + kY
            const __m128i v0 = Load(pairs), v1 = Load(pairs + 16), mask = _mm_set1_epi32(0xFF);
            luma0 = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(v0, 8 * (2 + kY)), mask), one);
            luma1 = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(v1, 8 * (2 + kY)), mask), one);
            chroma0 = ChromaOf<kY>(v0), chroma1 = ChromaOf<kY>(v1);
        } else {
            const int32_t* at = columns.pair.data() + first + x;
            auto word = [&](int i) { return int(Word(row + at[i])); };
            const __m128i w0 = _mm_setr_epi32(word(0), word(1), word(2), word(3));
            const __m128i w1 = _mm_setr_epi32(word(4), word(5), word(6), word(7));
            const BYTE* second = reinterpret_cast<const BYTE*>(columns.second.data() + first + x);
            luma0 = LumaOf<kY>(w0, Load(second)), luma1 = LumaOf<kY>(w1, Load(second + 16));
            chroma0 = ChromaOf<kY>(w0), chroma1 = ChromaOf<kY>(w1);
        }
        Store8(luma0, chroma0, luma1, chroma1, out + 4 * size_t(x));
    }
    return x;
}
#endif

// Pixels [x, end) of the columns from `first`, eight at a time with SSE2, then one by one.
template <int kY>
void ReadYuv422Rest(const BYTE* row, const RowScaler::Columns& columns, LONG first, LONG x, LONG end, BYTE* out) {
#ifdef __SSE2__
    x = columns.step == 1   ? ReadYuv422By8<kY, 1>(row, columns, first, x, end, out)
        : columns.step == 2 ? ReadYuv422By8<kY, 2>(row, columns, first, x, end, out)
                            : ReadYuv422By8<kY, 0>(row, columns, first, x, end, out);
#endif
    const LONG* cols = columns.source.data() + first;
    for (; x < end; ++x) {
        const uint32_t p = PixelAt<kY>(row, cols[x]);
        std::memcpy(out + 4 * size_t(x), &p, 4);
    }
}

template <int kY>
void ReadYuv422(const BYTE* row, const RowScaler::Columns& columns, LONG first, LONG n, BYTE* out) {
    const LONG* cols = columns.source.data() + first;
    LONG x = 0;
    if (columns.step == 1 && n > 0 && (cols[0] & 1)) {  // from the second pixel of a pair
        const uint32_t p = PixelAt<kY>(row, cols[0]);
        std::memcpy(out, &p, 4);
        x = 1;
    }
    if (columns.wide && x < n) {
        x += columns.wide(row + 4 * (cols[x] >> 1), n - x, out + 4 * size_t(x));
    } else if (columns.gather.read) {  // blocks of 32 columns from a multiple of 32 on
        x = std::min(n, (32 - first % 32) % 32);
        ReadYuv422Rest<kY>(row, columns, first, 0, x, out);
        x += columns.gather.read(row, columns.gather, (first + x) / 32, (n - x) / 32, out + 4 * size_t(x));
    }
    ReadYuv422Rest<kY>(row, columns, first, x, n, out);
}

RowScaler::Reader ReaderOf(PixelFormat format) {
    switch (format) {
    case PixelFormat::Rgb32: return ReadRgb32;
    case PixelFormat::Rgb24: return ReadRgb24;
    case PixelFormat::Rgb565: return ReadRgb16<6>;
    case PixelFormat::Rgb555: return ReadRgb16<5>;
    case PixelFormat::Yuy2: return ReadYuv422<0>;
    case PixelFormat::Uyvy: return ReadYuv422<1>;
    }
    return ReadRgb32;
}

}  // namespace

void RowScaler::Prepare(const Picture& in, LONG width, LONG height) {
    m_read = ReaderOf(in.format);
    const bool yuv = in.format == PixelFormat::Yuy2 || in.format == PixelFormat::Uyvy;
    const bool lumaFirst = in.format == PixelFormat::Yuy2;
    const VectorSet vectors = yuv ? WidestVectors() : VectorSet::Sse2;
    const bool sameColumns = m_in.width == in.width && m_width == width;
    const bool sameGather = sameColumns && m_in.format == in.format && m_vectors == vectors;
    m_in = in;
    m_height = height;
    m_vectors = vectors;
    const int step = in.width == width ? 1 : in.width == 2 * width ? 2 : 0;
    m_columns.wide = Yuv422PairsReader(vectors, lumaFirst, step);
    if (sameGather) return;
    if (!sameColumns) {
        m_width = width;
        m_columns.source.resize(size_t(width));
        m_columns.pair.resize(size_t(width));
        m_columns.second.resize(size_t(width));
        for (LONG x = 0; x < width; ++x) {
            const LONG sx = Nearest(x, width, in.width);
            m_columns.source[size_t(x)] = sx;
            m_columns.pair[size_t(x)] = 4 * (sx >> 1);
            m_columns.second[size_t(x)] = sx & 1 ? -1 : 0;
        }
        m_columns.step = step;
    }
    m_columns.gather.read = nullptr;
    if (yuv && !step) MakeYuv422Gather(vectors, lumaFirst, m_columns.source, 4 * size_t((in.width + 1) / 2), &m_columns.gather);
}

void RowScaler::Read(const BYTE* src, LONG y, LONG first, LONG n, BYTE* out) const {
    const LONG sy = Nearest(y, m_height, m_in.height);
    const LONG row = m_in.bottomUp ? m_in.height - 1 - sy : sy;
    m_read(src + size_t(row) * m_in.stride, m_columns, first, n, out);
}

}  // namespace platform::dshow
