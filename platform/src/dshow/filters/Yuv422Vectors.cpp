// The vector set's choice for packed 4:2:2 rows.
#include "Yuv422Vectors.h"

#include <cstdlib>
#include <cstring>

namespace platform::dshow {

VectorSet WidestVectors() {
#if defined(__x86_64__) || defined(__i386__)
    static const VectorSet has = __builtin_cpu_supports("avx512bw") ? VectorSet::Avx512
                                 : __builtin_cpu_supports("avx2")   ? VectorSet::Avx2
                                                                    : VectorSet::Sse2;
    VectorSet limit = VectorSet::Avx512;
    if (const char* named = std::getenv("PELVATRO_VECTORS"))
        limit = !std::strcmp(named, "sse2") ? VectorSet::Sse2 : !std::strcmp(named, "avx2") ? VectorSet::Avx2 : limit;
    return has < limit ? has : limit;
#else
    return VectorSet::Sse2;
#endif
}

PairsReader Yuv422PairsReader(VectorSet set, bool lumaFirst, int step) {
    if (step != 1 && step != 2) return nullptr;
    switch (set) {
    case VectorSet::Avx512: return Yuv422PairsAvx512(lumaFirst, step);
    case VectorSet::Avx2: return Yuv422PairsAvx2(lumaFirst, step);
    case VectorSet::Sse2: break;
    }
    return nullptr;
}

}  // namespace platform::dshow
