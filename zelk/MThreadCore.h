// zelk::MThreadCore: the state and mechanics shared by the system's worker-thread bases
// (zelk::MThread, and the graph library's CThread): a thread that exists suspended from creation,
// the count of suspensions the owner still has to resume, a stop flag and an auto-reset stop event.
//
// Ownership of the thread handle: the worker clears the thread field when it ends (so "has a
// thread" answers false for a finished worker), but only the owner closes the handle: the owner
// keeps a handle of its own, and Stop waits on it (a finished thread is not waited for long) and
// closes it, exactly once. Stop, Resume and Suspend belong to the owner's thread.
#pragma once

#include <windows.h>

#include <atomic>

namespace zelk {

class MThreadCore {
public:
    typedef unsigned(__stdcall* Routine)(void*);
    static constexpr DWORD kFailed = 0xFFFFFFFFu;

    // Clears every field and creates the stop event (auto-reset, not signalled, unnamed).
    MThreadCore() : m_hThread(nullptr), m_uThreadId(0), m_lSuspendCount(0), m_lStop(0), m_hStopEvent(nullptr), m_hOwned(nullptr) {
        m_hStopEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    ~MThreadCore() { Stop(); }
    MThreadCore(const MThreadCore&) = delete;
    MThreadCore& operator=(const MThreadCore&) = delete;

    // Starts `routine` on `object`. The suspend count is 1 afterwards whatever the flags.
    bool Create(DWORD creationFlags, unsigned stackSize, void* security, Routine routine, void* object) {
        ASSERT(m_hOwned == nullptr);
        if (m_hOwned != nullptr) return false;
        // Held at the start gate until the thread field is stored, so the worker always finds it.
        unsigned id = 0;
        HANDLE thread = reinterpret_cast<HANDLE>(
            _beginthreadex(security, stackSize, routine, object, creationFlags | CREATE_SUSPENDED, &id));
        m_uThreadId = id;
        m_hOwned = thread;
        m_hThread.store(thread);
        InterlockedExchange(&m_lSuspendCount, 1);
        if (thread != nullptr && !(creationFlags & CREATE_SUSPENDED)) ResumeThread(thread);
        return thread != nullptr;
    }

    // No thread: all bits set. Nothing left to resume: the count. Otherwise ResumeThread's answer.
    DWORD Resume() {
        HANDLE thread = m_hThread.load();
        if (thread == nullptr) return kFailed;
        LONG count = InterlockedRead(&m_lSuspendCount);
        if (count < 1) return static_cast<DWORD>(count);
        DWORD previous = ResumeThread(thread);
        if (previous == kFailed) return kFailed;
        InterlockedDecrement(&m_lSuspendCount);
        return previous;
    }

    DWORD Suspend() {
        HANDLE thread = m_hThread.load();
        ASSERT(thread != nullptr);
        if (thread == nullptr) return kFailed;
        DWORD previous = SuspendThread(thread);
        if (previous != kFailed) InterlockedIncrement(&m_lSuspendCount);
        return previous;
    }

    // Sets the stop flag; wakes, resumes and waits for the thread; closes the thread handle and
    // the stop event. A second call only sets the flag.
    void Stop() {
        InterlockedExchange(&m_lStop, 1);
        if (m_hOwned != nullptr) {
            SetEvent(m_hStopEvent);
            while (InterlockedRead(&m_lSuspendCount) >= 1 && Resume() != kFailed) {
            }
            WaitForSingleObject(m_hOwned, INFINITE);
            CloseHandle(m_hOwned);
            m_hOwned = nullptr;
            m_hThread.store(nullptr);
        }
        if (m_hStopEvent != nullptr) {
            CloseHandle(m_hStopEvent);
            m_hStopEvent = nullptr;
        }
    }

    // The thread's routine: OnInit, Run when OnInit agreed, OnExit in every case; OnExit's result
    // is the exit code. T befriends MThreadCore and keeps its core in m_core.
    template <class T>
    static unsigned RunThread(T* thread) {
        ASSERT(thread != nullptr);
        ASSERT(thread->m_core.GetThreadHandle() != nullptr);
        if (thread->OnInit()) thread->Run();
        unsigned code = static_cast<unsigned>(thread->OnExit());
        thread->m_core.m_hThread.store(nullptr);
        _endthreadex(code);
        return code;
    }

    // The running thread; null before creation and once it has ended or been stopped.
    HANDLE GetThreadHandle() const { return m_hThread.load(); }
    unsigned GetThreadId() const { return m_uThreadId; }
    LONG GetSuspendCount() const { return InterlockedRead(const_cast<LONG volatile*>(&m_lSuspendCount)); }
    bool IsStopSet() const { return InterlockedRead(const_cast<LONG volatile*>(&m_lStop)) != 0; }
    HANDLE GetStopEvent() const { return m_hStopEvent; }

private:
    std::atomic<HANDLE> m_hThread;
    unsigned m_uThreadId;
    LONG volatile m_lSuspendCount;
    LONG volatile m_lStop;
    HANDLE m_hStopEvent;
    HANDLE m_hOwned;  // the owner's handle of the thread, closed once by Stop
};

}  // namespace zelk
