// Threads: created suspended behind a start gate, exit codes, the reaper that joins ended threads.
#include <atomic>
#include <thread>

#include <unistd.h>

#include "Kernel.h"
#include "ThreadRegistry.h"
#include "WindowTable.h"
#include "platform/runtime.h"

namespace platform::kernel {

namespace {

std::atomic<DWORD> g_nextThreadId{1000};
std::atomic<int> g_liveThreads{0};

struct ThreadRecord {
    DWORD tid = 0;
    bool registered = false;
    ~ThreadRecord() {
        if (!registered) return;
        std::lock_guard<std::mutex> g(Lock());
        AbandonMutexesOfLocked(tid);
        registered = false;
        ThreadRegistry::CountThreadLocked(-1);
    }
};

thread_local ThreadRecord t_record;

struct ThreadExit {
    DWORD code;
};

class ThreadObject;

// Signalled once the thread may run (its suspend count reached 0).
class StartGate : public KObject {
public:
    explicit StartGate(ThreadObject* owner) : owner_(owner) {}
    bool IsWaitable() const override { return true; }
    bool IsSignaled(DWORD) override;

private:
    ThreadObject* owner_;
};

class ThreadObject : public KObject {
public:
    ThreadObject() : gate(this) {}
    bool IsWaitable() const override { return true; }
    bool IsSignaled(DWORD) override { return done; }

    DWORD tid = 0;
    LONG suspend = 0;
    bool started = false;
    bool done = false;
    DWORD exitCode = STILL_ACTIVE;
    int priority = THREAD_PRIORITY_NORMAL;
    StartGate gate;
    std::thread thread;
};

bool StartGate::IsSignaled(DWORD) { return owner_->suspend <= 0; }

// Ended threads waiting to be joined. Never destroyed (threads may end during static teardown).
std::vector<std::shared_ptr<ThreadObject>>& Zombies() {
    static auto* list = new std::vector<std::shared_ptr<ThreadObject>>;
    return *list;
}

// Joins every ended thread but the caller.
void ReapZombies() {
    std::vector<std::shared_ptr<ThreadObject>> ready;
    {
        std::lock_guard<std::mutex> g(Lock());
        auto& z = Zombies();
        for (auto it = z.begin(); it != z.end();) {
            if ((*it)->thread.get_id() != std::this_thread::get_id()) {
                ready.push_back(std::move(*it));
                it = z.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& t : ready)
        if (t->thread.joinable()) t->thread.join();
}

struct ReaperAtExit {
    ~ReaperAtExit() { ReapZombies(); }
} g_reaperAtExit;

void ThreadMain(std::shared_ptr<ThreadObject> self, LPTHREAD_START_ROUTINE start, LPVOID parameter) {
    ThreadRegistry::AdoptCurrentThread(self->tid);
    {
        std::unique_lock<std::mutex> lock(Lock());
        KObject* gate = &self->gate;
        Wait(lock, &gate, 1, false, kNoDeadline);
        self->started = true;
    }
    DWORD code;
    try {
        code = start(parameter);
    } catch (const ThreadExit& e) {
        code = e.code;
    }
    // The thread's windows end with it; what is still sent to it answers 0.
    platform::win::DestroyThreadWindows(self->tid);
    platform::win::EndThreadMessages(self->tid);
    std::lock_guard<std::mutex> g(Lock());
    self->exitCode = code;
    self->done = true;
    Signal(self.get());  // before the thread stops counting, so the clock does not jump past its waiters
    ThreadRegistry::EndCurrentThreadLocked();
    Zombies().push_back(self);
    --g_liveThreads;
}

std::shared_ptr<ThreadObject> ThreadOf(HANDLE handle) { return FromHandleAs<ThreadObject>(handle); }

}  // namespace

DWORD NewThreadId() { return g_nextThreadId.fetch_add(1); }

DWORD CurrentThreadId() {
    if (!t_record.tid) t_record.tid = NewThreadId();
    return t_record.tid;
}

void ThreadRegistry::EnsureRegisteredLocked() {
    if (t_record.registered) return;
    CurrentThreadId();
    t_record.registered = true;
    CountThreadLocked(+1);
}

void ThreadRegistry::AdoptCurrentThread(DWORD tid) {
    t_record.tid = tid;
    t_record.registered = true;
}

void ThreadRegistry::EndCurrentThreadLocked() {
    AbandonMutexesOfLocked(t_record.tid);
    if (t_record.registered) {
        t_record.registered = false;
        CountThreadLocked(-1);
    }
}

}  // namespace platform::kernel

using namespace platform::kernel;

int platform::LiveThreadCount() { return g_liveThreads.load(); }

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId) {
    ReapZombies();
    LONG error = ERROR_NOT_ENOUGH_MEMORY;
    if (!start || platform::ShouldFail("CreateThread", &error)) {
        SetLastError(start ? DWORD(error) : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto obj = std::make_shared<ThreadObject>();
    obj->tid = NewThreadId();
    obj->suspend = (creationFlags & CREATE_SUSPENDED) ? 1 : 0;
    HANDLE handle = AddHandle(obj);
    {
        // Counted from now, so the clock does not jump before the thread reaches its gate.
        std::lock_guard<std::mutex> g(Lock());
        // The creator is a platform thread too: the clock must not jump while it still runs.
        ThreadRegistry::EnsureRegisteredLocked();
        ThreadRegistry::CountThreadLocked(+1);
        ++g_liveThreads;
        obj->thread = std::thread(ThreadMain, obj, start, parameter);
    }
    if (threadId) *threadId = obj->tid;
    return handle;
}

namespace {
struct BeginThreadArgs {
    unsigned(__stdcall* start)(void*);
    void* arg;
};
DWORD WINAPI BeginThreadTrampoline(LPVOID p) {
    BeginThreadArgs args = *static_cast<BeginThreadArgs*>(p);
    delete static_cast<BeginThreadArgs*>(p);
    return args.start(args.arg);
}
}  // namespace

uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned(__stdcall* start)(void*), void* argList,
                         unsigned initFlag, unsigned* threadAddr) {
    if (!start) return 0;
    auto* args = new BeginThreadArgs{start, argList};
    DWORD tid = 0;
    HANDLE h = CreateThread(static_cast<LPSECURITY_ATTRIBUTES>(security), stackSize, BeginThreadTrampoline, args,
                            initFlag, &tid);
    if (!h) {
        delete args;
        return 0;
    }
    if (threadAddr) *threadAddr = tid;
    return reinterpret_cast<uintptr_t>(h);
}

void _endthreadex(unsigned exitCode) { throw ThreadExit{exitCode}; }

void ExitThread(DWORD exitCode) { throw ThreadExit{exitCode}; }

DWORD ResumeThread(HANDLE thread) {
    auto obj = ThreadOf(thread);
    LONG error = ERROR_INVALID_HANDLE;
    if (!obj || platform::ShouldFail("ResumeThread", &error)) {
        SetLastError(DWORD(error));
        return DWORD(-1);
    }
    std::lock_guard<std::mutex> g(Lock());
    LONG previous = obj->suspend;
    if (obj->suspend > 0 && --obj->suspend == 0) Signal(&obj->gate);
    return DWORD(previous);
}

DWORD SuspendThread(HANDLE thread) {
    auto obj = ThreadOf(thread);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return DWORD(-1);
    }
    std::lock_guard<std::mutex> g(Lock());
    // A thread that runs is not stopped in its tracks; its count only holds it before it starts.
    LONG previous = obj->suspend;
    ++obj->suspend;
    return DWORD(previous);
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
    if (thread == GetCurrentThread()) return TRUE;
    auto obj = ThreadOf(thread);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> g(Lock());
    obj->priority = priority;
    return TRUE;
}

int GetThreadPriority(HANDLE thread) {
    if (thread == GetCurrentThread()) return THREAD_PRIORITY_NORMAL;
    auto obj = ThreadOf(thread);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return THREAD_PRIORITY_ERROR_RETURN;
    }
    std::lock_guard<std::mutex> g(Lock());
    return obj->priority;
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
    auto obj = ThreadOf(thread);
    if (!obj || !exitCode) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> g(Lock());
    *exitCode = obj->done ? obj->exitCode : STILL_ACTIVE;
    return TRUE;
}

BOOL TerminateThread(HANDLE, DWORD) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

DWORD GetCurrentThreadId() { return CurrentThreadId(); }

HANDLE GetCurrentThread() { return reinterpret_cast<HANDLE>(LONG_PTR(-2)); }

DWORD GetCurrentProcessId() { return DWORD(getpid()); }

DWORD GetThreadId(HANDLE thread) {
    if (thread == GetCurrentThread()) return CurrentThreadId();
    auto obj = ThreadOf(thread);
    return obj ? obj->tid : 0;
}

namespace platform::kernel {
// Joins ended threads; called when handles are closed.
void ReapEndedThreads() { ReapZombies(); }
}  // namespace platform::kernel
