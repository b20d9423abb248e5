#include "tuners/TNJ7752JFF_MK5.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTNJ7752JFF_MK5::CTNJ7752JFF_MK5(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(68));
}

CTNJ7752JFF_MK5::~CTNJ7752JFF_MK5()
{
    StopScan();
}

CTunerBase* CTNJ7752JFF_MK5::Create(CCustomDataAccess* pAccess)
{
    return new CTNJ7752JFF_MK5(pAccess);
}

BOOL CTNJ7752JFF_MK5::SetFMChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    if (!CTunerBase::SetFMChannelFreq(kHz)) return FALSE;
    return CIfDemodulator(m_pAccess).WriteTable(kDemodFM2, GetCurrentStandard());
}

BOOL CTNJ7752JFF_MK5::GetFMChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    if (status == nullptr) return FALSE;
    CTunerBase::GetFMChannelOkay(status);
    BYTE byte = 0;
    if (CIfDemodulator(m_pAccess).ReadStatusByte(kDemodReadAddress, &byte) != S_OK) return FALSE;
    CIfDemodulator::ApplyFMStatus(byte, TRUE, kFMCentre2, status);
    TRACE("CTNJ7752JFF_MK5 FM Status = ");
    TRACE("%d%d%d%d%d%d%d%d", (byte >> 7) & 1, (byte >> 6) & 1, (byte >> 5) & 1, (byte >> 4) & 1, (byte >> 3) & 1,
          (byte >> 2) & 1, (byte >> 1) & 1, byte & 1);
    TRACE("\n");
    return TRUE;
}

BOOL CTNJ7752JFF_MK5::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapB, DemodTrace::Steps, status);
}

BOOL CTNJ7752JFF_MK5::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS5, standard);
}
