// Kernel objects, waits and the clock.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "platform/runtime.h"

namespace {

struct Counter {
    std::atomic<int> runs{0};
    HANDLE event = nullptr;
};

DWORD WINAPI CountAndWait(LPVOID p) {
    auto* c = static_cast<Counter*>(p);
    ++c->runs;
    if (c->event) WaitForSingleObject(c->event, INFINITE);
    return 42;
}

}  // namespace

TEST(Threads, CreatedSuspendedRunsNothingUntilResumed) {
    Counter c;
    DWORD tid = 0;
    HANDLE t = CreateThread(nullptr, 0, CountAndWait, &c, CREATE_SUSPENDED, &tid);
    ASSERT_NE(t, nullptr);
    EXPECT_NE(tid, 0u);
    EXPECT_EQ(WaitForSingleObject(t, 500), WAIT_TIMEOUT);  // 500 ms of test clock pass
    EXPECT_EQ(c.runs.load(), 0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, DWORD(STILL_ACTIVE));
    EXPECT_EQ(ResumeThread(t), 1u);
    EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(c.runs.load(), 1);
    EXPECT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(ResumeThread(t), 0u);
    EXPECT_TRUE(CloseHandle(t));
    EXPECT_FALSE(CloseHandle(t));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST(Threads, EndThreadExGivesTheExitCode) {
    unsigned id = 0;
    uintptr_t h = _beginthreadex(
        nullptr, 0, [](void*) -> unsigned { _endthreadex(7); return 1; }, nullptr, 0, &id);
    ASSERT_NE(h, 0u);
    HANDLE t = reinterpret_cast<HANDLE>(h);
    EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(t, &code);
    EXPECT_EQ(code, 7u);
    CloseHandle(t);
}

// A thread that cannot start leaves nothing behind: no handle, no thread counted as running
// (the virtual clock still moves), no start arguments.
TEST(Threads, ThreadThatCannotStartAnswersNullAndLeavesNothingBehind) {
    Counter c;
    const int live = platform::LiveThreadCount();
    // A stack no memory can hold: the system refuses the thread.
    EXPECT_EQ(CreateThread(nullptr, SIZE_T(1) << 60, CountAndWait, &c, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_MEMORY));
    platform::InjectFailure("CreateThread", 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(CreateThread(nullptr, 0, CountAndWait, &c, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_MEMORY));
    platform::InjectFailure("CreateThread");
    unsigned id = 7;
    EXPECT_EQ(_beginthreadex(nullptr, 0, [](void*) -> unsigned { return 0; }, nullptr, 0, &id), 0u);
    EXPECT_EQ(id, 7u);
    EXPECT_EQ(platform::LiveThreadCount(), live);
    EXPECT_EQ(c.runs.load(), 0);
    ULONGLONG before = platform::ClockNow();
    Sleep(1000);  // with a thread counted that never runs, this would never end
    EXPECT_GE(platform::ClockNow() - before, 1000u);

    HANDLE t = CreateThread(nullptr, 0, CountAndWait, &c, 0, nullptr);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(c.runs.load(), 1);
    CloseHandle(t);
}

TEST(Clock, SleepAndTimedWaitsFollowTheVirtualClock) {
    ASSERT_TRUE(platform::IsVirtualClock());
    ULONGLONG before = platform::ClockNow();
    Sleep(200 * 200);  // forty seconds of test time
    EXPECT_GE(platform::ClockNow() - before, 40000u);
    HANDLE e = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    before = platform::ClockNow();
    EXPECT_EQ(WaitForSingleObject(e, 1000), WAIT_TIMEOUT);
    ULONGLONG waited = platform::ClockNow() - before;
    EXPECT_GE(waited, 1000u);
    EXPECT_LT(waited, 1010u);
    CloseHandle(e);
}

namespace {
// Writes 256 bytes, reading the clock once per byte and pausing 5 ms after it.
DWORD WINAPI ClockReadingWriter(LPVOID) {
    volatile DWORD last = 0;
    for (int i = 0; i < 256; ++i) {
        last = GetTickCount();
        Sleep(5);
    }
    return last ? 0 : 1;
}
}  // namespace

TEST(Clock, ReadsMoveTheClockOnlyInABusyPoll) {
    // A lone busy poll of the tick count sees time pass, and ends.
    DWORD a = GetTickCount();
    DWORD b = GetTickCount();
    EXPECT_EQ(b - a, 1u);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 100) {
    }
    // Threads that read the clock between their waits take the time their waits take, however
    // many of them read it: eight writers finish within the time-out one writer needs.
    HANDLE writers[8];
    for (HANDLE& w : writers) w = CreateThread(nullptr, 0, ClockReadingWriter, nullptr, 0, nullptr);
    ULONGLONG before = platform::ClockNow();
    EXPECT_EQ(WaitForMultipleObjects(8, writers, TRUE, 1400), WAIT_OBJECT_0);
    ULONGLONG took = platform::ClockNow() - before;
    EXPECT_GE(took, 256u * 5u);
    EXPECT_LT(took, 256u * 5u + 20u);
    for (HANDLE w : writers) CloseHandle(w);
}

namespace {
DWORD WINAPI BlockOutsideThePlatform(LPVOID started) {
    SetEvent(static_cast<HANDLE>(started));
    usleep(600 * 1000);  // a blocking call the platform does not see
    return 0;
}
}  // namespace

// A thread blocked outside the platform holds the virtual clock; once the clock has stood still
// for the report period, the threads it waits for are named with their last platform call.
TEST(Clock, StalledClockNamesTheThreadsItWaitsFor) {
    platform::SetClockStallReport(200);
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD tid = 0;
    HANDLE t = CreateThread(nullptr, 0, BlockOutsideThePlatform, started, 0, &tid);
    ASSERT_EQ(WaitForSingleObject(started, INFINITE), WAIT_OBJECT_0);
    testing::internal::CaptureStderr();
    Sleep(10);  // ends only once the blocked thread has ended
    std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("the virtual clock has not moved"), std::string::npos) << report;
    EXPECT_NE(report.find("thread " + std::to_string(tid) + " ("), std::string::npos) << report;
    EXPECT_NE(report.find("last platform call SetEvent"), std::string::npos) << report;
    EXPECT_EQ(report.find("Sleep"), std::string::npos) << report;  // the main thread waits
    EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
    CloseHandle(t);
    CloseHandle(started);
}

// A thread the platform did not create that waits on a platform object is named in the trace.
TEST(Clock, ThreadUnknownToThePlatformThatWaitsIsTraced) {
    platform::ClearTrace();
    HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    std::thread foreign([event] { WaitForSingleObject(event, 0); });
    foreign.join();
    EXPECT_TRUE(platform::TraceContains("not created by the platform, calls WaitForSingleObject"));
    platform::ClearTrace();
    HANDLE t = CreateThread(
        nullptr, 0, [](LPVOID e) -> DWORD { return WaitForSingleObject(static_cast<HANDLE>(e), 0); }, event, 0, nullptr);
    WaitForSingleObject(t, INFINITE);
    EXPECT_FALSE(platform::TraceContains("not created by the platform"));
    CloseHandle(t);
    CloseHandle(event);
}

TEST(Clock, WorkerSleepsJumpOnlyWhenEveryThreadWaits) {
    struct Args {
        HANDLE go;
        std::atomic<ULONGLONG> woke{0};
    } args;
    args.go = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE t = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* a = static_cast<Args*>(p);
            WaitForSingleObject(a->go, INFINITE);
            Sleep(300);
            a->woke = platform::ClockNow();
            return 0;
        },
        &args, 0, nullptr);
    ULONGLONG start = platform::ClockNow();
    SetEvent(args.go);
    EXPECT_EQ(WaitForSingleObject(t, 10000), WAIT_OBJECT_0);
    EXPECT_GE(args.woke.load() - start, 300u);
    EXPECT_LT(platform::ClockNow() - start, 10000u);  // the wait ended at the thread's end
    CloseHandle(t);
    CloseHandle(args.go);
}

TEST(Events, AutoResetWakesOneWaitManualResetStaysSignalled) {
    HANDLE autoEvent = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_TIMEOUT);
    HANDLE manual = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetEvent(manual);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    ResetEvent(manual);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
    HANDLE both[2] = {autoEvent, manual};
    SetEvent(manual);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_TIMEOUT);
    SetEvent(autoEvent);
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0x4), 0), WAIT_FAILED);
    // A wait for all that names one object twice is refused; 64 objects fill a wait, 63 a
    // message wait (the queue takes the last place).
    HANDLE twice[2] = {manual, manual};
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    std::vector<HANDLE> many(MAXIMUM_WAIT_OBJECTS, manual);
    EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, many.data(), FALSE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(MsgWaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, many.data(), FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
    EXPECT_EQ(MsgWaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS - 1, many.data(), FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0);
    // A semaphore lets as many waits through as its count, and counts no higher than its maximum.
    HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 2, nullptr);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_TIMEOUT);
    LONG previous = -1;
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 2, &previous));
    EXPECT_EQ(previous, 0);
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, nullptr));
    HANDLE two[2] = {semaphore, semaphore};
    EXPECT_EQ(WaitForMultipleObjects(2, two, FALSE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_TIMEOUT);
    CloseHandle(semaphore);
    CloseHandle(autoEvent);
    CloseHandle(manual);
}

namespace {
struct PulseWait {
    HANDLE event;
    DWORD result = WAIT_FAILED;
};
DWORD WINAPI WaitTenSeconds(LPVOID p) {
    auto* w = static_cast<PulseWait*>(p);
    w->result = WaitForSingleObject(w->event, 10000);
    return 0;
}
}  // namespace

TEST(Events, PulseReleasesTheThreadsAlreadyWaitingThenLeavesTheEventReset) {
    HANDLE manual = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE autoEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    PulseWait waits[4] = {{manual}, {manual}, {autoEvent}, {autoEvent}};
    HANDLE threads[4];
    for (int i = 0; i < 4; ++i) threads[i] = CreateThread(nullptr, 0, WaitTenSeconds, &waits[i], 0, nullptr);
    Sleep(10);  // every worker waits by now: the clock moved only because all of them do
    ULONGLONG pulsed = platform::ClockNow();
    EXPECT_TRUE(PulseEvent(manual));
    EXPECT_TRUE(PulseEvent(autoEvent));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForMultipleObjects(4, threads, TRUE, INFINITE), WAIT_OBJECT_0);
    // Both waits on the manual-reset event end at the pulse; exactly one on the auto-reset event.
    EXPECT_EQ(waits[0].result, WAIT_OBJECT_0);
    EXPECT_EQ(waits[1].result, WAIT_OBJECT_0);
    EXPECT_EQ((waits[2].result == WAIT_OBJECT_0) + (waits[3].result == WAIT_OBJECT_0), 1);
    EXPECT_EQ((waits[2].result == WAIT_TIMEOUT) + (waits[3].result == WAIT_TIMEOUT), 1);
    EXPECT_GE(platform::ClockNow() - pulsed, 9990u);  // the other waited out its time
    // A pulse with nobody waiting is lost; a later wait does not see it.
    EXPECT_TRUE(PulseEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
    for (HANDLE t : threads) CloseHandle(t);
    CloseHandle(manual);
    CloseHandle(autoEvent);
}

TEST(Mutexes, InitialOwnershipOfAMutexAnotherProcessHoldsIsNotAwaited) {
    // Another process owning the named mutex holds its lock file.
    std::string dir = platform::StateDir() + "/locks";
    mkdir(dir.c_str(), 0777);
    int other = open((dir + "/held-elsewhere.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    HANDLE m = CreateMutexA(nullptr, TRUE, "held-elsewhere");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(ReleaseMutex(m));  // not ours
    flock(other, LOCK_UN);
    close(other);
    EXPECT_EQ(WaitForSingleObject(m, 1000), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(m));
    CloseHandle(m);
}

TEST(Mutexes, OpeningANameNoProcessHasOpenFailsWithFileNotFound) {
    EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, "never-made"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    HANDLE made = CreateMutexA(nullptr, TRUE, "never-made");
    HANDLE opened = OpenMutexA(SYNCHRONIZE, FALSE, "never-made");
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(ReleaseMutex(opened));  // the same mutex
    CloseHandle(made);
    CloseHandle(opened);
    EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, "never-made"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

TEST(Mutexes, NamedMutexIsRecursivePerThreadAcrossHandles) {
    HANDLE a = CreateMutexA(nullptr, FALSE, "Mutex_Remote_Control");
    HANDLE b = CreateMutexA(nullptr, FALSE, "Mutex_Remote_Control");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    ASSERT_TRUE(a && b && a != b);
    EXPECT_EQ(WaitForSingleObject(a, 1000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(b, 1000), WAIT_OBJECT_0);  // same name, same thread: recursion
    struct Args {
        HANDLE m;
        DWORD result;
    } args{b, 0};
    HANDLE t = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* x = static_cast<Args*>(p);
            x->result = WaitForSingleObject(x->m, 1000);
            return 0;
        },
        &args, 0, nullptr);
    WaitForSingleObject(t, INFINITE);
    EXPECT_EQ(args.result, WAIT_TIMEOUT);
    EXPECT_TRUE(ReleaseMutex(a));
    EXPECT_TRUE(ReleaseMutex(b));
    EXPECT_FALSE(ReleaseMutex(a));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_OWNER));
    CloseHandle(t);
    CloseHandle(a);
    CloseHandle(b);
}

namespace {

// A thread takes the mutex and ends owning it.
void AbandonOnAThread(HANDLE m) {
    HANDLE t = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            WaitForSingleObject(static_cast<HANDLE>(p), INFINITE);
            return 0;  // ends owning it
        },
        m, 0, nullptr);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
}

}  // namespace

TEST(Mutexes, OwnerThatEndsLeavesTheMutexAbandoned) {
    HANDLE m = CreateMutexA(nullptr, FALSE, "abandon-test");
    AbandonOnAThread(m);
    EXPECT_EQ(WaitForSingleObject(m, 1000), WAIT_ABANDONED);
    EXPECT_TRUE(ReleaseMutex(m));  // the abandoned wait owns it
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
    ReleaseMutex(m);
    CloseHandle(m);
}

TEST(Mutexes, AbandonedMutexTakenOverAndReleasedByAnotherProcessIsNoLongerAbandoned) {
    HANDLE m = CreateMutexA(nullptr, FALSE, "abandoned-then-released");
    AbandonOnAThread(m);
    // Another process takes it over (hearing it was abandoned) and releases it properly.
    int other = open((platform::StateDir() + "/locks/abandoned-then-released.lock").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    char marker = 0;
    EXPECT_EQ(pread(other, &marker, 1, 0), 1);
    EXPECT_EQ(marker, '1') << "the other process hears it was abandoned";
    marker = '0';
    EXPECT_EQ(pwrite(other, &marker, 1, 0), 1);
    flock(other, LOCK_UN);
    close(other);
    EXPECT_EQ(WaitForSingleObject(m, 1000), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(m));
    CloseHandle(m);
}

TEST(CriticalSections, AreRecursiveAndExcludeOtherThreads) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EnterCriticalSection(&cs);
    struct Args {
        CRITICAL_SECTION* cs;
        std::atomic<int> inside{0};
    } args{&cs};
    HANDLE t = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* a = static_cast<Args*>(p);
            EnterCriticalSection(a->cs);
            a->inside = 1;
            LeaveCriticalSection(a->cs);
            return 0;
        },
        &args, 0, nullptr);
    // Holding the section while sleeping: the waiter counts as blocked, so test time moves on.
    Sleep(100);
    EXPECT_EQ(args.inside.load(), 0);
    LeaveCriticalSection(&cs);
    Sleep(100);
    EXPECT_EQ(args.inside.load(), 0);
    LeaveCriticalSection(&cs);
    WaitForSingleObject(t, INFINITE);
    EXPECT_EQ(args.inside.load(), 1);
    CloseHandle(t);
    DeleteCriticalSection(&cs);
}

TEST(Interlocked, OperationsAnswerAsOnWindows) {
    LONG v = 5;
    EXPECT_EQ(InterlockedIncrement(&v), 6);
    EXPECT_EQ(InterlockedDecrement(&v), 5);
    EXPECT_EQ(InterlockedExchange(&v, 9), 5);
    EXPECT_EQ(InterlockedCompareExchange(&v, 1, 9), 9);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(InterlockedCompareExchange(&v, 3, 9), 1);
    EXPECT_EQ(InterlockedExchangeAdd(&v, 4), 1);
    EXPECT_EQ(v, 5);
}

TEST(Trace, SinkKeepsDebugOutputForTests) {
    platform::ClearTrace();
    OutputDebugStringA("CThread::Stop\n");
    TRACE("%s %d\n", "value", 7);
    OutputDebugStringW(L"wide \x6d4b\n");
    EXPECT_TRUE(platform::TraceContains("CThread::Stop\n"));
    EXPECT_TRUE(platform::TraceContains("value 7\n"));
    EXPECT_TRUE(platform::TraceContains("wide \xe6\xb5\x8b\n"));
}
