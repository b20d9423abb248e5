// CMpeg2BoxDecoder: the MPEG-2 box's status and picture routines on its video decoder (device
// 0x21), its tuner status, and devices 0x51 and 0x43, through box register requests. Video
// standards are the box's numbers (0 to 5).
#pragma once

#include <unknwn.h>
#include <windows.h>

class CMpeg2BoxDecoder {
public:
    static constexpr DWORD kDecoder = 0x21;
    static constexpr DWORD kStatusRegister = 31;

    // The tuner's status byte (raw read at 0x60), traced; lock in bit 6.
    static BOOL GetTunerStatus(IUnknown* pFilter, DWORD* pStatus);
    // Up to 50 reads of the status register, 10 ms apart: TRUE at the first that succeeds with
    // bit 6 clear.
    static BOOL WaitDecoderReady(IUnknown* pFilter);
    // Up to 50 reads of the status register, 10 ms apart, until one succeeds: TRUE when its
    // bit 5 is clear.
    static BOOL GetDecoderFlag(IUnknown* pFilter);
    // Bit 1 of the status register for standards 1 and 3; 0 for the others or a failed read.
    static DWORD GetDecoderStatusBit(IUnknown* pFilter, long standard);
    // The status register as the decoder's register read (mode 1) answers it.
    static BOOL ReadDecoderStatus(IUnknown* pFilter, DWORD* pValue);
    // Standards 1 and 2: input 0, 1 or 2 into the low nibble of register 2 (6, 3 or 4).
    static BOOL SelectInput(IUnknown* pFilter, long standard, int input);
    // Picture registers: register 9 offset by the standard, register 13 written as value - 127.
    static BOOL SetPictureRegister(IUnknown* pFilter, long standard, DWORD reg, long value);
    static BOOL GetPictureRegister(IUnknown* pFilter, long standard, DWORD reg, long* pValue);
    // Device 0x51 (the EEPROM at 0xA2): one register byte.
    static BOOL ReadDevice51(IUnknown* pFilter, DWORD reg, BYTE* pValue);
    static BOOL WriteDevice51(IUnknown* pFilter, DWORD reg, BYTE value);
    // Device 0x43 for standard 5: 0x1610 (variant 0) or 0x3610 (variant 1); other standards
    // send nothing and succeed.
    static BOOL SetDevice43(IUnknown* pFilter, long standard, int variant);
};
