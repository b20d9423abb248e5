// CFimbrelAccess: the hardware access of the Fimbrel card. Its driver filter takes I2C
// requests as records on three private property sets (IKsPropertySet; one buffer as instance
// and data):
//   set A: 0 Set and 1 Get the 19-byte I2C record {mode, device address, count, bytes from
//          offset 3}; 2 Get the 28-byte combined record {mode, device, sub-address count 1,
//          sub-address at 3, read count at 11, bytes read from 12}; 5 Get and 6 Set the 8-byte
//          chip-register record {DWORD address, DWORD value}
//   sets B and C: one DWORD each (not used here)
// Every call first asks QuerySupported for the direction it needs: E_FAIL without it, E_POINTER
// before Init.
//
// The mode byte is 1 for addresses with bits 0xA0 set (the EEPROM), else 2; block writes use 2.
// The on-board controller at 0xBA answers its registers 0xAA and 0xAB only to mode 3, with the
// read address 0xBB on the Get.
//
// GPIO lines are chip registers: 0xC7008100 / 0xC7008104 (levels, the upper half a write-enable
// mask for lines 0-15 / 16-31), 0xC7008108 / 0xC700810C (the lines that become outputs, in the
// upper half). Line 1 is the tuner's reset line.
//
// Slots 3 to 6, 9, 10 and 17 hold the request lock for their whole sequence, sleeps included.
#pragma once

#include <strmif.h>

#include "access/CustomDataAccess.h"

// 16017E0E-CE9F-44B0-A203-05D05724A12B
DEFINE_GUID(KSPROPSETID_FimbrelA, 0x16017E0E, 0xCE9F, 0x44B0, 0xA2, 0x03, 0x05, 0xD0, 0x57, 0x24, 0xA1, 0x2B);
// ACBFD244-0962-4FBC-B855-2F2BD80D5083
DEFINE_GUID(KSPROPSETID_FimbrelB, 0xACBFD244, 0x0962, 0x4FBC, 0xB8, 0x55, 0x2F, 0x2B, 0xD8, 0x0D, 0x50, 0x83);
// 0A7AF963-6805-4F99-B284-29B680975542
DEFINE_GUID(KSPROPSETID_FimbrelC, 0x0A7AF963, 0x6805, 0x4F99, 0xB2, 0x84, 0x29, 0xB6, 0x80, 0x97, 0x55, 0x42);

class CFimbrelAccess : public CCustomDataAccess {
public:
    static constexpr int kRecordSize = 19;
    static constexpr int kCombinedSize = 28;
    static constexpr int kMaxBytes = 16;

    CFimbrelAccess();
    ~CFimbrelAccess() override;

    // Open: S_OK with the interface held, E_FAIL without; nothing is sent.
    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()
    HRESULT GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs) override;
    // ResetTuner pulses the tuner's reset line (line 1) low for 20 ms, whatever bOpen says: S_OK when both
    // writes succeeded.
    DECLARE_CUSTOM_DATA_ACCESS_BRIDGE_SLOTS()
    HRESULT GPIO_SetTVFM(DWORD mode) override;

    HRESULT ReadI2C(BYTE addr, BYTE sub, BYTE* pOut, BYTE mode);
    HRESULT WriteI2C(BYTE addr, BYTE sub, BYTE value, BYTE mode);
    HRESULT WriteRaw(BYTE addr, const BYTE* pData, int n, BYTE mode);
    HRESULT WriteSub(BYTE addr, BYTE sub, const BYTE* pData, int n, BYTE mode);
    HRESULT ReadBlock(BYTE addr, BYTE* buf, int n, BYTE mode);
    HRESULT ReadCombined(BYTE addr, BYTE sub, BYTE* pOut, BYTE mode);
    HRESULT ReadCombinedBlock(BYTE addr, BYTE* buf, int n, BYTE mode);
    HRESULT ReadRegister(DWORD address, DWORD* pValue);
    HRESULT WriteRegister(DWORD address, DWORD value);
    HRESULT ReadGpio(DWORD* pValue);
    HRESULT WriteGpio(DWORD value, DWORD mask);
    // Bits 0 to 31; any other is refused with E_INVALIDARG before anything is sent.
    HRESULT ReadGpioBit(int bit, DWORD* pValue);
    HRESULT WriteGpioBit(int bit, DWORD value);
    static BYTE AddressMode(BYTE addr);

private:
    HRESULT Property(bool bGet, REFGUID set, DWORD id, void* pBuffer, DWORD size);

    CComPtr<IKsPropertySet> m_pKsPropertySet;
};
