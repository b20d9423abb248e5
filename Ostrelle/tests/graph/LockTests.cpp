// CNameMutex across processes and threads, and CScopedLock.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <windows.h>

#include <chrono>
#include <string>

#include "graph/Thread.h"
#include "platform/runtime.h"
#include "support/HolderProcess.h"

namespace {

const char kName[] = "Mutex_Remote_Control";

TEST(CNameMutexTest, TwoProcessesExcludeEachOtherAndTheWaiterGivesUpAfterOneSecond) {
    platform::UseVirtualClock(false);
    HolderProcess holder(false);
    ASSERT_EQ("ready", holder.Answer());

    CNameMutex mutex(kName, FALSE);
    DWORD start = GetTickCount();
    BOOL locked = mutex.Lock();
    DWORD waited = GetTickCount() - start;
    EXPECT_FALSE(locked);
    EXPECT_GE(waited, 1000u);
    EXPECT_LT(waited, 3000u);

    EXPECT_EQ(0, holder.Release());
    ASSERT_TRUE(mutex.Lock());
    EXPECT_TRUE(mutex.Unlock());

    // And the other way round: the holder cannot have the name while this process holds it.
    ASSERT_TRUE(mutex.Lock());
    HolderProcess refused(false);
    EXPECT_EQ("busy", refused.Answer());
    EXPECT_TRUE(mutex.Unlock());
}

TEST(CNameMutexTest, NameHeldByAProcessThatDiesIsLockedAndMustBeUnlocked) {
    platform::UseVirtualClock(false);
    HolderProcess holder(true);
    ASSERT_EQ("ready", holder.Answer());
    EXPECT_EQ(0, holder.Release());  // exits still holding the name

    platform::ClearTrace();
    CNameMutex mutex(kName, FALSE);
    ASSERT_TRUE(mutex.Lock());
    EXPECT_TRUE(platform::TraceContains("abandoned"));  // the wait answered WAIT_ABANDONED
    EXPECT_TRUE(mutex.Unlock());

    // Killed while holding it: abandoned too; a proper release afterwards is not.
    HolderProcess crashing(false);
    ASSERT_EQ("ready", crashing.Answer());
    crashing.Kill();
    platform::ClearTrace();
    ASSERT_TRUE(mutex.Lock());
    EXPECT_TRUE(platform::TraceContains("abandoned"));
    EXPECT_TRUE(mutex.Unlock());
    platform::ClearTrace();
    ASSERT_TRUE(mutex.Lock());
    EXPECT_FALSE(platform::TraceContains("abandoned"));
    EXPECT_TRUE(mutex.Unlock());
}

// The other process does not share this process's virtual clock: the wait for it runs in real
// time, woken when the other process lets go rather than by polling the lock file.
TEST(CNameMutexTest, WaitForAnotherProcessRunsInRealTimeUnderTheVirtualClock) {
    platform::UseVirtualClock(true);
    HolderProcess holder("300");  // lets go after 300 ms of real time
    ASSERT_EQ("ready", holder.Answer());

    CNameMutex mutex(kName, FALSE);
    rusage before{}, after{};
    getrusage(RUSAGE_THREAD, &before);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(mutex.Lock());
    auto waited = std::chrono::steady_clock::now() - start;
    getrusage(RUSAGE_THREAD, &after);
    EXPECT_GE(waited, std::chrono::milliseconds(100));  // the 300 ms ran from the holder's "ready"
    EXPECT_LT(after.ru_nvcsw - before.ru_nvcsw, 40);  // a poll every ms would switch about 300 times
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_EQ(0, holder.Release());
}

DWORD WINAPI LockAndEnd(LPVOID) {
    CNameMutex mutex(kName, FALSE);
    return mutex.Lock() ? 0 : 1;  // ends without unlocking
}

DWORD WINAPI TryLock(LPVOID) {
    CNameMutex mutex(kName, FALSE);
    if (!mutex.Lock()) return 0;
    mutex.Unlock();
    return 1;
}

DWORD RunThread(LPTHREAD_START_ROUTINE routine) {
    HANDLE thread = CreateThread(nullptr, 0, routine, nullptr, 0, nullptr);
    if (thread == nullptr) return 0xFFFFFFFFu;
    WaitForSingleObject(thread, INFINITE);
    DWORD code = 0xFFFFFFFFu;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code;
}

TEST(CNameMutexTest, LockOfAMutexAbandonedByItsThreadAnswersTrueAndTracesIt) {
    platform::UseVirtualClock(true);
    platform::ClearTrace();
    CNameMutex mutex(kName, FALSE);  // keeps the named object alive while the thread holds it
    ASSERT_EQ(0u, RunThread(LockAndEnd));

    ASSERT_TRUE(mutex.Lock());
    EXPECT_TRUE(platform::TraceContains("abandoned"));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_EQ(1u, RunThread(TryLock));  // released for good
}

TEST(CNameMutexTest, HoldingThreadLocksAgainThroughASecondObject) {
    platform::UseVirtualClock(true);
    CNameMutex first(kName, FALSE);
    CNameMutex second(kName, FALSE);
    ASSERT_TRUE(first.Lock());
    ASSERT_TRUE(second.Lock());

    DWORD start = GetTickCount();
    EXPECT_EQ(0u, RunThread(TryLock));  // another thread gives up after its second
    DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 1000u);
    EXPECT_LT(waited, 1100u);

    EXPECT_TRUE(second.Unlock());
    EXPECT_EQ(0u, RunThread(TryLock));  // one Lock still outstanding
    EXPECT_TRUE(first.Unlock());
    EXPECT_EQ(1u, RunThread(TryLock));
}

TEST(CNameMutexTest, FailedCreationLocksNothing) {
    platform::InjectFailure("CreateMutexA");
    CNameMutex mutex(kName, FALSE);
    EXPECT_FALSE(mutex.Lock());
    EXPECT_FALSE(mutex.Unlock());
}

CRITICAL_SECTION g_section;

DWORD WINAPI TryEnter(LPVOID) {
    if (!TryEnterCriticalSection(&g_section)) return 0;
    LeaveCriticalSection(&g_section);
    return 1;
}

TEST(CScopedLockTest, HoldsTheCriticalSectionForItsScope) {
    InitializeCriticalSection(&g_section);
    {
        CScopedLock lock(&g_section);
        EXPECT_EQ(0u, RunThread(TryEnter));
        {
            CScopedLock again(&g_section);  // the same thread enters again
        }
        EXPECT_EQ(0u, RunThread(TryEnter));
    }
    EXPECT_EQ(1u, RunThread(TryEnter));
    DeleteCriticalSection(&g_section);
}

}  // namespace
