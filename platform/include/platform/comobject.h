// The base of the platform's COM objects: one reference count, QueryInterface answered from
// the interfaces the class derives from (and each interface's bases), failure injection for
// "QueryInterface:<interface name>", and a count of live objects for leak tests.
//
//   class CMemoryStream : public platform::ComObject<IStream> { ... };
//   class CFilter : public platform::ComObject<IBaseFilter, IKsPropertySet> { ... };
//
// A new object holds one reference, owned by whoever created it: hand it out through
// QueryInterface and Release the creator's reference, or use platform::CreateComObject.
// Classes that answer further interfaces override QueryInterface and fall back to
// ComObject::QueryInterface.
#pragma once

#include <atomic>
#include <functional>
#include <utility>

#include "platform/runtime.h"
#include "unknwn.h"

namespace platform {

PLATFORM_API void ComObjectCreated();
PLATFORM_API void ComObjectDestroyed();
// Objects built on ComObject that are alive in the process.
PLATFORM_API long LiveComObjectCount();

// True when a test injected a failure for "QueryInterface:<name>"; *error gets the code
// (E_NOINTERFACE when none was given).
PLATFORM_API bool QueryInterfaceShouldFail(const char* interfaceName, HRESULT* error);

// Answers a QueryInterface with `itf` (AddRef'd) when `riid` is the IID of `I` or of one of its
// base interfaces. Returns false when it is none of them.
template <class I>
bool MatchInterface(I* itf, REFIID riid, void** ppv, HRESULT* hr) {
    if (IsEqualGUID(riid, InterfaceTraits<I>::Iid())) {
        HRESULT error;
        if (FailuresInjected() && QueryInterfaceShouldFail(InterfaceTraits<I>::kName, &error)) {
            *ppv = nullptr;
            *hr = error;
            return true;
        }
        itf->AddRef();
        *ppv = itf;
        *hr = S_OK;
        return true;
    }
    using Base = typename InterfaceTraits<I>::Base;
    if constexpr (!std::is_void_v<Base>) {
        return MatchInterface<Base>(static_cast<Base*>(itf), riid, ppv, hr);
    } else {
        return false;
    }
}

template <class First, class... Rest>
class ComObject : public First, public Rest... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        HRESULT hr = E_NOINTERFACE;
        // IUnknown is answered through the first interface, so every answer for it is the same
        // pointer (the object's identity).
        if (IsEqualGUID(riid, IID_IUnknown)) {
            return MatchInterface<IUnknown>(static_cast<IUnknown*>(static_cast<First*>(this)), riid, ppv, &hr)
                       ? hr
                       : E_NOINTERFACE;
        }
        if (MatchInterface<First>(static_cast<First*>(this), riid, ppv, &hr)) return hr;
        if ((MatchInterface<Rest>(static_cast<Rest*>(this), riid, ppv, &hr) || ...)) return hr;
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_refs.fetch_add(1, std::memory_order_relaxed) + 1; }
    // The last Release destroys the object. While it is being destroyed its count stands high, so
    // a reference taken and dropped by code its destructor runs cannot destroy it a second time.
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = m_refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) {
            m_refs.store(kDestroying, std::memory_order_relaxed);
            delete this;
        }
        return left;
    }

    // The object's identity, as QueryInterface(IID_IUnknown) answers it (without AddRef).
    IUnknown* GetUnknown() { return static_cast<IUnknown*>(static_cast<First*>(this)); }

protected:
    ComObject() { ComObjectCreated(); }
    virtual ~ComObject() { ComObjectDestroyed(); }

private:
    static constexpr ULONG kDestroying = 0x40000000;
    std::atomic<ULONG> m_refs{1};
};

// Creates a T (constructed from `args`) and answers it as `riid` in *ppv; the creator's
// reference is dropped, so a refused interface destroys the object again.
template <class T, class... Args>
HRESULT CreateComObject(REFIID riid, void** ppv, Args&&... args) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    T* object = new T(std::forward<Args>(args)...);
    HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

// A class factory that creates objects through `create` (outer unknown, riid, ppv).
typedef std::function<HRESULT(IUnknown* outer, REFIID riid, void** ppv)> ComCreator;
PLATFORM_API HRESULT CreateClassFactory(ComCreator create, IClassFactory** factory);

// Enters a class in the class table (CoRegisterClassObject with a factory over `create`);
// returns the registration cookie for UnregisterComClass, 0 on failure.
PLATFORM_API DWORD RegisterComClass(REFCLSID clsid, ComCreator create);
PLATFORM_API HRESULT UnregisterComClass(DWORD cookie);

// The creator of a class T without aggregation, constructed from `args` (copied).
template <class T, class... Args>
ComCreator ComCreatorOf(Args... args) {
    return [=](IUnknown* outer, REFIID riid, void** ppv) -> HRESULT {
        if (outer) {
            if (ppv) *ppv = nullptr;
            return CLASS_E_NOAGGREGATION;
        }
        return CreateComObject<T>(riid, ppv, args...);
    };
}

}  // namespace platform
