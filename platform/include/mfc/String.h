// CString: the application's text type. UTF-8 inside; lengths and indexes count bytes.
#pragma once

#include <cstddef>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/winbase.h"

class PLATFORM_API CString {
public:
    CString() = default;
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    CString(LPCSTR text) : m_text(text ? text : "") {}
    CString(LPCSTR text, int length);
    CString(char ch, int repeat = 1);
    // Wide text (a BSTR, an L"..." literal) converts to UTF-8.
    CString(LPCWSTR text);
    CString(std::nullptr_t) {}
    ~CString() = default;

    CString& operator=(const CString& other) = default;
    CString& operator=(CString&& other) noexcept = default;
    CString& operator=(LPCSTR text);
    CString& operator=(char ch);
    CString& operator=(LPCWSTR text);
    CString& operator=(std::nullptr_t) {
        m_text.clear();
        return *this;
    }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    LPCSTR GetString() const { return m_text.c_str(); }
    operator LPCSTR() const { return m_text.c_str(); }

    char GetAt(int index) const;
    void SetAt(int index, char ch);
    char operator[](int index) const { return GetAt(index); }

    CString& operator+=(const CString& text);
    CString& operator+=(LPCSTR text);
    CString& operator+=(char ch);
    void Append(LPCSTR text) { *this += text; }
    void Append(LPCSTR text, int length);
    void AppendChar(char ch) { m_text.push_back(ch); }

    int Compare(LPCSTR text) const;
    int CompareNoCase(LPCSTR text) const;
    int Collate(LPCSTR text) const { return Compare(text); }
    int CollateNoCase(LPCSTR text) const { return CompareNoCase(text); }

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(LPCSTR charSet) const;
    CString SpanExcluding(LPCSTR charSet) const;
    // The next token after `start` delimited by any of `tokens`; start becomes -1 at the end.
    CString Tokenize(LPCSTR tokens, int& start) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    int Replace(char oldChar, char newChar);
    int Replace(LPCSTR oldText, LPCSTR newText);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, LPCSTR text);
    int Delete(int index, int count = 1);

    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(LPCSTR chars);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(LPCSTR chars);
    CString& Trim() { return TrimRight().TrimLeft(); }
    CString& Trim(char ch) { return TrimRight(ch).TrimLeft(ch); }
    CString& Trim(LPCSTR chars) { return TrimRight(chars).TrimLeft(chars); }

    int Find(char ch, int start = 0) const;
    int Find(LPCSTR text, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR charSet) const;

    // printf semantics; a CString argument stands for its text.
    template <class... Args>
    void Format(LPCSTR format, Args&&... args) {
        FormatRaw(format, FormatArg(std::forward<Args>(args))...);
    }
    template <class... Args>
    void AppendFormat(LPCSTR format, Args&&... args) {
        AppendFormatRaw(format, FormatArg(std::forward<Args>(args))...);
    }
    void FormatV(LPCSTR format, va_list args);
    void AppendFormatV(LPCSTR format, va_list args);

    // A writable buffer of at least minLength characters plus the terminator; ReleaseBuffer
    // takes the length back (-1: up to the first terminator).
    LPSTR GetBuffer(int minLength);
    LPSTR GetBuffer() { return GetBuffer(0); }
    LPSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void FreeExtra() { m_text.shrink_to_fit(); }

    // The text of a string resource the application registered (see mfc/Resources.h).
    BOOL LoadString(UINT id);

    const std::string& str() const { return m_text; }

    static LPCSTR FormatArg(const CString& text) { return text.GetString(); }
    template <class T>
        requires(std::is_arithmetic_v<T> || std::is_pointer_v<T> || std::is_enum_v<T> ||
                 std::is_null_pointer_v<T>)
    static T FormatArg(T value) {
        return value;
    }
    template <class T, size_t N>
    static const T* FormatArg(T (&array)[N]) {
        return array;
    }

private:
    void FormatRaw(LPCSTR format, ...);
    void AppendFormatRaw(LPCSTR format, ...);

    std::string m_text;
};

PLATFORM_API CString operator+(const CString& a, const CString& b);
PLATFORM_API CString operator+(const CString& a, LPCSTR b);
PLATFORM_API CString operator+(LPCSTR a, const CString& b);
PLATFORM_API CString operator+(const CString& a, char b);
PLATFORM_API CString operator+(char a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
inline bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return !(a == b); }
inline bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
inline bool operator!=(LPCSTR a, const CString& b) { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }
inline bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
inline bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) { return b < a; }
inline bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
inline bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
inline bool operator<=(const CString& a, const CString& b) { return !(b < a); }
inline bool operator<=(const CString& a, LPCSTR b) { return a.Compare(b) <= 0; }
inline bool operator<=(LPCSTR a, const CString& b) { return b.Compare(a) >= 0; }
inline bool operator>=(const CString& a, const CString& b) { return !(a < b); }
inline bool operator>=(const CString& a, LPCSTR b) { return a.Compare(b) >= 0; }
inline bool operator>=(LPCSTR a, const CString& b) { return b.Compare(a) <= 0; }

template <>
struct std::hash<CString> {
    size_t operator()(const CString& text) const noexcept { return std::hash<std::string>()(text.str()); }
};
