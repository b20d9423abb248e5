// The collection templates: arrays, position-walked lists and the key-ordered map.
#include <gtest/gtest.h>

#include "afxtempl.h"

TEST(CArray, GrowsInsertsAndRemoves) {
    CArray<int, int> a;
    a.Add(1);
    a.Add(3);
    a.InsertAt(1, 2);
    a.SetAtGrow(5, 6);
    ASSERT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a[1], 2);
    EXPECT_EQ(a[4], 0);
    a.RemoveAt(3, 2);
    EXPECT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a.GetUpperBound(), 3);
    EXPECT_EQ(a[3], 6);
    a.RemoveAt(10);
    EXPECT_EQ(a.GetSize(), 4);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

TEST(CStringArray, HoldsCopiesOfTheTexts) {
    CStringArray a;
    char text[8] = "one";
    a.Add(text);
    strcpy(text, "two");
    a.Add(text);
    EXPECT_EQ(a.GetAt(0), "one");
    EXPECT_EQ(a.GetAt(1), "two");
    CStringArray b;
    b.Copy(a);
    b[0] = "uno";
    EXPECT_EQ(a[0], "one");
}

TEST(CList, WalksForwardAndBackwardByPosition) {
    CStringList list;
    list.AddTail("b");
    list.AddHead("a");
    POSITION c = list.AddTail("c");
    list.InsertBefore(c, "b2");
    std::vector<CString> seen;
    for (POSITION p = list.GetHeadPosition(); p;) seen.push_back(list.GetNext(p));
    EXPECT_EQ(seen, (std::vector<CString>{"a", "b", "b2", "c"}));
    seen.clear();
    for (POSITION p = list.GetTailPosition(); p;) seen.push_back(list.GetPrev(p));
    EXPECT_EQ(seen.front(), "c");
    EXPECT_EQ(seen.back(), "a");
    POSITION b2 = list.Find("b2");
    ASSERT_NE(b2, nullptr);
    list.RemoveAt(b2);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetAt(list.FindIndex(2)), "c");
    EXPECT_EQ(list.FindIndex(3), nullptr);
    EXPECT_EQ(list.RemoveHead(), "a");
    EXPECT_EQ(list.RemoveTail(), "c");
    EXPECT_EQ(list.GetHead(), "b");
    EXPECT_EQ(list.GetTail(), "b");
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

TEST(CMap, WalksInKeyOrderAndReplacesValues) {
    CMap<int, int, CString, LPCSTR> remote;
    remote.SetAt(12, "Power");
    remote.SetAt(3, "Up");
    remote[7] = "Rec";
    remote.SetAt(12, "Mute");
    CString value;
    EXPECT_TRUE(remote.Lookup(12, value));
    EXPECT_EQ(value, "Mute");
    EXPECT_FALSE(remote.Lookup(5, value));
    std::vector<int> keys;
    int key;
    for (POSITION p = remote.GetStartPosition(); p;) {
        remote.GetNextAssoc(p, key, value);
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<int>{3, 7, 12}));
    EXPECT_TRUE(remote.RemoveKey(7));
    EXPECT_FALSE(remote.RemoveKey(7));
    EXPECT_EQ(remote.GetCount(), 2);
}

TEST(CMap, TakesTextKeys) {
    CMapStringToString pages;
    pages.SetAt("检测(Check)", "next");
    pages.SetAt("Write Eeprom", "检测(Check)");
    CString next;
    EXPECT_TRUE(pages.Lookup("Write Eeprom", next));
    EXPECT_EQ(next, "检测(Check)");
    EXPECT_EQ(pages.GetStartPosition() != nullptr, true);
}
