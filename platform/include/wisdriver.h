// The WIS GO7007SB capture driver's I2C interface, answered by QueryInterface on its capture
// filter. Entries are counted from 0 with IUnknown's three first; the entries the system does
// not call are placeholders. `flags` is the transfer's flag word (0x8000 for the board's bus).
#pragma once

#include "unknwn.h"

// 6420803D-D8BA-43D2-BD4A-109BA16C2E32
DEFINE_GUID(IID_IWisI2C, 0x6420803D, 0xD8BA, 0x43D2, 0xBD, 0x4A, 0x10, 0x9B, 0xA1, 0x6C, 0x2E, 0x32);

struct IWisI2C : public IUnknown {
    STDMETHOD(Reserved3)() PURE;
    STDMETHOD(Reserved4)() PURE;
    STDMETHOD(Reserved5)() PURE;
    STDMETHOD(Reserved6)() PURE;
    // 7: one byte to the sub-address, `width` its bits (8 or 16).
    STDMETHOD(WriteSub)(BYTE address, DWORD width, WORD subAddress, BYTE value, DWORD flags) PURE;
    // 8: one byte from the sub-address.
    STDMETHOD(ReadSub)(BYTE address, DWORD width, WORD subAddress, BYTE* data, DWORD flags) PURE;
    // 9: `count` bytes as they stand (width and sub-address 0).
    STDMETHOD(WriteRaw)(BYTE address, DWORD width, WORD subAddress, DWORD count, BYTE* data, DWORD flags) PURE;
    STDMETHOD(Reserved10)() PURE;
    STDMETHOD(Reserved11)() PURE;
    STDMETHOD(Reserved12)() PURE;
    STDMETHOD(Reserved13)() PURE;
    STDMETHOD(Reserved14)() PURE;
    // 15: a header of `headerLength` bytes {address, sub-address, 0}, then `count` data bytes.
    STDMETHOD(WriteHeadered)(DWORD headerLength, BYTE* header, DWORD count, void* data, DWORD flags) PURE;
};

PLATFORM_INTERFACE_TRAITS(IWisI2C, IUnknown);
