// Objects made of a COM base and mix-ins: `With<FilterBase, CrossbarMixin, ...>` answers
// QueryInterface for each mix-in's interface (with the base's failure injection), and shares
// the base's reference count and identity.
//
// A mix-in derives from one interface, names it as `Interface` and implements its methods
// (not those of IUnknown):
//
//   class CrossbarMixin : public IAMCrossbar { public: using Interface = IAMCrossbar; ... };
//   class SimCrossbar : public platform::dshow::With<platform::dshow::FilterBase, CrossbarMixin> { ... };
#pragma once

#include "platform/comobject.h"

namespace platform::dshow {

template <class Base, class... Mixins>
class With : public Base, public Mixins... {
public:
    using Base::Base;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (!IsEqualGUID(riid, IID_IUnknown)) {
            HRESULT hr = E_NOINTERFACE;
            if ((MatchInterface<typename Mixins::Interface>(
                     static_cast<typename Mixins::Interface*>(static_cast<Mixins*>(this)), riid, ppv, &hr) ||
                 ...))
                return hr;
        }
        return Base::QueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return Base::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return Base::Release(); }
};

}  // namespace platform::dshow
