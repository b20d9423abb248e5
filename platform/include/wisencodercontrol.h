// The WIS GO7007SB capture driver's encoder interfaces, answered by QueryInterface on its
// capture filter beside IWisI2C. Entries are counted from 0 with IUnknown's three first; the
// entries the system does not call are placeholders.
#pragma once

#include "unknwn.h"
#include "wisencoder.h"

// 55F1E004-76CD-412E-9413-68AF75304D73
DEFINE_GUID(IID_IWisEncoderControl, 0x55F1E004, 0x76CD, 0x412E, 0x94, 0x13, 0x68, 0xAF, 0x75, 0x30, 0x4D, 0x73);
// E4557E5C-BB64-4186-905E-8FC119DBA5E2
DEFINE_GUID(IID_IWisFormatExtension, 0xE4557E5C, 0xBB64, 0x4186, 0x90, 0x5E, 0x8F, 0xC1, 0x19, 0xDB, 0xA5, 0xE2);

struct IWisEncoderControl : public IUnknown {
    // 3: the driver's current configuration.
    STDMETHOD(GetCurrentConfig)(EncoderConfig* config) PURE;
    STDMETHOD(Reserved4)() PURE;
    STDMETHOD(Reserved5)() PURE;
    // 6: what the encoder can do.
    STDMETHOD(GetCapabilities)(EncoderCapabilities* capabilities) PURE;
};

struct IWisFormatExtension : public IUnknown {
    // 3: the encoder extension of a video pin's format; `result` is the driver's own word.
    STDMETHOD(SetFormatExtension)(TCFG_FORMAT_EXTENSION* extension, DWORD* result) PURE;
};

PLATFORM_INTERFACE_TRAITS(IWisEncoderControl, IUnknown);
PLATFORM_INTERFACE_TRAITS(IWisFormatExtension, IUnknown);
