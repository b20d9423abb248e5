#include "tuners/Tuner_O100.h"

#include "access/CustomDataAccess.h"
#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"

namespace {

constexpr BYTE kModeChip = 0xB6;

// Register 0 of the mode chip for modes 1 to 5; any other mode writes 0x00.
constexpr BYTE kModeBytes[] = {0x00, 0x80, 0x00, 0x02, 0x01};

BYTE ModeByte(long mode)
{
    return mode >= 1 && mode <= 5 ? kModeBytes[mode - 1] : 0x00;
}

}  // namespace

BOOL CTuner_O100::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapB, DemodTrace::Steps, status);
}

// The demodulator's three registers, then the mode: TRUE only when all five writes went.
BOOL CTuner_O100::SetVideoStandard(long standard)
{
    if (m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    const BOOL demod = CIfDemodulator(m_pAccess).WriteTable(kDemodO100, standard);
    const BOOL mode = ApplyMode(m_lMode);
    return demod && mode ? TRUE : FALSE;
}

BOOL CTuner_O100::SetMode(long mode)
{
    CScopedLock lock(&m_csBus);
    m_lMode = mode;
    return ApplyMode(mode);
}

BOOL CTuner_O100::ApplyMode(long mode)
{
    if (m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    const HRESULT first = m_pAccess->I2C_Write(kModeChip, 0, ModeByte(mode));
    const HRESULT second = m_pAccess->I2C_Write(kModeChip, 1, 0x04);
    return first == S_OK && second == S_OK ? TRUE : FALSE;
}
