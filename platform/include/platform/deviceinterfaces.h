// The device interfaces of the simulated PC's kernel drivers, as SetupAPI lists them and
// CreateFileA opens them: each has its interface class, its DevicePath and the driver's
// answer to DeviceIoControl. The simulated PC enters them as boards are plugged and takes them
// out as they are unplugged; SetupAPI lists them per class in registration order.
//
//   platform::AddDeviceInterface({kBoardInterfaceClass, "\\\\?\\board#0#{...}",
//                                 [driver](DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
//                                          DWORD* returned) { return driver->Control(...); }});
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/guid.h"
#include "platform/winbase.h"

namespace platform {

typedef unsigned long DeviceInterfaceId;  // 0: none

// Carries out one DeviceIoControl request on the driver; answers ERROR_SUCCESS, with the bytes
// answered in *returned, or the Win32 error the call fails with.
typedef std::function<DWORD(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned)>
    DeviceControlHandler;

struct DeviceInterfaceEntry {
    GUID interfaceClass = GUID_NULL;
    std::string devicePath;  // compared without regard to case, as Windows does
    DeviceControlHandler control;
};

// Enters an interface at the end of its class; returns its id.
PLATFORM_API DeviceInterfaceId AddDeviceInterface(DeviceInterfaceEntry entry);
// Takes it out: lists made from now on do not hold it, CreateFileA no longer opens its path,
// and handles opened earlier answer ERROR_DEVICE_NOT_CONNECTED. False for an unknown id.
PLATFORM_API bool RemoveDeviceInterface(DeviceInterfaceId id);
// The DevicePaths of the class's present interfaces, in registration order.
PLATFORM_API std::vector<std::string> DeviceInterfacePaths(REFGUID interfaceClass);

}  // namespace platform
