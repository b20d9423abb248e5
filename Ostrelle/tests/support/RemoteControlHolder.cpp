#include "support/RemoteControlHolder.h"

#include "cards/base/TVCardFilter.h"
#include "graph/Thread.h"

RemoteControlHolder::RemoteControlHolder() {
    m_locked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, &RemoteControlHolder::Hold, this, 0, nullptr);
    m_held = WaitForSingleObject(m_locked, 5000) == WAIT_OBJECT_0;
}

RemoteControlHolder::~RemoteControlHolder() {
    Release();
    CloseHandle(m_locked);
    CloseHandle(m_release);
}

void RemoteControlHolder::Release() {
    if (m_thread == nullptr) return;
    SetEvent(m_release);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

DWORD WINAPI RemoteControlHolder::Hold(void* arg) {
    auto* self = static_cast<RemoteControlHolder*>(arg);
    CNameMutex mutex(kRemoteControlMutex, FALSE);
    if (!mutex.Lock()) return 1;
    SetEvent(self->m_locked);
    WaitForSingleObject(self->m_release, INFINITE);
    mutex.Unlock();
    return 0;
}
