#include "cards/CranlowBaseFilter.h"

#include "access/CustomDataAccess.h"

namespace {

constexpr DWORD kKeyLines = 0x1FF;
constexpr DWORD kNoKeyLine = 0x100;
constexpr BYTE kTunerAddresses[] = {0xC0, 0xC2, 0xC4, 0xC6, 0xC8};

}  // namespace

CCranlowBaseFilter::~CCranlowBaseFilter() { StopCardThreads(); }

void CCranlowBaseFilter::InitNames() { SetRemotePeriod(kRemotePeriodMs); }

BOOL CCranlowBaseFilter::GetRemoteData(BYTE* key) {
    if (m_pAccess == nullptr || key == nullptr) return FALSE;
    DWORD word = 0;
    if (FAILED(m_pAccess->GPIO_Read(&word))) return FALSE;
    if (m_nAccessKind == ACCESS_KIND_DEVICE_CONTROL) m_pAccess->GPIO_Write(word | kKeyLines, 0);
    const DWORD lines = word & kKeyLines;
    if (lines & kNoKeyLine) return FALSE;
    const BYTE code = static_cast<BYTE>(~lines);
    *key = static_cast<BYTE>(((code << 4) & 0xF0) | ((code >> 4) & 0x0F));
    TRACE("GetRemoteData : %d,%d\n", static_cast<int>(word), static_cast<int>(lines));
    return TRUE;
}

BOOL CCranlowBaseFilter::DetectTunerAddress(CTunerBase* tuner) {
    if (tuner == nullptr) return FALSE;
    for (BYTE address : kTunerAddresses) {
        if (ProbeI2CAddress(address)) {
            tuner->SetReadAddress(address | 1);
            tuner->SetWriteAddress(address);
            return TRUE;
        }
    }
    return FALSE;
}
