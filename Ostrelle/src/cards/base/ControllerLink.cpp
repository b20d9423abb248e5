// The GPIO link between a card and its on-board controller, as both pin layouts use it.
#include "cards/base/ControllerLink.h"

#include "access/CustomDataAccess.h"
#include "cards/base/TVCardFilter.h"

CControllerLock::CControllerLock() : m_mutex(kRemoteControlMutex, FALSE), m_bLocked(m_mutex.Lock()) {}

CControllerLock::~CControllerLock() {
    if (m_bLocked) m_mutex.Unlock();
}

BOOL WaitControllerStrobe(CCustomDataAccess* access, DWORD answerMask, DWORD answerState, const char* traceText,
                          DWORD* word) {
    if (word == nullptr) return FALSE;
    *word = 0;
    if (access == nullptr) return FALSE;
    const DWORD start = GetTickCount();
    BOOL seen = FALSE;
    for (;;) {
        DWORD value = 0;
        if (FAILED(access->GPIO_Read(&value))) return FALSE;
        if (traceText != nullptr) TRACE(traceText, value);
        if ((value & answerMask) == answerState) {
            *word = value;
            seen = TRUE;
        } else if (seen) {
            return TRUE;
        }
        if (GetTickCount() - start > kStrobeWaitMs) return FALSE;
    }
}

BOOL CollectRemoteKey(const GpioReader& read, DWORD stateMask, DWORD keyState, KeyWordTrace trace, DWORD* lastWord,
                      DWORD limitMs) {
    DWORD word = 0;
    if (lastWord == nullptr || FAILED(read(&word)) || (word & stateMask) != keyState) return FALSE;
    const DWORD start = GetTickCount();
    DWORD last;
    for (;;) {
        last = word;
        Sleep(1);
        const HRESULT hr = read(&word);
        if (trace == KeyWordTrace::Traced && SUCCEEDED(hr)) TRACE("GetRemoteData : %08x\n", word);
        if (FAILED(hr) || (word & stateMask) != keyState || GetTickCount() - start > limitMs) break;
    }
    *lastWord = last;
    return TRUE;
}
