// CTVCardFilter: the base GPIO protocol with the card's on-board controller (command frame,
// read strobe, remote keys, audio-source switches) and the remote-key thread's control.
#include <new>

#include "cards/base/ControllerLink.h"
#include "access/CustomDataAccess.h"
#include "cards/base/RemoteThread.h"
#include "cards/base/TVCardFilter.h"

namespace {

// The GPIO word of the base protocol.
constexpr DWORD kAudioBits = 0x7000;         // bits 12-14, kept by every command
constexpr DWORD kAudioTwoBit = 0x3000;       // bits 12-13
constexpr DWORD kAudioOffBit = 0x4000;       // bit 14
constexpr DWORD kIdleWord = 0x180100;        // request line and both state lines high
constexpr DWORD kIdleMask = 0x187100;
constexpr DWORD kStrobe = 0x40000;           // bit 18
constexpr DWORD kStateMask = 0x1C0000;       // bits 18-20
constexpr DWORD kKeyState = 0x180000;        // state lines high, strobe low
constexpr DWORD kAudioSwitchDelayMs = 300;

}  // namespace

BOOL CTVCardFilter::SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) {
    if (m_pAccess == nullptr) return FALSE;
    DWORD word = 0;
    if (FAILED(m_pAccess->GPIO_Read(&word))) return FALSE;
    const DWORD keep = word & kAudioBits;
    if (FAILED(m_pAccess->GPIO_WriteEx(keep | kIdleWord, kIdleMask, 0))) return FALSE;
    if (FAILED(m_pAccess->GPIO_WriteEx((value & ~kAudioBits) | keep, mask | kAudioBits, waitMs))) return FALSE;
    if (FAILED(m_pAccess->GPIO_WriteEx(keep | kIdleWord, kIdleMask, 0))) return FALSE;
    return TRUE;
}

BOOL CTVCardFilter::WaitReadState(DWORD* word) {
    return WaitControllerStrobe(m_pAccess, kStrobe, 0, kWaitReadStateTrace, word);
}

BOOL CTVCardFilter::GetRemoteData(BYTE* key) {
    if (m_pAccess == nullptr) return FALSE;
    CCustomDataAccess* access = m_pAccess;
    return CollectStandardKey([access](DWORD* value) { return access->GPIO_Read(value); }, key);
}

BOOL CTVCardFilter::CollectStandardKey(const GpioReader& read, BYTE* key) {
    if (key == nullptr) return FALSE;
    DWORD last = 0;
    if (!CollectRemoteKey(read, kStateMask, kKeyState, KeyWordTrace::Quiet, &last)) return FALSE;
    *key = static_cast<BYTE>(~(last & 0xFF));
    TRACE("GetRemoteData : %d\n", *key);
    return TRUE;
}

HRESULT CTVCardFilter::SetAudioSource(int source, BOOL on) { return SelectTwoBitAudio(source, on, kAudioTwoBit); }

HRESULT CTVCardFilter::SelectTwoBitAudio(int source, BOOL on, DWORD writeMask) {
    if (m_pAccess == nullptr) return E_POINTER;
    Sleep(kAudioSwitchDelayMs);
    DWORD word = 0;
    HRESULT hr = m_pAccess->GPIO_Read(&word);
    if (FAILED(hr)) return hr;
    if (!on) {
        word |= kAudioTwoBit;
    } else if (source >= 0 && source <= 2) {
        word = (word & ~kAudioTwoBit) | (static_cast<DWORD>(source) << 12);
    }
    TRACE("SetAudioSource : %d\n", static_cast<int>(word));
    return m_pAccess->GPIO_Write(word, writeMask);
}

HRESULT CTVCardFilter::SetAudioSource4(int source, BOOL on) {
    if (m_pAccess == nullptr) return E_POINTER;
    Sleep(kAudioSwitchDelayMs);
    DWORD word = 0;
    HRESULT hr = m_pAccess->GPIO_Read(&word);
    if (FAILED(hr)) return hr;
    if (on) {
        word &= ~kAudioBits;
        if (source >= 0 && source <= 3) word |= static_cast<DWORD>(source) << 12;
    } else {
        word |= kAudioOffBit;
    }
    TRACE("SetAudioSource : %d\n", static_cast<int>(word));
    return m_pAccess->GPIO_Write(word, kAudioBits);
}

BOOL CTVCardFilter::SetRemotePeriod(int ms) {
    if (ms < 1) return FALSE;
    m_nRemotePeriod = ms;
    if (m_pRemoteThread != nullptr) m_pRemoteThread->SetPeriod(ms);
    return TRUE;
}

BOOL CTVCardFilter::StartRemoteThread() {
    StopRemoteThread();
    CRemoteThread* thread = new (std::nothrow) CRemoteThread(this);
    if (thread == nullptr) return FALSE;
    if (thread->GetThreadHandle() == nullptr) {
        delete thread;
        return FALSE;
    }
    m_pRemoteThread = thread;
    m_pRemoteThread->Resume();
    return TRUE;
}

void CTVCardFilter::StopRemoteThread() {
    delete m_pRemoteThread;
    m_pRemoteThread = nullptr;
}
