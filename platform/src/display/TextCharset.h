// Text for the operator's terminal in the character set of the locale it was started under
// (a GBK or GB18030 terminal, say), from and to the UTF-8 the program holds. Internal.
#pragma once

#include <iconv.h>

#include <string>

namespace platform::display {

// The character set of the environment's locale (LC_ALL, LC_CTYPE, LANG) as iconv names it, or
// empty where text goes out as it is held, in UTF-8: a UTF-8 locale, C or POSIX, a locale that
// is not installed. The program's own locale stays C: numbers and the rest are not touched.
std::string LocaleCharset();

class TextCharset {
public:
    // An empty charset, UTF-8, or one iconv does not know: text passes as it is.
    explicit TextCharset(const std::string& charset);
    ~TextCharset();
    TextCharset(const TextCharset&) = delete;
    TextCharset& operator=(const TextCharset&) = delete;

    // UTF-8 text in the charset. A character the charset lacks is written as a like one it has
    // (a plain corner for a round one, ASCII for lines, shades and arrows), else as '?' for each
    // column it takes, so a terminal's columns stay where they were. Valid until the next call.
    const std::string& Encode(const std::string& utf8);
    // Bytes read from a terminal of the charset, as UTF-8; a character cut off at the end waits
    // for the rest, a byte that starts none is dropped. Valid until the next call.
    const std::string& Decode(const char* bytes, size_t size);

private:
    // Appends the charset's form of `utf8`; false when it lacks a character of it.
    bool Append(const char* utf8, size_t size);
    void AppendLike(char32_t ch);

    iconv_t m_to = iconv_t(-1);
    iconv_t m_from = iconv_t(-1);
    std::string m_out;
    std::string m_read;  // bytes read, a cut-off character at their end kept for the next read
    std::string m_keys;
};

}  // namespace platform::display
