// IUnknown and IClassFactory: the root of every COM interface, the method macros and the
// interface traits the stand-in objects use to answer QueryInterface.
#pragma once

#include <type_traits>

#include "windows.h"

#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define STDAPICALLTYPE
#define STDAPI PLATFORM_API HRESULT STDAPICALLTYPE
#define STDAPI_(type) PLATFORM_API type STDAPICALLTYPE
#define PURE = 0

#ifndef CO_E_NOTINITIALIZED
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0)
#endif
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3)
#define CO_E_OBJNOTREG ((HRESULT)0x800401FB)

namespace platform {
// What the stand-in knows of an interface: its IID, its name (used for failure injection as
// "QueryInterface:<name>") and the interface it derives from (void for IUnknown).
template <class I>
struct InterfaceTraits;
}  // namespace platform

// Declares the traits of interface `I` (derived from `B`) whose IID constant is IID_<I>.
#define PLATFORM_INTERFACE_TRAITS(I, B)                           \
    template <>                                                    \
    struct platform::InterfaceTraits<I> {                          \
        using Base = B;                                            \
        static const IID& Iid() { return IID_##I; }                \
        static constexpr const char* kName = #I;                   \
    }

// The IID and the typed out-pointer of an interface pointer variable, for QueryInterface and
// CoCreateInstance: IID_PPV_ARGS(&pStream).
#define IID_PPV_ARGS(pp) \
    platform::InterfaceTraits<std::remove_pointer_t<std::remove_reference_t<decltype(*(pp))>>>::Iid(), \
        reinterpret_cast<void**>(pp)

DEFINE_GUID(IID_IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IClassFactory, 0x00000001, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

struct IUnknown {
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) PURE;
    STDMETHOD_(ULONG, AddRef)() PURE;
    STDMETHOD_(ULONG, Release)() PURE;
};
typedef IUnknown* LPUNKNOWN;

struct IClassFactory : public IUnknown {
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) PURE;
    STDMETHOD(LockServer)(BOOL fLock) PURE;
};
typedef IClassFactory* LPCLASSFACTORY;

PLATFORM_INTERFACE_TRAITS(IUnknown, void);
PLATFORM_INTERFACE_TRAITS(IClassFactory, IUnknown);
