// CEventHandle: an event that is never signalled; its wait with a timeout is the tuner chips'
// delay.
#pragma once

#include <windows.h>

class CEventHandle {
public:
    explicit CEventHandle(BOOL manualReset) : m_hEvent(CreateEventA(nullptr, manualReset, FALSE, nullptr)) {}
    ~CEventHandle()
    {
        if (m_hEvent != nullptr) CloseHandle(m_hEvent);
    }
    CEventHandle(const CEventHandle&) = delete;
    CEventHandle& operator=(const CEventHandle&) = delete;

    void Wait(DWORD ms) const
    {
        if (m_hEvent != nullptr)
            WaitForSingleObject(m_hEvent, ms);
        else
            Sleep(ms);
    }

private:
    HANDLE m_hEvent;
};
