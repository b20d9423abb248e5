// GPIO requests of the SAA713x bridge made of its two GPIO registers (mode at 0x1B0, status at
// 0x1B4), and byte reads of its 32-bit registers, shared by the access classes of the drivers
// that reach the bridge's registers. Each runs on the access object's ReadRegister32 and
// WriteRegister32; the caller holds the object's request lock around it where it wants one.
#pragma once

#include <windows.h>

class CCustomDataAccess;

// Mask into the mode register, strobe clear then set, value into the status register, the wait
// (when not 0), then the idle mode word (lines 12 and 13 driven) with the strobe.
HRESULT Saa713xStrobedGpioWrite(CCustomDataAccess* access, DWORD value, DWORD mask, DWORD waitMs);

// Lines 12 and 13 driven, then `modeWord` (with the strobe) into the mode register, then the
// latched levels from the status register into *pValue. A step that fails ends it.
HRESULT Saa713xStrobedGpioRead(CCustomDataAccess* access, DWORD modeWord, DWORD* pValue);

// The byte lane of register reg within its 32-bit register reg & ~3; *pValue only on success.
HRESULT Saa713xReadRegisterByte(CCustomDataAccess* access, BYTE reg, BYTE* pValue);

// Drives `lines` to `levels`, keeping every other line's direction and level.
HRESULT Saa713xDriveGpioLines(CCustomDataAccess* access, DWORD lines, DWORD levels);
