// Per-thread message queues: posted and sent messages, WM_QUIT, WM_PAINT and timers.
#include <algorithm>
#include <deque>
#include <map>

#include "Kernel.h"
#include "ThreadRegistry.h"
#include "WindowTable.h"
#include "platform/runtime.h"

using namespace platform::kernel;
using namespace platform::win;

namespace {

// A message sent from another thread, waiting for the receiving thread to run it.
class SentMessage : public KObject {
public:
    bool IsWaitable() const override { return true; }
    bool IsSignaled(DWORD) override { return done; }
    MSG msg{};
    LRESULT result = 0;
    bool done = false;
};

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC proc;
    uint64_t due;
};

// The messages other threads sent to a thread and wait for; signalled while one is waiting, so a
// thread that waits for its own SendMessage's reply runs them meanwhile.
class SentInbox : public KObject {
public:
    bool IsWaitable() const override { return true; }
    bool IsSignaled(DWORD) override { return !items.empty(); }
    std::deque<std::shared_ptr<SentMessage>> items;
};

// A thread's posted messages are limited, as on Windows.
constexpr size_t kPostedLimit = 10000;

// Signalled when something arrived since its thread last looked (a message that a filtered
// GetMessage passes over does not keep waking it).
class MessageQueue : public KObject {
public:
    bool IsWaitable() const override { return true; }
    bool IsSignaled(DWORD) override { return changes != seen; }
    // Something arrived: a message, a quit, a timer change, a window to paint.
    void Changed() {
        ++changes;
        Signal(this);
    }
    std::deque<MSG> posted;
    SentInbox sent;
    std::vector<Timer> timers;
    bool ended = false;  // its thread has ended
    bool quit = false;
    int quitCode = 0;
    uint64_t changes = 0;
    uint64_t seen = 0;
    uint64_t lookedAt = 0;  // clock at the thread's last look: timers due by then are old input

    // The thread looked at its queue: what is there now (`changesSeen` and the timers due now)
    // no longer wakes its message waits.
    void Looked(uint64_t changesSeen) {
        seen = changesSeen;
        lookedAt = NowLocked();
    }
    // When the earliest timer that was not due at the last look comes due (kNoDeadline: none).
    uint64_t NextNewTimer() const {
        uint64_t next = kNoDeadline;
        for (auto& t : timers)
            if (t.due > lookedAt) next = std::min(next, t.due);
        return next;
    }
};

// Queues by thread (kernel lock held). Never destroyed.
std::map<DWORD, std::shared_ptr<MessageQueue>>& Queues() {
    static auto* q = new std::map<DWORD, std::shared_ptr<MessageQueue>>;
    return *q;
}

std::shared_ptr<MessageQueue> QueueLocked(DWORD tid) {
    auto& slot = Queues()[tid];
    if (!slot) slot = std::make_shared<MessageQueue>();
    return slot;
}

UINT_PTR g_nextTimerId = 0x7FFF0000;

bool Matches(const MSG& m, HWND filter, UINT low, UINT high) {
    if (filter && m.hwnd != filter) return false;
    if (low == 0 && high == 0) return true;
    return m.message >= low && m.message <= high;
}

MSG Make(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, uint64_t now) {
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = DWORD(now);
    return m;
}

BOOL PostTo(DWORD tid, const MSG& msg, const char* call) {
    LONG error = ERROR_NOT_ENOUGH_QUOTA;
    if (platform::ShouldFail(call, &error)) {
        SetLastError(DWORD(error));
        return FALSE;
    }
    std::lock_guard<std::mutex> g(Lock());
    auto q = QueueLocked(tid);
    if (q->ended) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    if (q->posted.size() >= kPostedLimit) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    q->posted.push_back(msg);
    q->Changed();
    return TRUE;
}

// Runs the messages other threads sent to the calling thread.
void RunSentMessages(MessageQueue* q, std::unique_lock<std::mutex>& lock) {
    while (!q->sent.items.empty()) {
        auto s = q->sent.items.front();
        q->sent.items.pop_front();
        lock.unlock();
        WNDPROC proc = nullptr;
        LRESULT r = 0;
        if (Route(s->msg.hwnd, nullptr, &proc)) r = CallWindowProcA(proc, s->msg.hwnd, s->msg.message, s->msg.wParam, s->msg.lParam);
        lock.lock();
        s->result = r;
        s->done = true;
        Signal(s.get());
    }
}

// One pass over the calling thread's queue: true when a message was taken (or looked at).
bool TakeMessage(MessageQueue* q, std::unique_lock<std::mutex>& lock, LPMSG msg, HWND filter, UINT low, UINT high,
                 bool remove, uint64_t* nextTimer) {
    RunSentMessages(q, lock);
    // What is there now is looked at, taken or not; what arrives from here on (while the lock is
    // let go below) wakes the next wait.
    q->Looked(q->changes);
    for (auto it = q->posted.begin(); it != q->posted.end(); ++it) {
        if (!Matches(*it, filter, low, high) && it->message != WM_QUIT) continue;
        *msg = *it;
        if (remove) q->posted.erase(it);
        return true;
    }
    if (q->quit && !filter) {
        *msg = Make(nullptr, WM_QUIT, WPARAM(q->quitCode), 0, NowLocked());
        if (remove) q->quit = false;
        return true;
    }
    // Paint before timers, as on Windows.
    if (low == 0 || (WM_PAINT >= low && WM_PAINT <= high)) {
        lock.unlock();
        HWND dirty = TakeInvalidWindow(CurrentThreadId(), filter, remove);
        lock.lock();
        if (dirty) {
            *msg = Make(dirty, WM_PAINT, 0, 0, NowLocked());
            return true;
        }
    }
    uint64_t now = NowLocked();
    *nextTimer = kNoDeadline;
    if (low == 0 || (WM_TIMER >= low && WM_TIMER <= high)) {
        for (auto& t : q->timers) {
            if (filter && t.hwnd != filter) continue;
            if (t.due <= now) {
                *msg = Make(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), now);
                if (remove) t.due = now + std::max<UINT>(t.elapse, 1);
                return true;
            }
            *nextTimer = std::min(*nextTimer, t.due);
        }
    }
    return false;
}

}  // namespace

namespace platform::win {
void WakeThread(DWORD threadId) {
    std::lock_guard<std::mutex> g(Lock());
    QueueLocked(threadId)->Changed();
}

void EndThreadMessages(DWORD threadId) {
    std::lock_guard<std::mutex> g(Lock());
    auto q = QueueLocked(threadId);
    q->ended = true;
    q->posted.clear();
    q->timers.clear();
    // Whoever still waits for this thread's answer gets 0.
    for (auto& s : q->sent.items) {
        s->done = true;
        Signal(s.get());
    }
    q->sent.items.clear();
}

void ForgetWindowMessages(HWND window) {
    std::lock_guard<std::mutex> g(Lock());
    for (auto& [tid, q] : Queues()) {
        auto& t = q->timers;
        t.erase(std::remove_if(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == window; }), t.end());
    }
}
}  // namespace platform::win

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    NoteCall("PostMessage");
    if (!window) return PostThreadMessageA(CurrentThreadId(), message, wParam, lParam);
    if (window == HWND_BROADCAST) {
        for (HWND w : platform::GetTopLevelWindowList()) PostMessageA(w, message, wParam, lParam);
        return TRUE;
    }
    DWORD tid = 0;
    if (!Route(window, &tid, nullptr)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    uint64_t now;
    {
        std::lock_guard<std::mutex> g(Lock());
        now = NowLocked();
    }
    return PostTo(tid, Make(window, message, wParam, lParam, now), "PostMessage");
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    uint64_t now;
    {
        std::lock_guard<std::mutex> g(Lock());
        now = NowLocked();
    }
    return PostTo(threadId, Make(nullptr, message, wParam, lParam, now), "PostThreadMessage");
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    NoteCall("SendMessage");
    if (window == HWND_BROADCAST) {
        for (HWND w : platform::GetTopLevelWindowList()) SendMessageA(w, message, wParam, lParam);
        return 0;
    }
    DWORD tid = 0;
    WNDPROC proc = nullptr;
    if (!Route(window, &tid, &proc)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (tid == CurrentThreadId()) return CallWindowProcA(proc, window, message, wParam, lParam);
    // Another thread's window: that thread runs it in its next message call; wait for the result.
    auto s = std::make_shared<SentMessage>();
    s->msg = Make(window, message, wParam, lParam, 0);
    std::unique_lock<std::mutex> lock(Lock());
    auto q = QueueLocked(tid);
    if (q->ended) return 0;  // its windows are gone with it
    q->sent.items.push_back(s);
    Signal(&q->sent);
    q->Changed();
    // While waiting, messages other threads send to this one run (a round trip back to this
    // thread would deadlock otherwise).
    auto me = QueueLocked(CurrentThreadId());
    while (!s->done) {
        KObject* objects[2] = {s.get(), &me->sent};
        Wait(lock, objects, 2, false, kNoDeadline);
        RunSentMessages(me.get(), lock);
    }
    return s->result;
}

BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    NoteCall("GetMessage");
    if (!msg) return -1;
    std::unique_lock<std::mutex> lock(Lock());
    auto q = QueueLocked(CurrentThreadId());
    for (;;) {
        uint64_t nextTimer = kNoDeadline;
        if (TakeMessage(q.get(), lock, msg, window, filterMin, filterMax, true, &nextTimer))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        KObject* obj = q.get();
        Wait(lock, &obj, 1, false, nextTimer);
    }
}

BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    NoteCall("PeekMessage");
    if (!msg) return FALSE;
    std::unique_lock<std::mutex> lock(Lock());
    auto q = QueueLocked(CurrentThreadId());
    uint64_t nextTimer = kNoDeadline;
    return TakeMessage(q.get(), lock, msg, window, filterMin, filterMax, (remove & PM_REMOVE) != 0, &nextTimer)
               ? TRUE
               : FALSE;
}

// The message waits wake for input that arrived since the thread last looked at its queue (a
// message a PeekMessage saw and left there, or a due timer it passed over, is old), and count
// as a look themselves.
BOOL WaitMessage() {
    NoteCall("WaitMessage");
    std::unique_lock<std::mutex> lock(Lock());
    auto q = QueueLocked(CurrentThreadId());
    // Messages sent from other threads are served by the next look, so they never make a busy
    // loop.
    if (!q->sent.items.empty()) return TRUE;
    KObject* obj = q.get();
    Wait(lock, &obj, 1, false, q->NextNewTimer());
    q->Looked(q->changes);
    return TRUE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, DWORD) {
    NoteCall("MsgWaitForMultipleObjects");
    Waitables waitables;
    // The queue takes the last of the wait's places.
    if (!ResolveWaitables(count, handles, waitAll, MAXIMUM_WAIT_OBJECTS - 1, &waitables)) return WAIT_FAILED;
    std::unique_lock<std::mutex> lock(Lock());
    auto q = QueueLocked(CurrentThreadId());
    uint64_t timer = q->NextNewTimer();
    uint64_t deadline = std::min(DeadlineAfter(milliseconds), timer);
    if (!waitAll) waitables.objects[waitables.count++] = q.get();
    DWORD result = Wait(lock, waitables.objects.data(), waitables.count, waitAll != FALSE, deadline);
    // A timer that came due is input for the caller to take, not the end of its time-out.
    if (result == WAIT_TIMEOUT && timer <= NowLocked()) result = WAIT_OBJECT_0 + count;
    if (result == WAIT_OBJECT_0 + count) q->Looked(q->changes);
    return result;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    // A timer's procedure runs for a thread's timer (no window) too.
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    if (!msg->hwnd) return 0;
    WNDPROC proc = nullptr;
    if (!Route(msg->hwnd, nullptr, &proc)) return 0;
    return CallWindowProcA(proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

void PostQuitMessage(int exitCode) {
    std::lock_guard<std::mutex> g(Lock());
    auto q = QueueLocked(CurrentThreadId());
    q->quit = true;
    q->quitCode = exitCode;
    q->Changed();
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    DWORD tid = CurrentThreadId();
    if (window && !Route(window, &tid, nullptr)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    std::lock_guard<std::mutex> g(Lock());
    if (!window) id = g_nextTimerId++;
    auto q = QueueLocked(tid);
    auto& timers = q->timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const Timer& t) { return t.hwnd == window && t.id == id; }),
                 timers.end());
    timers.push_back(Timer{window, id, elapse, proc, NowLocked() + std::max<UINT>(elapse, 1)});
    // A thread waiting for its messages recomputes its deadline (the caller itself waits not).
    if (tid != CurrentThreadId()) q->Changed();
    return id ? id : 1;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    std::lock_guard<std::mutex> g(Lock());
    for (auto& [tid, q] : Queues()) {
        auto& t = q->timers;
        auto it = std::find_if(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == window && x.id == id; });
        if (it != t.end()) {
            t.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}
