// The class table: CLSIDs to class objects, registered and revoked at run time, and the
// creation calls that look classes up in it.
#include <algorithm>
#include <mutex>
#include <vector>

#include "Apartment.h"
#include "objbase.h"
#include "platform/comobject.h"
#include "platform/comptr.h"
#include "platform/runtime.h"

namespace {

struct Registration {
    DWORD cookie;
    CLSID clsid;
    CComPtr<IUnknown> classObject;
};

struct ClassTable {
    std::mutex mutex;
    std::vector<Registration> entries;  // newest last
    DWORD nextCookie = 1;
};

ClassTable& Table() {
    static ClassTable* table = new ClassTable;
    return *table;
}

// The class object registered last for `clsid` (AddRef'd), or null.
CComPtr<IUnknown> Find(REFCLSID clsid) {
    ClassTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (auto it = table.entries.rbegin(); it != table.entries.rend(); ++it)
        if (it->clsid == clsid) return it->classObject;
    return nullptr;
}

DWORD Register(REFCLSID clsid, IUnknown* classObject) {
    ClassTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    DWORD cookie = table.nextCookie++;
    table.entries.push_back({cookie, clsid, classObject});
    return cookie;
}

HRESULT Revoke(DWORD cookie) {
    CComPtr<IUnknown> released;  // released after the lock, as its Release may call back in
    ClassTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = std::find_if(table.entries.begin(), table.entries.end(),
                           [cookie](const Registration& r) { return r.cookie == cookie; });
    if (it == table.entries.end()) return CO_E_OBJNOTREG;
    released = std::move(it->classObject);
    table.entries.erase(it);
    return S_OK;
}

bool Injected(const char* call, HRESULT* hr) {
    LONG error = 0;
    if (!platform::ShouldFail(call, &error)) return false;
    *hr = error ? HRESULT(error) : REGDB_E_CLASSNOTREG;
    return true;
}

}  // namespace

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (!platform::com::CanUseCom()) return CO_E_NOTINITIALIZED;
    CComPtr<IUnknown> classObject = (dwClsContext & CLSCTX_INPROC_SERVER) ? Find(rclsid) : nullptr;
    if (!classObject) return REGDB_E_CLASSNOTREG;
    return classObject->QueryInterface(riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    HRESULT hr;
    if (Injected(("CoCreateInstance:" + platform::FormatGuid(rclsid)).c_str(), &hr) ||
        Injected("CoCreateInstance", &hr))
        return hr;
    CComPtr<IClassFactory> factory;
    hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    if (FAILED(hr)) *ppv = nullptr;
    return hr;
}

HRESULT CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD, DWORD, LPDWORD lpdwRegister) {
    if (!pUnk || !lpdwRegister) return E_INVALIDARG;
    *lpdwRegister = 0;
    if (!platform::com::CanUseCom()) return CO_E_NOTINITIALIZED;
    *lpdwRegister = Register(rclsid, pUnk);
    return S_OK;
}

HRESULT CoRevokeClassObject(DWORD dwRegister) { return Revoke(dwRegister); }

namespace platform {

DWORD RegisterComClass(REFCLSID clsid, ComCreator create) {
    CComPtr<IClassFactory> factory;
    if (FAILED(CreateClassFactory(std::move(create), &factory))) return 0;
    return Register(clsid, factory);
}

HRESULT UnregisterComClass(DWORD cookie) { return Revoke(cookie); }

}  // namespace platform
