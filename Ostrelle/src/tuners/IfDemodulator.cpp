// CIfDemodulator: the IF demodulator beside a PLL tuner module.
#include "tuners/IfDemodulator.h"

#include <algorithm>

#include "access/CustomDataAccess.h"

namespace {

constexpr BYTE kDecoderStatus = 0x1F;
constexpr BYTE kDecoderNoPicture = 0x40;
constexpr BYTE kFMBits = 0xA0;  // bits 5 and 7

BYTE AfcNibble(BYTE byte)
{
    return static_cast<BYTE>((byte >> 1) & 0x0F);
}

}  // namespace

BOOL CIfDemodulator::WriteTable(const DemodTable& table, long standard) const
{
    const DemodColumn* column = PickDemodColumn(table, standard);
    if (column == nullptr || m_pAccess == nullptr) return FALSE;
    BOOL result = TRUE;
    for (int reg = 0; reg < 3; ++reg) {
        HRESULT hr = E_FAIL;
        if (table.how == DemodWrite::Registers) {
            hr = m_pAccess->I2C_Write(table.device, reg, column->values[reg]);
        } else {
            BYTE buffer[3] = {table.device, static_cast<BYTE>(reg), column->values[reg]};
            hr = m_pAccess->I2C_WriteBlock(buffer, 3);
        }
        if (hr != S_OK) {
            result = FALSE;
            if (table.how == DemodWrite::Sequence) break;
        }
    }
    if (table.settleMs != 0) Sleep(table.settleMs);
    return result;
}

HRESULT CIfDemodulator::ReadStatusByte(BYTE readAddress, BYTE* byte) const
{
    if (m_pAccess == nullptr) return E_FAIL;
    BYTE buffer[1] = {readAddress};
    const HRESULT hr = m_pAccess->I2C_ReadBlock(buffer, 1);
    if (hr == S_OK) *byte = buffer[0];
    return hr;
}

BOOL CIfDemodulator::ReadAfc(BYTE readAddress, const AfcMap& map, DemodTrace trace, DWORD* status) const
{
    if (status == nullptr) return FALSE;
    if (trace == DemodTrace::Steps) TRACE("GetTVChannelOkay ");
    BYTE byte = 0;
    const HRESULT hr = ReadStatusByte(readAddress, &byte);
    const BOOL result = hr == S_OK ? TRUE : FALSE;
    if (result) {
        const BYTE nibble = AfcNibble(byte);
        *status = map[nibble];
        if (trace == DemodTrace::Steps) {
            TRACE(" Status = 0x%02x", byte);
            TRACE(" bySignal = %d", nibble);
            TRACE(" Ret = %d", static_cast<int>(*status));
        }
    }
    if (trace == DemodTrace::Steps)
        TRACE("\n");
    else
        TRACE("GetTVChannelOkay : %d,byStatus = %d,hr = %d\n", static_cast<int>(*status), byte, static_cast<int>(hr));
    return result;
}

BOOL CIfDemodulator::ReadFMStatus(const DemodFMStatus& how, DWORD* status) const
{
    if (status == nullptr) return FALSE;
    BYTE byte = 0;
    if (ReadStatusByte(kDemodReadAddress, &byte) != S_OK) return FALSE;
    ApplyFMStatus(byte, how.anyBit, how.centre, status);
    if (how.bitsTrace != nullptr) {
        TRACE("%s", how.bitsTrace);
        TRACE("%d%d%d%d%d%d%d%d", (byte >> 7) & 1, (byte >> 6) & 1, (byte >> 5) & 1, (byte >> 4) & 1,
              (byte >> 3) & 1, (byte >> 2) & 1, (byte >> 1) & 1, byte & 1);
        TRACE("\n");
    }
    return TRUE;
}

void CIfDemodulator::ApplyFMStatus(BYTE byte, BOOL bAnyBit, std::span<const BYTE> centre, DWORD* status)
{
    const BYTE bits = byte & kFMBits;
    if (bAnyBit ? bits == 0 : bits != kFMBits) return;
    const BYTE nibble = AfcNibble(byte);
    *status = std::find(centre.begin(), centre.end(), nibble) != centre.end() ? 4 : 0;
}

BOOL CIfDemodulator::ReadDecoderLock(BYTE decoderAddress) const
{
    if (m_pAccess == nullptr) return FALSE;
    BYTE value = 0xFF;
    const HRESULT hr = m_pAccess->I2C_Read(decoderAddress, kDecoderStatus, &value);
    return hr == S_OK && (value & kDecoderNoPicture) == 0 ? TRUE : FALSE;
}
