// Regions against a bitmask model on random rectangles, and the RGNDATA checks.
#include <gtest/gtest.h>

#include <bitset>
#include <ctime>
#include <cstring>
#include <random>
#include <vector>

#include "platform/wingdi.h"

namespace {

constexpr int kSize = 24;
using Mask = std::bitset<kSize * kSize>;

Mask MaskOf(HRGN region) {
    Mask m;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) m[size_t(y * kSize + x)] = PtInRegion(region, x, y) != FALSE;
    return m;
}

// A region of a few random rectangles, and its mask.
HRGN RandomRegion(std::mt19937& rng, Mask* mask) {
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    mask->reset();
    int n = int(rng() % 4);
    for (int i = 0; i < n; ++i) {
        int l = int(rng() % kSize), t = int(rng() % kSize);
        int rr = l + int(rng() % (kSize - l)) + 1, b = t + int(rng() % (kSize - t)) + 1;
        HRGN piece = CreateRectRgn(l, t, rr, b);
        CombineRgn(r, r, piece, RGN_OR);
        DeleteObject(piece);
        for (int y = t; y < b; ++y)
            for (int x = l; x < rr; ++x) (*mask)[size_t(y * kSize + x)] = true;
    }
    return r;
}

// The kind of region a mask is: empty, one rectangle, or more.
int ModelKind(const Mask& m) {
    if (m.none()) return NULLREGION;
    int l = kSize, t = kSize, r = -1, b = -1;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (m[size_t(y * kSize + x)]) l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = std::max(b, y);
    return int(m.count()) == (r - l + 1) * (b - t + 1) ? SIMPLEREGION : COMPLEXREGION;
}

TEST(GdiRegion, CombineAgreesWithABitmaskModel) {
    std::mt19937 rng(5);
    for (int round = 0; round < 400; ++round) {
        Mask ma, mb;
        HRGN a = RandomRegion(rng, &ma), b = RandomRegion(rng, &mb);
        ASSERT_EQ(MaskOf(a), ma);
        int mode = int(rng() % 5) + 1;
        Mask expected = mode == RGN_AND ? (ma & mb) : mode == RGN_OR ? (ma | mb) : mode == RGN_XOR ? (ma ^ mb)
                      : mode == RGN_DIFF ? (ma & ~mb) : ma;
        HRGN dest = CreateRectRgn(0, 0, 0, 0);
        int kind = CombineRgn(dest, a, b, mode);
        ASSERT_EQ(MaskOf(dest), expected) << "mode " << mode << " round " << round;
        ASSERT_EQ(kind, ModelKind(expected)) << "mode " << mode << " round " << round;
        // The rectangles it hands out cover the same pixels, and its box bounds them.
        DWORD size = GetRegionData(dest, 0, nullptr);
        std::vector<char> buffer(size);
        ASSERT_EQ(GetRegionData(dest, size, reinterpret_cast<RGNDATA*>(buffer.data())), size);
        HRGN again = ExtCreateRegion(nullptr, size, reinterpret_cast<RGNDATA*>(buffer.data()));
        ASSERT_TRUE(EqualRgn(dest, again));
        // A point is in a rectangle as in its region: the right and bottom edges are outside.
        RECT box;
        if (GetRgnBox(a, &box) == SIMPLEREGION)
            for (int i = 0; i < kSize * kSize; ++i)
                ASSERT_EQ(PtInRect(&box, POINT{i % kSize, i / kSize}) != FALSE, ma[size_t(i)]) << i;
        for (HRGN h : {a, b, dest, again}) DeleteObject(h);
    }
}

TEST(GdiRegion, ThousandsOfRunsMakeOneRegionQuickly) {
    // One rectangle per opaque run of a 400 x 300 picture with a hole in every other row.
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + sizeof(RECT) * 600);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 600, 0, {}};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (int y = 0; y < 300; ++y) {
        rects[2 * y] = RECT{0, y, y % 2 ? 100 : 400, y + 1};
        rects[2 * y + 1] = RECT{y % 2 ? 150 : 0, y, y % 2 ? 400 : 10, y + 1};
    }
    HRGN r = ExtCreateRegion(nullptr, DWORD(buffer.size()), data);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(PtInRegion(r, 120, 0));
    EXPECT_FALSE(PtInRegion(r, 120, 1));
    RECT box;
    EXPECT_EQ(GetRgnBox(r, &box), COMPLEXREGION);
    EXPECT_EQ(box.right, 400);
    EXPECT_EQ(box.bottom, 300);
    DeleteObject(r);
}

// A staircase of n rectangles: column i from row i to the bottom; each band's rectangles overlap.
std::vector<char> Staircase(int n) {
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + sizeof(RECT) * size_t(n));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(n), 0, {}};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (int i = 0; i < n; ++i) rects[i] = RECT{i, i, i + 1, n};
    return buffer;
}

// This thread's processor time, in seconds: what other work on the machine does not inflate.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The shortest of a few runs of ExtCreateRegion over the data, in seconds of processor time.
double FastestBuild(std::vector<char>& buffer) {
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const double start = ThreadSeconds();
        HRGN r = ExtCreateRegion(nullptr, DWORD(buffer.size()), reinterpret_cast<RGNDATA*>(buffer.data()));
        best = std::min(best, ThreadSeconds() - start);
        EXPECT_NE(r, nullptr);
        DeleteObject(r);
    }
    return best;
}

TEST(GdiRegion, OverlappingRectanglesBuildInAboutNLogN) {
    std::vector<char> small = Staircase(2000), large = Staircase(16000);
    HRGN r = ExtCreateRegion(nullptr, DWORD(large.size()), reinterpret_cast<RGNDATA*>(large.data()));
    EXPECT_TRUE(PtInRegion(r, 0, 15999));
    EXPECT_TRUE(PtInRegion(r, 8000, 8000));
    EXPECT_FALSE(PtInRegion(r, 8001, 8000));
    DeleteObject(r);
    // Eight times the rectangles: about eleven times the work (near 30 when other processes share
    // the caches), where a quadratic build takes 64.
    const double ratio = FastestBuild(large) / FastestBuild(small);
    EXPECT_LT(ratio, 45.0) << "2000 rectangles: " << FastestBuild(small) * 1e3 << " ms";
}

TEST(GdiRegion, ExtCreateRegionRefusesMalformedData) {
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + 2 * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    RECT two[2] = {{0, 0, 5, 5}, {10, 10, 20, 20}};
    std::memcpy(data->Buffer, two, sizeof two);
    auto make = [&](DWORD dwSize, DWORD type, DWORD count, DWORD size) {
        data->rdh = RGNDATAHEADER{dwSize, type, count, 0, RECT{0, 0, 1, 1}};  // a bound that lies
        return ExtCreateRegion(nullptr, size, data);
    };
    EXPECT_EQ(make(40, RDH_RECTANGLES, 2, DWORD(buffer.size())), nullptr) << "wrong header size";
    EXPECT_EQ(make(32, 2, 2, DWORD(buffer.size())), nullptr) << "wrong type";
    EXPECT_EQ(make(32, RDH_RECTANGLES, 3, DWORD(buffer.size())), nullptr) << "more rectangles than bytes";
    EXPECT_EQ(make(32, RDH_RECTANGLES, 0x10000001, DWORD(buffer.size())), nullptr) << "a count that overflows";
    EXPECT_EQ(make(32, RDH_RECTANGLES, 1, 20), nullptr) << "a size shorter than the header";
    EXPECT_EQ(ExtCreateRegion(nullptr, 100, nullptr), nullptr);
    HRGN good = make(32, RDH_RECTANGLES, 2, DWORD(buffer.size()));
    ASSERT_NE(good, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(good, &box), COMPLEXREGION);
    EXPECT_EQ(box.right, 20) << "the bound is computed, not taken";
    HRGN none = make(32, RDH_RECTANGLES, 0, 32);
    EXPECT_EQ(GetRgnBox(none, &box), NULLREGION);
    DeleteObject(good);
    DeleteObject(none);
}

}  // namespace
