// Threads: created suspended behind a start gate, exit codes, the reaper that joins ended threads,
// and the registry of the threads the platform counts.
#include <cxxabi.h>
#include <dlfcn.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "Kernel.h"
#include "ThreadRegistry.h"
#include "WindowTable.h"
#include "display/DisplayHost.h"
#include "platform/runtime.h"

namespace platform::kernel {

namespace {

std::atomic<DWORD> g_nextThreadId{1000};
std::atomic<int> g_liveThreads{0};

// Never destroyed: threads may end during static teardown.
std::vector<ThreadInfo*>& Counted() {
    static auto* list = new std::vector<ThreadInfo*>;
    return *list;
}

struct ThreadRecord {
    ThreadInfo info;
    ~ThreadRecord() {
        if (!info.registered) return;
        std::lock_guard<std::mutex> g(Lock());
        AbandonMutexesOfLocked(info.tid);
        ThreadRegistry::EndCurrentThreadLocked();
    }
};

thread_local ThreadRecord t_record;

bool IsMainThread() { return pid_t(syscall(SYS_gettid)) == getpid(); }

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
    pthread_t thread{};
    bool joinable = false;
};

bool StartGate::IsSignaled(DWORD) { return owner_->suspend <= 0; }

// What a new thread starts with; owned by the thread once it runs, by its creator until then.
struct StartArgs {
    std::shared_ptr<ThreadObject> self;
    LPTHREAD_START_ROUTINE start;
    LPVOID parameter;
    const void* routine;  // the caller's routine, for reports
};

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
            if (!pthread_equal((*it)->thread, pthread_self())) {
                ready.push_back(std::move(*it));
                it = z.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& t : ready)
        if (t->joinable) pthread_join(t->thread, nullptr);
}

struct ReaperAtExit {
    ~ReaperAtExit() { ReapZombies(); }
} g_reaperAtExit;

void* ThreadMain(void* p) {
    std::unique_ptr<StartArgs> args(static_cast<StartArgs*>(p));
    std::shared_ptr<ThreadObject> self = std::move(args->self);
    ThreadRegistry::AdoptCurrentThread(self->tid, args->routine);
    {
        std::unique_lock<std::mutex> lock(Lock());
        KObject* gate = &self->gate;
        Wait(lock, &gate, 1, false, kNoDeadline);
        self->started = true;
    }
    DWORD code;
    try {
        code = args->start(args->parameter);
    } catch (const ThreadExit& e) {
        code = e.code;
    }
    args.reset();
    // The thread's windows end with it; what is still sent to it answers 0.
    platform::win::DestroyThreadWindows(self->tid);
    platform::win::EndThreadMessages(self->tid);
    platform::display::ThreadEnded(self->tid);
    std::lock_guard<std::mutex> g(Lock());
    self->exitCode = code;
    self->done = true;
    Signal(self.get());  // before the thread stops counting, so the clock does not jump past its waiters
    ThreadRegistry::EndCurrentThreadLocked();
    Zombies().push_back(self);
    --g_liveThreads;
    return nullptr;
}

// Starts the system thread behind `args` (kernel lock held). 0, or the Win32 error of a refusal.
DWORD StartSystemThreadLocked(StartArgs* args, SIZE_T stackSize) {
    LONG injected = ERROR_NOT_ENOUGH_MEMORY;
    if (platform::ShouldFail("CreateThread", &injected)) return DWORD(injected);
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    size_t standard = 0;
    pthread_attr_getstacksize(&attr, &standard);
    // The stack asked for is the least the thread gets; a size no memory can hold is refused.
    if (stackSize > standard && pthread_attr_setstacksize(&attr, stackSize) != 0) {
        pthread_attr_destroy(&attr);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    ThreadObject& obj = *args->self;
    int rc = pthread_create(&obj.thread, &attr, ThreadMain, args);
    pthread_attr_destroy(&attr);
    if (rc != 0) return ERROR_NOT_ENOUGH_MEMORY;
    obj.joinable = true;
    return 0;
}

std::shared_ptr<ThreadObject> ThreadOf(HANDLE handle) { return FromHandleAs<ThreadObject>(handle); }

// Creates a thread running start(parameter); `routine` names it in reports.
HANDLE CreatePlatformThread(SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter, const void* routine,
                            DWORD creationFlags, LPDWORD threadId) {
    ReapZombies();
    NoteCall("CreateThread");
    auto obj = std::make_shared<ThreadObject>();
    obj->tid = NewThreadId();
    obj->suspend = (creationFlags & CREATE_SUSPENDED) ? 1 : 0;
    HANDLE handle = AddHandle(obj);
    auto* args = new StartArgs{obj, start, parameter, routine};
    DWORD error;
    {
        // Counted from now, so the clock does not jump before the thread reaches its gate.
        std::lock_guard<std::mutex> g(Lock());
        // The creator is a platform thread too: the clock must not jump while it still runs.
        ThreadRegistry::EnsureRegisteredLocked("CreateThread");
        ThreadRegistry::CountThreadLocked(+1);
        ++g_liveThreads;
        error = StartSystemThreadLocked(args, stackSize);
        if (error) {
            // No thread: nothing of it stays counted.
            --g_liveThreads;
            ThreadRegistry::CountThreadLocked(-1);
        }
    }
    if (error) {
        delete args;
        RemoveHandle(handle);
        SetLastError(error);
        return nullptr;
    }
    if (threadId) *threadId = obj->tid;
    return handle;
}

}  // namespace

DWORD NewThreadId() { return g_nextThreadId.fetch_add(1); }

DWORD CurrentThreadId() {
    if (!t_record.info.tid) t_record.info.tid = NewThreadId();
    return t_record.info.tid;
}

std::vector<ThreadInfo*>& CountedThreadsLocked() { return Counted(); }

ThreadInfo& ThreadRegistry::Current() { return t_record.info; }

void ThreadRegistry::EnsureRegisteredLocked(const char* call) {
    ThreadInfo& info = t_record.info;
    if (info.registered) return;
    CurrentThreadId();
    info.registered = true;
    info.mainThread = IsMainThread();
    Counted().push_back(&info);
    CountThreadLocked(+1);
    if (call && !info.mainThread) {
        char line[160];
        snprintf(line, sizeof line,
                 "platform: thread %lu, not created by the platform, calls %s; it is counted from now on\n",
                 (unsigned long)info.tid, call);
        OutputDebugStringA(line);
    }
}

void ThreadRegistry::AdoptCurrentThread(DWORD tid, const void* startRoutine) {
    std::lock_guard<std::mutex> g(Lock());
    ThreadInfo& info = t_record.info;
    info.tid = tid;
    info.created = true;
    info.startRoutine = startRoutine;
    info.registered = true;
    Counted().push_back(&info);
}

void ThreadRegistry::EndCurrentThreadLocked() {
    ThreadInfo& info = t_record.info;
    AbandonMutexesOfLocked(info.tid);
    if (info.registered) {
        info.registered = false;
        auto& c = Counted();
        c.erase(std::remove(c.begin(), c.end(), &info), c.end());
        CountThreadLocked(-1);
    }
}

std::string ThreadRegistry::Describe(const ThreadInfo& info) {
    std::string text = "thread " + std::to_string(info.tid);
    if (info.mainThread) return text + " (the main thread)";
    if (!info.created) return text + " (not created by the platform)";
    Dl_info where{};
    if (dladdr(info.startRoutine, &where) && where.dli_sname) {
        int status = 0;
        char* plain = abi::__cxa_demangle(where.dli_sname, nullptr, nullptr, &status);
        text += std::string(" (") + (status == 0 && plain ? plain : where.dli_sname) + ")";
        free(plain);
    } else {
        char address[96];
        snprintf(address, sizeof address, " (start routine %p in %s)", info.startRoutine,
                 where.dli_fname ? where.dli_fname : "?");
        text += address;
    }
    return text;
}

}  // namespace platform::kernel

using namespace platform::kernel;

int platform::LiveThreadCount() { return g_liveThreads.load(); }

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId) {
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePlatformThread(stackSize, start, parameter, reinterpret_cast<const void*>(start), creationFlags,
                                threadId);
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

uintptr_t _beginthreadex(void*, unsigned stackSize, unsigned(__stdcall* start)(void*), void* argList,
                         unsigned initFlag, unsigned* threadAddr) {
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto* args = new BeginThreadArgs{start, argList};
    DWORD tid = 0;
    HANDLE h = CreatePlatformThread(stackSize, BeginThreadTrampoline, args, reinterpret_cast<const void*>(start),
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
