// Writer file names.
#include "platform/dshow/FileSinkMixin.h"

#include <cstring>

#include "Inject.h"
#include "StoreLocked.h"

namespace platform::dshow {

std::wstring FileSinkMixin::FileName() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_name;
}

STDMETHODIMP FileSinkMixin::SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) {
    HRESULT hr;
    if (Injected("IFileSinkFilter::SetFileName", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_hasName, m_name, m_type), pszFileName != nullptr,
                       pszFileName ? pszFileName : L"", pmt ? MediaType(*pmt) : MediaType());
}

STDMETHODIMP FileSinkMixin::GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) {
    if (!ppszFileName) return E_POINTER;
    *ppszFileName = nullptr;
    HRESULT injected;
    if (Injected("IFileSinkFilter::GetCurFile", E_FAIL, &injected)) return injected;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_hasName) {
        size_t bytes = (m_name.size() + 1) * sizeof(WCHAR);
        *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
        if (!*ppszFileName) return E_OUTOFMEMORY;
        std::memcpy(*ppszFileName, m_name.c_str(), bytes);
    }
    if (pmt) {
        HRESULT hr = m_type.CopyTo(pmt);
        if (FAILED(hr)) {
            CoTaskMemFree(*ppszFileName);
            *ppszFileName = nullptr;
            return hr;
        }
    }
    return S_OK;
}

STDMETHODIMP FileSinkMixin::SetMode(DWORD dwFlags) {
    if (dwFlags & ~DWORD(AM_FILE_OVERWRITE)) return E_INVALIDARG;
    return StoreLocked(m_lock, std::tie(m_mode), dwFlags);
}

STDMETHODIMP FileSinkMixin::GetMode(DWORD* pdwFlags) {
    if (!pdwFlags) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pdwFlags = m_mode;
    return S_OK;
}

}  // namespace platform::dshow
