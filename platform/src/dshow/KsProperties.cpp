// Property dispatch of the stand-in's driver filters and pins, and the kernel handles whose
// IOCTL_KS_PROPERTY requests reach the same handlers.
#include "platform/dshow/KsProperties.h"

#include <cstring>

#include "Inject.h"
#include "Kernel.h"
#include "ksproxy.h"

namespace platform::dshow {

void KsPropertyTable::AddSet(REFGUID set, KsPropertyHandler handle, KsSupportHandler support) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_entries.push_back(Entry{set, true, 0, {}, {}, std::move(handle), std::move(support)});
}

void KsPropertyTable::AddProperty(REFGUID set, ULONG id, KsPropertyHandler get, KsPropertyHandler put) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_entries.push_back(Entry{set, false, id, std::move(get), std::move(put), {}, {}});
}

bool KsPropertyTable::IsEmpty() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_entries.empty();
}

// The entry answering (set, id): a single property first, then a whole set. The entry is
// copied out, so the handler runs without the table's lock.
bool KsPropertyTable::Find(REFGUID set, ULONG id, Entry* found, bool* setKnown) const {
    std::lock_guard<std::mutex> lock(m_lock);
    *setKnown = false;
    const Entry* whole = nullptr;
    for (const Entry& e : m_entries) {
        if (!IsEqualGUID(e.set, set)) continue;
        *setKnown = true;
        if (!e.wholeSet && e.id == id) {
            *found = e;
            return true;
        }
        if (e.wholeSet && !whole) whole = &e;
    }
    if (!whole) return false;
    *found = *whole;
    return true;
}

HRESULT KsPropertyTable::Dispatch(KsPropertyRequest& request) const {
    Entry entry;
    bool setKnown = false;
    if (!Find(request.set, request.id, &entry, &setKnown))
        return setKnown ? E_PROP_ID_UNSUPPORTED : E_PROP_SET_UNSUPPORTED;
    if (entry.wholeSet) return entry.handle ? entry.handle(request) : E_PROP_ID_UNSUPPORTED;
    const KsPropertyHandler& handler = request.verb == KsVerb::Get ? entry.get : entry.put;
    return handler ? handler(request) : E_PROP_ID_UNSUPPORTED;
}

HRESULT KsPropertyTable::QuerySupported(REFGUID set, ULONG id, DWORD* support) const {
    Entry entry;
    bool setKnown = false;
    if (!Find(set, id, &entry, &setKnown)) return setKnown ? E_PROP_ID_UNSUPPORTED : E_PROP_SET_UNSUPPORTED;
    if (entry.wholeSet) return entry.support ? entry.support(id, support) : E_PROP_ID_UNSUPPORTED;
    *support = (entry.get ? KSPROPERTY_SUPPORT_GET : 0) | (entry.put ? KSPROPERTY_SUPPORT_SET : 0);
    return S_OK;
}

HRESULT KsSetProperty(const KsPropertyTable& table, REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                      LPVOID data, DWORD dataLength) {
    HRESULT hr;
    if (Injected("IKsPropertySet::Set", E_FAIL, &hr)) return hr;
    if (!data && dataLength) return E_POINTER;
    KsPropertyRequest request{KsVerb::Set, set, id, instance, instanceLength, data, dataLength};
    return table.Dispatch(request);
}

HRESULT KsGetProperty(const KsPropertyTable& table, REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                      LPVOID data, DWORD dataLength, DWORD* returned) {
    if (returned) *returned = 0;
    HRESULT hr;
    if (Injected("IKsPropertySet::Get", E_FAIL, &hr)) return hr;
    if (!data && dataLength) return E_POINTER;
    KsPropertyRequest request{KsVerb::Get, set, id, instance, instanceLength, data, dataLength};
    hr = table.Dispatch(request);
    if (returned && SUCCEEDED(hr)) *returned = request.returned;
    return hr;
}

HRESULT KsQuerySupported(const KsPropertyTable& table, REFGUID set, DWORD id, DWORD* support) {
    if (!support) return E_POINTER;
    *support = 0;
    HRESULT hr;
    if (Injected("IKsPropertySet::QuerySupported", E_PROP_SET_UNSUPPORTED, &hr)) return hr;
    return table.QuerySupported(set, id, support);
}

namespace {

// The kernel object behind a driver filter's handle.
class KsDeviceObject : public kernel::KObject {
public:
    explicit KsDeviceObject(std::weak_ptr<const KsPropertyTable> table) : table(std::move(table)) {}
    const std::weak_ptr<const KsPropertyTable> table;
};

}  // namespace

HANDLE CreateKsDeviceHandle(std::weak_ptr<const KsPropertyTable> table) {
    return kernel::AddHandle(std::make_shared<KsDeviceObject>(std::move(table)));
}

}  // namespace platform::dshow

using namespace platform::dshow;

HRESULT KsSynchronousDeviceControl(HANDLE Handle, ULONG IoControl, PVOID InBuffer, ULONG InLength, PVOID OutBuffer,
                                   ULONG OutLength, PULONG BytesReturned) {
    if (BytesReturned) *BytesReturned = 0;
    HRESULT hr;
    if (Injected("KsSynchronousDeviceControl", E_FAIL, &hr)) return hr;
    auto device = platform::kernel::FromHandleAs<KsDeviceObject>(Handle);
    if (!device) return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
    if (IoControl != IOCTL_KS_PROPERTY) return HRESULT_FROM_WIN32(ERROR_INVALID_FUNCTION);
    if (!InBuffer || InLength < sizeof(KSPROPERTY) || (!OutBuffer && OutLength)) return E_INVALIDARG;
    std::shared_ptr<const KsPropertyTable> table = device->table.lock();
    if (!table) return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);

    KSPROPERTY header;
    std::memcpy(&header, InBuffer, sizeof(header));
    KsPropertyRequest request;
    if (header.Flags & KSPROPERTY_TYPE_GET)
        request.verb = KsVerb::Get;
    else if (header.Flags & KSPROPERTY_TYPE_SET)
        request.verb = KsVerb::Set;
    else
        return E_INVALIDARG;
    request.set = header.Set;
    request.id = header.Id;
    request.instance = InBuffer;
    request.instanceLength = InLength;
    request.data = OutBuffer;
    request.dataLength = OutLength;
    request.deviceControl = true;
    hr = table->Dispatch(request);
    if (BytesReturned && SUCCEEDED(hr)) *BytesReturned = request.returned;
    return hr;
}
