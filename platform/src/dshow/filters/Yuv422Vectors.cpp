// The vector set's choice for packed 4:2:2 rows.
#include "Yuv422Vectors.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace platform::dshow {

namespace {

// The names PELVATRO_VECTORS takes, each the widest set it lets the conversion use.
constexpr std::pair<const char*, VectorSet> kVectorNames[] = {
    {"sse2", VectorSet::Sse2}, {"ssse3", VectorSet::Ssse3}, {"avx2", VectorSet::Avx2}, {"avx512", VectorSet::Avx512}};

// The limit PELVATRO_VECTORS names; false for a name it does not know.
bool VectorLimit(const char* named, VectorSet* limit) {
    *limit = VectorSet::Avx512;
    if (!named || !*named) return true;  // unset
    for (auto [name, set] : kVectorNames)
        if (!std::strcmp(named, name)) {
            *limit = set;
            return true;
        }
    return false;
}

}  // namespace

VectorSet WidestVectors() {
#if defined(__x86_64__) || defined(__i386__)
    static const VectorSet has = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi")
                                     ? VectorSet::Avx512
                                 : __builtin_cpu_supports("avx2")   ? VectorSet::Avx2
                                 : __builtin_cpu_supports("ssse3")  ? VectorSet::Ssse3
                                                                    : VectorSet::Sse2;
    VectorSet limit;
    VectorLimit(std::getenv("PELVATRO_VECTORS"), &limit);
    return has < limit ? has : limit;
#else
    return VectorSet::Sse2;
#endif
}

std::string UnknownVectorsSetting() {
    const char* named = std::getenv("PELVATRO_VECTORS");
    VectorSet limit;
    if (VectorLimit(named, &limit)) return {};
    std::string names;
    for (auto [name, set] : kVectorNames) names += std::string(names.empty() ? "" : ", ") + name;
    return std::string("PELVATRO_VECTORS=") + named + " is not a vector set of this program; use " + names;
}

PairsReader Yuv422PairsReader(VectorSet set, bool lumaFirst, int step) {
    if (step != 1 && step != 2) return nullptr;
    switch (set) {
    case VectorSet::Avx512: return Yuv422PairsAvx512(lumaFirst, step);
    case VectorSet::Avx2: return Yuv422PairsAvx2(lumaFirst, step);
    case VectorSet::Ssse3: return Yuv422PairsSsse3(lumaFirst, step);
    case VectorSet::Sse2: break;
    }
    return nullptr;
}

void MakeYuv422Gather(VectorSet set, bool lumaFirst, const std::vector<LONG>& source, size_t rowBytes,
                      Yuv422Gather* gather) {
    gather->read = nullptr;
    const size_t groups = source.size() / 32 * 2;
    if (set != VectorSet::Avx512 || rowBytes < 128 || !groups) return;
    const int kY = lumaFirst ? 0 : 1;
    gather->windows.resize(groups);
    gather->picks.assign(groups * 64, 0);
    for (size_t group = 0; group < groups; ++group) {
        const LONG* cols = source.data() + 16 * group;
        const LONG low = 4 * (cols[0] >> 1), high = 4 * (cols[15] >> 1) + 4;  // the pairs' bytes
        const LONG base = std::min(low, LONG(rowBytes) - 128);
        if (high - base > 128) return;
        gather->windows[group] = base;
        // Pixel 4j + k of the group to lane j: its (Y, U) to the lane's low half, its (Y, V) to
        // the high half.
        uint8_t* picks = gather->picks.data() + 64 * group;
        for (int i = 0; i < 16; ++i) {
            const LONG sx = cols[i], pair = 4 * (sx >> 1) - base;
            const int at = 16 * (i >> 2) + 2 * (i & 3);
            picks[at] = picks[8 + at] = uint8_t(2 * sx + kY - base);
            picks[at + 1] = uint8_t(pair + 1 - kY);
            picks[8 + at + 1] = uint8_t(pair + 3 - kY);
        }
    }
    gather->read = Yuv422GatherAvx512();
}

}  // namespace platform::dshow
