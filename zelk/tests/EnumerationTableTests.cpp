// The two enumeration tables: lookups take the first match from the front, a miss leaves the
// caller's output alone, and the string table owns copies of its texts.
#include <gtest/gtest.h>

#include <string>

#include "zelk/MClassStringArray.h"
#include "zelk/MPairDeque.h"

namespace {

enum Colour { RED = 1, GREEN = 2, BLUE = 7 };

TEST(MPairDequeTest, FindOnEmptyTableLeavesOutputUntouched) {
    zelk::MPairDeque<Colour, int> table;
    int value = 42;
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(table.Find(RED, value));
    EXPECT_EQ(42, value);
}

TEST(MPairDequeTest, FirstPairAddedWinsAndMissKeepsOutput) {
    zelk::MPairDeque<Colour, int> table;
    table.Add(GREEN, 5);
    table.Add(RED, 10);
    table.Add(RED, 20);
    int value = -1;
    ASSERT_TRUE(table.Find(RED, value));
    EXPECT_EQ(10, value);
    EXPECT_FALSE(table.Find(BLUE, value));
    EXPECT_EQ(10, value);
    ASSERT_EQ(3u, table.size());
    EXPECT_EQ(GREEN, table[0].first);
    EXPECT_EQ(20, table[2].second);
}

TEST(MClassStringArrayTest, FindOnEmptyTableLeavesOutputUntouched) {
    zelk::MClassStringArray<Colour> table;
    std::string text = "before";
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(table.Find(GREEN, text));
    EXPECT_EQ("before", text);
}

TEST(MClassStringArrayTest, FirstRowAddedWinsAndMissKeepsOutput) {
    zelk::MClassStringArray<Colour> table;
    table.Add(BLUE, "blue");
    table.Add(std::make_pair(RED, "red"));
    table.Add(RED, "crimson");
    std::string text;
    ASSERT_TRUE(table.Find(RED, text));
    EXPECT_EQ("red", text);
    EXPECT_FALSE(table.Find(GREEN, text));
    EXPECT_EQ("red", text);
    ASSERT_EQ(3u, table.size());
    EXPECT_EQ(BLUE, table[0].first);
    EXPECT_EQ("crimson", table[2].second);
}

TEST(MClassStringArrayTest, KeepsItsOwnCopyOfEveryText) {
    zelk::MClassStringArray<Colour> table;
    {
        std::string source = "green";
        table.Add(GREEN, source.c_str());
        source[0] = 'X';
        source.assign(100, 'Y');
    }
    char buffer[] = "blue";
    table.Add(BLUE, buffer);
    buffer[0] = 'g';
    std::string text;
    ASSERT_TRUE(table.Find(GREEN, text));
    EXPECT_EQ("green", text);
    ASSERT_TRUE(table.Find(BLUE, text));
    EXPECT_EQ("blue", text);
}

}  // namespace
