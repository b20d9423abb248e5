// A class factory over a creator function.
#include "platform/comobject.h"

namespace platform {

namespace {
class FunctionClassFactory : public ComObject<IClassFactory> {
public:
    explicit FunctionClassFactory(ComCreator create) : m_create(std::move(create)) {}
    STDMETHODIMP CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override {
        if (!ppvObject) return E_POINTER;
        *ppvObject = nullptr;
        return m_create(pUnkOuter, riid, ppvObject);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    ComCreator m_create;
};
}  // namespace

HRESULT CreateClassFactory(ComCreator create, IClassFactory** factory) {
    if (!factory) return E_POINTER;
    *factory = nullptr;
    if (!create) return E_INVALIDARG;
    return CreateComObject<FunctionClassFactory>(IID_IClassFactory, reinterpret_cast<void**>(factory),
                                                 std::move(create));
}

}  // namespace platform
