// The module classes with an operation that no record of the module table can say.
#include "tuners/TunerModuleOverrides.h"

#include "access/CustomDataAccess.h"
#include "graph/Thread.h"
#include "tuners/FrequencyMath.h"
#include "tuners/PllTuning.h"
#include "tuners/TunerModuleRows.h"

namespace {

// Model 139's IF for SECAM_L and SECAM_L1.
constexpr long kSecamLIF = 33900;

constexpr BYTE kModeChip = 0xB6;

// Register 0 of model 100's mode chip for modes 1 to 5; any other mode writes 0x00.
constexpr BYTE kModeBytes[] = {0x00, 0x80, 0x00, 0x02, 0x01};

BYTE ModeByte(long mode)
{
    return mode >= 1 && mode <= 5 ? kModeBytes[mode - 1] : 0x00;
}

}  // namespace

BOOL CTuner_P92::SetFMChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WriteP92FM(m_pAccess, *this, ClampKHz(kHz, GetFMRangeLow(), GetFMRangeHigh()));
}

CTuner_P95::CTuner_P95(CCustomDataAccess* pAccess) : CTunerModule(pAccess), m_bridge(pAccess), m_tda8275a(&m_bridge)
{
    CScopedLock lock(&m_csBus);
    m_tda8275a.GetTDA8290().Init();
    m_tda8275a.Init();
}

BOOL CTuner_P95::SetTVChannelFreq(float kHz)
{
    long hz = 0;
    if (!TruncateToLong(static_cast<double>(kHz) * 1000.0, &hz) || hz < 0) return FALSE;
    CScopedLock lock(&m_csBus);
    const long standard = m_tda8275a.GetTDA8290().GetStandard();
    const BOOL result = m_tda8275a.Tune(hz, standard);
    Sleep(50);
    m_tda8275a.GetTDA8290().SetStandard(standard);
    return result;
}

BOOL CTuner_P95::GetTVChannelOkay(DWORD* status)
{
    DWORD locked = 0;
    const BOOL result = GetSignalLocked(&locked);
    if (status != nullptr) *status = static_cast<DWORD>(locked != 0 ? GetAfcValue3() : GetAfcValue1());
    return result;
}

BOOL CTuner_P95::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return m_tda8275a.GetTDA8290().SelectStandard(standard);
}

BOOL CTuner_P97::IsTVChannelLocked()
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadDecoderLock(static_cast<BYTE>(m_lDemodAddress.load()));
}

// A standard outside the table leaves the IF at the row's and the demodulator as it was.
BOOL CTuner_A139::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    const bool secamL = standard == AnalogVideo_SECAM_L || standard == AnalogVideo_SECAM_L1;
    SetIF(secamL ? kSecamLIF : Row().range.ifKHz);
    return CTunerModule::SetVideoStandard(standard);
}

// The demodulator's three registers (the record's table), then the mode: TRUE only when all
// five writes went.
BOOL CTuner_O100::SetVideoStandard(long standard)
{
    if (m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    const BOOL demod = CTunerModule::SetVideoStandard(standard);
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
