// The private interfaces of the maker's own filters (audio/video switch and the rest), as the maker's
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

// ---- Deinterlace ----
DEFINE_GUID(CLSID_VorlaneDeinterlace, 0xc5683497, 0x12d5, 0x4ed1, 0xbf, 0x8d, 0xe5, 0x3b, 0x34, 0x9b, 0x09, 0x81);
DEFINE_GUID(IID_IVorlaneDeinterlace, 0x52b164a9, 0x4f2d, 0x4851, 0xb8, 0xc6, 0x02, 0xc4, 0x4f, 0x9e, 0x40, 0xcd);

struct IVorlaneDeinterlace : public IUnknown {
    STDMETHOD(GetValue)(LONG* pValue) PURE;              // slot 3
    STDMETHOD(SetValue)(LONG value) PURE;                // slot 4
    STDMETHOD(GetSwitch1)(VARIANT_BOOL* pOn) PURE;       // slot 5
    STDMETHOD(PutSwitch1)(VARIANT_BOOL on) PURE;         // slot 6
    STDMETHOD(GetSwitch2)(VARIANT_BOOL* pOn) PURE;       // slot 7
    STDMETHOD(PutSwitch2)(VARIANT_BOOL on) PURE;         // slot 8
    STDMETHOD(GetMode)(LONG* pMode) PURE;                // slot 9
    STDMETHOD(SetMode)(LONG mode) PURE;                  // slot 10
    STDMETHOD(SetText)(LPCWSTR text, DWORD value) PURE;  // slot 11
    STDMETHOD(GetSwitch3)(VARIANT_BOOL* pOn) PURE;       // slot 12
    STDMETHOD(PutSwitch3)(VARIANT_BOOL on) PURE;         // slot 13
};
PLATFORM_INTERFACE_TRAITS(IVorlaneDeinterlace, IUnknown);

// ---- Snap Picture ----
DEFINE_GUID(CLSID_VorlaneSnapPicture, 0xccee5929, 0x126a, 0x4af0, 0x85, 0x35, 0x8f, 0xa0, 0x22, 0x25, 0xc4, 0xa6);
DEFINE_GUID(IID_IVorlaneSnapPicture, 0x8cdd8eae, 0xeccf, 0x49e2, 0x9e, 0x4f, 0x86, 0x9c, 0xe9, 0x6c, 0x42, 0xc6);

// The request record of slot 4, 272 bytes, little-endian: size (272) at 0, picture format (1 or
// 2) at 4, the target path (ANSI, zero-terminated, 260 bytes) at 8, quality (0 to 100) at 268.
#define SNAP_REQUEST_SIZE 272
#define SNAP_REQUEST_FORMAT_OFFSET 4
#define SNAP_REQUEST_PATH_OFFSET 8
#define SNAP_REQUEST_PATH_BYTES 260
#define SNAP_REQUEST_QUALITY_OFFSET 268

struct IVorlaneSnapPicture : public IUnknown {
    STDMETHOD(GetState)(DWORD* pState) PURE;                    // slot 3
    STDMETHOD(SavePicture)(DWORD dwCount, BYTE* pRequest) PURE;  // slot 4
};
PLATFORM_INTERFACE_TRAITS(IVorlaneSnapPicture, IUnknown);

// ---- Color Convert ----
DEFINE_GUID(CLSID_VorlaneColorConvert, 0x32EDFAC2, 0x2540, 0x11D6, 0x91, 0x9F, 0x00, 0xA0, 0xCC, 0xA0, 0xF7, 0xC6);
DEFINE_GUID(IID_IVorlaneColorConvert, 0xC9A9614D, 0xFDA4, 0x4D0D, 0x82, 0xC6, 0x89, 0x15, 0x4F, 0x92, 0xA3, 0xF8);

struct IVorlaneColorConvert : public IUnknown {
    STDMETHOD(SetParameterA)(DWORD value) PURE;  // slot 3
    STDMETHOD(SetParameterB)(DWORD value) PURE;  // slot 4
};
PLATFORM_INTERFACE_TRAITS(IVorlaneColorConvert, IUnknown);

// ---- Mpeg2 Splitter ----
DEFINE_GUID(CLSID_VorlaneMpeg2Splitter, 0x3AE86B20, 0x7BE8, 0x11D1, 0xAB, 0xE6, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75);
