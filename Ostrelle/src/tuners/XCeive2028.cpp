#include "tuners/XCeive2028.h"

namespace {

constexpr DWORD kResetHoldMs = 200;

bool UsesSoundIf(long kind) { return kind == XC_KIND_DIRECT || kind == XC_KIND_SOUND_IF; }

}  // namespace

CXCeive2028::CXCeive2028(CCustomDataAccess* pAccess) : CXCeive2028(pAccess, 91) {}

CXCeive2028::CXCeive2028(CCustomDataAccess* pAccess, long model) : CXCeiveTuner(pAccess, model, kResetHoldMs) {}

CXCeive2028::~CXCeive2028()
{
    StopScan();
}

CTunerBase* CXCeive2028::Create(CCustomDataAccess* pAccess)
{
    return new CXCeive2028(pAccess);
}

XcChunking CXCeive2028::Chunking()
{
    if (AccessKind() == XC_KIND_DIRECT) return {FALSE, 63, 0, FALSE};
    return {TRUE, 63, 10, FALSE};
}

BOOL CXCeive2028::SetTVChannelFreq(float kHz)
{
    WORD word = 0;
    if (m_pAccess == nullptr || !FrequencyWord(kHz, &word)) return FALSE;
    const long kind = AccessKind();
    if (kind == XC_KIND_DIRECT) return TuneDirect(word);
    return TuneAddressed(word, kind != XC_KIND_SOUND_IF);
}

BOOL CXCeive2028::GetTVChannelOkay(DWORD* status)
{
    switch (AccessKind()) {
    case XC_KIND_DIRECT: return ReadDirectLockRegister(status);
    case XC_KIND_BRIDGE_A:
    case XC_KIND_BRIDGE_B: return ReadBridgeLock(status);
    default: return ReadLockRegister(status);
    }
}

BOOL CXCeive2028::SetVideoStandard(long standard)
{
    return UsesSoundIf(AccessKind()) ? LoadSoundIfTable(standard) : LoadStandardTable(standard);
}

BOOL CXCeive2028::GetSignalLocked(DWORD* locked)
{
    if (m_pAccess == nullptr || locked == nullptr) return FALSE;
    const long kind = AccessKind();
    if (UsesSoundIf(kind)) return CTunerBase::GetSignalLocked(locked);
    if (kind == XC_KIND_BOX_I2C) return RegisterSignalLocked(locked);
    return BridgeSignalLocked(locked);
}

CTuner_E90::CTuner_E90(CCustomDataAccess* pAccess) : CXCeive2028(pAccess, 90) {}

CTunerBase* CTuner_E90::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_E90(pAccess);
}
