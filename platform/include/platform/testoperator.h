// The test operator: drives the headless display from a test. Steps run on the user-interface
// thread, one whenever its message loop has nothing to do, so a test lays out what a person would
// do and then runs the dialog modally:
//
//   platform::TestOperator op;
//   op.Then([&] { EXPECT_EQ(op.Text(1013), "是否使用补丁?"); op.Click(1002); });
//   op.When([&] { return op.Text(1081) == "关 闭"; }, [&] { op.Click(1081); });
//   dialog.DoModal();
//
// The methods that read and act look at the active window (the last visible top-level window of
// the calling thread, a message box of any thread when one is open) and find controls by id among its
// descendants, visible ones first.
#pragma once

#include <functional>
#include <memory>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/winuser.h"

namespace platform {

// A window's client area with its children as drawn: pixels 0x00RRGGBB, rows from the top.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    // Writes it as a PNG file; false when the file cannot be written.
    bool SavePng(const std::string& path) const;
};

struct SeenMessageBox {
    std::string caption;
    std::string text;
    UINT type;
    int answer;
};

class PLATFORM_API TestOperator {
public:
    // Makes the headless display current (when neither it nor the X11 display is) and attaches
    // to it.
    TestOperator();
    ~TestOperator();
    TestOperator(const TestOperator&) = delete;
    TestOperator& operator=(const TestOperator&) = delete;

    // ---- steps ----
    void Then(std::function<void()> step);
    // The step runs at the first idle moment at which `ready` holds.
    void When(std::function<bool()> ready, std::function<void()> step);
    bool StepsDone() const;

    // ---- message boxes ----
    // The next message box is answered at once with this button id, without being shown.
    void AnswerNextMessageBox(int answer);
    // Every message box so far, with the answer it got.
    std::vector<SeenMessageBox> MessageBoxes() const;
    // An open message box (shown because no answer was queued): presses its button.
    bool AnswerMessageBox(int answer);
    bool MessageBoxOpen() const;

    // ---- reading ----
    HWND ActiveWindow() const;
    HWND Find(int id) const;
    std::string Text(int id) const;
    bool IsVisible(int id) const;
    bool IsEnabled(int id) const;
    int ProgressPos(int id) const;
    // The client area of a window (the active window when null) with its children, after the
    // windows that need it were painted; empty when the window has nothing drawn.
    Screenshot TakeScreenshot(HWND window = nullptr) const;

    // ---- acting ----
    // Presses a button as a person would: only a visible, enabled one (false otherwise).
    bool Click(int id);
    // A key press to the focused window when it is in the active window, else to the active window.
    void SendKey(UINT virtualKey);
    // A key pressed and let go on the operator's keyboard, as every display hands it on (Enter
    // on a focused push button presses it; the focus, when it cannot take the key, moves to the
    // active window's first tab stop).
    void PressKey(UINT virtualKey);
    // A device change to every top-level window.
    void SendDeviceChange(WPARAM event, LPARAM data = 0);
    // Runs the calling thread's messages until none is waiting (outside a modal loop).
    void PumpUntilIdle();
    // Moves the platform clock on and runs what became due.
    void AdvanceClock(DWORD milliseconds);

    struct State;

private:
    std::shared_ptr<State> m_state;
};

}  // namespace platform
