// GUIDs as wide texts.
#include <cwchar>

#include "ComText.h"

int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
    std::string text = platform::FormatGuid(rguid);
    if (!lpsz || cchMax < int(text.size()) + 1) return 0;
    for (size_t i = 0; i < text.size(); ++i) lpsz[i] = OLECHAR(text[i]);
    lpsz[text.size()] = 0;
    return int(text.size()) + 1;
}

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
    if (!pclsid) return E_INVALIDARG;
    if (!lpsz || !*lpsz) {
        *pclsid = GUID_NULL;
        return lpsz ? S_OK : E_INVALIDARG;
    }
    std::string narrow = platform::WideToUtf8(lpsz);
    // Only the braced form names a CLSID.
    if (narrow.size() != 38 || narrow.front() != '{' || !platform::ParseGuid(narrow.c_str(), pclsid)) {
        *pclsid = GUID_NULL;
        return CO_E_CLASSSTRING;
    }
    return S_OK;
}
