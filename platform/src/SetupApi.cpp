// SetupAPI's device-interface lists: a list is a snapshot of one interface class's present
// interfaces, taken by SetupDiGetClassDevsA and kept behind a handle until it is destroyed.
#include <setupapi.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FileErrors.h"
#include "Kernel.h"
#include "platform/deviceinterfaces.h"

namespace {

class DeviceInfoList : public platform::kernel::KObject {
public:
    DeviceInfoList(REFGUID interfaceClass, std::vector<std::string> paths)
        : interfaceClass(interfaceClass), paths(std::move(paths)) {}
    const GUID interfaceClass;
    const std::vector<std::string> paths;
};

std::shared_ptr<DeviceInfoList> ListFrom(HDEVINFO set) {
    auto list = platform::kernel::FromHandleAs<DeviceInfoList>(set);
    if (!list) SetLastError(ERROR_INVALID_HANDLE);
    return list;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// The record sizes a caller states in cbSize: the 32-bit program's (packed to 4 bytes), or this
// build's own.
bool RecordSizeIs(DWORD cbSize, DWORD packed, size_t own) { return cbSize == packed || cbSize == own; }
constexpr DWORD kDevInfoDataSize = 28;
constexpr DWORD kInterfaceDataSize = 28;
constexpr DWORD kDetailDataSize = 5;

}  // namespace

using platform::files::Injected;

HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR, HWND, DWORD flags) {
    if (Injected("SetupDiGetClassDevsA", ERROR_INVALID_PARAMETER)) return INVALID_HANDLE_VALUE;
    // Only interface lists of one class are kept here.
    if (!classGuid || !(flags & DIGCF_DEVICEINTERFACE) || (flags & DIGCF_ALLCLASSES)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto list = std::make_shared<DeviceInfoList>(*classGuid, platform::DeviceInterfacePaths(*classGuid));
    SetLastError(ERROR_SUCCESS);
    return platform::kernel::AddHandle(std::move(list));
}

BOOL SetupDiEnumDeviceInterfaces(HDEVINFO set, PSP_DEVINFO_DATA device, const GUID* interfaceClass, DWORD index,
                                 PSP_DEVICE_INTERFACE_DATA data) {
    if (Injected("SetupDiEnumDeviceInterfaces", ERROR_NO_MORE_ITEMS)) return FALSE;
    auto list = ListFrom(set);
    if (!list) return FALSE;
    if (!interfaceClass || !data) return Fail(ERROR_INVALID_PARAMETER);
    if (!RecordSizeIs(data->cbSize, kInterfaceDataSize, sizeof *data) ||
        (device && !RecordSizeIs(device->cbSize, kDevInfoDataSize, sizeof *device)))
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (!IsEqualGUID(*interfaceClass, list->interfaceClass) || index >= list->paths.size()) {
        return Fail(ERROR_NO_MORE_ITEMS);
    }
    data->InterfaceClassGuid = list->interfaceClass;
    data->Flags = SPINT_ACTIVE;
    data->Reserved = index + 1;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL SetupDiGetDeviceInterfaceDetailA(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA data,
                                      PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD detailSize,
                                      PDWORD requiredSize, PSP_DEVINFO_DATA device) {
    if (Injected("SetupDiGetDeviceInterfaceDetailA", ERROR_INVALID_PARAMETER)) return FALSE;
    auto list = ListFrom(set);
    if (!list) return FALSE;
    if (!data || data->Reserved == 0 || data->Reserved > list->paths.size()) return Fail(ERROR_INVALID_PARAMETER);
    if (!RecordSizeIs(data->cbSize, kInterfaceDataSize, sizeof *data) ||
        (detail && !RecordSizeIs(detail->cbSize, kDetailDataSize, sizeof *detail)) ||
        (device && !RecordSizeIs(device->cbSize, kDevInfoDataSize, sizeof *device)))
        return Fail(ERROR_INVALID_USER_BUFFER);
    const std::string& path = list->paths[data->Reserved - 1];
    const DWORD needed = static_cast<DWORD>(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + path.size() + 1);
    if (requiredSize) *requiredSize = needed;
    if (!detail) return Fail(detailSize ? ERROR_INVALID_PARAMETER : ERROR_INSUFFICIENT_BUFFER);
    if (detailSize < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(detail->DevicePath, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) {
    if (Injected("SetupDiDestroyDeviceInfoList", ERROR_INVALID_HANDLE)) return FALSE;
    if (!ListFrom(set)) return FALSE;
    platform::kernel::RemoveHandle(set);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
