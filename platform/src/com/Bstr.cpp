// BSTR: a wide text with its length in bytes kept in the word in front of the first character.
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "oleauto.h"

namespace {

// The allocation: [UINT byte length][characters...][terminator]. The length word sits right in
// front of the characters, so the BSTR itself is the address after it.
constexpr size_t kHeader = sizeof(OLECHAR) > sizeof(UINT) ? sizeof(OLECHAR) : sizeof(UINT);
constexpr UINT kMaxLength = (0x7FFFFFFFu - kHeader) / sizeof(OLECHAR) - 1;

UINT* LengthWord(BSTR text) { return reinterpret_cast<UINT*>(reinterpret_cast<char*>(text) - sizeof(UINT)); }
void* Block(BSTR text) { return reinterpret_cast<char*>(text) - kHeader; }

BSTR Allocate(const OLECHAR* text, UINT length) {
    if (length > kMaxLength) return nullptr;
    char* block = static_cast<char*>(std::malloc(kHeader + (size_t(length) + 1) * sizeof(OLECHAR)));
    if (!block) return nullptr;
    BSTR result = reinterpret_cast<BSTR>(block + kHeader);
    *LengthWord(result) = length * UINT(sizeof(OLECHAR));
    if (text) std::memcpy(result, text, size_t(length) * sizeof(OLECHAR));
    else std::memset(result, 0, size_t(length) * sizeof(OLECHAR));
    result[length] = 0;
    return result;
}

}  // namespace

BSTR SysAllocString(const OLECHAR* text) {
    if (!text) return nullptr;
    size_t length = std::wcslen(text);
    if (length > kMaxLength) return nullptr;
    return Allocate(text, UINT(length));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) { return Allocate(text, length); }

INT SysReAllocString(BSTR* target, const OLECHAR* text) {
    if (!target) return FALSE;
    BSTR copy = text ? SysAllocString(text) : nullptr;
    if (text && !copy) return FALSE;
    SysFreeString(*target);
    *target = copy;
    return TRUE;
}

void SysFreeString(BSTR text) {
    if (text) std::free(Block(text));
}

UINT SysStringLen(BSTR text) { return text ? *LengthWord(text) / UINT(sizeof(OLECHAR)) : 0; }

UINT SysStringByteLen(BSTR text) { return text ? *LengthWord(text) : 0; }
