// A driver's private COM interface on the filter that publishes the driver, made when the
// filter is asked for it (KsDriver::QueryDriverInterface): an object of its own count that
// holds the filter, answers its interface (with the failure injection of
// "QueryInterface:<name>") and hands every other request, IUnknown included, to the filter, so
// the filter stays the identity.
#pragma once

#include <atomic>

#include "platform/comobject.h"

namespace hwsim {

template <class I>
class DriverInterface : public I {
public:
    explicit DriverInterface(IUnknown* filter) : m_filter(filter) {
        m_filter->AddRef();
        platform::ComObjectCreated();
    }
    DriverInterface(const DriverInterface&) = delete;
    DriverInterface& operator=(const DriverInterface&) = delete;

    // Makes a T on `filter` and answers it as `riid`.
    template <class T, class... Args>
    static HRESULT Make(IUnknown* filter, REFIID riid, void** ppv, Args&&... args) {
        T* made = new T(filter, std::forward<Args>(args)...);
        const HRESULT hr = made->QueryInterface(riid, ppv);
        made->Release();
        return hr;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        HRESULT hr = E_NOINTERFACE;
        if (IsEqualGUID(riid, platform::InterfaceTraits<I>::Iid()) && platform::MatchInterface<I>(this, riid, ppv, &hr)) {
            return hr;
        }
        return m_filter->QueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_refs.fetch_add(1, std::memory_order_relaxed) + 1; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = m_refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~DriverInterface() {
        m_filter->Release();
        platform::ComObjectDestroyed();
    }

private:
    IUnknown* const m_filter;
    std::atomic<ULONG> m_refs{1};
};

}  // namespace hwsim
