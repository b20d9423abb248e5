#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const char kChineseUtf8[] = "测试通过";
const char kChineseGbk[] = "\xB2\xE2\xCA\xD4\xCD\xA8\xB9\xFD";

}  // namespace

TEST(MultiByteToWideChar, ConvertsUtf8WithTerminatorWhenCountIsMinusOne) {
    int needed = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, kChineseUtf8, -1, nullptr, 0);
    ASSERT_EQ(needed, 5);
    wchar_t wide[8];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, kChineseUtf8, -1, wide, 8), 5);
    EXPECT_EQ(std::wstring(wide), L"测试通过");

    wchar_t noTerminator[4] = {L'x', L'x', L'x', L'x'};
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, noTerminator, 4), 3);
    EXPECT_EQ(noTerminator[3], L'x');
}

TEST(MultiByteToWideChar, ShortBufferFailsAfterFillingWhatFits) {
    wchar_t wide[3] = {};
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, kChineseUtf8, -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::wstring(wide, 3), L"测试通");

    // A source longer than a 260-character buffer: the first 260 characters arrive, so a caller
    // can cut and terminate.
    std::string longText(300, 'a');
    wchar_t buffer[260];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, longText.c_str(), -1, buffer, 260), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(buffer[259], L'a');
}

TEST(MultiByteToWideChar, InvalidUtf8FailsOnlyWhenAskedToAndIsReplacedOtherwise) {
    const char* invalid[] = {"\xC3\x28", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ab\xE6\xB5"};
    for (const char* text : invalid) {
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0), 0) << text;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_UNICODE_TRANSLATION));
    }
    wchar_t wide[4];
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\x28", -1, wide, 4), 3);
    EXPECT_EQ(wide[0], wchar_t(0xFFFD));
    EXPECT_EQ(wide[1], L'(');
}

TEST(MultiByteToWideChar, RefusesUnknownCodePagesAndEmptyInput) {
    wchar_t wide[4];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "a", -1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 0, wide, 4), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, wide, 4), 0);
}

TEST(WideCharToMultiByte, RoundTripsChineseThroughUtf8) {
    int needed = WideCharToMultiByte(CP_ACP, 0, L"测试通过", -1, nullptr, 0, nullptr, nullptr);
    ASSERT_EQ(needed, 13);
    char text[16];
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"测试通过", -1, text, 16, nullptr, nullptr), 13);
    EXPECT_STREQ(text, kChineseUtf8);
}

TEST(WideCharToMultiByte, ShortBufferFailsAndWritesOnlyWholeCharacters) {
    char text[8];
    std::memset(text, 'x', sizeof text);
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"测试", -1, text, 5, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(text, 3), "测");
    EXPECT_EQ(text[3], 'x');

    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, L"a测", -1, text, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(text[0], 'a');
    EXPECT_EQ(text[1], 'x');
}

TEST(WideCharToMultiByte, ExplicitUtf8TakesNoDefaultCharacter) {
    BOOL used = TRUE;
    char text[8];
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"a", -1, text, 8, nullptr, &used), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    // The ANSI page takes one, as it does on a station PC.
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"a", -1, text, 8, "?", &used), 2);
    EXPECT_FALSE(used);
}

TEST(Gbk, ConvertsChineseTextBothWays) {
    wchar_t wide[8];
    ASSERT_EQ(MultiByteToWideChar(CP_GBK, MB_ERR_INVALID_CHARS, kChineseGbk, 8, wide, 8), 4);
    EXPECT_EQ(std::wstring(wide, 4), L"测试通过");

    char gbk[16];
    ASSERT_EQ(WideCharToMultiByte(CP_GBK, 0, L"测试通过", -1, gbk, 16, nullptr, nullptr), 9);
    EXPECT_STREQ(gbk, kChineseGbk);

    std::string utf8, back;
    ASSERT_TRUE(platform::GbkToUtf8(kChineseGbk, &utf8));
    EXPECT_EQ(utf8, kChineseUtf8);
    ASSERT_TRUE(platform::Utf8ToGbk(utf8 + " OK\r\n", &back));
    EXPECT_EQ(back, std::string(kChineseGbk) + " OK\r\n");
}

TEST(Gbk, CharactersOutsideGbkBecomeTheDefaultCharacter) {
    char gbk[16];
    BOOL used = FALSE;
    ASSERT_EQ(WideCharToMultiByte(CP_GBK, 0, L"a\U0001F600b", -1, gbk, 16, nullptr, &used), 4);
    EXPECT_STREQ(gbk, "a?b");
    EXPECT_TRUE(used);
    ASSERT_EQ(WideCharToMultiByte(CP_GBK, 0, L"\U0001F600", -1, gbk, 16, "*", &used), 2);
    EXPECT_STREQ(gbk, "*");

    std::string out = "kept";
    EXPECT_FALSE(platform::Utf8ToGbk("\xF0\x9F\x98\x80", &out));
    EXPECT_FALSE(platform::Utf8ToGbk("\xC3\x28", &out));
    EXPECT_EQ(out, "kept");
}

TEST(Gbk, TruncatedOrInvalidBytesFailStrictlyAndAreReplacedOtherwise) {
    std::string utf8 = "kept";
    EXPECT_FALSE(platform::GbkToUtf8("\xB2\xE2\xCA", &utf8));
    EXPECT_FALSE(platform::GbkToUtf8("\xFF\x30", &utf8));
    EXPECT_EQ(utf8, "kept");

    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_GBK, MB_ERR_INVALID_CHARS, "\xB2\xE2\xCA", 3, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_UNICODE_TRANSLATION));
    wchar_t wide[4];
    ASSERT_EQ(MultiByteToWideChar(CP_GBK, 0, "\xB2\xE2\xCA", 3, wide, 4), 2);
    EXPECT_EQ(wide[0], L'测');
    EXPECT_EQ(wide[1], wchar_t(0xFFFD));
}

TEST(WideText, Utf16CarriesSupplementaryCharactersAsSurrogatePairs) {
    std::wstring wide = L"A测\U0001F600";
    std::u16string utf16 = platform::WideToUtf16(wide);
    EXPECT_EQ(utf16, u"A测\xD83D\xDE00");
    EXPECT_EQ(platform::Utf16ToWide(utf16), wide);
    EXPECT_EQ(platform::Utf16ToWide(u"a\xD800z"), std::wstring(L"a\xFFFDz"));
    EXPECT_EQ(platform::WideToUtf16(std::wstring(1, wchar_t(0x110000))), u"\xFFFD");
}

TEST(WideText, Utf8HelpersRoundTripAndCheckValidity) {
    std::wstring wide = L"ConfigTest 测试 \U0001F600";
    EXPECT_EQ(platform::Utf8ToWide(platform::WideToUtf8(wide)), wide);
    EXPECT_TRUE(platform::IsValidUtf8(kChineseUtf8));
    EXPECT_TRUE(platform::IsValidUtf8(""));
    EXPECT_FALSE(platform::IsValidUtf8(kChineseGbk));
    EXPECT_FALSE(platform::IsValidUtf8("\xED\xA0\x80"));
    EXPECT_EQ(platform::Utf8ToWide("a\xFF"), std::wstring(L"a\xFFFD"));
    EXPECT_EQ(platform::Utf8ToWide("\xE6\xB5X"), std::wstring(L"\xFFFDX")) << "a cut sequence keeps what follows";
    EXPECT_EQ(platform::Utf8ToWide("\xC0\xAF"), std::wstring(L"\xFFFD\xFFFD")) << "an overlong form is no character";
}
