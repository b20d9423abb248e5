// Item monikers: a delimiter and an item name; they bind to what the Running Object Table
// holds under the same name.
#include "NamedMoniker.h"
#include "platform/comptr.h"

namespace {

class ItemMoniker : public platform::com::NamedMoniker {
public:
    using NamedMoniker::NamedMoniker;

    STDMETHODIMP BindToObject(IBindCtx*, IMoniker*, REFIID riidResult, void** ppvResult) override {
        if (!ppvResult) return E_POINTER;
        *ppvResult = nullptr;
        CComPtr<IRunningObjectTable> rot;
        if (FAILED(GetRunningObjectTable(0, &rot))) return MK_E_NOOBJECT;
        CComPtr<IUnknown> object;
        if (rot->GetObject(this, &object) != S_OK) return MK_E_NOOBJECT;
        return object->QueryInterface(riidResult, ppvResult);
    }
    STDMETHODIMP BindToStorage(IBindCtx*, IMoniker*, REFIID, void** ppvObj) override {
        if (!ppvObj) return E_POINTER;
        *ppvObj = nullptr;
        return MK_E_NOSTORAGE;
    }
};

}  // namespace

HRESULT CreateItemMoniker(LPCOLESTR lpszDelim, LPCOLESTR lpszItem, LPMONIKER* ppmk) {
    if (!ppmk) return E_INVALIDARG;
    *ppmk = nullptr;
    if (!lpszItem) return E_INVALIDARG;
    std::wstring name = std::wstring(lpszDelim ? lpszDelim : L"") + lpszItem;
    return platform::CreateComObject<ItemMoniker>(IID_IMoniker, reinterpret_cast<void**>(ppmk), name);
}
