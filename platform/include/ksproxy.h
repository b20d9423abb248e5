// The kernel-streaming proxy's services: a driver filter's kernel handle (IKsObject) and
// synchronous device control on it.
#pragma once

#include "ks.h"
#include "strmif.h"

DEFINE_GUID(IID_IKsObject, 0x423C13A2, 0x2070, 0x11D0, 0x9E, 0xF7, 0x00, 0xAA, 0x00, 0xA2, 0x16, 0xA1);

struct IKsObject : public IUnknown {
    // The kernel handle of the filter's driver object; NULL when the filter has none. The
    // handle belongs to the filter (never close it).
    STDMETHOD_(HANDLE, KsGetObjectHandle)() PURE;
};
PLATFORM_INTERFACE_TRAITS(IKsObject, IUnknown);

// Sends an I/O control to the driver object behind `Handle` and waits for it. For
// IOCTL_KS_PROPERTY, InBuffer starts with a KSPROPERTY header (set, id, GET/SET flags) and the
// driver answers the property; *BytesReturned gets the bytes written to OutBuffer.
STDAPI KsSynchronousDeviceControl(HANDLE Handle, ULONG IoControl, PVOID InBuffer, ULONG InLength,
                                  PVOID OutBuffer, ULONG OutLength, PULONG BytesReturned);
