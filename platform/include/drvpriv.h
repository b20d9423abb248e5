// Private COM interfaces of card drivers, as the card classes call them: the DVB-C capture
// driver's control interface and the control object of the EMP USB audio device. Methods stand
// in their slot order; the drivers give them their meaning.
#pragma once

#include "unknwn.h"

// {9B21A661-29BB-4ED3-B125-54B409677B59}
DEFINE_GUID(IID_IDvbcControl, 0x9B21A661, 0x29BB, 0x4ED3, 0xB1, 0x25, 0x54, 0xB4, 0x09, 0x67, 0x7B, 0x59);

struct IDvbcControl : public IUnknown {
    STDMETHOD(StartStream)() PURE;                                 // 1
    STDMETHOD(StopStream)() PURE;                                  // 2
    STDMETHOD(Tune)(DWORD frequency, WORD symbolRate) PURE;        // 3
    STDMETHOD(GetSignalStatus)(DWORD* status) PURE;                // 4
    STDMETHOD(ResetDemodulator)() PURE;                            // 5
    STDMETHOD(SetModulation)(DWORD modulation) PURE;               // 6
    STDMETHOD(SetSpectrumInversion)(DWORD inversion) PURE;         // 7
    STDMETHOD(AddPid)(DWORD pid) PURE;                             // 8
    STDMETHOD(RemovePid)(DWORD pid) PURE;                          // 9
    STDMETHOD(SetStreamMode)(DWORD mode) PURE;                     // 10
    STDMETHOD(GetStreamMode)(DWORD* mode) PURE;                    // 11
    STDMETHOD(SetTunerPower)(DWORD on) PURE;                       // 12
    STDMETHOD(GetSignalStrength)(DWORD* strength) PURE;            // 13
    STDMETHOD(GetSignalQuality)(DWORD* quality) PURE;              // 14
    STDMETHOD(GetErrorRate)(DWORD* rate) PURE;                     // 15
    STDMETHOD(GetUncorrectedBlocks)(DWORD* blocks) PURE;           // 16
    STDMETHOD(GetLockStatus)(DWORD* locked) PURE;                  // 17
    STDMETHOD(WriteDemodRegister)(DWORD reg, DWORD value) PURE;    // 18
};

// The EMP USB audio device's control object and its interface.
// {EAD744C9-6FF4-45D9-A111-4A235F616D2E}
DEFINE_GUID(CLSID_EmpAudioControl, 0xEAD744C9, 0x6FF4, 0x45D9, 0xA1, 0x11, 0x4A, 0x23, 0x5F, 0x61, 0x6D, 0x2E);
// {AA63F0E8-BB2C-47DF-A7DA-2511C7C812A0}
DEFINE_GUID(IID_IEmpAudioControl, 0xAA63F0E8, 0xBB2C, 0x47DF, 0xA7, 0xDA, 0x25, 0x11, 0xC7, 0xC8, 0x12, 0xA0);

struct IEmpAudioControl : public IUnknown {
    STDMETHOD(GetVersion)(DWORD* version) PURE;       // 1
    STDMETHOD(GetInputCount)(DWORD* count) PURE;      // 2
    STDMETHOD(SelectInput)(DWORD input) PURE;         // 3
    STDMETHOD(GetSelectedInput)(DWORD* input) PURE;   // 4
    STDMETHOD(EnableAudio)(DWORD enable) PURE;        // 5
};

PLATFORM_INTERFACE_TRAITS(IDvbcControl, IUnknown);
PLATFORM_INTERFACE_TRAITS(IEmpAudioControl, IUnknown);
