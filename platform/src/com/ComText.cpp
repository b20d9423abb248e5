// Wide text conversions at the COM boundary.
#include "ComText.h"

#include <cstring>

namespace platform::com {

std::u16string ToUtf16(const std::wstring& wide) {
    std::u16string out;
    for (wchar_t w : wide) {
        uint32_t c = uint32_t(w);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out.push_back(char16_t(0xD800 + (c >> 10)));
            out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(c <= 0xFFFF ? char16_t(c) : char16_t(0xFFFD));
        }
    }
    return out;
}

std::wstring FromUtf16(const std::u16string& units) {
    std::wstring out;
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        out.push_back(wchar_t(c));
    }
    return out;
}

std::string ToUtf8(const std::wstring& wide) {
    std::string out;
    for (wchar_t w : wide) {
        uint32_t c = uint32_t(w);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (c >> 18)));
            out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

LPOLESTR TaskMemCopy(const std::wstring& text) {
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(OLECHAR)));
    if (copy) std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(OLECHAR));
    return copy;
}

}  // namespace platform::com
