// The private interfaces of the maker's own filters (audio/video switch), as the maker's
// development kit declares them.
#pragma once

#include "oleauto.h"
#include "strmif.h"

// ---- Vorlane AV Switch ----
DEFINE_GUID(CLSID_VorlaneAVSwitch, 0x15D81FE9, 0x49E4, 0x436B, 0xA5, 0x2E, 0x72, 0x74, 0xE3, 0xEB, 0x41, 0x40);
DEFINE_GUID(IID_IAVSwitch, 0xA4E9C28B, 0xBE58, 0x44E1, 0x9C, 0xF8, 0xC9, 0xCA, 0x20, 0xF3, 0xC0, 0xC9);

struct IAVSwitch : public IUnknown {
    // Slot 3: whether the switch passes its inputs on (VARIANT_TRUE) or holds them.
    STDMETHOD(get_Switch)(VARIANT_BOOL* pOn) PURE;
    // Slot 4.
    STDMETHOD(put_Switch)(VARIANT_BOOL on) PURE;
};
PLATFORM_INTERFACE_TRAITS(IAVSwitch, IUnknown);

// ---- Time Delay ----
DEFINE_GUID(CLSID_VorlaneTimeDelay, 0x0410FD12, 0x9320, 0x48B2, 0x9E, 0xC5, 0x0F, 0xB9, 0x76, 0x12, 0x7A, 0x4B);
