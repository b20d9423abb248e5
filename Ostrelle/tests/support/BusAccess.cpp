#include "support/BusAccess.h"

namespace {

HRESULT Result(hwsim::I2CResult result)
{
    return result == hwsim::I2CResult::Ack ? S_OK : E_FAIL;
}

}  // namespace

HRESULT BusAccess::I2C_Read(BYTE address, int sub, BYTE* data)
{
    return Result(m_bus.ReadSub(address & 0xFE, static_cast<BYTE>(sub), data, 1));
}

HRESULT BusAccess::I2C_Write(BYTE address, int sub, BYTE data)
{
    return Result(m_bus.WriteSub(address & 0xFE, static_cast<BYTE>(sub), &data, 1));
}

HRESULT BusAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    if (buf == nullptr) return E_POINTER;
    if (len < 1) return E_INVALIDARG;
    return Result(m_bus.ReadRaw(static_cast<BYTE>((buf[0] & 0xFE) + 1), buf, static_cast<size_t>(len)));
}

HRESULT BusAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    if (buf == nullptr) return E_POINTER;
    if (len < 1) return E_INVALIDARG;
    return Result(m_bus.WriteRaw(buf[0] & 0xFE, buf + 1, static_cast<size_t>(len - 1)));
}

HRESULT BusAccess::Reserved27(DWORD* value)
{
    *value = picture() ? 1 : 0;
    return S_OK;
}
