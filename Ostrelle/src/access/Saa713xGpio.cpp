// GPIO requests of the SAA713x bridge made of its two GPIO registers.
#include "access/Saa713xGpio.h"

#include "access/CustomDataAccess.h"

namespace {

constexpr DWORD kGpioMode = 0x1B0;
constexpr DWORD kGpioStatus = 0x1B4;
constexpr DWORD kStrobe = 0x80000000;
constexpr DWORD kModeIdle = 0x00003000;

}  // namespace

HRESULT Saa713xStrobedGpioWrite(CCustomDataAccess* access, DWORD value, DWORD mask, DWORD waitMs)
{
    HRESULT hr = access->WriteRegister32(kGpioMode, mask);
    if (hr != S_OK) return hr;
    hr = access->WriteRegister32(kGpioMode, mask | kStrobe);
    if (hr != S_OK) return hr;
    hr = access->WriteRegister32(kGpioStatus, value);
    if (hr != S_OK) return hr;
    if (waitMs != 0) Sleep(waitMs);
    return access->WriteRegister32(kGpioMode, kModeIdle | kStrobe);
}

HRESULT Saa713xStrobedGpioRead(CCustomDataAccess* access, DWORD modeWord, DWORD* pValue)
{
    HRESULT hr = access->WriteRegister32(kGpioMode, kModeIdle);
    if (hr != S_OK) return hr;
    hr = access->WriteRegister32(kGpioMode, modeWord);
    if (hr != S_OK) return hr;
    return access->ReadRegister32(kGpioStatus, pValue);
}

HRESULT Saa713xReadRegisterByte(CCustomDataAccess* access, BYTE reg, BYTE* pValue)
{
    if (!pValue) return E_POINTER;
    DWORD value = 0;
    HRESULT hr = access->ReadRegister32(reg & ~3u, &value);
    if (hr == S_OK) *pValue = static_cast<BYTE>(value >> (8 * (reg & 3)));
    return hr;
}

HRESULT Saa713xDriveGpioLines(CCustomDataAccess* access, DWORD lines, DWORD levels)
{
    DWORD mode = 0;
    DWORD status = 0;
    HRESULT hr = access->ReadRegister32(kGpioMode, &mode);
    if (hr != S_OK) return hr;
    hr = access->ReadRegister32(kGpioStatus, &status);
    if (hr != S_OK) return hr;
    hr = access->WriteRegister32(kGpioMode, mode | lines);
    if (hr != S_OK) return hr;
    return access->WriteRegister32(kGpioStatus, (status & ~lines) | levels);
}
