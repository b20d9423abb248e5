// MultiByteToWideChar and WideCharToMultiByte. The ANSI code pages are UTF-8; code page 936 is
// GBK through iconv. Wide characters are UTF-32 code units.
#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/winnls.h"

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;
constexpr char32_t kReplacement = 0xFFFD;

bool IsScalar(char32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// Decodes one character at s[0..n). Returns the bytes it takes; an invalid sequence gives
// kInvalid and the length of its longest valid-looking start, so decoding resumes after it.
size_t DecodeUtf8(const unsigned char* s, size_t n, char32_t* cp) {
    unsigned char b = s[0];
    if (b < 0x80) {
        *cp = b;
        return 1;
    }
    size_t len;
    char32_t c;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        c = b & 0x0F;
        if (b == 0xE0) lo = 0xA0;
        if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        c = b & 0x07;
        if (b == 0xF0) lo = 0x90;
        if (b == 0xF4) hi = 0x8F;
    } else {
        *cp = kInvalid;
        return 1;
    }
    for (size_t i = 1; i < len; ++i) {
        if (i >= n || s[i] < lo || s[i] > hi) {
            *cp = kInvalid;
            return i;
        }
        c = (c << 6) | (s[i] & 0x3F);
        lo = 0x80;
        hi = 0xBF;
    }
    *cp = c;
    return len;
}

void EncodeUtf8(char32_t c, std::string* out) {
    if (c < 0x80) {
        out->push_back(char(c));
    } else if (c < 0x800) {
        out->push_back(char(0xC0 | (c >> 6)));
        out->push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(char(0xE0 | (c >> 12)));
        out->push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(char(0x80 | (c & 0x3F)));
    } else {
        out->push_back(char(0xF0 | (c >> 18)));
        out->push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(char(0x80 | (c & 0x3F)));
    }
}

// UTF-8 to wide; an invalid sequence fails when strict, else becomes U+FFFD.
bool Utf8ToWideText(std::string_view in, std::wstring* out, bool strict) {
    const auto* s = reinterpret_cast<const unsigned char*>(in.data());
    for (size_t i = 0; i < in.size();) {
        char32_t c;
        i += DecodeUtf8(s + i, in.size() - i, &c);
        if (c == kInvalid) {
            if (strict) return false;
            c = kReplacement;
        }
        out->push_back(wchar_t(c));
    }
    return true;
}

// Wide to UTF-8; a value that is no Unicode scalar becomes U+FFFD. Returns false when one did.
bool WideToUtf8Text(std::wstring_view in, std::string* out) {
    bool clean = true;
    for (wchar_t w : in) {
        char32_t c = char32_t(w);
        if (!IsScalar(c)) {
            c = kReplacement;
            clean = false;
        }
        EncodeUtf8(c, out);
    }
    return clean;
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (cd_ != iconv_t(-1)) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts `in`, appending to `out`. On a sequence that does not convert, `onBad` gets the
    // unconverted rest and returns how many bytes to skip after appending a replacement to `out`,
    // or 0 to give up. Returns false when the conversion gave up.
    template <class OnBad>
    bool Convert(std::string_view in, std::string* out, OnBad onBad) {
        if (cd_ == iconv_t(-1)) return false;
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char chunk[256];
        while (srcLeft > 0) {
            char* dst = chunk;
            size_t dstLeft = sizeof chunk;
            size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            int err = errno;
            out->append(chunk, size_t(dst - chunk));
            if (rc != size_t(-1) || err == E2BIG) continue;
            size_t skip = onBad(std::string_view(src, srcLeft));
            if (skip == 0) return false;
            skip = std::min(skip, srcLeft);
            src += skip;
            srcLeft -= skip;
        }
        return true;
    }

private:
    iconv_t cd_;
};

// GBK to UTF-8; a byte that starts no GBK character fails when strict, else becomes U+FFFD.
bool GbkToUtf8Text(std::string_view gbk, std::string* utf8, bool strict) {
    Iconv cv("UTF-8", "GBK");
    return cv.Convert(gbk, utf8, [&](std::string_view) -> size_t {
        if (strict) return 0;
        EncodeUtf8(kReplacement, utf8);
        return 1;
    });
}

// UTF-8 to GBK; a character GBK lacks fails when `fallback` is empty, else becomes `fallback`.
bool Utf8ToGbkText(std::string_view utf8, std::string* gbk, std::string_view fallback, bool* usedFallback) {
    Iconv cv("GBK", "UTF-8");
    return cv.Convert(utf8, gbk, [&](std::string_view rest) -> size_t {
        if (fallback.empty()) return 0;
        gbk->append(fallback);
        if (usedFallback) *usedFallback = true;
        char32_t c;
        return DecodeUtf8(reinterpret_cast<const unsigned char*>(rest.data()), rest.size(), &c);
    });
}

enum class Codec { Utf8, Gbk, None };

Codec CodecOf(UINT codePage) {
    switch (codePage) {
    case CP_ACP:
    case CP_OEMCP:
    case CP_THREAD_ACP:
    case CP_UTF8:
        return Codec::Utf8;
    case CP_GBK:
        return Codec::Gbk;
    default:
        return Codec::None;
    }
}

// Bytes of the longest run of whole characters of `text` that fits in `size` bytes.
size_t WholeCharacters(Codec codec, std::string_view text, size_t size) {
    if (codec == Codec::Utf8) {
        while (size > 0 && size < text.size() && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
        return size;
    }
    size_t end = 0;
    while (end < text.size()) {
        size_t next = end + (static_cast<unsigned char>(text[end]) < 0x80 ? 1 : 2);
        if (next > size) break;
        end = next;
    }
    return end;
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                        int wideCount) {
    Codec codec = CodecOf(codePage);
    if (codec == Codec::None || !multiByte || multiByteCount == 0 || wideCount < 0 || (wideCount > 0 && !wide) ||
        static_cast<const void*>(multiByte) == static_cast<const void*>(wide))
        return Fail(ERROR_INVALID_PARAMETER);
    size_t length = multiByteCount < 0 ? std::strlen(multiByte) + 1 : size_t(multiByteCount);
    std::string_view in(multiByte, length);
    bool strict = (flags & MB_ERR_INVALID_CHARS) != 0;

    std::string utf8;
    if (codec == Codec::Gbk) {
        if (!GbkToUtf8Text(in, &utf8, strict)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
        in = utf8;
    }
    std::wstring out;
    if (!Utf8ToWideText(in, &out, strict)) return Fail(ERROR_NO_UNICODE_TRANSLATION);

    if (wideCount == 0) return int(out.size());
    if (out.size() > size_t(wideCount)) {
        std::wmemcpy(wide, out.data(), size_t(wideCount));
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::wmemcpy(wide, out.data(), out.size());
    return int(out.size());
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                        int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    Codec codec = CodecOf(codePage);
    if (codec == Codec::None || !wide || wideCount == 0 || multiByteCount < 0 ||
        (multiByteCount > 0 && !multiByte) || static_cast<const void*>(multiByte) == static_cast<const void*>(wide))
        return Fail(ERROR_INVALID_PARAMETER);
    // Explicit UTF-8 has no default character; the ANSI pages take one, as a DBCS page does.
    if (codePage == CP_UTF8 && (defaultChar || usedDefaultChar)) return Fail(ERROR_INVALID_PARAMETER);
    size_t length = wideCount < 0 ? std::wcslen(wide) + 1 : size_t(wideCount);

    std::string out;
    bool usedDefault = !WideToUtf8Text(std::wstring_view(wide, length), &out);
    if (codec == Codec::Gbk) {
        std::string_view fallback = "?";
        if (defaultChar && defaultChar[0]) {
            bool doubleByte = static_cast<unsigned char>(defaultChar[0]) >= 0x81 && defaultChar[1];
            fallback = std::string_view(defaultChar, doubleByte ? 2 : 1);
        }
        std::string gbk;
        usedDefault = false;
        if (!Utf8ToGbkText(out, &gbk, fallback, &usedDefault)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
        out.swap(gbk);
    }
    if (usedDefaultChar) *usedDefaultChar = usedDefault ? TRUE : FALSE;

    if (multiByteCount == 0) return int(out.size());
    if (out.size() > size_t(multiByteCount)) {
        std::memcpy(multiByte, out.data(), WholeCharacters(codec, out, size_t(multiByteCount)));
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(multiByte, out.data(), out.size());
    return int(out.size());
}

namespace platform {

bool GbkToUtf8(const std::string& gbk, std::string* utf8) {
    std::string out;
    if (!GbkToUtf8Text(gbk, &out, true)) return false;
    *utf8 = std::move(out);
    return true;
}

bool Utf8ToGbk(const std::string& utf8, std::string* gbk) {
    if (!IsValidUtf8(utf8)) return false;
    std::string out;
    if (!Utf8ToGbkText(utf8, &out, {}, nullptr)) return false;
    *gbk = std::move(out);
    return true;
}

size_t Utf8SequenceLength(const unsigned char* s, size_t n) {
    if (n == 0) return 0;
    char32_t c;
    size_t length = DecodeUtf8(s, n, &c);
    return c == kInvalid ? 0 : length;
}

bool IsValidUtf8(const std::string& text) {
    std::wstring ignored;
    return Utf8ToWideText(text, &ignored, true);
}

std::u16string WideToUtf16(const std::wstring& wide) {
    std::u16string out;
    out.reserve(wide.size());
    for (wchar_t w : wide) {
        char32_t c = char32_t(w);
        if (!IsScalar(c)) c = kReplacement;
        if (c < 0x10000) {
            out.push_back(char16_t(c));
        } else {
            c -= 0x10000;
            out.push_back(char16_t(0xD800 + (c >> 10)));
            out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
        }
    }
    return out;
}

std::wstring Utf16ToWide(const std::u16string& utf16) {
    std::wstring out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        out.push_back(wchar_t(c));
    }
    return out;
}

std::string WideToUtf8(const std::wstring& wide) {
    std::string out;
    WideToUtf8Text(wide, &out);
    return out;
}

std::wstring Utf8ToWide(const std::string& utf8) {
    std::wstring out;
    Utf8ToWideText(utf8, &out, false);
    return out;
}

}  // namespace platform
