#include "support/DirectBusAccess.h"

namespace {

constexpr DWORD kResetLine = 1u << 18;

HRESULT Result(hwsim::I2CResult result) { return result == hwsim::I2CResult::Ack ? S_OK : E_FAIL; }

}  // namespace

HRESULT DirectBusAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    if (buf == nullptr) return E_POINTER;
    if (len < 1) return E_INVALIDARG;
    return Result(m_board.Bus().ReadRaw(kTuner | 1, buf, static_cast<size_t>(len)));
}

HRESULT DirectBusAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    if (buf == nullptr) return E_POINTER;
    if (len < 1) return E_INVALIDARG;
    return Result(m_board.Bus().WriteRaw(kTuner, buf, static_cast<size_t>(len)));
}

HRESULT DirectBusAccess::ResetTuner(BOOL open)
{
    hwsim::Saa713x& bridge = m_board.Bridge();
    bridge.Write(hwsim::Saa713x::kGpioMode, bridge.Read(hwsim::Saa713x::kGpioMode) | kResetLine);
    const DWORD latches = bridge.HostLatches();
    bridge.Write(hwsim::Saa713x::kGpioStatus, open ? latches | kResetLine : latches & ~kResetLine);
    return S_OK;
}
