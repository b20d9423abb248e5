// CStrA2W: an ANSI text as wide-character text, for the calls that take wide text. A short-lived
// local: the source must outlive it, and the wide text must not be used after it is destroyed.
#pragma once

#include <windows.h>

class CStrA2W {
public:
    // Keeps the pointer; converts nothing yet.
    explicit CStrA2W(const char* text);
    CStrA2W(const CStrA2W&) = delete;
    CStrA2W& operator=(const CStrA2W&) = delete;
    ~CStrA2W();

    // The wide text in a buffer of 260 characters, converted on the first call and the same
    // buffer afterwards; NULL for a NULL source. A source too long for the buffer is cut to its
    // first 259 characters.
    const WCHAR* Convert();
    operator const WCHAR*() { return Convert(); }

private:
    static constexpr int kWideChars = MAX_PATH;

    WCHAR* m_pWide;
    const char* m_pText;
};
