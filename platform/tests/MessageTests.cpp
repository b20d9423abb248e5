// Windows as message targets: queues, posting from workers, sending, timers, quit.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "platform/runtime.h"
#include "platform/windowcore.h"

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD thread;
};
std::vector<Received>* g_log;

LRESULT CALLBACK Recorder(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m >= WM_USER || m == WM_TIMER) {
        g_log->push_back({m, wp, lp, GetCurrentThreadId()});
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

class MessageTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log = &log;
        WNDCLASSA wc{};
        wc.lpfnWndProc = Recorder;
        wc.lpszClassName = "Recorder";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "Recorder", "title", 0, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
    }
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    std::vector<Received> log;
    HWND window = nullptr;
};

}  // namespace

TEST_F(MessageTest, PostsFromAWorkerArriveInOrderWithPointerSizedWParam) {
    struct Args {
        HWND window;
        int object;
    } args{window, 0};
    HANDLE t = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* a = static_cast<Args*>(p);
            for (int i = 0; i <= 100; ++i) PostMessageA(a->window, 0x428, reinterpret_cast<WPARAM>(&a->object), i);
            PostMessageA(a->window, 0x428, reinterpret_cast<WPARAM>(&a->object), 101);
            return 0;
        },
        &args, 0, nullptr);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    Pump();
    ASSERT_EQ(log.size(), 102u);
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].lParam, LPARAM(i));
        EXPECT_EQ(reinterpret_cast<int*>(log[i].wParam), &args.object);
        EXPECT_EQ(log[i].thread, GetCurrentThreadId());
    }
}

TEST_F(MessageTest, GetMessageReturnsFalseOnQuitAfterEarlierMessages) {
    PostMessageA(window, WM_USER + 1, 1, 2);
    PostQuitMessage(3);
    MSG msg;
    EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageTest, TimersFireOnTheTestClockAndStopWhenKilled) {
    EXPECT_EQ(SetTimer(window, 0, 1000, nullptr), 1u);  // id 0 works
    ULONGLONG start = platform::ClockNow();
    MSG msg;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
        DispatchMessageA(&msg);
    }
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].message, UINT(WM_TIMER));
    EXPECT_EQ(log[0].wParam, 0u);
    EXPECT_GE(platform::ClockNow() - start, 3000u);
    EXPECT_TRUE(KillTimer(window, 0));
    EXPECT_FALSE(KillTimer(window, 0));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageTest, DueTimerEndsAMessageWaitAsInputNotAsTimeOut) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetTimer(window, 7, 100, nullptr);
    Pump();  // nothing due yet
    ULONGLONG start = platform::ClockNow();
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0 + 1);
    EXPECT_GE(platform::ClockNow() - start, 100u);
    Pump();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].message, UINT(WM_TIMER));
    KillTimer(window, 7);
    start = platform::ClockNow();
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 300, QS_ALLINPUT), WAIT_TIMEOUT);
    EXPECT_GE(platform::ClockNow() - start, 300u);
    CloseHandle(event);
}

// Input the thread has looked at (a message PeekMessage saw and left, a due timer a filtered
// PeekMessage passed over) does not wake the message waits again: they wait for new input.
TEST_F(MessageTest, MessageWaitsWakeOnlyForInputThatArrivedSinceTheLastLook) {
    MSG msg;
    PostMessageA(window, WM_USER + 5, 0, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ULONGLONG start = platform::ClockNow();
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 300, QS_ALLINPUT), WAIT_TIMEOUT);
    EXPECT_GE(platform::ClockNow() - start, 300u);

    // A timer wakes WaitMessage as new input; the message left in the queue did not.
    SetTimer(window, 3, 100, nullptr);
    start = platform::ClockNow();
    EXPECT_TRUE(WaitMessage());
    EXPECT_GE(platform::ClockNow() - start, 100u);

    // The due timer, passed over by a filtered look, wakes nothing either; a new post does.
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 6, WM_USER + 6, PM_REMOVE));
    KillTimer(window, 3);
    SetTimer(window, 4, 1, nullptr);
    Sleep(10);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 6, WM_USER + 6, PM_REMOVE));
    start = platform::ClockNow();
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT), WAIT_TIMEOUT);
    EXPECT_GE(platform::ClockNow() - start, 200u);
    PostMessageA(window, WM_USER + 6, 0, 0);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT), WAIT_OBJECT_0);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 6, WM_USER + 6, PM_REMOVE));
    KillTimer(window, 4);
}

TEST(ThreadTimers, DispatchCallsTheTimerProcedureOfATimerWithoutWindow) {
    static int calls;
    static UINT_PTR firedId;
    calls = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
        ++calls;
        firedId = timer;
    });
    ASSERT_NE(id, 0u);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(msg.hwnd, nullptr);
    DispatchMessageA(&msg);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(firedId, id);
    EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(MessageTest, SendFromAnotherThreadRunsOnTheWindowThread) {
    struct Args {
        HWND window;
        LRESULT result;
        char text[32];
    } args{window, -1, {}};
    HANDLE t = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* a = static_cast<Args*>(p);
            a->result = SendMessageA(a->window, WM_USER + 7, 5, 6);
            GetWindowTextA(a->window, a->text, sizeof a->text);
            PostMessageA(a->window, WM_USER + 8, 0, 0);
            return 0;
        },
        &args, 0, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        DispatchMessageA(&msg);
        if (msg.message == WM_USER + 8) break;
    }
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].message, UINT(WM_USER + 7));
    EXPECT_EQ(log[0].thread, GetCurrentThreadId());
    EXPECT_EQ(args.result, 0);
    EXPECT_STREQ(args.text, "title");
}

TEST_F(MessageTest, WindowsAreSeenFromEveryThreadAndGoneAfterDestroy) {
    HWND child = CreateWindowExA(0, "Recorder", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, window,
                                 reinterpret_cast<HMENU>(1001), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgItem(window, 1001), child);
    EXPECT_EQ(GetParent(child), window);
    EXPECT_FALSE(IsWindowVisible(child));  // the parent is hidden
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_FALSE(EnableWindow(child, FALSE));
    EXPECT_FALSE(IsWindowEnabled(child));
    SetWindowTextA(child, "关 闭");
    char text[32];
    EXPECT_EQ(GetWindowTextA(child, text, sizeof text), int(strlen("关 闭")));
    EXPECT_STREQ(text, "关 闭");
    EXPECT_EQ(GetWindowTextA(child, text, 3), 2);  // cut and terminated
    struct Args {
        HWND window;
        BOOL seen;
    } args{window, FALSE};
    HANDLE t = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* a = static_cast<Args*>(p);
            a->seen = IsWindow(a->window);
            return 0;
        },
        &args, 0, nullptr);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    EXPECT_TRUE(args.seen);
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
}

TEST(MessageBoxes, WithoutADisplayAnswerTheDefaultButtonAndTrace) {
    platform::ClearTrace();
    EXPECT_EQ(MessageBoxA(nullptr, "没有找到可用设备!", "Pelvatro", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "?", "", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_TRUE(platform::TraceContains("没有找到可用设备!"));
}

TEST_F(MessageTest, FilteredGetMessageWaitsPastOtherWindowsMessages) {
    HWND other = CreateWindowExA(0, "Recorder", "other", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    PostMessageA(other, WM_USER + 1, 0, 0);  // stays queued: the wait below filters it out
    HANDLE t = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            Sleep(100);
            PostMessageA(static_cast<HWND>(p), WM_USER + 2, 0, 0);
            return 0;
        },
        window, 0, nullptr);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, window, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER + 2));
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    DestroyWindow(other);
}
