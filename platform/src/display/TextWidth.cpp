// Terminal column widths of UTF-8 text.
#include "display/TextWidth.h"

#include "platform/winnls.h"

namespace platform::display {

int CharWidth(char32_t ch) {
    if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0)) return 0;
    if ((ch >= 0x0300 && ch <= 0x036F) || (ch >= 0x200B && ch <= 0x200F)) return 0;  // combining, zero width
    bool wide = (ch >= 0x1100 && ch <= 0x115F) || (ch >= 0x2E80 && ch <= 0x303E) || (ch >= 0x3041 && ch <= 0x33FF) ||
                (ch >= 0x3400 && ch <= 0x4DBF) || (ch >= 0x4E00 && ch <= 0x9FFF) || (ch >= 0xA000 && ch <= 0xA4CF) ||
                (ch >= 0xAC00 && ch <= 0xD7A3) || (ch >= 0xF900 && ch <= 0xFAFF) || (ch >= 0xFE30 && ch <= 0xFE4F) ||
                (ch >= 0xFF00 && ch <= 0xFF60) || (ch >= 0xFFE0 && ch <= 0xFFE6) || (ch >= 0x20000 && ch <= 0x3FFFD);
    return wide ? 2 : 1;
}

int TextWidth(const std::string& text) {
    int width = 0;
    for (wchar_t ch : platform::Utf8ToWide(text)) width += CharWidth(char32_t(ch));
    return width;
}

std::string ExpandTabs(const std::string& line) {
    std::string out;
    int column = 0;
    for (wchar_t ch : platform::Utf8ToWide(line)) {
        if (ch == L'\t') {
            int to = (column / 8 + 1) * 8;
            out.append(size_t(to - column), ' ');
            column = to;
            continue;
        }
        out += platform::WideToUtf8(std::wstring(1, ch));
        column += CharWidth(char32_t(ch));
    }
    return out;
}

}  // namespace platform::display
