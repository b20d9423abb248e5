// Windows as message targets: queues, posting from workers, sending, timers, quit.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "platform/runtime.h"
#include "platform/winctrl.h"
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

// ---- sending across threads, and windows that end with their thread ----

namespace {

// A window of a worker thread: a message 0x500 (wParam: a window of the sender) is answered with
// what the sender's window answers to 0x501, sent back to the sender while it waits.
struct Bouncer {
    HWND window = nullptr;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE leave = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool pump = true;
    ~Bouncer() {
        CloseHandle(created);
        CloseHandle(leave);
    }
};

LRESULT CALLBACK BouncerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == 0x500) return 1000 + SendMessageA(reinterpret_cast<HWND>(wp), 0x501, 0, 0);
    return DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK AnswerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == 0x501) return 23;
    return DefWindowProcA(w, m, wp, lp);
}

DWORD WINAPI BouncerThread(LPVOID p) {
    auto* b = static_cast<Bouncer*>(p);
    b->window = CreateWindowExA(0, "Bouncer", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetEvent(b->created);
    while (b->pump && MsgWaitForMultipleObjects(1, &b->leave, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    if (!b->pump) WaitForSingleObject(b->leave, INFINITE);
    return 0;
}

class CrossThreadSend : public testing::Test {
protected:
    void SetUp() override {
        for (auto [name, proc] : {std::pair{"Bouncer", &BouncerProc}, std::pair{"Answer", &AnswerProc}}) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = proc;
            wc.lpszClassName = name;
            RegisterClassA(&wc);
        }
        answer = CreateWindowExA(0, "Answer", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(answer); }
    HANDLE Start(Bouncer& b) {
        HANDLE t = CreateThread(nullptr, 0, BouncerThread, &b, 0, nullptr);
        WaitForSingleObject(b.created, INFINITE);
        return t;
    }
    HWND answer = nullptr;
};

}  // namespace

TEST_F(CrossThreadSend, SenderRunsWhatIsSentToItWhileItWaitsForTheReply) {
    Bouncer b;
    HANDLE t = Start(b);
    EXPECT_EQ(SendMessageA(b.window, 0x500, reinterpret_cast<WPARAM>(answer), 0), 1023) << "A to B to A";
    SetEvent(b.leave);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
}

TEST_F(CrossThreadSend, WindowsEndWithTheirThreadAndWaitingSendersGetZero) {
    Bouncer b;
    b.pump = false;  // never looks at its messages
    HANDLE t = Start(b);
    struct Sender {
        HWND target;
        LRESULT result = -1;
    } sender{b.window};
    HANDLE s = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* x = static_cast<Sender*>(p);
            x->result = SendMessageA(x->target, 0x500, 0, 0);
            return 0;
        },
        &sender, 0, nullptr);
    Sleep(20);  // the send is waiting on the silent thread
    SetEvent(b.leave);
    EXPECT_EQ(WaitForSingleObject(s, 5000), WAIT_OBJECT_0) << "the sender is answered when the thread ends";
    EXPECT_EQ(sender.result, 0);
    WaitForSingleObject(t, INFINITE);
    EXPECT_FALSE(IsWindow(b.window));
    EXPECT_EQ(SendMessageA(b.window, 0x500, reinterpret_cast<WPARAM>(answer), 0), 0);
    CloseHandle(s);
    CloseHandle(t);
}

TEST_F(MessageTest, PostingStopsAtTheQueueLimitAndCanBeMadeToFail) {
    Pump();  // what earlier tests left behind
    for (int i = 0; i < 10000; ++i) ASSERT_TRUE(PostMessageA(window, WM_USER, 0, i)) << i;
    SetLastError(0);
    EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 10000));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_QUOTA));
    EXPECT_FALSE(PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_TRUE(PostMessageA(window, WM_USER, 0, 10000)) << "room again once one is taken";
    Pump();
    EXPECT_EQ(log.size(), 10000u);
    EXPECT_EQ(log.back().lParam, 10000);

    platform::InjectFailure("PostMessage");
    EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_QUOTA));
    platform::InjectFailure("PostThreadMessage", 1, ERROR_INVALID_THREAD_ID);
    EXPECT_FALSE(PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_THREAD_ID));
    EXPECT_TRUE(PostMessageA(window, WM_USER, 0, 0));
    platform::ClearFailures();
    Pump();
}

// ---- painting ----

namespace {

std::vector<std::pair<HWND, RECT>>* g_painted;

LRESULT CALLBACK Painter(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        g_painted->push_back({w, ps.rcPaint});
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

class Painting : public testing::Test {
protected:
    void SetUp() override {
        g_painted = &painted;
        WNDCLASSA wc{};
        wc.lpfnWndProc = Painter;
        wc.lpszClassName = "Painter";
        RegisterClassA(&wc);
        top = CreateWindowExA(0, "Painter", "top", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        child = CreateWindowExA(0, "Painter", "child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, top, nullptr, nullptr,
                                nullptr);
    }
    void TearDown() override { DestroyWindow(top); }
    // The windows painted by one pass of the message loop, in order.
    std::vector<HWND> Paint() {
        painted.clear();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        std::vector<HWND> windows;
        for (auto& [w, r] : painted) windows.push_back(w);
        return windows;
    }
    const RECT& LastRect() const { return painted.back().second; }
    std::vector<std::pair<HWND, RECT>> painted;
    HWND top = nullptr, child = nullptr;
};

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(Painting, HiddenWindowsWaitAndShowingPaintsThemWhole) {
    EXPECT_TRUE(Paint().empty()) << "created hidden: nothing is painted";
    InvalidateRect(top, nullptr, TRUE);
    EXPECT_TRUE(Paint().empty()) << "still hidden";
    ShowWindow(top, SW_SHOW);
    EXPECT_EQ(Paint(), (std::vector<HWND>{top, child}));
    EXPECT_TRUE(Same(painted[0].second, RECT{0, 0, 200, 100}));
    EXPECT_TRUE(Paint().empty()) << "painted windows are valid";
}

TEST_F(Painting, TextMoveAndSizeInvalidateWhatChanged) {
    ShowWindow(top, SW_SHOW);
    Paint();
    SetWindowTextA(child, "新的");
    EXPECT_EQ(Paint(), std::vector<HWND>{child});
    RECT first{5, 5, 10, 10}, second{20, 30, 25, 40};
    InvalidateRect(top, &first, TRUE);
    InvalidateRect(top, &second, TRUE);
    EXPECT_EQ(Paint(), std::vector<HWND>{top});
    EXPECT_TRUE(Same(LastRect(), RECT{5, 5, 25, 40})) << "the bounds of what was invalidated";
    MoveWindow(child, 100, 50, 60, 30, TRUE);
    std::vector<HWND> moved = Paint();
    EXPECT_EQ(moved.size(), 2u);
    for (auto& [w, r] : painted) {
        if (w == top) {
            EXPECT_TRUE(Same(r, RECT{10, 10, 160, 80})) << "where the child was and is now";
        }
        if (w == child) {
            EXPECT_TRUE(Same(r, RECT{0, 0, 60, 30}));
        }
    }
    MoveWindow(child, 100, 50, 60, 30, TRUE);
    EXPECT_TRUE(Paint().empty()) << "no change, nothing to paint";
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(Paint(), std::vector<HWND>{top}) << "what the hidden child covered";
}

TEST_F(Painting, APeekFilteredOnOneWindowLeavesAnotherWindowsPaint) {
    ShowWindow(top, SW_SHOW);
    Paint();
    InvalidateRect(child, nullptr, TRUE);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, top, 0, 0, PM_REMOVE)) << "the top window is valid";
    EXPECT_FALSE(PeekMessageA(&msg, top, WM_PAINT, WM_PAINT, PM_REMOVE));
    // A look that leaves it names the pending paint, which still comes.
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, UINT(WM_PAINT));
    EXPECT_EQ(msg.hwnd, child);
    EXPECT_EQ(Paint(), std::vector<HWND>{child}) << "the child's paint still comes";
}
