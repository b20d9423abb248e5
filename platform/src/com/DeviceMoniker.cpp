// Device monikers, as the device enumerator hands them out: a property bag for BindToStorage
// and a binder that creates the device's object for BindToObject.
#include "NamedMoniker.h"
#include "platform/comptr.h"
#include "platform/comservices.h"
#include "platform/runtime.h"

namespace platform {

namespace {

class DeviceMoniker : public com::NamedMoniker {
public:
    DeviceMoniker(std::wstring displayName, IPropertyBag* properties, MonikerBinder bind)
        : NamedMoniker(std::move(displayName)), m_properties(properties), m_bind(std::move(bind)) {}

    STDMETHODIMP BindToObject(IBindCtx*, IMoniker*, REFIID riidResult, void** ppvResult) override {
        if (!ppvResult) return E_POINTER;
        *ppvResult = nullptr;
        LONG error = 0;
        if (ShouldFail("IMoniker::BindToObject", &error)) return error ? HRESULT(error) : MK_E_NOOBJECT;
        if (!m_bind) return MK_E_NOOBJECT;
        HRESULT hr = m_bind(riidResult, ppvResult);
        if (FAILED(hr)) *ppvResult = nullptr;
        return hr;
    }
    STDMETHODIMP BindToStorage(IBindCtx*, IMoniker*, REFIID riid, void** ppvObj) override {
        if (!ppvObj) return E_POINTER;
        *ppvObj = nullptr;
        LONG error = 0;
        if (ShouldFail("IMoniker::BindToStorage", &error)) return error ? HRESULT(error) : MK_E_NOSTORAGE;
        if (!m_properties) return MK_E_NOSTORAGE;
        return m_properties->QueryInterface(riid, ppvObj);
    }

private:
    CComPtr<IPropertyBag> m_properties;
    MonikerBinder m_bind;
};

}  // namespace

HRESULT CreateDeviceMoniker(const std::wstring& displayName, IPropertyBag* properties, MonikerBinder bind,
                            IMoniker** moniker) {
    if (!moniker) return E_POINTER;
    return CreateComObject<DeviceMoniker>(IID_IMoniker, reinterpret_cast<void**>(moniker), displayName, properties,
                                          std::move(bind));
}

}  // namespace platform
