// Holds "Mutex_Remote_Control" on a thread of its own, as another card object or another process
// would, from construction until Release (or destruction). The thread is joined by Release.
#pragma once

#include <windows.h>

class RemoteControlHolder {
public:
    // Starts the holder and waits (up to 5 s) until it has the mutex.
    RemoteControlHolder();
    ~RemoteControlHolder();
    RemoteControlHolder(const RemoteControlHolder&) = delete;
    RemoteControlHolder& operator=(const RemoteControlHolder&) = delete;

    // The holder has the mutex (it could not take it within its second otherwise).
    bool Held() const { return m_held; }
    // Lets the mutex go and joins the holder; nothing the second time.
    void Release();

private:
    static DWORD WINAPI Hold(void* arg);

    bool m_held = false;
    HANDLE m_locked = nullptr;
    HANDLE m_release = nullptr;
    HANDLE m_thread = nullptr;
};
