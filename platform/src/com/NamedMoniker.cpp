// Display names of monikers: comparing, hashing and handing them out.
#include "NamedMoniker.h"

#include "ComText.h"

namespace platform::com {

std::wstring DisplayNameOf(IMoniker* moniker) {
    LPOLESTR name = nullptr;
    if (!moniker || FAILED(moniker->GetDisplayName(nullptr, nullptr, &name)) || !name) return std::wstring();
    std::wstring copy(name);
    CoTaskMemFree(name);
    return copy;
}

STDMETHODIMP NamedMoniker::IsEqual(IMoniker* pmkOtherMoniker) {
    if (!pmkOtherMoniker) return E_INVALIDARG;
    return DisplayNameOf(pmkOtherMoniker) == m_displayName ? S_OK : S_FALSE;
}

STDMETHODIMP NamedMoniker::Hash(DWORD* pdwHash) {
    if (!pdwHash) return E_POINTER;
    DWORD hash = 2166136261u;
    for (wchar_t c : m_displayName) hash = (hash ^ DWORD(c)) * 16777619u;
    *pdwHash = hash;
    return S_OK;
}

STDMETHODIMP NamedMoniker::GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* ppszDisplayName) {
    if (!ppszDisplayName) return E_POINTER;
    *ppszDisplayName = TaskMemCopy(m_displayName);
    return *ppszDisplayName ? S_OK : E_OUTOFMEMORY;
}

}  // namespace platform::com
