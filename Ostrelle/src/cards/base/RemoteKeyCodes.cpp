// The remote-key reads several card families share.
#include "cards/base/RemoteKeyCodes.h"

#include "access/CustomDataAccess.h"

namespace {
constexpr BYTE kKeyReady = 1;
constexpr BYTE kKeyAcknowledge = 0xFF;
}  // namespace

BOOL DecodeLowBitKey(DWORD word, BYTE* key) {
    const DWORD lines = word & kLowBitKeyLines;
    if (lines & kLowBitNoKeyLine) return FALSE;
    const BYTE code = static_cast<BYTE>(~lines);
    *key = static_cast<BYTE>(((code << 4) & 0xF0) | ((code >> 4) & 0x0F));
    return TRUE;
}

BOOL ReadControllerKey(CCustomDataAccess* access, BYTE controller, BYTE readyRegister, BYTE keyRegister, BYTE* key,
                       const char* readyTrace) {
    if (key == nullptr || access == nullptr) return FALSE;
    BYTE ready = 0;
    const HRESULT hr = access->I2C_Read(controller, readyRegister, &ready);
    if (readyTrace != nullptr) TRACE(readyTrace, static_cast<int>(hr), ready);
    if (hr != S_OK || ready != kKeyReady) return FALSE;
    BYTE code = 0;
    if (access->I2C_Read(controller, keyRegister, &code) != S_OK) return FALSE;
    *key = code;
    return TRUE;
}

BOOL AcknowledgeControllerKey(CCustomDataAccess* access, BYTE controller, BYTE keyRegister) {
    if (access == nullptr) return FALSE;
    return access->I2C_Write(controller, keyRegister, kKeyAcknowledge) == S_OK ? TRUE : FALSE;
}
