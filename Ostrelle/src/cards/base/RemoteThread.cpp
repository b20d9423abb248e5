// CRemoteThread: polls one card's on-board controller for remote keys.
#include "cards/base/RemoteThread.h"

#include "cards/base/TVCardFilter.h"

CRemoteThread::CRemoteThread(CTVCardFilter* card)
    : m_pCard(card),
      m_mutex(kRemoteControlMutex, FALSE),
      m_hWindow(card != nullptr ? card->GetNotifyWindow() : nullptr),
      m_nPeriod(card != nullptr ? card->GetRemotePeriod() : 100) {}

CRemoteThread::~CRemoteThread() { Stop(); }

BOOL CRemoteThread::SetPeriod(int ms) {
    if (ms < 1) return FALSE;
    m_nPeriod = ms;
    return TRUE;
}

BOOL CRemoteThread::OnInit() {
    if (m_pCard == nullptr || m_pCard->GetAccess() == nullptr) return FALSE;
    return CThread::OnInit();
}

BOOL CRemoteThread::ReadKey(BYTE* key) {
    if (m_pCard == nullptr) return FALSE;
    if (!m_mutex.Lock()) return FALSE;
    BOOL read = m_pCard->GetRemoteData(key);
    m_mutex.Unlock();
    return read;
}

int CRemoteThread::Run() {
    if (m_hWindow == nullptr) return 0;
    for (;;) {
        if (IsStopSet()) break;
        if (WaitForSingleObject(GetStopEvent(), static_cast<DWORD>(m_nPeriod.load())) != WAIT_TIMEOUT) break;
        BYTE key = 0;
        if (ReadKey(&key)) {
            TRACE("Remote Key:%d\n", key);
            PostMessage(m_hWindow, WM_REMOTE_KEY, key, 0);
        }
    }
    return 1;
}

int CRemoteThread::OnExit() { return CThread::OnExit(); }
