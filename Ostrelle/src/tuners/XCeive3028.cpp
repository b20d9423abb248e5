// CXCeive3028: the Xceive XC3028 tuner (model 136) on the addressed path whatever the card.
#include "tuners/XCeive3028.h"

CXCeive3028::CXCeive3028(CCustomDataAccess* pAccess) : CXCeiveTuner(pAccess, 136, 200) {}

XcChunking CXCeive3028::Chunking()
{
    return {TRUE, 63, 10, FALSE};
}

BOOL CXCeive3028::SetTVChannelFreq(float kHz)
{
    WORD word = 0;
    if (m_pAccess == nullptr || !FrequencyWord(kHz, &word)) return FALSE;
    return TuneAddressed(word, TRUE);
}

BOOL CXCeive3028::GetTVChannelOkay(DWORD* status)
{
    return ReadBridgeLock(status);
}

BOOL CXCeive3028::SetVideoStandard(long standard)
{
    return LoadStandardTable(standard);
}

BOOL CXCeive3028::GetSignalLocked(DWORD* locked)
{
    if (m_pAccess == nullptr || locked == nullptr) return FALSE;
    return BridgeSignalLocked(locked);
}
