// The vectors the packed 4:2:2 loops use: the widest the processor has, no wider than
// PELVATRO_VECTORS names, each set's loop the one chosen for it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <optional>
#include <string>

#include "dshow/filters/Yuv422Vectors.h"

namespace {

using platform::dshow::VectorSet;

TEST(VectorSet, TheNamedSetLimitsTheWidestAndItsLoopIsChosen) {
    const char* before = getenv("PELVATRO_VECTORS");
    const std::optional<std::string> kept = before ? std::optional<std::string>(before) : std::nullopt;
    unsetenv("PELVATRO_VECTORS");
    const VectorSet widest = platform::dshow::WidestVectors();
    const struct {
        const char* name;
        VectorSet set;
        platform::dshow::PairsReader (*loop)(bool, int);
    } rows[] = {
        {"sse2", VectorSet::Sse2, nullptr},
        {"ssse3", VectorSet::Ssse3, &platform::dshow::Yuv422PairsSsse3},
        {"avx2", VectorSet::Avx2, &platform::dshow::Yuv422PairsAvx2},
        {"avx512", VectorSet::Avx512, &platform::dshow::Yuv422PairsAvx512},
    };
    for (const auto& row : rows) {
        setenv("PELVATRO_VECTORS", row.name, 1);
        const VectorSet chosen = platform::dshow::WidestVectors();
        EXPECT_EQ(chosen, std::min(widest, row.set)) << row.name;
        if (chosen == row.set)
            EXPECT_EQ(platform::dshow::Yuv422PairsReader(chosen, true, 1), row.loop ? row.loop(true, 1) : nullptr)
                << row.name;
    }
    if (kept) setenv("PELVATRO_VECTORS", kept->c_str(), 1);
    else unsetenv("PELVATRO_VECTORS");
}

}  // namespace
