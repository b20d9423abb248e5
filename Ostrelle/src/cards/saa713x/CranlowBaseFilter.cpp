// The Cranlow family of the maker's own cards (Cranlow, Castrel, Grelmo, Fosbry, Dolbray).
#include "cards/saa713x/CranlowBaseFilter.h"

#include "access/CustomDataAccess.h"
#include "cards/base/RemoteKeyCodes.h"

namespace {

constexpr BYTE kTunerAddresses[] = {0xC0, 0xC2, 0xC4, 0xC6, 0xC8};

}  // namespace

CCranlowBaseFilter::~CCranlowBaseFilter() { StopCardThreads(); }

void CCranlowBaseFilter::InitNames() { SetRemotePeriod(kRemotePeriodMs); }

BOOL CCranlowBaseFilter::GetRemoteData(BYTE* key) {
    if (m_pAccess == nullptr || key == nullptr) return FALSE;
    DWORD word = 0;
    if (FAILED(m_pAccess->GPIO_Read(&word))) return FALSE;
    if (m_nAccessKind == ACCESS_KIND_DEVICE_CONTROL) m_pAccess->GPIO_Write(word | kLowBitKeyLines, 0);
    if (!DecodeLowBitKey(word, key)) return FALSE;
    TRACE("GetRemoteData : %d,%d\n", static_cast<int>(word), static_cast<int>(word & kLowBitKeyLines));
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
