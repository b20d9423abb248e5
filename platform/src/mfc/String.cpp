// CString: UTF-8 text with the operations the application's code uses.
#include "mfc/String.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "mfc/Resources.h"
#include "platform/winnls.h"

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f'; }

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

std::string VFormat(LPCSTR format, va_list args) {
    if (!format) return std::string();
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int needed = vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0) return std::string();
    if (needed < static_cast<int>(sizeof small)) return std::string(small, needed);
    std::string out(static_cast<size_t>(needed) + 1, '\0');
    vsnprintf(out.data(), out.size(), format, args);
    out.resize(needed);
    return out;
}

}  // namespace

CString::CString(LPCSTR text, int length) {
    if (text && length > 0) m_text.assign(text, strnlen(text, length));
}

CString::CString(char ch, int repeat) {
    if (repeat > 0) m_text.assign(repeat, ch);
}

CString::CString(LPCWSTR text) {
    if (text) m_text = platform::WideToUtf8(text);
}

CString& CString::operator=(LPCWSTR text) {
    m_text = text ? platform::WideToUtf8(text) : std::string();
    return *this;
}

CString& CString::operator=(LPCSTR text) {
    m_text = text ? text : "";
    return *this;
}

CString& CString::operator=(char ch) {
    m_text.assign(1, ch);
    return *this;
}

char CString::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) return '\0';
    return m_text[index];
}

void CString::SetAt(int index, char ch) {
    if (index >= 0 && index < GetLength()) m_text[index] = ch;
}

CString& CString::operator+=(const CString& text) {
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(LPCSTR text) {
    if (text) m_text += text;
    return *this;
}

CString& CString::operator+=(char ch) {
    m_text.push_back(ch);
    return *this;
}

void CString::Append(LPCSTR text, int length) {
    if (text && length > 0) m_text.append(text, strnlen(text, length));
}

int CString::Compare(LPCSTR text) const {
    int r = strcmp(m_text.c_str(), text ? text : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(LPCSTR text) const {
    int r = strcasecmp(m_text.c_str(), text ? text : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(m_text.substr(first, count).c_str(), count);
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
    count = Clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(LPCSTR charSet) const {
    size_t n = strspn(m_text.c_str(), charSet ? charSet : "");
    return Left(static_cast<int>(n));
}

CString CString::SpanExcluding(LPCSTR charSet) const {
    size_t n = strcspn(m_text.c_str(), charSet ? charSet : "");
    return Left(static_cast<int>(n));
}

CString CString::Tokenize(LPCSTR tokens, int& start) const {
    if (start < 0 || !tokens) {
        start = -1;
        return CString();
    }
    size_t begin = m_text.find_first_not_of(tokens, start);
    if (begin == std::string::npos) {
        start = -1;
        return CString();
    }
    size_t end = m_text.find_first_of(tokens, begin);
    if (end == std::string::npos) end = m_text.size();
    start = static_cast<int>(std::min(end + 1, m_text.size() + 1));
    return Mid(static_cast<int>(begin), static_cast<int>(end - begin));
}

CString& CString::MakeUpper() {
    for (char& ch : m_text) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
    return *this;
}

CString& CString::MakeLower() {
    for (char& ch : m_text) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(m_text.begin(), m_text.end());
    return *this;
}

int CString::Replace(char oldChar, char newChar) {
    int count = 0;
    for (char& ch : m_text) {
        if (ch == oldChar) {
            ch = newChar;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCSTR oldText, LPCSTR newText) {
    if (!oldText || !*oldText) return 0;
    std::string from(oldText), to(newText ? newText : "");
    int count = 0;
    size_t pos = 0;
    while ((pos = m_text.find(from, pos)) != std::string::npos) {
        m_text.replace(pos, from.size(), to);
        pos += to.size();
        ++count;
    }
    return count;
}

int CString::Remove(char ch) {
    size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, char ch) {
    m_text.insert(m_text.begin() + Clamp(index, 0, GetLength()), ch);
    return GetLength();
}

int CString::Insert(int index, LPCSTR text) {
    if (text) m_text.insert(Clamp(index, 0, GetLength()), text);
    return GetLength();
}

int CString::Delete(int index, int count) {
    index = Clamp(index, 0, GetLength());
    count = Clamp(count, 0, GetLength() - index);
    m_text.erase(index, count);
    return GetLength();
}

CString& CString::TrimLeft() {
    size_t n = 0;
    while (n < m_text.size() && IsBlank(m_text[n])) ++n;
    m_text.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(char ch) {
    size_t n = 0;
    while (n < m_text.size() && m_text[n] == ch) ++n;
    m_text.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(LPCSTR chars) {
    size_t n = m_text.find_first_not_of(chars ? chars : "");
    m_text.erase(0, n == std::string::npos ? m_text.size() : n);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_text.empty() && IsBlank(m_text.back())) m_text.pop_back();
    return *this;
}

CString& CString::TrimRight(char ch) {
    while (!m_text.empty() && m_text.back() == ch) m_text.pop_back();
    return *this;
}

CString& CString::TrimRight(LPCSTR chars) {
    size_t n = m_text.find_last_not_of(chars ? chars : "");
    m_text.erase(n == std::string::npos ? 0 : n + 1);
    return *this;
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    size_t pos = m_text.find(ch, start);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCSTR text, int start) const {
    if (!text || start < 0 || start > GetLength()) return -1;
    size_t pos = m_text.find(text, start);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
    size_t pos = m_text.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCSTR charSet) const {
    size_t pos = m_text.find_first_of(charSet ? charSet : "");
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

void CString::FormatV(LPCSTR format, va_list args) { m_text = VFormat(format, args); }

void CString::AppendFormatV(LPCSTR format, va_list args) { m_text += VFormat(format, args); }

void CString::FormatRaw(LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormatRaw(LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

LPSTR CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) m_text.resize(minLength);
    return m_text.data();
}

LPSTR CString::GetBufferSetLength(int length) {
    m_text.resize(std::max(length, 0));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) newLength = static_cast<int>(strnlen(m_text.c_str(), m_text.size()));
    m_text.resize(std::min<size_t>(newLength, m_text.size()));
}

BOOL CString::LoadString(UINT id) {
    LPCSTR text = AfxFindStringResource(id);
    if (!text) return FALSE;
    m_text = text;
    return TRUE;
}

CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCSTR b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, char b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(char a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
