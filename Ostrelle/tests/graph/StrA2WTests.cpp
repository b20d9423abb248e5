// CStrA2W: ANSI (UTF-8) text to wide text in a 260-character buffer, converted once.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "graph/StrA2W.h"

namespace {

TEST(CStrA2WTest, NullSourceGivesNull) {
    CStrA2W text(nullptr);
    EXPECT_EQ(nullptr, text.Convert());
    EXPECT_EQ(nullptr, static_cast<const WCHAR*>(text));
}

TEST(CStrA2WTest, ConvertsOnceAndAnswersTheSameBuffer) {
    std::string source = "Video Capture";
    CStrA2W text(source.c_str());
    const WCHAR* first = text.Convert();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(std::wstring(L"Video Capture"), first);
    source[0] = 'X';  // converted already: the wide text does not follow the source
    EXPECT_EQ(first, text.Convert());
    EXPECT_EQ(std::wstring(L"Video Capture"), static_cast<const WCHAR*>(text));
}

TEST(CStrA2WTest, ConvertsChineseText) {
    CStrA2W text("烧写完成，请重新启动电脑。");
    EXPECT_EQ(std::wstring(L"烧写完成，请重新启动电脑。"), text.Convert());
}

TEST(CStrA2WTest, KeepsTheFirst259CharactersOfALongerSourceTerminated) {
    std::string fits(259, 'a');
    CStrA2W whole(fits.c_str());
    EXPECT_EQ(std::wstring(259, L'a'), whole.Convert());

    for (size_t length : {260u, 261u, 1000u}) {
        std::string source;
        for (size_t i = 0; i < length; ++i) source += static_cast<char>('A' + i % 26);
        CStrA2W text(source.c_str());
        const WCHAR* wide = text.Convert();
        ASSERT_NE(nullptr, wide);
        ASSERT_EQ(259u, std::wcslen(wide)) << length;
        for (size_t i = 0; i < 259; ++i) ASSERT_EQ(static_cast<WCHAR>(source[i]), wide[i]) << length;
    }

    std::string chinese;
    for (int i = 0; i < 300; ++i) chinese += "卡";
    CStrA2W text(chinese.c_str());
    EXPECT_EQ(std::wstring(259, L'卡'), text.Convert());
}

}  // namespace
