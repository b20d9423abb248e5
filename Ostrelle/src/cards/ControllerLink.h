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

// Reads the GPIO word without pause until the strobe line, having been low, is high again;
// *word gets the last word read while it was low. FALSE when a read fails or after 500 ms.
// `trace` traces every word read.
BOOL WaitControllerStrobe(CCustomDataAccess* access, DWORD strobeLine, BOOL trace, DWORD* word);

// How a card reads its GPIO word for a key (HRESULT read(DWORD* word)).
typedef std::function<HRESULT(DWORD*)> GpioReader;

// A key is present while (word & stateMask) == keyState. Reads once; with a key present, reads
// again every millisecond until the state ends, a read fails or a second has passed. *lastWord
// gets the last word read in the key state. `traceWords` traces every word read while waiting.
BOOL CollectRemoteKey(const GpioReader& read, DWORD stateMask, DWORD keyState, BOOL traceWords, DWORD* lastWord);
