// The terminal's character set: iconv from and to UTF-8, and the like characters written for
// those a charset lacks.
#include "display/TextCharset.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cerrno>

#include "display/TextWidth.h"
#include "platform/display.h"
#include "platform/winnls.h"

namespace platform::display {

namespace {

// Characters the displays draw with, and what stands for them in a charset that lacks them: of
// the same width, the first the charset has.
struct Like {
    char32_t ch;
    const char* like[3];
};
constexpr Like kLikes[] = {
    {U'╭', {"┌", "+"}}, {U'╮', {"┐", "+"}}, {U'╰', {"└", "+"}}, {U'╯', {"┘", "+"}},
    {U'┌', {"+"}},      {U'┐', {"+"}},      {U'└', {"+"}},      {U'┘', {"+"}},
    {U'├', {"+"}},      {U'┤', {"+"}},      {U'┬', {"+"}},      {U'┴', {"+"}},
    {U'┼', {"+"}},      {U'─', {"-"}},      {U'━', {"─", "-"}}, {U'═', {"─", "="}},
    {U'│', {"|"}},      {U'┃', {"│", "|"}}, {U'║', {"│", "|"}}, {U'█', {"#"}},
    {U'▓', {"█", "#"}}, {U'▒', {"#"}},      {U'░', {"-"}},      {U'▶', {"►", ">"}},
    {U'◀', {"◄", "<"}}, {U'▲', {"^"}},      {U'▼', {"v"}},      {U'↑', {"^"}},
    {U'↓', {"v"}},      {U'→', {">"}},      {U'←', {"<"}},      {U'•', {"·", "*"}},
    {U'·', {"."}},      {U'…', {"."}},      {U'✓', {"√", "v"}}, {U'✗', {"×", "x"}},
    {U'–', {"-"}},      {U'—', {"-"}},      {U'‘', {"'"}},      {U'’', {"'"}},
    {U'“', {"\""}},     {U'”', {"\""}},
};

// The character UTF-8 text starts with, and its length; U+FFFD and one byte where no whole
// character starts.
char32_t FirstCharacter(const char* text, const char* end, size_t* size) {
    *size = Utf8SequenceLength(reinterpret_cast<const unsigned char*>(text), size_t(end - text));
    if (*size == 0) {
        *size = 1;
        return U'\uFFFD';
    }
    return char32_t(Utf8ToWide(std::string(text, *size)).at(0));
}

}  // namespace

std::string LocaleCharset() {
    locale_t locale = newlocale(LC_CTYPE_MASK, "", locale_t(0));
    if (!locale) return "";
    std::string charset = nl_langinfo_l(CODESET, locale);
    freelocale(locale);
    return charset == "UTF-8" || charset == "ANSI_X3.4-1968" ? "" : charset;
}

TextCharset::TextCharset(const std::string& charset) {
    if (charset.empty() || charset == "UTF-8") return;
    m_to = iconv_open(charset.c_str(), "UTF-8");
    m_from = iconv_open("UTF-8", charset.c_str());
}

TextCharset::~TextCharset() {
    if (m_to != iconv_t(-1)) iconv_close(m_to);
    if (m_from != iconv_t(-1)) iconv_close(m_from);
}

// Converts into `out` from `in` on until the end or a character the charset lacks (or a sequence
// cut off: `*error` EILSEQ or EINVAL); returns where it stopped. The output keeps its capacity
// from call to call, and grows a bounded step at a time.
static const char* Convert(iconv_t cd, const char* from, const char* end, std::string& out, int* error = nullptr) {
    char* in = const_cast<char*>(from);
    size_t inLeft = size_t(end - from);
    for (;;) {
        size_t used = out.size();
        out.resize(used + std::min<size_t>(inLeft * 2 + 16, 4096));  // more as iconv asks (E2BIG)
        char* to = out.data() + used;
        size_t toLeft = out.size() - used;
        size_t done = in ? iconv(cd, &in, &inLeft, &to, &toLeft) : iconv(cd, nullptr, nullptr, &to, &toLeft);
        int failed = done == size_t(-1) ? errno : 0;
        out.resize(size_t(to - out.data()));
        if (!failed && in) in = nullptr;  // all converted: the shift state back to its start
        else if (failed != E2BIG) {
            if (error) *error = failed;
            break;
        }
    }
    return in ? in : end;
}

bool TextCharset::Append(const char* utf8, size_t size) {
    size_t before = m_out.size();
    if (Convert(m_to, utf8, utf8 + size, m_out) == utf8 + size) return true;
    m_out.resize(before);
    return false;
}

void TextCharset::AppendLike(char32_t ch) {
    for (const Like& like : kLikes) {
        if (like.ch != ch) continue;
        for (const char* other : like.like)
            if (other && Append(other, std::char_traits<char>::length(other))) return;
    }
    m_out.append(size_t(CharWidth(ch)), '?');
}

const std::string& TextCharset::Encode(const std::string& utf8) {
    if (m_to == iconv_t(-1)) return m_out.assign(utf8);
    m_out.clear();
    const char* end = utf8.data() + utf8.size();
    for (const char* at = Convert(m_to, utf8.data(), end, m_out); at < end; at = Convert(m_to, at, end, m_out)) {
        size_t size = 0;
        AppendLike(FirstCharacter(at, end, &size));
        at += size;
    }
    return m_out;
}

const std::string& TextCharset::Decode(const char* bytes, size_t size) {
    if (m_from == iconv_t(-1)) return m_keys.assign(bytes, size);
    m_read.append(bytes, size);
    m_keys.clear();
    const char* end = m_read.data() + m_read.size();
    const char* at = m_read.data();
    for (int error = 0;; error = 0) {
        at = Convert(m_from, at, end, m_keys, &error);
        if (at == end || error != EILSEQ) break;
        ++at;  // a byte that starts no character
    }
    m_read.erase(0, size_t(at - m_read.data()));
    return m_keys;
}

}  // namespace platform::display

namespace platform {

std::string TextInCharset(const std::string& utf8, const std::string& charset) {
    return display::TextCharset(charset).Encode(utf8);
}

}  // namespace platform
