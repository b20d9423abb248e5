// The handle table: the kernel object behind each HANDLE, under the kernel lock.
#include <algorithm>
#include <unordered_map>

#include "Kernel.h"

namespace platform::kernel {

namespace {

struct HandleTable {
    std::unordered_map<uintptr_t, std::shared_ptr<KObject>> handles;
    uintptr_t nextHandle = 0x1000;
};

// Never destroyed: platform threads may still run while static objects are torn down.
HandleTable& Table() {
    static HandleTable* table = new HandleTable;
    return *table;
}

}  // namespace

HANDLE AddHandle(std::shared_ptr<KObject> object) {
    std::lock_guard<std::mutex> g(Lock());
    auto& t = Table();
    uintptr_t value = t.nextHandle;
    t.nextHandle += 4;
    t.handles.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KObject> FromHandle(HANDLE handle) {
    std::lock_guard<std::mutex> g(Lock());
    auto it = Table().handles.find(reinterpret_cast<uintptr_t>(handle));
    return it == Table().handles.end() ? nullptr : it->second;
}

bool RemoveHandle(HANDLE handle) {
    std::shared_ptr<KObject> dropped;  // destroyed outside the lock
    std::lock_guard<std::mutex> g(Lock());
    auto it = Table().handles.find(reinterpret_cast<uintptr_t>(handle));
    if (it == Table().handles.end()) return false;
    dropped = std::move(it->second);
    Table().handles.erase(it);
    return true;
}

bool ResolveWaitables(DWORD count, const HANDLE* handles, bool waitAll, DWORD most, Waitables* out) {
    if (count > most) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    for (DWORD i = 0; i < count; ++i) {
        auto obj = FromHandle(handles[i]);
        if (!obj || !obj->IsWaitable()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        // A wait for all of them names each object once.
        if (waitAll && std::find(out->objects.begin(), out->objects.begin() + out->count, obj.get()) !=
                           out->objects.begin() + out->count) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        out->objects[out->count++] = obj.get();
        out->keep[i] = std::move(obj);
    }
    return true;
}

}  // namespace platform::kernel
