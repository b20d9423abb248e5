// What the framework's message loops and painting ask of the chosen display. Internal.
#pragma once

#include <string>
#include <vector>

#include "platform/display.h"

namespace platform::display {

// A modal loop of the calling thread has no message waiting: the display draws and its
// operator may act. Returns the platform-clock time by which to call again when no message
// comes (UINT64_MAX for none).
ULONGLONG Idle();
// The operator asks the program to end (Ctrl-C on the terminal), as SIGINT, SIGHUP and SIGTERM
// do: the active window is asked to close until the windows are gone, so a window that refuses
// while a write runs closes once the write has ended.
void AskToClose();
// Whether the program was asked to close (by a signal, Ctrl-C, or a lost display).
bool CloseAsked();
// The display can no longer show the windows nor take input (the X connection or the terminal
// went away): one line on stderr, the display is replaced by one that shows nothing and acts on
// nothing, and the program is asked to close.
void DisplayLost(const char* why);
// A thread ended: when it drew for the display, the next thread whose loop goes idle does.
void ThreadEnded(DWORD threadId);
// A window's surface was drawn outside a paint pass (a video renderer presents each frame on
// its streaming thread): a display that shows pixels hears of it at its thread's next idle,
// which is woken for it (once until that idle).
void SurfaceDrawn();

}  // namespace platform::display

namespace platform::display {

// Posted to a message box when the program is asked to close: the box ends without an answer
// (MessageBox returns 0), so the window under it can close.
constexpr UINT kEndWithoutAnswer = 0x03FF;

// Marks a window as a message box (while it lives).
void SetMessageBoxWindow(HWND window, bool isMessageBox);
// Shows a message box as a modal window of the calling thread; returns the pressed button.
int RunMessageBox(HWND owner, const char* text, const char* caption, UINT type);

std::unique_ptr<Display> MakeHeadlessDisplay();
std::unique_ptr<Display> MakeTerminalDisplay(int inputFd, int outputFd);
// The X11 display on the server DISPLAY names; null, with the reason, when it cannot be used.
std::unique_ptr<Display> MakeX11Display(std::string* why);

// The headless display's operator (the test operator's steps and answers).
class HeadlessOperator {
public:
    virtual ~HeadlessOperator() = default;
    virtual ULONGLONG Idle() = 0;
    virtual int AnswerMessageBox(const char* text, const char* caption, UINT type) = 0;
};
void AttachHeadlessOperator(HeadlessOperator* op);
void DetachHeadlessOperator(HeadlessOperator* op);
// The attached operator, null when none is; a test's steps run on the X11 display too.
HeadlessOperator* AttachedOperator();

// At the program's end (RestartIfAsked), the program is started again with `args` in this
// process's place (exec), so the new start inherits the terminal.
void RestartAtEnd(const std::vector<std::string>& args);

// The text shown on a message box's button.
const char* MessageBoxButtonText(int id);

}  // namespace platform::display
