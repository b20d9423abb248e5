// The remote-key reads several card families share: the key on the low GPIO lines, and the key
// of an I2C key controller (a ready register that reads 1 while a key waits, then the key
// register; a key acknowledged by writing 0xFF to the key register).
#pragma once

#include <windows.h>

class CCustomDataAccess;

// GPIO lines 0-8 carry the low-bit key; line 8 high means no key.
constexpr DWORD kLowBitKeyLines = 0x1FF;
constexpr DWORD kLowBitNoKeyLine = 0x100;

// The key of a GPIO word's low lines: complemented, its nibbles swapped. FALSE (key untouched)
// while line 8 says no key.
BOOL DecodeLowBitKey(DWORD word, BYTE* key);

// The key of the I2C key controller at `controller`: `readyRegister` must read 1, then
// `keyRegister` is the key. FALSE (key untouched) without a key, an access object or a key
// out, or when a read fails. With `readyTrace`, the ready read is traced with its result and
// the value read.
BOOL ReadControllerKey(CCustomDataAccess* access, BYTE controller, BYTE readyRegister, BYTE keyRegister, BYTE* key,
                       const char* readyTrace = nullptr);
// Acknowledges the controller's key: 0xFF into `keyRegister`. TRUE when written.
BOOL AcknowledgeControllerKey(CCustomDataAccess* access, BYTE controller, BYTE keyRegister);
