// CXCeive3028_SIF: the Xceive XC3028 tuner with sound-IF firmware.
#include "tuners/XCeive3028_SIF.h"

#include "access/CustomDataAccess.h"
#include "graph/Thread.h"

CXCeive3028_SIF::CXCeive3028_SIF(CCustomDataAccess* pAccess) : CXCeiveTuner(pAccess, 137, 20) {}

XcChunking CXCeive3028_SIF::Chunking()
{
    return {TRUE, 7, 20, TRUE};
}

BOOL CXCeive3028_SIF::SetTVChannelFreq(float kHz)
{
    WORD word = 0;
    if (m_pAccess == nullptr || !FrequencyWord(kHz, &word)) return FALSE;
    CScopedLock lock(&m_csBus);
    HRESULT hr = WriteBlock({kAddress, 0x00, 0x02, 0x00, 0x00, 0x00});
    if (hr != S_OK) return FALSE;
    Sleep(10);
    m_pAccess->GetStatus(TRUE);
    Sleep(200);
    m_pAccess->GetStatus(FALSE);
    Sleep(10);
    TRACE("XCeive Tuner SetTVChannelFreq Start:\n");
    hr = WriteBlock({kAddress, 0x00, 0x00, static_cast<BYTE>(word >> 8), static_cast<BYTE>(word & 0xFF), 0x00});
    TRACE("XCeive Tuner SetTVChannelFreq Finish:\n");
    Sleep(10);
    return hr == S_OK ? TRUE : FALSE;
}

BOOL CXCeive3028_SIF::GetTVChannelOkay(DWORD* status)
{
    return ReadLockRegister(status);
}

BOOL CXCeive3028_SIF::SetVideoStandard(long standard)
{
    return LoadSoundIfTable(standard);
}

BOOL CXCeive3028_SIF::GetSignalLocked(DWORD* locked)
{
    if (m_pAccess == nullptr) return FALSE;
    return CTunerBase::GetSignalLocked(locked);
}
