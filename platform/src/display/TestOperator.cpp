// The test operator of the headless display.
#include "platform/testoperator.h"

#include <deque>
#include <mutex>

#include "display/DisplayHost.h"
#include "display/OperatorKeys.h"
#include "display/ScreenModel.h"
#include "mfc/Wnd.h"
#include "platform/commctrl.h"
#include "platform/runtime.h"

namespace platform {

namespace {
constexpr ULONGLONG kPollMs = 10;
}  // namespace

struct TestOperator::State : display::HeadlessOperator {
    struct Step {
        std::function<bool()> ready;
        std::function<void()> run;
    };

    ULONGLONG Idle() override {
        Step step;
        {
            std::lock_guard<std::mutex> g(lock);
            if (steps.empty()) return UINT64_MAX;
            // A step that waits for a condition looks again soon: what it waits for may come
            // from another thread (a message box it raises) without a message to this one.
            if (steps.front().ready && !steps.front().ready()) return ClockNow() + kPollMs;
            step = std::move(steps.front());
            steps.pop_front();
        }
        step.run();
        return ClockNow();  // come back at once: the next step may be ready
    }

    int AnswerMessageBox(const char* text, const char* caption, UINT type) override {
        std::lock_guard<std::mutex> g(lock);
        int answer = 0;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        } else if (steps.empty()) {
            answer = DefaultMessageBoxAnswer(type);
        }
        seen.push_back(SeenMessageBox{caption, text, type, answer});
        if (answer) PlatformTrace("MessageBox [%s] %s -> %d\n", caption, text, answer);
        return answer;
    }

    mutable std::mutex lock;
    std::deque<Step> steps;
    std::deque<int> answers;
    std::vector<SeenMessageBox> seen;
};

TestOperator::TestOperator() : m_state(std::make_shared<State>()) {
    Display* d = CurrentDisplay();
    // A test of the X11 display keeps it: the steps run there too, and message boxes show.
    if (!d || (d->Kind() != DisplayKind::Headless && d->Kind() != DisplayKind::X11)) StartDisplay(DisplayKind::Headless);
    display::AttachHeadlessOperator(m_state.get());
}

TestOperator::~TestOperator() { display::DetachHeadlessOperator(m_state.get()); }

void TestOperator::Then(std::function<void()> step) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->steps.push_back(State::Step{nullptr, std::move(step)});
}

void TestOperator::When(std::function<bool()> ready, std::function<void()> step) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->steps.push_back(State::Step{std::move(ready), std::move(step)});
}

bool TestOperator::StepsDone() const {
    std::lock_guard<std::mutex> g(m_state->lock);
    return m_state->steps.empty();
}

void TestOperator::AnswerNextMessageBox(int answer) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->answers.push_back(answer);
}

std::vector<SeenMessageBox> TestOperator::MessageBoxes() const {
    std::lock_guard<std::mutex> g(m_state->lock);
    return m_state->seen;
}

bool TestOperator::MessageBoxOpen() const { return IsMessageBoxWindow(ActiveWindow()); }

bool TestOperator::AnswerMessageBox(int answer) {
    if (!MessageBoxOpen()) return false;
    bool clicked = Click(answer);
    if (clicked) {
        std::lock_guard<std::mutex> g(m_state->lock);
        if (!m_state->seen.empty() && m_state->seen.back().answer == 0) m_state->seen.back().answer = answer;
    }
    return clicked;
}

HWND TestOperator::ActiveWindow() const { return display::ActiveTopLevel(); }

HWND TestOperator::Find(int id) const {
    HWND top = ActiveWindow();
    if (!top) return nullptr;
    HWND hidden = nullptr;
    std::vector<HWND> pending{top};
    // Depth-first in creation order; a visible match wins over a hidden one.
    std::function<HWND(HWND)> walk = [&](HWND parent) -> HWND {
        for (HWND child : GetChildWindowList(parent)) {
            if (::GetDlgCtrlID(child) == id) {
                if (::IsWindowVisible(child)) return child;
                if (!hidden) hidden = child;
            }
            if (HWND found = walk(child)) return found;
        }
        return nullptr;
    };
    HWND found = walk(top);
    return found ? found : hidden;
}

std::string TestOperator::Text(int id) const {
    HWND window = Find(id);
    if (!window) return std::string();
    int length = ::GetWindowTextLengthA(window);
    std::string text(size_t(length) + 1, '\0');
    text.resize(size_t(::GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

bool TestOperator::IsVisible(int id) const {
    HWND window = Find(id);
    return window && ::IsWindowVisible(window);
}

bool TestOperator::IsEnabled(int id) const {
    HWND window = Find(id);
    return window && ::IsWindowEnabled(window);
}

int TestOperator::ProgressPos(int id) const {
    HWND window = Find(id);
    return window ? int(::SendMessageA(window, PBM_GETPOS, 0, 0)) : -1;
}

bool TestOperator::Click(int id) {
    HWND button = Find(id);
    if (!button || !::IsWindowVisible(button) || !::IsWindowEnabled(button)) return false;
    ::SendMessageA(button, BM_CLICK, 0, 0);
    return true;
}

void TestOperator::SendKey(UINT virtualKey) {
    if (HWND target = display::KeyTarget()) ::PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
}

void TestOperator::PressKey(UINT virtualKey) {
    display::OperatorKey(virtualKey, true, 1);
    display::OperatorKey(virtualKey, false, LPARAM(0xC0000001u));
}

void TestOperator::SendDeviceChange(WPARAM event, LPARAM data) {
    for (HWND top : GetTopLevelWindowList()) ::PostMessageA(top, WM_DEVICECHANGE, event, data);
}

void TestOperator::PumpUntilIdle() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(int(msg.wParam));
            return;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

void TestOperator::AdvanceClock(DWORD milliseconds) {
    platform::AdvanceClock(milliseconds);
    PumpUntilIdle();
}

}  // namespace platform
