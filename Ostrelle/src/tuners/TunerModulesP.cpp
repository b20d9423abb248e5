#include "tuners/TunerModulesP.h"

#include "graph/Thread.h"
#include "tuners/FrequencyMath.h"
#include "tuners/IfDemodulator.h"
#include "tuners/PllTuning.h"

BOOL CTuner_P92::SetFMChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WriteP92FM(m_pAccess, *this, ClampKHz(kHz, GetFMRangeLow(), GetFMRangeHigh()));
}

BOOL CTuner_P92::SetTVChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WritePllTvClamped(m_pAccess, *this, kHz, SecamTvWrite(*this, 33900));
}

BOOL CTuner_P92::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapA, DemodTrace::Summary, status);
}

BOOL CTuner_P92::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS8, standard);
}

BOOL CTuner_P93::SetTVChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WritePllTvClamped(m_pAccess, *this, kHz, SecamTvWrite(*this, 0));
}

BOOL CTuner_P93::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapB, DemodTrace::Summary, status);
}

BOOL CTuner_P93::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS9, standard);
}

BOOL CTuner_P94::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapA, DemodTrace::Summary, status);
}

BOOL CTuner_P94::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF4, standard);
}

CTuner_P95::CTuner_P95(CCustomDataAccess* pAccess) : CTunerModuleClass(pAccess), m_bridge(pAccess), m_tda8275a(&m_bridge)
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

BOOL CTuner_P96::SetTVChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    PllTvWrite write = ModuleTvWrite(*this);
    write.aux = 0x50;
    return WritePllTvClamped(m_pAccess, *this, kHz, write);
}

BOOL CTuner_P96::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapA, DemodTrace::Summary, status);
}

BOOL CTuner_P96::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF5, standard);
}

BOOL CTuner_P97::IsTVChannelLocked()
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadDecoderLock(static_cast<BYTE>(m_lDemodAddress.load()));
}

BOOL CTuner_P97::SetTVChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WritePllTvClamped(m_pAccess, *this, kHz, ModuleTvWrite(*this));
}

BOOL CTuner_P97::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodAddress, kAfcMapC, DemodTrace::Steps, status);
}

BOOL CTuner_P97::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS9, standard);
}

BOOL CTuner_P98::SetFMChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    if (!CTunerBase::SetFMChannelFreq(kHz)) return FALSE;
    return CIfDemodulator(m_pAccess).WriteTable(kDemodFM1, GetCurrentStandard());
}

BOOL CTuner_P98::GetFMChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadFMStatus(FALSE, kFMCentre1, status);
}

BOOL CTuner_P98::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapA, DemodTrace::Summary, status);
}

BOOL CTuner_P98::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF4, standard);
}
