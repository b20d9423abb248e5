// GUID parsing and formatting.
#include <cstdio>

#include "platform/guid.h"

namespace platform {

bool ParseGuid(const char* text, GUID* out) {
    if (!text || !out) return false;
    std::string s(text);
    if (s.size() == 38 && s.front() == '{' && s.back() == '}') s = s.substr(1, 36);
    if (s.size() != 36 || s[8] != '-' || s[13] != '-' || s[18] != '-' || s[23] != '-') return false;
    auto hex = [&](size_t pos, size_t n, unsigned long long* v) {
        *v = 0;
        for (size_t i = pos; i < pos + n; ++i) {
            char c = s[i];
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else return false;
            *v = (*v << 4) | unsigned(d);
        }
        return true;
    };
    unsigned long long v;
    GUID g{};
    if (!hex(0, 8, &v)) return false;
    g.Data1 = DWORD(v);
    if (!hex(9, 4, &v)) return false;
    g.Data2 = WORD(v);
    if (!hex(14, 4, &v)) return false;
    g.Data3 = WORD(v);
    const size_t bytePos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        if (!hex(bytePos[i], 2, &v)) return false;
        g.Data4[i] = BYTE(v);
    }
    *out = g;
    return true;
}

std::string FormatGuid(REFGUID g) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned(g.Data1),
                  unsigned(g.Data2), unsigned(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                  g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

}  // namespace platform
