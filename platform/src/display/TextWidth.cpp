// Terminal column widths of UTF-8 text.
#include "display/TextWidth.h"

namespace platform::display {

std::vector<char32_t> DecodeUtf8(const std::string& text) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (n == 1 || i + n > text.size()) {
            out.push_back(lead);
            ++i;
            continue;
        }
        char32_t ch = lead & (0xFF >> (n + 1));
        for (int k = 1; k < n; ++k) ch = (ch << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(ch);
        i += n;
    }
    return out;
}

std::string EncodeUtf8(char32_t ch) {
    std::string s;
    if (ch < 0x80) {
        s += char(ch);
    } else if (ch < 0x800) {
        s += char(0xC0 | (ch >> 6));
        s += char(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        s += char(0xE0 | (ch >> 12));
        s += char(0x80 | ((ch >> 6) & 0x3F));
        s += char(0x80 | (ch & 0x3F));
    } else {
        s += char(0xF0 | (ch >> 18));
        s += char(0x80 | ((ch >> 12) & 0x3F));
        s += char(0x80 | ((ch >> 6) & 0x3F));
        s += char(0x80 | (ch & 0x3F));
    }
    return s;
}

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
    for (char32_t ch : DecodeUtf8(text)) width += CharWidth(ch);
    return width;
}

std::string ExpandTabs(const std::string& line) {
    std::string out;
    int column = 0;
    for (char32_t ch : DecodeUtf8(line)) {
        if (ch == '\t') {
            int to = (column / 8 + 1) * 8;
            out.append(size_t(to - column), ' ');
            column = to;
            continue;
        }
        out += EncodeUtf8(ch);
        column += CharWidth(ch);
    }
    return out;
}

}  // namespace platform::display
