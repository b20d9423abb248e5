// The fixed name buffers of the graph core.
#include "graph/NameText.h"

#include <cstring>
#include <string>

namespace {

// A byte that continues a multi-byte character of the ANSI code page (UTF-8 here).
bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

BOOL CopyNameText(char* buffer, size_t size, const char* text) {
    if (buffer == nullptr || size == 0) return FALSE;
    if (text == nullptr) text = "";
    size_t length = std::strlen(text);
    BOOL whole = TRUE;
    if (length >= size) {
        whole = FALSE;
        length = size - 1;
        while (length > 0 && IsContinuationByte(text[length])) --length;
    }
    std::memmove(buffer, text, length);
    buffer[length] = '\0';
    return whole;
}

BOOL WideToNameText(char* buffer, size_t size, const WCHAR* text) {
    if (buffer == nullptr || size == 0) return FALSE;
    buffer[0] = '\0';
    if (text == nullptr) return TRUE;
    int needed = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return FALSE;
    std::string converted(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, converted.data(), needed, nullptr, nullptr) <= 0) return FALSE;
    return CopyNameText(buffer, size, converted.c_str());
}

BOOL FriendlyNameMatches(const char* wanted, const char* found) {
    if (wanted == nullptr || found == nullptr) return FALSE;
    size_t wantedLength = std::strlen(wanted);
    size_t foundLength = std::strlen(found);
    if (wantedLength == 0 || foundLength == 0) return FALSE;
    size_t compared = wantedLength < foundLength ? wantedLength : foundLength;
    return std::memcmp(wanted, found, compared) == 0 ? TRUE : FALSE;
}
