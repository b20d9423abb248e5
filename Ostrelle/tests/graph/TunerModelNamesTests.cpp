// The graph library's tuner-model name table: its 66 rows in their order, each named as its
// enumerator, lookups from the front, and a single fill.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "graph/TunerModelNames.h"

namespace {

#define NAMED(model) std::make_pair(model, #model)

const std::pair<TUNER_MODEL, const char*> kExpectedRows[] = {
    NAMED(MODEL_UNKNOWN), NAMED(TCL2002N_1), NAMED(TCL2002N_1F), NAMED(TCL2002NJ_5), NAMED(TCL2002MI_3),
    NAMED(TCL2002MB_3), NAMED(TCL2002MB_1F), NAMED(TCL2002MI_1F), NAMED(MODEL_JS_2PC), NAMED(JS_6B2),
    NAMED(XINFA_TDQ_6B_B), NAMED(XINFA_TDQ_6B_DI), NAMED(XINFA_TDQ_6B_N), NAMED(XINFA_TDQ_6B4_DI),
    NAMED(TNF8357DIF), NAMED(TNF8532BF), NAMED(TNF8532DF), NAMED(TNF8532MF), NAMED(TNF5831MFF),
    NAMED(TNF5532JF), NAMED(TNF5532MF), NAMED(TNF9835), NAMED(TNJ3321PF), NAMED(TNF8022), NAMED(LGM200T),
    NAMED(LGH200T), NAMED(LGH202T), NAMED(PHILIPS1216), NAMED(FQ1216ME), NAMED(TCL2002MB_33F),
    NAMED(TCL9809N_1F), NAMED(TCL9886P_WM), NAMED(TNF9535BDF), NAMED(TNF7532PRF), NAMED(TNF9835BDFF),
    NAMED(TNJ3321MF), NAMED(FQ1236F), NAMED(PHILIPSTDA8275A), NAMED(PHILIPSFQ1286), NAMED(TNF5531MF),
    NAMED(TNF5835MFF), NAMED(PANOSONIC_ENGE4326D), NAMED(TNF5535MF), NAMED(FQ1216ME_5), NAMED(FM1236MK3),
    NAMED(TNJ3321CF), NAMED(TNJ7752JFF_MK5), NAMED(LGS200T), NAMED(TNF9935BDFF), NAMED(FS5_1A5_BG1),
    NAMED(TNJ8852CFF), NAMED(TNF9533BDF), NAMED(TNJ8352PF), NAMED(TNJ7357MF), NAMED(TNF9535DIF),
    NAMED(XCEIVE3028), NAMED(XCEIVE2028), NAMED(TDVBC), NAMED(XCEIVE3028AF), NAMED(XCEIVE3028SIF),
    NAMED(TNF9835DIFF), NAMED(MFO2GIP_5N_E), NAMED(F07WP_4NR_E), NAMED(F05WT_3BAR), NAMED(FI1236MK2),
    NAMED(TNJ8355CF),
};

#undef NAMED

TEST(TunerModelNamesTest, HoldsTheSixtySixNamesInTheirOrderEachOnce) {
    const CTunerModelNames& names = GetTunerModelNames();
    ASSERT_EQ(66u, names.size());
    std::set<int> values;
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(kExpectedRows[i].first, names[i].first) << "row " << i;
        EXPECT_EQ(kExpectedRows[i].second, names[i].second) << "row " << i;
        values.insert(names[i].first);
    }
    EXPECT_EQ(66u, values.size());
}

TEST(TunerModelNamesTest, FindsAKnownModelAndLeavesTheTextAloneForOthers) {
    std::string text = "unchanged";
    ASSERT_TRUE(GetTunerModelNames().Find(PHILIPSTDA8275A, text));
    EXPECT_EQ("PHILIPSTDA8275A", text);
    text = "unchanged";
    EXPECT_FALSE(GetTunerModelNames().Find(TNF9533DIF, text));  // 131 is the EEPROM library's only
    EXPECT_FALSE(GetTunerModelNames().Find(static_cast<TUNER_MODEL>(200), text));
    EXPECT_EQ("unchanged", text);
}

TEST(TunerModelNamesTest, IsFilledOnlyOnce) {
    BuildTunerModelNames();
    BuildTunerModelNames();
    EXPECT_EQ(66u, GetTunerModelNames().size());
}

}  // namespace
