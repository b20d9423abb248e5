// The video standard names: the row table walked whole, and lookups at their edges.
#include <gtest/gtest.h>

#include "VideoStandardHelper.h"

namespace {

TEST(VideoStandardHelperTest, TableHasOneRowPerSingleBitStandardExceptPalG) {
    CVideoStandardHelper helper;
    ASSERT_EQ(helper.GetCount(), 20);
    EXPECT_EQ(helper.GetRow(0).first, 0);
    EXPECT_EQ(helper.GetRow(0).second, "None");
    long seen = 0;
    for (int i = 1; i < helper.GetCount(); ++i) {
        const long value = helper.GetRow(i).first;
        EXPECT_EQ(value & (value - 1), 0) << "row " << i << " is one bit";
        EXPECT_GT(value, helper.GetRow(i - 1).first) << "rows ascend at " << i;
        EXPECT_EQ(helper.IndexOf(value), i);
        EXPECT_EQ(helper.GetName(value), helper.GetRow(i).second);
        EXPECT_EQ(helper.GetValue(helper.GetRow(i).second.c_str()), value);
        seen |= value;
    }
    EXPECT_EQ(seen, 0x1FFFB7) << "every standard bit up to PAL_N_COMBO but 0x8 and PAL G's 0x40";
    EXPECT_EQ(helper.GetName(0x20), "PAL_D");
    EXPECT_EQ(helper.GetName(0x100000), "PAL_N_COMBO");
}

TEST(VideoStandardHelperTest, PalGAndOtherUnknownValuesHaveNoName) {
    CVideoStandardHelper helper;
    EXPECT_EQ(helper.GetName(0x40), "");
    EXPECT_EQ(helper.IndexOf(0x40), -1);
    EXPECT_EQ(helper.GetName(0x30), "") << "a mask of two standards is no row";
    CArray<int, int> indexes;
    helper.GetIndexesOfMask(0x40, indexes);
    EXPECT_EQ(indexes.GetSize(), 0);
}

TEST(VideoStandardHelperTest, MaskSplitsIntoRowsInTableOrderAndAppends) {
    CVideoStandardHelper helper;
    CArray<int, int> indexes;
    indexes.Add(99);
    helper.GetIndexesOfMask(0x31, indexes);
    ASSERT_EQ(indexes.GetSize(), 4);
    EXPECT_EQ(indexes[0], 99) << "appends, keeps what was there";
    EXPECT_EQ(indexes[1], 1);
    EXPECT_EQ(indexes[2], 4);
    EXPECT_EQ(indexes[3], 5);

    CArray<CVideoStandardHelper::Row> rows;
    helper.GetRowsOfMask(0x100201, rows);
    ASSERT_EQ(rows.GetSize(), 3);
    EXPECT_EQ(rows[0].second, "NTSC_M");
    EXPECT_EQ(rows[1].second, "PAL_M");
    EXPECT_EQ(rows[2].first, 0x100000);
    CArray<int, int> none;
    helper.GetIndexesOfMask(0, none);
    EXPECT_EQ(none.GetSize(), 0) << "row 0 (value 0) never shares a bit";
}

TEST(VideoStandardHelperTest, CombineMaskOrsTheValues) {
    CVideoStandardHelper helper;
    CArray<long, long> values;
    EXPECT_EQ(helper.CombineMask(values), 0);
    values.Add(0x10);
    values.Add(0x20);
    values.Add(0x10);
    EXPECT_EQ(helper.CombineMask(values), 0x30);
}

TEST(VideoStandardHelperTest, GetValueUpperCasesOnlyTheLettersAndAnswersZeroWhenUnknown) {
    CVideoStandardHelper helper;
    EXPECT_EQ(helper.GetValue("pal_d"), 0x20);
    EXPECT_EQ(helper.GetValue("Secam_K1"), 0x20000);
    EXPECT_EQ(helper.GetValue("None"), 0) << "NONE matches no row";
    EXPECT_EQ(helper.GetValue("PAL-D"), 0);
    EXPECT_EQ(helper.GetValue(" PAL_D"), 0);
    EXPECT_EQ(helper.GetValue(""), 0);
    EXPECT_EQ(helper.GetValue(nullptr), 0);
}

}  // namespace
