// CI2CInterface: the register interface the TDA8275A and TDA8290 drivers program through.
#include "tuners/TunerI2CBridge.h"

#include <limits>
#include <vector>

#include "access/CustomDataAccess.h"

namespace {

const int kTries = 3;

}  // namespace

BOOL CTunerI2CBridge::WriteReg(BYTE address, BYTE subAddress, BYTE value)
{
    if (m_pAccess == nullptr) return FALSE;
    for (int i = 0; i < kTries; ++i)
        if (SUCCEEDED(m_pAccess->I2C_Write(address, subAddress, value))) return TRUE;
    return FALSE;
}

BOOL CTunerI2CBridge::ReadReg(BYTE address, BYTE subAddress, BYTE* value)
{
    if (m_pAccess == nullptr) return FALSE;
    for (int i = 0; i < kTries; ++i)
        if (SUCCEEDED(m_pAccess->I2C_Read(address, subAddress, value))) return TRUE;
    return FALSE;
}

BOOL CTunerI2CBridge::WriteBlock(BYTE address, const BYTE* data, int length)
{
    if (m_pAccess == nullptr || length < 0 || length == std::numeric_limits<int>::max() || (length > 0 && data == nullptr))
        return FALSE;
    std::vector<BYTE> buffer(static_cast<size_t>(length) + 1);
    buffer[0] = address;
    for (int i = 0; i < length; ++i) buffer[static_cast<size_t>(i) + 1] = data[i];
    return SUCCEEDED(m_pAccess->I2C_WriteBlock(buffer.data(), length + 1)) ? TRUE : FALSE;
}
