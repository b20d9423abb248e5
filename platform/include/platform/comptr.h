// CComPtr: holds one reference to a COM interface and releases it on reset and destruction.
#pragma once

#include <memory>
#include <utility>

#include "unknwn.h"

STDAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv);

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    // Takes a reference of its own (AddRef).
    CComPtr(T* other) : p(other) {
        if (p) p->AddRef();
    }
    CComPtr(const CComPtr& other) : CComPtr(other.p) {}
    CComPtr(CComPtr&& other) noexcept : p(std::exchange(other.p, nullptr)) {}
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* other) {
        if (other) other->AddRef();
        Release();
        p = other;
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) { return *this = other.p; }
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != std::addressof(other)) {
            Release();
            p = std::exchange(other.p, nullptr);
        }
        return *this;
    }

    operator T*() const { return p; }
    T& operator*() const { return *p; }
    T* operator->() const { return p; }
    bool operator!() const { return p == nullptr; }
    // The address for an out-parameter; what was held is released first.
    T** operator&() {
        Release();
        return &p;
    }

    // Releases the reference held (if any) and holds nothing.
    void Release() {
        if (T* old = std::exchange(p, nullptr)) old->Release();
    }
    // Takes over a reference without AddRef.
    void Attach(T* other) {
        Release();
        p = other;
    }
    // Gives up the reference without Release.
    T* Detach() { return std::exchange(p, nullptr); }
    // An AddRef'd copy into *out.
    HRESULT CopyTo(T** out) const {
        if (!out) return E_POINTER;
        *out = p;
        if (p) p->AddRef();
        return S_OK;
    }
    template <class Q>
    HRESULT QueryInterface(Q** out) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!p) return E_POINTER;
        return p->QueryInterface(platform::InterfaceTraits<Q>::Iid(), reinterpret_cast<void**>(out));
    }
    HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer = nullptr, DWORD context = 0x17 /* CLSCTX_ALL */) {
        Release();
        return ::CoCreateInstance(clsid, outer, context, platform::InterfaceTraits<T>::Iid(),
                                  reinterpret_cast<void**>(&p));
    }
    T* p = nullptr;
};
