// The GPIO link between a card and its on-board controller, as both pin layouts use it: the
// system-wide lock around an exchange, the wait for the controller's strobe, and the collection
// of a remote key that the controller presents.
#pragma once

#include <windows.h>

#include <functional>

#include "graph/Thread.h"

class CCustomDataAccess;

// Holds "Mutex_Remote_Control" (recursive, at most a one-second wait) for its lifetime.
class CControllerLock {
public:
    CControllerLock();
    ~CControllerLock();
    CControllerLock(const CControllerLock&) = delete;
    CControllerLock& operator=(const CControllerLock&) = delete;

    BOOL IsLocked() const { return m_bLocked; }

private:
    CNameMutex m_mutex;
    BOOL m_bLocked;
};

inline constexpr DWORD kStrobeWaitMs = 500;
inline constexpr DWORD kKeyCollectMs = 1000;

// The trace of every word read while waiting for the strobe on the SAA713x boards.
inline constexpr const char kWaitReadStateTrace[] = "WaitReadState GPIO_Read: %08x\n";

// Reads the GPIO word without pause until the controller's answer, having been seen, has ended:
// the answer is there while (word & answerMask) == answerState (the strobe line low: the line as
// the mask and 0 as the state). *word gets the last word read during the answer. FALSE when a
// read fails or after 500 ms. `traceText` (a format with one %08x, or NULL) traces every word read.
BOOL WaitControllerStrobe(CCustomDataAccess* access, DWORD answerMask, DWORD answerState, const char* traceText,
                          DWORD* word);

// How a card reads its GPIO word for a key (HRESULT read(DWORD* word)).
typedef std::function<HRESULT(DWORD*)> GpioReader;

// Whether CollectRemoteKey traces every word it reads while it waits.
enum class KeyWordTrace { Quiet, Traced };

// A key is present while (word & stateMask) == keyState. Reads once; with a key present, reads
// again every millisecond until the state ends, a read fails or `limitMs` have passed. *lastWord
// gets the last word read in the key state.
BOOL CollectRemoteKey(const GpioReader& read, DWORD stateMask, DWORD keyState, KeyWordTrace trace, DWORD* lastWord,
                      DWORD limitMs = kKeyCollectMs);
