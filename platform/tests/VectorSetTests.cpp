// The vectors of the packed 4:2:2 loops: the widest the processor has, no wider than
// PELVATRO_VECTORS names, and the named set's loop the one chosen.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>

#include "dshow/filters/Yuv422Vectors.h"

namespace {

using namespace platform::dshow;

TEST(VectorSet, TheNamedSetLimitsTheWidestAndItsLoopIsChosen) {
    unsetenv("PELVATRO_VECTORS");
    const VectorSet widest = WidestVectors();
    const struct { const char* name; VectorSet set; PairsReader (*loop)(bool, int); } rows[] = {
        {"sse2", VectorSet::Sse2, nullptr}, {"ssse3", VectorSet::Ssse3, &Yuv422PairsSsse3},
        {"avx2", VectorSet::Avx2, &Yuv422PairsAvx2}, {"avx512", VectorSet::Avx512, &Yuv422PairsAvx512}};
    for (const auto& row : rows) {
        setenv("PELVATRO_VECTORS", row.name, 1);
        const VectorSet chosen = WidestVectors();
        EXPECT_EQ(chosen, std::min(widest, row.set)) << row.name;
        if (chosen == row.set) EXPECT_EQ(Yuv422PairsReader(chosen, true, 1), row.loop ? row.loop(true, 1) : nullptr) << row.name;
    }
}

}  // namespace
