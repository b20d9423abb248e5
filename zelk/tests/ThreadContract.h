// The behaviour every worker-thread base of the system shares (zelk::MThread and the graph
// library's CThread), as a typed test suite each library instantiates for its own base.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <utility>
#include <vector>

#include "platform/runtime.h"

// A worker that records what its thread ran. Run waits on the stop event in 200 ms passes.
// It stops the thread in its own destructor, before its members go.
template <class Base>
class ThreadProbe : public Base {
public:
    typedef decltype(std::declval<Base&>().Stop()) Bool;  // bool or BOOL, as the base answers

    explicit ThreadProbe(bool initResult = true, int exitCode = 0)
        : m_initResult(initResult), m_exitCode(exitCode), m_running(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~ThreadProbe() override {
        this->Stop();
        CloseHandle(m_running);
    }

    bool WaitRunning(DWORD milliseconds) { return WaitForSingleObject(m_running, milliseconds) == WAIT_OBJECT_0; }

    std::atomic<int> inits{0}, runs{0}, exits{0}, passes{0};
    std::atomic<bool> stopSetWhenRunBegan{false};
    std::vector<int> passLog;  // touched by the worker only while it runs

protected:
    Bool OnInit() override {
        ++inits;
        return m_initResult && Base::OnInit();
    }
    int Run() override {
        ++runs;
        stopSetWhenRunBegan = this->IsStopSet();
        SetEvent(m_running);
        while (!this->IsStopSet()) {
            if (WaitForSingleObject(this->GetStopEvent(), 200) != WAIT_TIMEOUT) break;
            passLog.push_back(++passes);
        }
        return 0;
    }
    int OnExit() override {
        ++exits;
        return m_exitCode + Base::OnExit();
    }

private:
    const bool m_initResult;
    const int m_exitCode;
    HANDLE m_running;
};

// A worker whose Run returns at once and which leaves stopping to the base destructor.
template <class Base>
class SelfEndingThread : public Base {
protected:
    int Run() override { return 0; }
    int OnExit() override { return Base::OnExit(); }
};

template <class Base>
class ThreadContract : public ::testing::Test {
protected:
    void SetUp() override {
        platform::UseVirtualClock(true);
        Sleep(1);  // a wait counts this thread among the platform's before any worker runs
    }
};

TYPED_TEST_SUITE_P(ThreadContract);

TYPED_TEST_P(ThreadContract, RunsNothingUntilResumedAndResumesOnce) {
    ThreadProbe<TypeParam> thread;
    ASSERT_NE(nullptr, thread.GetThreadHandle());
    Sleep(500);
    EXPECT_FALSE(thread.WaitRunning(0));
    EXPECT_EQ(0, thread.inits);
    EXPECT_EQ(0, thread.runs);

    EXPECT_EQ(1, static_cast<LONG>(thread.Resume()));  // the previous suspend count
    ASSERT_TRUE(thread.WaitRunning(INFINITE));
    EXPECT_EQ(1, thread.inits);
    EXPECT_FALSE(thread.stopSetWhenRunBegan);
    EXPECT_EQ(0, static_cast<LONG>(thread.Resume()));  // running: nothing left to resume

    EXPECT_TRUE(thread.Stop());
    EXPECT_EQ(1, thread.runs);
    EXPECT_EQ(1, thread.exits);
    EXPECT_EQ(nullptr, thread.GetThreadHandle());
}

TYPED_TEST_P(ThreadContract, StopRunsANeverResumedThreadToItsEndAndSecondStopDoesNothing) {
    ThreadProbe<TypeParam> thread;
    EXPECT_TRUE(thread.Stop());
    EXPECT_EQ(1, thread.inits);
    EXPECT_EQ(1, thread.runs);
    EXPECT_TRUE(thread.stopSetWhenRunBegan);
    EXPECT_EQ(0, thread.passes);
    EXPECT_EQ(1, thread.exits);
    EXPECT_EQ(nullptr, thread.GetThreadHandle());

    EXPECT_TRUE(thread.Stop());
    EXPECT_EQ(1, thread.runs);
    EXPECT_EQ(1, thread.exits);
    EXPECT_EQ(-1, static_cast<LONG>(thread.Resume()));  // no thread any more
}

TYPED_TEST_P(ThreadContract, OnInitFalseSkipsRunAndOnExitGivesTheExitCode) {
    ThreadProbe<TypeParam> thread(false, 7);
    HANDLE handle = thread.GetThreadHandle();  // stays open until the owner stops the thread
    thread.Resume();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(handle, INFINITE));
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(handle, &code));
    EXPECT_EQ(7u, code);
    EXPECT_EQ(1, thread.inits);
    EXPECT_EQ(0, thread.runs);
    EXPECT_EQ(1, thread.exits);
    EXPECT_EQ(nullptr, thread.GetThreadHandle());  // the worker cleared it at its end
    EXPECT_EQ(-1, static_cast<LONG>(thread.Resume()));
}

TYPED_TEST_P(ThreadContract, TimedWaitsInRunFollowThePlatformClock) {
    ThreadProbe<TypeParam> thread;
    auto started = std::chrono::steady_clock::now();
    thread.Resume();
    ASSERT_TRUE(thread.WaitRunning(INFINITE));
    Sleep(1000);  // five of the worker's 200 ms passes, in virtual time
    int passes = thread.passes;
    EXPECT_GE(passes, 4);
    EXPECT_LE(passes, 5);
    thread.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
    EXPECT_EQ(static_cast<size_t>(thread.passes.load()), thread.passLog.size());
}

TYPED_TEST_P(ThreadContract, StopRacingTheWorkersOwnEndLeavesNoThread) {
    int before = platform::LiveThreadCount();
    for (int i = 0; i < 20; ++i) {
        ThreadProbe<TypeParam> thread(false);  // ends as soon as it runs
        thread.Resume();
        EXPECT_TRUE(thread.Stop());
        EXPECT_EQ(1, thread.exits);
        EXPECT_EQ(nullptr, thread.GetThreadHandle());
    }
    EXPECT_EQ(before, platform::LiveThreadCount());
}

TYPED_TEST_P(ThreadContract, DerivedThreadIsStoppedBeforeItsMembersGo) {
    platform::ClearTrace();
    auto* thread = new ThreadProbe<TypeParam>;
    thread->Resume();
    ASSERT_TRUE(thread->WaitRunning(INFINITE));
    Sleep(450);
    delete thread;  // its destructor stops the worker that is writing its pass log
    EXPECT_FALSE(platform::TraceContains("still running"));
}

TYPED_TEST_P(ThreadContract, BaseDestructorReleasesAThreadThatEndedByItself) {
    int before = platform::LiveThreadCount();
    platform::ClearTrace();
    auto* thread = new SelfEndingThread<TypeParam>;
    HANDLE handle = thread->GetThreadHandle();
    thread->Resume();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(handle, INFINITE));
    delete thread;
    EXPECT_FALSE(platform::TraceContains("still running"));
    EXPECT_EQ(before, platform::LiveThreadCount());
}

TYPED_TEST_P(ThreadContract, FailedCreationLeavesNothingToResumeOrStop) {
    platform::InjectFailure("CreateThread");
    ThreadProbe<TypeParam> thread;
    EXPECT_EQ(nullptr, thread.GetThreadHandle());
    EXPECT_EQ(-1, static_cast<LONG>(thread.Resume()));
    EXPECT_TRUE(thread.Stop());
    EXPECT_EQ(0, thread.inits);
    EXPECT_EQ(0, thread.exits);
}

REGISTER_TYPED_TEST_SUITE_P(ThreadContract, RunsNothingUntilResumedAndResumesOnce, FailedCreationLeavesNothingToResumeOrStop,
                            StopRunsANeverResumedThreadToItsEndAndSecondStopDoesNothing,
                            OnInitFalseSkipsRunAndOnExitGivesTheExitCode, TimedWaitsInRunFollowThePlatformClock,
                            StopRacingTheWorkersOwnEndLeavesNoThread, DerivedThreadIsStoppedBeforeItsMembersGo,
                            BaseDestructorReleasesAThreadThatEndedByItself);
