// DM1105.dll: the DVB-C chip vendor's library, as the DVB-C card calls it. The library the PC
// has installed answers (platform/dm1105library.h); with none installed every call answers 0
// and UnregIRkeyCallback does nothing.
#pragma once

#include "platform/winbase.h"

// Called by the library on a thread of its own for every key of the infrared receiver: an
// unused byte, and a value whose low byte is the key code.
typedef void(CALLBACK* PIRKEYCALLBACK)(BYTE unused, DWORD keyValue);

// Registers the key callback; nonzero when registered. `reserved` is 0; `context` the caller's.
PLATFORM_API int RegIRkeyCallback(PIRKEYCALLBACK callback, DWORD reserved, void* context);
// Takes the callback away; returns once no call of it runs, and none starts afterwards.
PLATFORM_API int UnregIRkeyCallback();
// `count` EEPROM bytes from `address`; nonzero when done.
PLATFORM_API int WriteEEPROM(BYTE address, BYTE* data, BYTE count);
PLATFORM_API int ReadEEPROM(BYTE address, BYTE* data, BYTE count);
// Writes one byte to a port of the chip.
PLATFORM_API int WritePortBYTE(DWORD port, BYTE value);
