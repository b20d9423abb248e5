// An in-memory property bag: named VARIANTs.
#include <map>
#include <mutex>
#include <string>

#include "objbase.h"
#include "platform/comobject.h"
#include "platform/comservices.h"
#include "platform/runtime.h"

namespace platform {

namespace {

class MemoryPropertyBag : public ComObject<IPropertyBag> {
public:
    STDMETHODIMP Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog*) override {
        if (!pszPropName || !pVar) return E_POINTER;
        LONG error = 0;
        if (ShouldFail("IPropertyBag::Read", &error)) return error ? HRESULT(error) : E_FAIL;
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_values.find(pszPropName);
        if (it == m_values.end()) return E_FAIL;
        if (pVar->vt != VT_EMPTY && pVar->vt != it->second.vt) return DISP_E_TYPEMISMATCH;
        // The caller's VARIANT holds nothing of its own yet: it is overwritten, not cleared.
        VariantInit(pVar);
        return VariantCopy(pVar, &it->second);
    }
    STDMETHODIMP Write(LPCOLESTR pszPropName, VARIANT* pVar) override {
        if (!pszPropName || !pVar) return E_POINTER;
        VARIANT copy;
        VariantInit(&copy);
        if (HRESULT hr = VariantCopy(&copy, pVar); FAILED(hr)) return hr;
        std::lock_guard<std::mutex> lock(m_mutex);
        auto [it, added] = m_values.try_emplace(pszPropName, copy);
        if (!added) {
            VariantClear(&it->second);
            it->second = copy;
        }
        return S_OK;
    }

protected:
    ~MemoryPropertyBag() override {
        for (auto& [name, value] : m_values) VariantClear(&value);
    }

private:
    std::mutex m_mutex;
    std::map<std::wstring, VARIANT> m_values;
};

}  // namespace

HRESULT CreatePropertyBag(IPropertyBag** bag) {
    if (!bag) return E_POINTER;
    return CreateComObject<MemoryPropertyBag>(IID_IPropertyBag, reinterpret_cast<void**>(bag));
}

}  // namespace platform
