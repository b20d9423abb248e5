// zelk::MThread: the worker-thread base. The thread exists, suspended, from construction; the
// owner starts it with Resume and ends it with Stop. Once resumed the thread runs OnInit, then Run
// when OnInit was true, then OnExit, whose result is the exit code.
//
// Run loops until it sees the stop flag (IsStopSet) or the stop event (GetStopEvent) signalled.
// A derived class stops the thread in its own destructor, before its members go: the base
// destructor's Stop is only a safety net for a thread that already ended.
#pragma once

#include <windows.h>

#include "zelk/MThreadCore.h"

namespace zelk {

class MThread {
public:
    MThread() { Create(CREATE_SUSPENDED, 0, nullptr); }
    MThread(const MThread&) = delete;
    MThread& operator=(const MThread&) = delete;

    // Starts the thread routine on this object; a thread must not exist yet.
    bool Create(DWORD creationFlags, unsigned stackSize, void* security) {
        return m_core.Create(creationFlags, stackSize, security, &MThread::ThreadProc, this);
    }

    // -1 without a thread; the suspend count when it is 0 or less; else the previous suspend
    // count of the resumed thread (-1 when resuming failed).
    long Resume() { return static_cast<LONG>(m_core.Resume()); }

    // Stop flag, stop event, resume until running, wait for the end, close the handles. True.
    virtual bool Stop() {
        m_core.Stop();
        return true;
    }

    HANDLE GetThreadHandle() const { return m_core.GetThreadHandle(); }

protected:
    // True when the stop event exists.
    virtual bool OnInit() { return GetStopEvent() != nullptr; }

public:
    virtual ~MThread() {
        if (m_core.GetThreadHandle() != nullptr) {
            TRACE("MThread::~MThread - thread still running; its owner must stop it first\n");
            ASSERT(m_core.GetThreadHandle() == nullptr);
        }
        Stop();
    }

protected:
    virtual int OnExit() { return 0; }
    virtual int Run() { return 0; }

    bool IsStopSet() const { return m_core.IsStopSet(); }
    HANDLE GetStopEvent() const { return m_core.GetStopEvent(); }

private:
    friend class MThreadCore;
    static unsigned __stdcall ThreadProc(void* object) {
        return MThreadCore::RunThread(static_cast<MThread*>(object));
    }

    MThreadCore m_core;
};

}  // namespace zelk
