// The Ligos GoMotion capture encoder and transcoder and their private interfaces, as the Ligos
// development kit declares them, slot by slot (slot 3 is the first method after IUnknown).
#pragma once

#include "strmif.h"

// The encoder settings record: 57 little-endian 32-bit words. Words 55 and 56 are also passed to
// the settings methods by address as two separate arguments.
typedef struct tagLIGOS_SETTINGS {
    DWORD dwWord[57];
} LIGOS_SETTINGS;

// ---- Capture encoder ----
DEFINE_GUID(CLSID_LigosEncoder, 0xd3e07d43, 0xe73c, 0x4476, 0xbe, 0x94, 0x63, 0x7c, 0x67, 0x53, 0xcf, 0x23);
DEFINE_GUID(IID_ILigosEncoder, 0x55a4d441, 0x6429, 0x11d5, 0x87, 0x37, 0x00, 0x10, 0xa4, 0xe9, 0xff, 0x94);

struct ILigosEncoder : public IUnknown {
    STDMETHOD(SetSettings)(LIGOS_SETTINGS* pSettings, DWORD* pExtra1, DWORD* pExtra2) PURE;  // slot 3
    STDMETHOD(GetSettings)(LIGOS_SETTINGS* pSettings, DWORD* pExtra1, DWORD* pExtra2) PURE;  // slot 4
    STDMETHOD(Method5)(DWORD dwParam1, DWORD dwParam2) PURE;
    STDMETHOD(Method6)(DWORD dwParam) PURE;
    STDMETHOD(Method7)(DWORD dwParam1, DWORD dwParam2, DWORD dwParam3) PURE;
    STDMETHOD(Method8)(DWORD dwParam) PURE;
};
PLATFORM_INTERFACE_TRAITS(ILigosEncoder, IUnknown);

// ---- Transcoder ----
DEFINE_GUID(CLSID_LigosTranscoder, 0xff12df2d, 0x9702, 0x4438, 0x9b, 0x45, 0xf6, 0x4d, 0x19, 0x1d, 0xce, 0x69);
DEFINE_GUID(IID_ILigosTranscoder, 0xff12df30, 0x9702, 0x4438, 0x9b, 0x45, 0xf6, 0x4d, 0x19, 0x1d, 0xce, 0x69);

struct ILigosTranscoder : public IUnknown {
    // Slots 3 and 4; pReserved is passed null.
    STDMETHOD(SetSettings)(LIGOS_SETTINGS* pSettings, void* pReserved, DWORD* pExtra1, DWORD* pExtra2) PURE;
    STDMETHOD(GetSettings)(LIGOS_SETTINGS* pSettings, void* pReserved, DWORD* pExtra1, DWORD* pExtra2) PURE;
    STDMETHOD(Method5)(DWORD dwParam) PURE;
    STDMETHOD(Method6)(DWORD dwParam) PURE;
};
PLATFORM_INTERFACE_TRAITS(ILigosTranscoder, IUnknown);

// Asked of the transcoder's interface.
DEFINE_GUID(IID_RIzizirar, 0x3a75ac56, 0x95ca, 0x4ca2, 0xb9, 0x6a, 0xa8, 0x4c, 0x4f, 0x3e, 0x08, 0x66);

struct RIzizirar : public IUnknown {
    STDMETHOD(Method3)(LONG* pFirst, LONG* pSecond) PURE;
    STDMETHOD(Method4)(DWORD dwParam) PURE;
};
PLATFORM_INTERFACE_TRAITS(RIzizirar, IUnknown);
