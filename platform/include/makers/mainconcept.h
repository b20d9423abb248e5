// The private interfaces of the MainConcept filters, as that maker's development kit declares
// them, slot by slot.
#pragma once

#include "strmif.h"

// ---- H.264 video decoder ----
DEFINE_GUID(CLSID_MCH264VideoDecoder, 0x7C0D0340, 0x71D5, 0x4E7E, 0xA7, 0x7F, 0x20, 0x59, 0xA2, 0xE5, 0xAF, 0x57);
DEFINE_GUID(IID_IMCH264DecoderOutput, 0x7C0D0341, 0x71D5, 0x4E7E, 0xA7, 0x7F, 0x20, 0x59, 0xA2, 0xE5, 0xAF, 0x57);

// The decoder's output record: ten 32-bit fields.
typedef struct tagMCH264_OUTPUT_RECORD {
    DWORD dwField[10];
} MCH264_OUTPUT_RECORD;
static_assert(sizeof(MCH264_OUTPUT_RECORD) == 40);

struct IMCH264DecoderOutput : public IUnknown {
    STDMETHOD(Output3)(DWORD dwParam1, DWORD dwParam2) PURE;  // slot 3
    STDMETHOD(Output4)(DWORD dwParam1, DWORD dwParam2) PURE;  // slot 4
    STDMETHOD(Output5)(DWORD dwParam1, DWORD dwParam2) PURE;  // slot 5
    STDMETHOD(GetOutputRecord)(MCH264_OUTPUT_RECORD* pRecord) PURE;  // slot 6
    STDMETHOD(SetOutputRecord)(MCH264_OUTPUT_RECORD record) PURE;    // slot 7
};
PLATFORM_INTERFACE_TRAITS(IMCH264DecoderOutput, IUnknown);
