// The Running Object Table: objects registered under a moniker's display name, held until
// they are revoked.
#include <algorithm>
#include <mutex>
#include <vector>

#include "Apartment.h"
#include "NamedMoniker.h"
#include "platform/comobject.h"
#include "platform/comptr.h"
#include "platform/comservices.h"
#include "platform/runtime.h"

namespace platform {

namespace {

struct Registration {
    DWORD cookie;
    DWORD flags;
    std::wstring displayName;
    CComPtr<IUnknown> object;
    CComPtr<IMoniker> moniker;
};

class RunningObjectTable : public ComObject<IRunningObjectTable> {
public:
    STDMETHODIMP Register(DWORD grfFlags, IUnknown* punkObject, IMoniker* pmkObjectName,
                          DWORD* pdwRegister) override {
        if (!pdwRegister) return E_INVALIDARG;
        *pdwRegister = 0;
        if (!punkObject || !pmkObjectName) return E_INVALIDARG;
        if (grfFlags & ~DWORD(ROTFLAGS_REGISTRATIONKEEPSALIVE | ROTFLAGS_ALLOWANYCLIENT)) return E_INVALIDARG;
        LONG error = 0;
        if (ShouldFail("IRunningObjectTable::Register", &error)) return error ? HRESULT(error) : E_OUTOFMEMORY;
        std::wstring name = com::DisplayNameOf(pmkObjectName);
        std::lock_guard<std::mutex> lock(m_mutex);
        bool already = std::any_of(m_entries.begin(), m_entries.end(),
                                   [&](const Registration& r) { return r.displayName == name; });
        DWORD cookie = m_nextCookie++;
        m_entries.push_back({cookie, grfFlags, name, punkObject, pmkObjectName});
        *pdwRegister = cookie;
        return already ? MK_S_MONIKERALREADYREGISTERED : S_OK;
    }
    STDMETHODIMP Revoke(DWORD dwRegister) override {
        Registration revoked;  // released after the lock: the object's Release may call back in
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = std::find_if(m_entries.begin(), m_entries.end(),
                               [dwRegister](const Registration& r) { return r.cookie == dwRegister; });
        if (it == m_entries.end()) return E_INVALIDARG;
        revoked = std::move(*it);
        m_entries.erase(it);
        return S_OK;
    }
    STDMETHODIMP IsRunning(IMoniker* pmkObjectName) override {
        if (!pmkObjectName) return E_INVALIDARG;
        CComPtr<IUnknown> object = Lookup(pmkObjectName);
        return object ? S_OK : S_FALSE;
    }
    STDMETHODIMP GetObject(IMoniker* pmkObjectName, IUnknown** ppunkObject) override {
        if (!ppunkObject) return E_INVALIDARG;
        *ppunkObject = nullptr;
        if (!pmkObjectName) return E_INVALIDARG;
        CComPtr<IUnknown> object = Lookup(pmkObjectName);
        if (!object) return MK_E_UNAVAILABLE;
        *ppunkObject = object.Detach();
        return S_OK;
    }
    STDMETHODIMP EnumRunning(IEnumMoniker** ppenumMoniker) override {
        if (!ppenumMoniker) return E_INVALIDARG;
        std::vector<IMoniker*> monikers;
        std::vector<CComPtr<IMoniker>> held;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (const auto& r : m_entries) held.push_back(r.moniker);
        }
        for (const auto& m : held) monikers.push_back(m);
        return CreateEnumMoniker(monikers, ppenumMoniker);
    }

    std::vector<RunningObjectEntry> Entries() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<RunningObjectEntry> out;
        for (const auto& r : m_entries) out.push_back({r.cookie, r.flags, r.displayName, r.object.p});
        return out;
    }

private:
    CComPtr<IUnknown> Lookup(IMoniker* moniker) {
        std::wstring name = com::DisplayNameOf(moniker);
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& r : m_entries)
            if (r.displayName == name) return r.object;
        return nullptr;
    }

    std::mutex m_mutex;
    std::vector<Registration> m_entries;
    DWORD m_nextCookie = 1;
};

// One table per process, alive to the end.
RunningObjectTable* Table() {
    static RunningObjectTable* table = new RunningObjectTable;
    return table;
}

}  // namespace

std::vector<RunningObjectEntry> RunningObjectEntries() { return Table()->Entries(); }

}  // namespace platform

HRESULT GetRunningObjectTable(DWORD reserved, LPRUNNINGOBJECTTABLE* pprot) {
    if (!pprot) return E_INVALIDARG;
    *pprot = nullptr;
    if (reserved) return E_INVALIDARG;
    LONG error = 0;
    if (platform::ShouldFail("GetRunningObjectTable", &error)) return error ? HRESULT(error) : E_UNEXPECTED;
    if (!platform::com::CanUseCom()) return CO_E_NOTINITIALIZED;
    return platform::Table()->QueryInterface(IID_IRunningObjectTable, reinterpret_cast<void**>(pprot));
}
