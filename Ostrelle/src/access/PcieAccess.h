// CPcieAccess: the hardware access of the Lurvan PCI Express dual-tuner card. It opens the
// card's kernel driver by its device-interface class, through SetupAPI, and talks to it with
// DeviceIoControl: one control code for I2C reads, one for I2C writes, one for GPIO.
//
// The flag (0 to 255) picks what the object reaches: flag >> 1 is the index of the device
// interface (the board), bit 0 the half of the board: the tuner addresses (0xC2/0xC3 clear,
// 0xC8/0xC9 set) and the GPIO selector (3 clear, 4 set). The card passes its device-instance
// index as the flag, in Init's context argument.
//
// Results: S_OK when the request was carried out, else HRESULT_FROM_WIN32 of the Win32 error of
// the open or of DeviceIoControl (ERROR_INVALID_HANDLE when the driver is not open); E_POINTER
// and E_INVALIDARG for bad input before anything is sent. Outputs are written only on success.
// SetOption and GPIO_Read do nothing and answer 1. Opening and the I2C slots hold the request
// lock; GPIO_Write and ResetTuner are one request each and take none.
#pragma once

#include "access/CustomDataAccess.h"

// {4F397D29-7F2F-42A9-AB90-1791384014C4}
DEFINE_GUID(GUID_PcieCardInterface, 0x4F397D29, 0x7F2F, 0x42A9, 0xAB, 0x90, 0x17, 0x91, 0x38, 0x40, 0x14, 0xC4);

class CPcieAccess : public CCustomDataAccess {
public:
    CPcieAccess();
    ~CPcieAccess() override;

    // Init's pContext: the flag, as an integer.
    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()
    HRESULT ResetTuner(BOOL bOpen) override;

    // A flag above 255 is refused (-1, the flag stays); else the old flag.
    LONG SetFlag(DWORD flag);
    // 0 when opened, else the Win32 error of the step that failed (0 when it recorded none:
    // whether the driver is open is the handle's; Init answers E_FAIL then).
    DWORD OpenDevice();
    void CloseDevice();
    // The 16-bit sub-address forms; a sub-address above 0xFF is refused with E_INVALIDARG.
    HRESULT ReadReg16(BYTE addr, int sub, BYTE* out);
    HRESULT WriteReg16(BYTE addr, int sub, BYTE value);
    // DeviceIoControl on the handle: 0, or GetLastError().
    DWORD IoControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned);
    DWORD IoControlIn(DWORD code, void* in, DWORD inSize);

private:
    // One byte read after a sub-address of `subBytes` bytes (1 or 2).
    HRESULT ReadSub(BYTE addr, BYTE subBytes, int sub, BYTE* out);
    HRESULT WriteSub(BYTE addr, BYTE subBytes, int sub, BYTE value);

    HANDLE m_hDevice;
    DWORD m_dwFlag;
};
