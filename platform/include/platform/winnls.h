// Text conversion: the ANSI code page is UTF-8; GBK for the station's text files.
#pragma once

#include <string>

#include "platform/winbase.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF8 65001
#define CP_GBK 936
#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400

// Wide text is wchar_t (UTF-32 here); the count of wide characters is in wchar_t units.
PLATFORM_API int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount,
                                     LPWSTR wide, int wideCount);
PLATFORM_API int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                                     int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar);

namespace platform {
// GBK <-> UTF-8. Return false on a sequence that does not convert.
PLATFORM_API bool GbkToUtf8(const std::string& gbk, std::string* utf8);
PLATFORM_API bool Utf8ToGbk(const std::string& utf8, std::string* gbk);
PLATFORM_API bool IsValidUtf8(const std::string& text);
// The bytes of the whole UTF-8 character at s[0..n) (1 for ASCII), or 0 when none starts there.
PLATFORM_API size_t Utf8SequenceLength(const unsigned char* s, size_t n);
// UTF-16 little-endian bytes of a wide text, as it enters a file or a byte record.
PLATFORM_API std::u16string WideToUtf16(const std::wstring& wide);
PLATFORM_API std::wstring Utf16ToWide(const std::u16string& utf16);
PLATFORM_API std::string WideToUtf8(const std::wstring& wide);
PLATFORM_API std::wstring Utf8ToWide(const std::string& utf8);
}  // namespace platform
