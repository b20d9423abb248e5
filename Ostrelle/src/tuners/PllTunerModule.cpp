// CPllTunerModule: a PLL module of the module table.
#include "tuners/PllTunerModule.h"

#include "graph/Thread.h"
#include "tuners/PllTuning.h"

CPllTunerModule::CPllTunerModule(CCustomDataAccess* pAccess, const TunerModuleRow& row)
    : CTunerBase(pAccess), m_row(row), m_ops(row.ops)
{
    SetModule(row);
}

BOOL CPllTunerModule::SetFMChannelFreq(float kHz)
{
    if (m_ops.fmAfterTuning == nullptr) return CTunerBase::SetFMChannelFreq(kHz);
    CScopedLock lock(&m_csBus);
    if (!CTunerBase::SetFMChannelFreq(kHz)) return FALSE;
    return CIfDemodulator(m_pAccess).WriteTable(*m_ops.fmAfterTuning, GetCurrentStandard());
}

BOOL CPllTunerModule::GetFMChannelOkay(DWORD* status)
{
    const DemodFMStatus* how = m_ops.fmStatus;
    if (how == nullptr) return CTunerBase::GetFMChannelOkay(status);
    if (status == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    if (how->pllFirst) CTunerBase::GetFMChannelOkay(status);
    return CIfDemodulator(m_pAccess).ReadFMStatus(*how, status);
}

BOOL CPllTunerModule::SetTVChannelFreq(float kHz)
{
    const ModuleTvTuning& how = m_ops.tv;
    if (!how.clamp) return CTunerBase::SetTVChannelFreq(kHz + how.offsetKHz);
    CScopedLock lock(&m_csBus);
    PllTvWrite write = how.sixth == SixthByte::BySecam ? SecamTvWrite(*this, how.lPrimeIF)
                                                       : LPrimeTvWrite(*this, how.lPrimeIF);
    if (how.sixth == SixthByte::Fixed) write.aux = how.sixthByte;
    return WritePllTvClamped(m_pAccess, *this, kHz, write);
}

BOOL CPllTunerModule::GetTVChannelOkay(DWORD* status)
{
    const ModuleTvStatus& how = m_ops.tvStatus;
    if (how.read == TvStatusRead::Pll) return CTunerBase::GetTVChannelOkay(status);
    if (status == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    const CIfDemodulator demod(m_pAccess);
    if (how.read == TvStatusRead::Demod) return demod.ReadAfc(how.address, *how.map, how.trace, status);
    BYTE byte = 0;
    if (demod.ReadStatusByte(GetReadAddress(), &byte) != S_OK) return FALSE;
    *status = (byte & GetLockMask()) != 0 ? 1 : 0;
    return TRUE;
}

BOOL CPllTunerModule::SetVideoStandard(long standard)
{
    if (m_ops.standard == nullptr) return CTunerBase::SetVideoStandard(standard);
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(*m_ops.standard, standard);
}
