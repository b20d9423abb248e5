// The InterVideo filters built for the maker's cards and their parameter interfaces, as the
// InterVideo development kit declares them. Every parameter interface reads a parameter by id in
// slot 3 and writes one in slot 4.
#pragma once

#include "oleauto.h"
#include "strmif.h"

// ---- Audio encoder ----
DEFINE_GUID(CLSID_IVAudioEncoder, 0x55F19296, 0x06C0, 0x4A21, 0x8D, 0xEF, 0x59, 0x74, 0x25, 0x44, 0x00, 0x63);
DEFINE_GUID(IID_IIVAudioParams, 0x0CD2E142, 0x8D60, 0x11D3, 0x9C, 0x32, 0x00, 0x10, 0x4B, 0x38, 0x01, 0xF6);

struct IIVAudioParams : public IUnknown {
    STDMETHOD(GetParam)(DWORD dwId, LONG* pValue) PURE;  // slot 3
    STDMETHOD(SetParam)(DWORD dwId, LONG lValue) PURE;   // slot 4
};
PLATFORM_INTERFACE_TRAITS(IIVAudioParams, IUnknown);

// ---- Video encoder ----
DEFINE_GUID(CLSID_IVVideoEncoder, 0x31864FE3, 0xA10C, 0x45AF, 0xB7, 0x23, 0xE5, 0xE4, 0x90, 0x5F, 0xB6, 0xA7);
DEFINE_GUID(IID_IIVVideoParams, 0x317DDB63, 0x870E, 0x11D3, 0x9C, 0x32, 0x00, 0x10, 0x4B, 0x38, 0x01, 0xF6);

struct IIVVideoParams : public IUnknown {
    STDMETHOD(GetParam)(DWORD dwId, LONG* pValue) PURE;  // slot 3
    STDMETHOD(SetParam)(DWORD dwId, LONG lValue) PURE;   // slot 4
};
PLATFORM_INTERFACE_TRAITS(IIVVideoParams, IUnknown);

// ---- File writer (also answers IFileSinkFilter) ----
DEFINE_GUID(CLSID_IVFileWriter, 0xA5258D74, 0x8ED8, 0x4606, 0x87, 0x68, 0xDC, 0x53, 0x60, 0xE5, 0xFC, 0x8E);
DEFINE_GUID(IID_IIVFileWriterParams, 0x173DAD40, 0xA0D3, 0x43E2, 0xB1, 0xD5, 0x2E, 0x46, 0x25, 0xD7, 0xF1, 0xF0);

// Parameter 0x500 is 64 bits wide: written through a pointer to it, read into 8 bytes.
struct IIVFileWriterParams : public IUnknown {
    STDMETHOD(GetParam)(DWORD dwId, void* pValue) PURE;      // slot 3
    STDMETHOD(SetParam)(DWORD dwId, LONG_PTR lValue) PURE;   // slot 4
};
PLATFORM_INTERFACE_TRAITS(IIVFileWriterParams, IUnknown);

// ---- Program-stream multiplexer ----
DEFINE_GUID(CLSID_IVMultiplexer, 0x31FDD5E8, 0x68AD, 0x4D29, 0xA2, 0xA5, 0xA4, 0x29, 0x0C, 0x37, 0x21, 0xA1);
DEFINE_GUID(IID_IIVMuxParams, 0x317DDB64, 0x870E, 0x11D3, 0x9C, 0x32, 0x00, 0x10, 0x4B, 0x38, 0x01, 0xF7);

struct IIVMuxParams : public IUnknown {
    STDMETHOD(GetParam)(DWORD dwId, LONG* pValue) PURE;  // slot 3
    STDMETHOD(SetParam)(DWORD dwId, LONG lValue) PURE;   // slot 4
};
PLATFORM_INTERFACE_TRAITS(IIVMuxParams, IUnknown);

// ---- Still capture ----
DEFINE_GUID(CLSID_IVStillCapture, 0x14DCDA2E, 0xE2AC, 0x498C, 0xA6, 0xCF, 0xB5, 0x94, 0x33, 0x2F, 0x9A, 0xB7);
DEFINE_GUID(IID_IIVStillParams, 0xB4ABF4A0, 0x01BA, 0x11D4, 0x89, 0x8C, 0x00, 0xA0, 0xCC, 0x52, 0x11, 0xEF);

// Parameter 0x607 reads the size of the current picture in bytes, 0x608 reads the picture itself
// (a packed DIB) into a block of that size.
struct IIVStillParams : public IUnknown {
    STDMETHOD(GetParam)(DWORD dwId, void* pValue) PURE;  // slot 3
    STDMETHOD(SetParam)(DWORD dwId, LONG lValue) PURE;   // slot 4
};
PLATFORM_INTERFACE_TRAITS(IIVStillParams, IUnknown);

// ---- Down-scaler ----
DEFINE_GUID(CLSID_IVDownScale, 0x89E60B61, 0xB893, 0x4EEC, 0x86, 0xE1, 0xA2, 0x31, 0xF0, 0xE1, 0x5C, 0xC0);
DEFINE_GUID(IID_IIVDownScaleParams, 0x50359D21, 0xEB57, 0x4980, 0x92, 0x2F, 0xB1, 0x97, 0x31, 0x10, 0x17, 0xAA);

struct IIVDownScaleParams : public IUnknown {
    STDMETHOD(GetParam)(DWORD dwId, LONG* pValue) PURE;  // slot 3
    STDMETHOD(SetParam)(DWORD dwId, LONG lValue) PURE;   // slot 4
};
PLATFORM_INTERFACE_TRAITS(IIVDownScaleParams, IUnknown);

// ---- Video decoder ----
DEFINE_GUID(CLSID_IVVideoDecoder, 0x0246CA20, 0x776D, 0x11D2, 0x80, 0x10, 0x00, 0x10, 0x4B, 0x9B, 0x85, 0x92);

// ---- Time-shift filter ----
DEFINE_GUID(CLSID_IVTimeShift, 0x113BAC79, 0xBF89, 0x4693, 0x8B, 0x66, 0x39, 0x21, 0x2C, 0xA6, 0x56, 0x8B);
DEFINE_GUID(IID_IIVTimeShift, 0xBD7EA3E2, 0x2666, 0x11D4, 0xB2, 0x69, 0x00, 0xA0, 0xD2, 0x18, 0x25, 0xFB);

// The storage record the time-shift filter's slots 3 and 4 exchange: where the buffer file lives
// and how big it is. The strings are BSTRs; slot 3 hands the caller strings it then owns.
struct IVTimeShiftRecord {
    BSTR directory;
    BSTR fileName;
    LONG bufferKB;
    LONG fourth;
    LONG bufferBytes;
    LONG sixth;
};

// Only the slots the card library calls are named for what they take; the others are the
// filter's own.
struct IIVTimeShift : public IUnknown {
    STDMETHOD(GetStorage)(IVTimeShiftRecord* pRecord) PURE;  // slot 3
    STDMETHOD(SetStorage)(IVTimeShiftRecord record) PURE;    // slot 4
    STDMETHOD(Slot5)() PURE;
    STDMETHOD(Slot6)() PURE;
    STDMETHOD(Slot7)() PURE;
    STDMETHOD(Slot8)() PURE;
    STDMETHOD(SetBufferValue)(LONG value) PURE;             // slot 9
    STDMETHOD(Slot10)() PURE;
    STDMETHOD(Slot11)() PURE;
    STDMETHOD(Slot12)() PURE;
    STDMETHOD(SetWordA)(DWORD value) PURE;                  // slot 13
    STDMETHOD(SetLongWord)(DWORD low, DWORD high) PURE;     // slot 14
    STDMETHOD(SetWordB)(DWORD value) PURE;                  // slot 15
    STDMETHOD(SetWordC)(DWORD value) PURE;                  // slot 16
    STDMETHOD(SetWordD)(DWORD value) PURE;                  // slot 17
    STDMETHOD(Slot18)() PURE;
    STDMETHOD(CommandA)() PURE;                             // slot 19
    STDMETHOD(CommandB)() PURE;                             // slot 20
    STDMETHOD(SetFileName)(LPCSTR name) PURE;               // slot 21
};
PLATFORM_INTERFACE_TRAITS(IIVTimeShift, IUnknown);
