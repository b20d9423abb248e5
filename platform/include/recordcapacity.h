// The encoder drivers' private interfaces: call surfaces only, in their table order (IUnknown's
// three methods first). The drivers implement them; the system calls them.
#pragma once

#include "unknwn.h"

// The recording capacity of an encoder box, in MB.
// 43705740-5EF5-11D2-BE8A-001061B07491
DEFINE_GUID(IID_IRecordCapacity, 0x43705740, 0x5EF5, 0x11D2, 0xBE, 0x8A, 0x00, 0x10, 0x61, 0xB0, 0x74, 0x91);

struct IRecordCapacity : public IUnknown {
    // Methods 4 and 5: not called by the system.
    STDMETHOD(Reserved4)() PURE;
    STDMETHOD(Reserved5)() PURE;
    // Method 6: the capacity in MB.
    STDMETHOD(GetRecordCapacity)(DWORD* pdwMegabytes) PURE;
    // Method 7.
    STDMETHOD(SetRecordCapacity)(DWORD dwMegabytes) PURE;
};
PLATFORM_INTERFACE_TRAITS(IRecordCapacity, IUnknown);
