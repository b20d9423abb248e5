#include "tuners/Tuner_P95.h"

#include "tuners/FrequencyMath.h"
#include "graph/Thread.h"
#include "tuners/TunerModules.h"

CTuner_P95::CTuner_P95(CCustomDataAccess* pAccess) : CTunerBase(pAccess), m_bridge(pAccess), m_tda8275a(&m_bridge)
{
    SetModule(*FindTunerModuleRow(95));
    CScopedLock lock(&m_csBus);
    m_tda8275a.GetTDA8290().Init();
    m_tda8275a.Init();
}

CTuner_P95::~CTuner_P95()
{
    StopScan();
}

CTunerBase* CTuner_P95::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_P95(pAccess);
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
