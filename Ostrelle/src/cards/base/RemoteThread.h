// CRemoteThread: polls one card's on-board controller for remote keys. Every period it takes
// "Mutex_Remote_Control", asks the card's GetRemoteData (the card class's own protocol) and
// posts each key to the card's notify window as WM_REMOTE_KEY (wParam the key, lParam 0). It
// waits on its stop event, so a Stop ends it within one period. The card creates, starts and
// deletes it; the card's notify window, polling period and access object are taken when the
// thread is made.
#pragma once

#include <windows.h>

#include <atomic>

#include "graph/Thread.h"

class CTVCardFilter;

class CRemoteThread : public CThread {
public:
    explicit CRemoteThread(CTVCardFilter* card);
    ~CRemoteThread() override;

    // ms < 1 is refused; otherwise the next wait uses the new period.
    BOOL SetPeriod(int ms);
    int GetPeriod() const { return m_nPeriod; }
    // One key read under the mutex; FALSE without card, without the mutex or without a key.
    BOOL ReadKey(BYTE* key);

protected:
    BOOL OnInit() override;
    int Run() override;
    int OnExit() override;

private:
    CTVCardFilter* const m_pCard;
    CNameMutex m_mutex;
    const HWND m_hWindow;
    std::atomic<int> m_nPeriod;
};
