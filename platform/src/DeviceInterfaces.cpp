// The simulated PC's device interfaces, the handles CreateFileA opens on their DevicePaths, and
// DeviceIoControl on those handles.
#include "DeviceInterfaces.h"

#include <strings.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "FileErrors.h"
#include "Kernel.h"
#include "platform/winfile.h"

namespace platform {

namespace {

struct Interface {
    DeviceInterfaceId id;
    GUID interfaceClass;
    std::string devicePath;
    std::shared_ptr<const DeviceControlHandler> control;
};

struct Table {
    std::mutex lock;
    std::vector<Interface> interfaces;
    DeviceInterfaceId next = 1;
};

Table& TheTable() {
    static Table table;
    return table;
}

// An open device; the driver goes when its interface is taken out.
class DeviceFileObject : public kernel::KObject {
public:
    explicit DeviceFileObject(std::weak_ptr<const DeviceControlHandler> control) : control(std::move(control)) {}
    const std::weak_ptr<const DeviceControlHandler> control;
};

bool InDeviceNamespace(const char* path) {
    return path[0] == '\\' && path[1] == '\\' && (path[2] == '?' || path[2] == '.') && path[3] == '\\';
}

}  // namespace

DeviceInterfaceId AddDeviceInterface(DeviceInterfaceEntry entry) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.lock);
    const DeviceInterfaceId id = table.next++;
    table.interfaces.push_back(Interface{id, entry.interfaceClass, std::move(entry.devicePath),
                                         std::make_shared<const DeviceControlHandler>(std::move(entry.control))});
    return id;
}

bool RemoveDeviceInterface(DeviceInterfaceId id) {
    std::shared_ptr<const DeviceControlHandler> dropped;  // released after the lock
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.lock);
    for (auto it = table.interfaces.begin(); it != table.interfaces.end(); ++it) {
        if (it->id != id) continue;
        dropped = std::move(it->control);
        table.interfaces.erase(it);
        return true;
    }
    return false;
}

std::vector<std::string> DeviceInterfacePaths(REFGUID interfaceClass) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.lock);
    std::vector<std::string> paths;
    for (const Interface& entry : table.interfaces) {
        if (IsEqualGUID(entry.interfaceClass, interfaceClass)) paths.push_back(entry.devicePath);
    }
    return paths;
}

namespace devices {

bool OpenDevicePath(const char* path, HANDLE* handle) {
    if (!path || !InDeviceNamespace(path)) return false;
    std::weak_ptr<const DeviceControlHandler> control;
    {
        Table& table = TheTable();
        std::lock_guard<std::mutex> lock(table.lock);
        for (const Interface& entry : table.interfaces) {
            if (strcasecmp(entry.devicePath.c_str(), path) == 0) control = entry.control;
        }
    }
    if (control.expired()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        *handle = INVALID_HANDLE_VALUE;
        return true;
    }
    *handle = kernel::AddHandle(std::make_shared<DeviceFileObject>(std::move(control)));
    SetLastError(ERROR_SUCCESS);
    return true;
}

}  // namespace devices

}  // namespace platform

BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                     LPDWORD returned, LPOVERLAPPED overlapped) {
    if (returned) *returned = 0;
    if (platform::files::Injected("DeviceIoControl", ERROR_GEN_FAILURE)) return FALSE;
    auto file = platform::kernel::FromHandleAs<platform::DeviceFileObject>(device);
    if (!file) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Without an OVERLAPPED the byte count is where the answer goes: it must be given.
    if (overlapped || !returned || (!in && inSize) || (!out && outSize)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::shared_ptr<const platform::DeviceControlHandler> control = file->control.lock();
    if (!control) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return FALSE;
    }
    DWORD answered = 0;
    const DWORD error = (*control)(code, in, inSize, out, outSize, &answered);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    *returned = std::min(answered, outSize);  // a driver never reports more than the output holds
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
