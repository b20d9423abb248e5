// Threads and locks of the graph library.
//
// CThread: worker-thread base. The thread exists, suspended, from construction; the owner starts
// it with Resume and ends it with Stop. The thread runs OnInit, then Run when OnInit was TRUE, then
// OnExit, whose result is the exit code. Run loops until it sees the stop flag (IsStopSet) or the
// stop event (GetStopEvent) signalled. A derived class stops the thread in its own destructor,
// before its members go: the base destructor's Stop is only a safety net for a finished thread.
//
// CNameMutex: a system-wide named mutex, locked with a one-second wait.
// CScopedLock: holds a critical section for the lifetime of a local object.
#pragma once

#include <windows.h>

#include "zelk/MThreadCore.h"

class CThread {
public:
    CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    // Sets the stop flag; when a thread exists signals the stop event, resumes it until it runs
    // and waits for its end; closes the thread and the stop event. Always TRUE.
    virtual BOOL Stop();

protected:
    // TRUE when the stop event exists; derived set-up calls the base.
    virtual BOOL OnInit();

public:
    virtual ~CThread();

protected:
    virtual int Run() = 0;
    // The exit code; derived OnExit implementations end by calling the base.
    virtual int OnExit() = 0;

public:
    // Creates the thread; it must not exist yet. The suspend count is 1 afterwards.
    BOOL Start(DWORD creationFlags, unsigned stackSize, void* security);
    // No thread: all bits set. Nothing to resume: the suspend count (0). Otherwise ResumeThread's
    // answer (the previous suspend count, all bits set on failure).
    DWORD Resume();
    DWORD Suspend();
    BOOL SetPriority(int priority);
    int GetPriority();

    // The running thread; null before creation and once it has ended or been stopped.
    HANDLE GetThreadHandle() const { return m_core.GetThreadHandle(); }

protected:
    BOOL IsStopSet() const { return m_core.IsStopSet() ? TRUE : FALSE; }
    HANDLE GetStopEvent() const { return m_core.GetStopEvent(); }

private:
    friend class zelk::MThreadCore;
    static unsigned __stdcall ThreadProc(void* object);

    zelk::MThreadCore m_core;
};

class CNameMutex {
public:
    CNameMutex(const char* name, BOOL initialOwner);
    CNameMutex(const CNameMutex&) = delete;
    CNameMutex& operator=(const CNameMutex&) = delete;
    virtual ~CNameMutex();

    // Waits at most one second. TRUE when the mutex is now held by this thread (also when its
    // previous owner ended without releasing it); each TRUE needs its own Unlock.
    BOOL Lock();
    BOOL Unlock();

private:
    HANDLE m_hMutex;
};

class CScopedLock {
public:
    explicit CScopedLock(CRITICAL_SECTION* cs);
    CScopedLock(const CScopedLock&) = delete;
    CScopedLock& operator=(const CScopedLock&) = delete;
    virtual ~CScopedLock();

private:
    CRITICAL_SECTION* m_pcs;
};
