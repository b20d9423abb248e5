// CXCeive2028: the Xceive XC2028 tuner (model 91), and CTuner_E90, the same tuner as model 90.
#include "tuners/XCeive2028.h"

namespace {

constexpr DWORD kResetHoldMs = 200;

bool UsesSoundIf(XcAccessKind kind) { return kind == XcAccessKind::Direct || kind == XcAccessKind::SoundIf; }

}  // namespace

CXCeive2028::CXCeive2028(CCustomDataAccess* pAccess) : CXCeive2028(pAccess, 91) {}

CXCeive2028::CXCeive2028(CCustomDataAccess* pAccess, long model) : CXCeiveTuner(pAccess, model, kResetHoldMs) {}

XcChunking CXCeive2028::Chunking()
{
    if (AccessKind() == XcAccessKind::Direct) return {FALSE, 63, 0, FALSE};
    return {TRUE, 63, 10, FALSE};
}

BOOL CXCeive2028::SetTVChannelFreq(float kHz)
{
    WORD word = 0;
    if (m_pAccess == nullptr || !FrequencyWord(kHz, &word)) return FALSE;
    const XcAccessKind kind = AccessKind();
    if (kind == XcAccessKind::Direct) return TuneDirect(word);
    return TuneAddressed(word, kind != XcAccessKind::SoundIf);
}

BOOL CXCeive2028::GetTVChannelOkay(DWORD* status)
{
    switch (AccessKind()) {
    case XcAccessKind::Direct: return ReadDirectLockRegister(status);
    case XcAccessKind::BridgeA:
    case XcAccessKind::BridgeB: return ReadBridgeLock(status);
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
    const XcAccessKind kind = AccessKind();
    if (UsesSoundIf(kind)) return CTunerBase::GetSignalLocked(locked);
    if (kind == XcAccessKind::BoxI2C) return RegisterSignalLocked(locked);
    return BridgeSignalLocked(locked);
}

CTuner_E90::CTuner_E90(CCustomDataAccess* pAccess) : CXCeive2028(pAccess, 90) {}
