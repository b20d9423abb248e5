// The CX2388x card family: cards on the Conexant CX2388x video decoder.
#include "cards/cx2388x/Cx2388xCardFilter.h"

#include "access/KsGpioAccess.h"
#include "cards/cx2388x/Cx2388xController.h"

namespace {

constexpr DWORD kAudioLines = 0x7000;
constexpr DWORD kStrobe = 0x800;
constexpr DWORD kKeyStateMask = 0xE00;
constexpr DWORD kKeyState = 0x600;

constexpr int kVideoInputs[CCrossbarFilter::kSources] = {1, 2, 0};
constexpr int kAudioInputs[CCrossbarFilter::kSources] = {4, 5, 6};

}  // namespace

BOOL CCx2388xCardFilter::CreateOnTuner(const char* tunerFilterName) {
    m_strTunerFilterName = tunerFilterName;
    m_bDirectAccess = 0;
    return CTVCardFilter::Create();
}

HRESULT CCx2388xCardFilter::OpenTunerAccess(CCustomDataAccess* access) {
    m_nAccessKind = ACCESS_KIND_TUNER_GPIO;
    if (m_pAccess != nullptr) {  // one access object at a time
        delete access;
        return E_FAIL;
    }
    if (access == nullptr) return E_OUTOFMEMORY;
    m_pAccess = access;
    HRESULT hr = FindOwnTunerDevice(m_strTunerFilterName.c_str());
    if (FAILED(hr)) return hr;
    hr = m_pAccess->Init(m_pTunerFilter, this);
    if (FAILED(hr)) {
        delete m_pAccess;
        m_pAccess = nullptr;
    }
    return hr;
}

HRESULT CCx2388xCardFilter::SelectAudioSource(int source, BOOL on) {
    return SelectTwoBitAudio(source, on, kAudioLines);
}

CCx2388xControllerCardFilter::~CCx2388xControllerCardFilter() { StopCardThreads(); }

HRESULT CCx2388xControllerCardFilter::SetAudioSource(int source, BOOL on) {
    CControllerLock lock;
    if (!lock.IsLocked()) return E_FAIL;
    return SelectAudioSource(source, on);
}

BOOL CCx2388xControllerCardFilter::GetRemoteData(BYTE* key) {
    if (m_pAccess == nullptr || key == nullptr) return FALSE;
    const DWORD limit = IsTracedMember() ? static_cast<DWORD>(m_nRemoteWaitLimit.load()) : kKeyCollectMs;
    DWORD last = 0;
    CCustomDataAccess* access = m_pAccess;
    if (!CollectRemoteKey([access](DWORD* value) { return access->GPIO_Read(value); }, kKeyStateMask, kKeyState,
                          KeyWordTrace::Quiet, &last, limit)) {
        return FALSE;
    }
    *key = static_cast<BYTE>(~PackDataByte(last, FALSE));
    TRACE("GetRemoteData : %d\n", *key);
    return TRUE;
}

HRESULT CCx2388xControllerCardFilter::InitAccess() {
    return OpenTunerAccess(new (std::nothrow) CKsGpioAccess2388x());
}

BOOL CCx2388xControllerCardFilter::SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) {
    return SendCommandBetweenIdleWords(m_pAccess, value, mask, waitMs);
}

BOOL CCx2388xControllerCardFilter::WaitReadState(DWORD* word) {
    return WaitControllerStrobe(m_pAccess, kStrobe, 0, IsTracedMember() ? "WaitReadState = %08x\n" : nullptr, word);
}

BOOL CCx2388xControllerCardFilter::WaitReadStateEx(DWORD* word, DWORD mask, DWORD value) {
    return WaitControllerStrobe(m_pAccess, mask, value, "WaitReadStateEx = %08x\n", word);
}

BOOL CCx2388xControllerCardFilter::WriteControllerWord(WORD value) {
    return Saa713xWriteControllerWord(this, Cx2388xLayout(IsTracedMember()), value);
}

BOOL CCx2388xControllerCardFilter::ReadControllerWord(WORD* value) {
    return Saa713xReadControllerWord(this, Cx2388xLayout(IsTracedMember()), value);
}

BOOL CCx2388xControllerCardFilter::ControllerCommand(BOOL on) {
    return Saa713xControllerCommand(this, Cx2388xLayout(IsTracedMember()), on);
}

void CCx2388xControllerCardFilter::SetRemoteWaitLimit(int ms) {
    if (ms > 0) m_nRemoteWaitLimit.exchange(ms);
}

void CCx2388xCrossbarFilter::InitRouteTable() {
    for (int source = 0; source < kSources; ++source) {
        m_nVideoRoute[source] = kVideoInputs[source];
        m_nAudioRoute[source] = kAudioInputs[source];
    }
}
