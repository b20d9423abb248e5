// Kernel-streaming property dispatch for the filters and pins of drivers: handlers registered
// per property set (or per property), reached through IKsPropertySet and through
// KsSynchronousDeviceControl with IOCTL_KS_PROPERTY on the filter's kernel handle.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "ks.h"
#include "strmif.h"

namespace platform::dshow {

enum class KsVerb { Get, Set };

// One property request as a driver sees it. Through IKsPropertySet, `instance` and `data` are
// the caller's two buffers as given. Through IOCTL_KS_PROPERTY, `instance` is the whole input
// buffer (its first 24 bytes the KSPROPERTY header) and `data` the output buffer.
struct KsPropertyRequest {
    KsVerb verb = KsVerb::Get;
    GUID set = GUID_NULL;
    ULONG id = 0;
    void* instance = nullptr;
    ULONG instanceLength = 0;
    void* data = nullptr;
    ULONG dataLength = 0;
    ULONG returned = 0;  // a Get handler sets the bytes it wrote to `data`
    bool deviceControl = false;
};

typedef std::function<HRESULT(KsPropertyRequest& request)> KsPropertyHandler;
// QuerySupported of one id: *support gets KSPROPERTY_SUPPORT_GET/SET.
typedef std::function<HRESULT(ULONG id, DWORD* support)> KsSupportHandler;

class PLATFORM_API KsPropertyTable {
public:
    // Every request on `set` goes to `handle`; QuerySupported to `support`.
    void AddSet(REFGUID set, KsPropertyHandler handle, KsSupportHandler support);
    // One property: `get` and/or `put` (either may be empty); QuerySupported answers which exist.
    void AddProperty(REFGUID set, ULONG id, KsPropertyHandler get, KsPropertyHandler put);
    bool IsEmpty() const;

    // E_PROP_SET_UNSUPPORTED for a set nobody handles, E_PROP_ID_UNSUPPORTED for an id of a
    // known set that has no handler.
    HRESULT Dispatch(KsPropertyRequest& request) const;
    HRESULT QuerySupported(REFGUID set, ULONG id, DWORD* support) const;

private:
    struct Entry {
        GUID set;
        bool wholeSet;
        ULONG id;
        KsPropertyHandler get;
        KsPropertyHandler put;
        KsPropertyHandler handle;
        KsSupportHandler support;
    };
    bool Find(REFGUID set, ULONG id, Entry* found, bool* setKnown) const;

    mutable std::mutex m_lock;
    std::vector<Entry> m_entries;
};

// IKsPropertySet over a table, for filters and pins: the three methods with their checks and
// failure injection ("IKsPropertySet::Get", "IKsPropertySet::Set",
// "IKsPropertySet::QuerySupported").
PLATFORM_API HRESULT KsSetProperty(const KsPropertyTable& table, REFGUID set, DWORD id, LPVOID instance,
                                   DWORD instanceLength, LPVOID data, DWORD dataLength);
PLATFORM_API HRESULT KsGetProperty(const KsPropertyTable& table, REFGUID set, DWORD id, LPVOID instance,
                                   DWORD instanceLength, LPVOID data, DWORD dataLength, DWORD* returned);
PLATFORM_API HRESULT KsQuerySupported(const KsPropertyTable& table, REFGUID set, DWORD id, DWORD* support);

// A kernel handle whose IOCTL_KS_PROPERTY requests go to `table` (while it lives). Closing the
// handle (CloseHandle) ends it.
PLATFORM_API HANDLE CreateKsDeviceHandle(std::weak_ptr<const KsPropertyTable> table);

}  // namespace platform::dshow
