// How the DirectShow stand-in spells its GUIDs: FOURCC media subtypes on the
// XXXXXXXX-0000-0010-8000-00AA00389B71 pattern, and the project's own family for the standard
// identifiers whose values the system never states (each defined once, by number).
#pragma once

#include "platform/guid.h"

// A media subtype (or major type) for a four-character code, 'YUY2' as MAKEFOURCC('Y','U','Y','2').
#define MAKEFOURCC(a, b, c, d) \
    ((DWORD)(BYTE)(a) | ((DWORD)(BYTE)(b) << 8) | ((DWORD)(BYTE)(c) << 16) | ((DWORD)(BYTE)(d) << 24))
#define mmioFOURCC MAKEFOURCC

namespace platform {
constexpr GUID FourCCGuid(DWORD fourcc) {
    return GUID{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}
// True when `guid` is on the FOURCC pattern; *fourcc gets its code.
inline bool IsFourCCGuid(REFGUID guid, DWORD* fourcc = nullptr) {
    GUID probe = FourCCGuid(guid.Data1);
    if (!IsEqualGUID(probe, guid)) return false;
    if (fourcc) *fourcc = guid.Data1;
    return true;
}
}  // namespace platform

#define DEFINE_FOURCC_GUID(name, a, b, c, d) inline constexpr GUID name = platform::FourCCGuid(MAKEFOURCC(a, b, c, d))
#define DEFINE_FORMATTAG_GUID(name, tag) inline constexpr GUID name = platform::FourCCGuid(tag)
// The stand-in's own value number `n` (for identifiers the system does not give).
#define DEFINE_DSHOW_GUID(name, n) \
    inline constexpr GUID name = {0x6D8A0000u | (n), 0x4E21, 0x4B7C, {0x9F, 0x3A, 0x51, 0xC2, 0x7D, 0x0E, 0x88, 0x14}}
