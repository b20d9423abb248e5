// The base of the filters other makers install on the PC: a stand-in filter with the class's
// shared FilterBehaviour, and its private interfaces as mix-ins.
//
// A private interface is a mix-in on PrivateInterface that implements the maker's interface slot
// by slot, each body starting with Behaviour().Enter(...) (which logs the call and answers an
// injected failure):
//
//   class SwitchControl : public PrivateInterface<IAVSwitch> {
//       STDMETHODIMP put_Switch(VARIANT_BOOL on) override {
//           HRESULT hr = Behaviour().Enter("IAVSwitch", 4, {ULONGLONG(WORD(on))});
//           if (hr == S_OK) Behaviour().Store(kSwitchParam, on);
//           return hr;
//       }
//   };
//
// A filter that is its pins and such mix-ins only is a row of kInstalledFilters made by
// PinnedFilter<SwitchControl> (PinnedFilter.h); a filter that behaves is a class on
// InstalledFilterOf<...> of its own.
//
// InstalledFilterOf answers QueryInterface for each mix-in's interface, unless the behaviour
// refuses it (E_NOINTERFACE), with S_FALSE where the behaviour asks for it, and with the
// platform's "QueryInterface:<name>" failure injection.
#pragma once

#include <memory>
#include <string>

#include "hwsim/installed/FilterBehaviour.h"
#include "platform/dshow/FilterBase.h"

namespace hwsim {

class InstalledFilter : public platform::dshow::FilterBase {
public:
    InstalledFilter(REFCLSID clsid, std::shared_ptr<FilterBehaviour> behaviour)
        : FilterBase(clsid), m_behaviour(std::move(behaviour)) {}

    virtual FilterBehaviour& Behaviour() { return *m_behaviour; }

    // The installed filter behind a filter pointer; null when it is none.
    static InstalledFilter* From(IBaseFilter* filter) {
        return filter ? dynamic_cast<InstalledFilter*>(static_cast<FilterBase*>(filter)) : nullptr;
    }

private:
    std::shared_ptr<FilterBehaviour> m_behaviour;
};

template <class I>
class PrivateInterface : public I {
public:
    using Interface = I;

protected:
    virtual ~PrivateInterface() = default;
    virtual FilterBehaviour& Behaviour() = 0;
};

template <class... Privates>
class InstalledFilterOf : public InstalledFilter, public Privates... {
public:
    using InstalledFilter::InstalledFilter;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        HRESULT hr = E_NOINTERFACE;
        if ((AnswerPrivate<Privates>(riid, ppv, &hr) || ...)) return hr;
        return InstalledFilter::QueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InstalledFilter::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return InstalledFilter::Release(); }
    FilterBehaviour& Behaviour() override { return InstalledFilter::Behaviour(); }

private:
    template <class P>
    bool AnswerPrivate(REFIID riid, void** ppv, HRESULT* hr) {
        using I = typename P::Interface;
        if (!IsEqualGUID(riid, platform::InterfaceTraits<I>::Iid())) return false;
        const char* name = platform::InterfaceTraits<I>::kName;
        Behaviour().NoteQuery(name);
        if (Behaviour().Refuses(name)) {
            *ppv = nullptr;
            *hr = E_NOINTERFACE;
            return true;
        }
        if (!platform::MatchInterface<I>(static_cast<I*>(static_cast<P*>(this)), riid, ppv, hr)) return false;
        if (*hr == S_OK && Behaviour().AnswersSFalse(name)) *hr = S_FALSE;
        return true;
    }
};

}  // namespace hwsim
