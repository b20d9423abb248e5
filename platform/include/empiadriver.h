// The Empia EM28xx capture driver's private interface, answered by QueryInterface on its
// capture filter. Set hands the driver the value at data for a property id, Get has it fill
// data; what data holds depends on the id (a DWORD descriptor, or the bytes a descriptor
// announced).
#pragma once

#include "unknwn.h"

// BE0AB5D2-3B9A-4E42-A05E-4A178B566C7C
DEFINE_GUID(IID_IEmpiaDriver, 0xBE0AB5D2, 0x3B9A, 0x4E42, 0xA0, 0x5E, 0x4A, 0x17, 0x8B, 0x56, 0x6C, 0x7C);

struct IEmpiaDriver : public IUnknown {
    STDMETHOD(Reserved3)() PURE;                     // 3: not used by the system
    STDMETHOD(Set)(DWORD id, void* data) PURE;       // 4
    STDMETHOD(Get)(DWORD id, void* data) PURE;       // 5
};

PLATFORM_INTERFACE_TRAITS(IEmpiaDriver, IUnknown);
