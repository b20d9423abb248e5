// CString: UTF-8 text, printf formatting with CString arguments, and the editing members.
#include <gtest/gtest.h>

#include "afx.h"

TEST(CString, FormatTakesCStringArgumentsAsTheirText) {
    CString name("高频头");
    CString s;
    s.Format("第%d路 %s", 0, name);
    EXPECT_STREQ(s, "第0路 高频头");
    s.Format("%s:%d KHz,信号:%d", CString("TV"), 479250, 3);
    EXPECT_EQ(s, "TV:479250 KHz,信号:3");
    char buffer[] = "buf";
    s.Format("%s|%5.1f|%%|%c|%u", buffer, 2.25, 'x', 7u);
    EXPECT_EQ(s, "buf|  2.2|%|x|7");
    s.AppendFormat("-%02d", 5);
    EXPECT_EQ(s, "buf|  2.2|%|x|7-05");
}

TEST(CString, FormatsTextLongerThanAnyInternalBuffer) {
    CString big('a', 5000);
    CString s;
    s.Format("<%s>", big);
    EXPECT_EQ(s.GetLength(), 5002);
    EXPECT_EQ(s.Left(2), "<a");
    EXPECT_EQ(s.Right(2), "a>");
}

TEST(CString, LengthAndIndexesCountBytesOfUtf8) {
    CString s("关 闭");
    EXPECT_EQ(s.GetLength(), 7);
    EXPECT_EQ(s.Find(' '), 3);
    EXPECT_EQ(s.Mid(4), "闭");
    EXPECT_EQ(s.Left(3), "关");
}

TEST(CString, WideTextConvertsToUtf8) {
    CString s(L"Kesh 高频头 Capture");
    EXPECT_EQ(s, "Kesh 高频头 Capture");
    s = static_cast<LPCWSTR>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    CString none(nullptr);
    s = nullptr;
    EXPECT_TRUE(none.IsEmpty() && s.IsEmpty());
}

TEST(CString, MidLeftRightClampOutOfRangeArguments) {
    CString s("abcdef");
    EXPECT_EQ(s.Mid(4, 100), "ef");
    EXPECT_EQ(s.Mid(10), "");
    EXPECT_EQ(s.Mid(-3, 2), "ab");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Left(99), "abcdef");
    EXPECT_EQ(s.Right(99), "abcdef");
    EXPECT_EQ(s.Right(2), "ef");
}

TEST(CString, FindsCharactersAndTexts) {
    CString s("a=b=c;comment");
    EXPECT_EQ(s.Find('='), 1);
    EXPECT_EQ(s.Find('=', 2), 3);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.Find("c;"), 4);
    EXPECT_EQ(s.Find("=", 50), -1);
    EXPECT_EQ(s.ReverseFind('='), 3);
    EXPECT_EQ(s.FindOneOf(";="), 1);
    EXPECT_EQ(s.SpanExcluding(";"), "a=b=c");
    EXPECT_EQ(CString("123abc").SpanIncluding("0123456789"), "123");
}

TEST(CString, EditsInPlace) {
    CString s("  Hello World \t");
    s.Trim();
    EXPECT_EQ(s, "Hello World");
    EXPECT_EQ(s.Replace("o", "00"), 2);
    EXPECT_EQ(s, "Hell00 W00rld");
    EXPECT_EQ(s.Remove('0'), 4);
    EXPECT_EQ(s, "Hell Wrld");
    s.Insert(4, 'o');
    s.Insert(7, "o");
    EXPECT_EQ(s, "Hello World");
    s.Delete(5, 100);
    EXPECT_EQ(s, "Hello");
    s.MakeUpper();
    EXPECT_EQ(s, "HELLO");
    s.MakeLower().MakeReverse();
    EXPECT_EQ(s, "olleh");
    CString k("key  ");
    k.TrimRight(' ');
    EXPECT_EQ(k, "key");
    CString x("xxabcxx");
    x.TrimLeft("x");
    EXPECT_EQ(x, "abcxx");
    x.TrimRight("x");
    EXPECT_EQ(x, "abc");
}

TEST(CString, TokenizeWalksEveryTokenAndEndsWithMinusOne) {
    CString s("a,b,,c");
    int pos = 0;
    std::vector<CString> tokens;
    for (CString t = s.Tokenize(",", pos); pos != -1; t = s.Tokenize(",", pos)) tokens.push_back(t);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[2], "c");
}

TEST(CString, BufferRoundTrip) {
    CString s;
    char* p = s.GetBuffer(260);
    strcpy(p, "C:\\Pelvatro\\pelvatro.exe");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 24);
    EXPECT_EQ(s.Left(s.ReverseFind('\\')), "C:\\Pelvatro");
    p = s.GetBufferSetLength(2);
    p[1] = '!';
    s.ReleaseBuffer(2);
    EXPECT_EQ(s, "C!");
}

TEST(CString, ComparesAndConcatenates) {
    CString a("abc");
    EXPECT_TRUE(a == "abc");
    EXPECT_TRUE("abc" == a);
    EXPECT_TRUE(a != CString("abd"));
    EXPECT_TRUE(a < CString("abd"));
    EXPECT_EQ(a.CompareNoCase("ABC"), 0);
    EXPECT_LT(a.Compare("b"), 0);
    CString b = a + "-" + CString("d") + 'e';
    EXPECT_EQ(b, "abc-de");
    EXPECT_EQ('>' + a, ">abc");
    const char* nothing = nullptr;
    CString n(nothing);
    EXPECT_TRUE(n.IsEmpty());
    EXPECT_STREQ(static_cast<LPCSTR>(n), "");
}

TEST(CString, LoadsRegisteredStringResources) {
    AfxRegisterStringResource(101, "&About Pelvatro...");
    CString s;
    EXPECT_TRUE(s.LoadString(101));
    EXPECT_EQ(s, "&About Pelvatro...");
    EXPECT_FALSE(s.LoadString(9999));
    EXPECT_EQ(s, "&About Pelvatro...");
}
