// SetupAPI: the device-interface lists of an interface class and their DevicePaths, over the
// simulated PC's device interfaces (platform/deviceinterfaces.h). Each call can be made to fail
// from a test (platform::InjectFailure with the call's name and a Win32 error).
#pragma once

#include "platform/winbase.h"
#include "platform/guid.h"

typedef HANDLE HDEVINFO;

#define DIGCF_DEFAULT 0x00000001
#define DIGCF_PRESENT 0x00000002
#define DIGCF_ALLCLASSES 0x00000004
#define DIGCF_PROFILE 0x00000008
#define DIGCF_DEVICEINTERFACE 0x00000010

#define SPINT_ACTIVE 0x00000001

// The stand-in's records. cbSize is checked: the 32-bit program's record sizes (28, 28 and 5) or
// this build's own; another size answers ERROR_INVALID_USER_BUFFER.
typedef struct _SP_DEVINFO_DATA {
    DWORD cbSize;
    GUID ClassGuid;
    DWORD DevInst;
    ULONG_PTR Reserved;
} SP_DEVINFO_DATA, *PSP_DEVINFO_DATA;

typedef struct _SP_DEVICE_INTERFACE_DATA {
    DWORD cbSize;
    GUID InterfaceClassGuid;
    DWORD Flags;
    ULONG_PTR Reserved;  // the interface's place in its list
} SP_DEVICE_INTERFACE_DATA, *PSP_DEVICE_INTERFACE_DATA;

typedef struct _SP_DEVICE_INTERFACE_DETAIL_DATA_A {
    DWORD cbSize;
    CHAR DevicePath[1];  // at offset 4, zero-terminated
} SP_DEVICE_INTERFACE_DETAIL_DATA_A, *PSP_DEVICE_INTERFACE_DETAIL_DATA_A;

PLATFORM_API HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR enumerator, HWND parent, DWORD flags);
PLATFORM_API BOOL SetupDiEnumDeviceInterfaces(HDEVINFO set, PSP_DEVINFO_DATA device, const GUID* interfaceClass,
                                              DWORD index, PSP_DEVICE_INTERFACE_DATA data);
PLATFORM_API BOOL SetupDiGetDeviceInterfaceDetailA(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA data,
                                                   PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD detailSize,
                                                   PDWORD requiredSize, PSP_DEVINFO_DATA device);
PLATFORM_API BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set);
#define SetupDiGetClassDevs SetupDiGetClassDevsA
#define SetupDiGetDeviceInterfaceDetail SetupDiGetDeviceInterfaceDetailA
typedef SP_DEVICE_INTERFACE_DETAIL_DATA_A SP_DEVICE_INTERFACE_DETAIL_DATA;
typedef PSP_DEVICE_INTERFACE_DETAIL_DATA_A PSP_DEVICE_INTERFACE_DETAIL_DATA;
