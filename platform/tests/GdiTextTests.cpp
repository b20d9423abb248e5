// Text through FreeType: the dialog font's metrics, placement, CJK glyphs, and DrawText's layout.
// Checked for placement and extents only, never for anti-aliased pixels.
#include <gtest/gtest.h>

#include <cstring>

#include "GdiTestSurfaces.h"

namespace {

// The box of every pixel that is not the background.
RECT InkBox(TestSurface& s, uint32_t background) {
    RECT box{s.width, s.height, -1, -1};
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if ((s.At(x, y) & 0xFFFFFF) != background) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

HFONT Font(LONG height, const char* face, LONG weight = FW_NORMAL) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

TEST(GdiText, TheDialogFontGivesTheLandedDialogBaseUnits) {
    TestSurface s(4, 4);
    HGDIOBJ old = SelectObject(s.dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(s.dc, &tm));
    SIZE letters{};
    ASSERT_TRUE(GetTextExtentPoint32A(s.dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters));
    // The rule: the average width of the 52 Latin letters, rounded; the character cell's height.
    EXPECT_EQ((letters.cx / 26 + 1) / 2, 6);
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11) << "character height 11";
    LOGFONTA back{};
    ASSERT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof back, &back), int(sizeof back));
    EXPECT_STREQ(back.lfFaceName, "MS Shell Dlg");
    SelectObject(s.dc, old);
}

TEST(GdiText, CentredSingleLineTextSitsInTheMiddle) {
    TestSurface s(120, 40);
    s.Fill(0xFFFFFF);
    HFONT font = Font(-12, "宋体");
    HGDIOBJ old = SelectObject(s.dc, font);
    SetBkMode(s.dc, TRANSPARENT);
    RECT r{10, 5, 110, 35};
    DrawTextA(s.dc, "测试", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RECT ink = InkBox(s, 0xFFFFFF);
    ASSERT_LT(ink.left, ink.right);
    EXPECT_LE(std::abs((ink.left + ink.right) - (r.left + r.right)), 2) << "horizontally within one pixel";
    EXPECT_LE(std::abs((ink.top + ink.bottom) - (r.top + r.bottom)), 2) << "vertically within one pixel";
    SelectObject(s.dc, old);
    DeleteObject(font);
}

TEST(GdiText, ChineseComesFromTheCjkFontNotTheMissingGlyphBox) {
    TestSurface s(200, 30);
    HFONT font = Font(-14, "Arial");  // a Latin face: Chinese falls back to the CJK font
    HGDIOBJ old = SelectObject(s.dc, font);
    SIZE one{}, two{};
    GetTextExtentPoint32A(s.dc, "测", -1, &one);
    GetTextExtentPoint32A(s.dc, "测试", -1, &two);
    EXPECT_GT(one.cx, 8);
    EXPECT_NEAR(double(two.cx) / one.cx, 2.0, 0.15);
    auto inkOf = [&](const char* text) {
        s.Fill(0xFFFFFF);
        SetBkMode(s.dc, TRANSPARENT);
        TextOutA(s.dc, 2, 2, text, -1);
        return std::vector<uint32_t>(s.bits, s.bits + s.width * s.height);
    };
    auto ce = inkOf("测"), shi = inkOf("试"), box = inkOf("\xEE\x80\x80");  // U+E000: no font has it
    EXPECT_NE(ce, shi) << "two characters, two glyphs";
    EXPECT_NE(ce, box);
    EXPECT_NE(shi, box);
    SelectObject(s.dc, old);
    DeleteObject(font);
}

TEST(GdiText, DrawTextBreaksLinesExpandsTabsAndMeasures) {
    TestSurface s(200, 60);
    s.Fill(0xFFFFFF);
    HGDIOBJ old = SelectObject(s.dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(s.dc, &tm);
    RECT calc{0, 0, 200, 0};
    EXPECT_EQ(DrawTextA(s.dc, "a\tb\r\nline two", -1, &calc, DT_EXPANDTABS | DT_CALCRECT), 2 * tm.tmHeight);
    EXPECT_EQ(calc.bottom, 2 * tm.tmHeight);
    SetBkMode(s.dc, TRANSPARENT);
    RECT r{0, 0, 200, 60};
    DrawTextA(s.dc, "\tb", -1, &r, DT_EXPANDTABS);
    RECT ink = InkBox(s, 0xFFFFFF);
    EXPECT_GE(ink.left, 8 * tm.tmAveCharWidth) << "the tab stops every 8 average characters";
    EXPECT_LT(ink.left, 8 * tm.tmAveCharWidth + 3);
    // '&' marks the next character; "&&" is one '&'; DT_NOPREFIX keeps them.
    SIZE plain{};
    GetTextExtentPoint32A(s.dc, "Ok", -1, &plain);
    RECT p{0, 0, 200, 0};
    DrawTextA(s.dc, "&Ok", -1, &p, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(p.right, plain.cx);
    RECT np{0, 0, 200, 0};
    DrawTextA(s.dc, "&Ok", -1, &np, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(np.right, plain.cx);
    // Word breaking keeps words whole and stacks the lines.
    RECT narrow{0, 0, 30, 0};
    int height = DrawTextA(s.dc, "one two three", -1, &narrow, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(height, 3 * tm.tmHeight);
    SelectObject(s.dc, old);
}

TEST(GdiText, HeavierThanTheHeaviestIsDrawnBoldNotRefused) {
    HFONT heavy = Font(-12, "宋体", 1200);
    ASSERT_NE(heavy, nullptr);
    LOGFONTA back{};
    GetObjectA(heavy, sizeof back, &back);
    EXPECT_EQ(back.lfWeight, 1200) << "kept as asked";
    TestSurface s(80, 20);
    HGDIOBJ old = SelectObject(s.dc, heavy);
    TEXTMETRICA tm{};
    GetTextMetricsA(s.dc, &tm);
    EXPECT_GE(tm.tmWeight, FW_BOLD);
    SelectObject(s.dc, old);
    DeleteObject(heavy);
}

}  // namespace
