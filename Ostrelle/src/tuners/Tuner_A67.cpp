#include "tuners/Tuner_A67.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTuner_A67::CTuner_A67(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(67));
}

CTuner_A67::~CTuner_A67()
{
    StopScan();
}

CTunerBase* CTuner_A67::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_A67(pAccess);
}

BOOL CTuner_A67::SetTVChannelFreq(float kHz)
{
    return CTunerBase::SetTVChannelFreq(kHz + 250.0f);
}

BOOL CTuner_A67::GetTVChannelOkay(DWORD* status)
{
    if (status == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    BYTE byte = 0;
    if (CIfDemodulator(m_pAccess).ReadStatusByte(GetReadAddress(), &byte) != S_OK) return FALSE;
    *status = (byte >> 6) & 1;
    return TRUE;
}

BOOL CTuner_A67::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS4, standard);
}
