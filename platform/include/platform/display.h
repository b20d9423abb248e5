// The operator's display: what shows the window tree to a person, and who acts on it.
// PELVATRO_DISPLAY chooses: "headless" (nothing shown; tests drive it through
// platform::TestOperator), "terminal" (the dialogs drawn in a TTY, keys press buttons), "log"
// (every visible change printed as a line, an automatic operator acting as a patient person
// would) or "x11" (each dialog an X window on the server DISPLAY names, worked with the pointer
// and the keyboard). Every display shows the same window tree; none changes what the program does. On
// every display the windows are painted into their top-level surfaces, so a test sees the pixels
// a person would; a display that shows pixels reads them through ViewSurface.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/winuser.h"

namespace platform {

enum class DisplayKind { Headless, Terminal, Log, X11 };

// A top-level window's surface as drawn: 32-bit pixels, bytes blue, green, red and one unused,
// rows of `stride` bytes from the top.
struct SurfaceView {
    int width = 0;
    int height = 0;
    int stride = 0;
    const BYTE* pixels = nullptr;
};
// Reads a top-level window's surface while no one draws in it; false when it has none.
PLATFORM_API bool ViewSurface(HWND topLevel, const std::function<void(const SurfaceView&)>& read);

class Display {
public:
    virtual ~Display() = default;
    virtual DisplayKind Kind() const = 0;
    // A message loop of the user-interface thread has no message waiting: draw what changed and
    // act. Returns the platform-clock time by which to be called again when no message comes
    // (UINT64_MAX for none).
    virtual ULONGLONG Idle() = 0;
    // A message box opens: an answer to give it at once, or 0 to show the box as a modal window.
    virtual int AnswerMessageBox(HWND owner, const char* text, const char* caption, UINT type) = 0;
    // After a paint pass: the rectangles of a top-level window's surface that changed (read them
    // with ViewSurface). Displays that show no pixels ignore it.
    virtual void SurfaceChanged(HWND topLevel, const std::vector<RECT>& rects) {}
    // The display is being replaced or the program ends: restore what it changed (the terminal).
    virtual void Stop() {}
    // A line the platform has for the operator (the log display prints it; the others show
    // nothing of it).
    virtual void Say(const std::string& line) {}
};

// PELVATRO_DISPLAY's choice. Unset: headless, or, with machineDefault (the pelvatro executable),
// X11 when DISPLAY is set, else the terminal when standard input and output are a TTY and the
// log otherwise.
PLATFORM_API DisplayKind DisplayKindFromEnvironment(bool machineDefault);
// Makes a display of that kind current and installs its message-box handling. An X11 display
// whose server cannot be opened is traced in one line and replaced by the terminal display (on a
// TTY) or the log display.
PLATFORM_API void StartDisplay(DisplayKind kind);
// The pelvatro executable's start: PELVATRO_DISPLAY, else what the machine offers.
PLATFORM_API void StartMachineDefaultDisplay();
// Makes the given display current (a test's display; later the X11 window).
PLATFORM_API void SetDisplay(std::unique_ptr<Display> display);
// Stops and removes the current display.
PLATFORM_API void StopDisplay();
// The program's end, after StopDisplay: when a page asked for a restart (ShellExecute of the
// program's own file) and the run ended as it asked (no close request, no lost display, exit
// code 0), the program starts again in this process's place; otherwise this returns.
PLATFORM_API void RestartIfAsked(int exitCode);
// The current display, null before any was started.
PLATFORM_API Display* CurrentDisplay();
// A log display writing each line to `out` (standard output when null); its automatic operator
// acts when nothing a person sees has changed for settleMs on the platform clock.
PLATFORM_API std::unique_ptr<Display> MakeLogDisplay(std::function<void(const std::string& line)> out,
                                                     DWORD settleMs = 500);
// Text as the log and terminal displays write it for a terminal of `charset`, an iconv name
// ("GBK", "GB18030"; the displays take their locale's, and UTF-8 under C and POSIX): a
// character the charset lacks as a like one it has, else '?' for each column it takes.
PLATFORM_API std::string TextInCharset(const std::string& utf8, const std::string& charset);
// What the log display's automatic operator presses. Buttons are named by control id: an
// enabled preferred button is pressed before any other (the first of the list that shows), a
// never-pressed one is never pressed, and nothing is pressed before the window has shown what it
// shows for at least showForMs of the platform clock (the settle time when that is longer).
struct OperatorPreferences {
    std::vector<int> preferred;
    std::vector<int> neverPressed;
    DWORD showForMs = 0;
};
PLATFORM_API void SetOperatorPreferences(const OperatorPreferences& preferences);
PLATFORM_API OperatorPreferences GetOperatorPreferences();

// True for a window that is a message box.
PLATFORM_API bool IsMessageBoxWindow(HWND window);

// A top-level window as the terminal display draws it in a terminal of columns x rows, the
// focus marked on `focus`: its plain text lines, and every two controls drawn over each other
// (named by id and text). Called on the window's thread.
struct TerminalPicture {
    std::vector<std::string> lines;
    std::vector<std::string> overlaps;
};
PLATFORM_API TerminalPicture DrawForTerminal(HWND topLevel, int columns, int rows, HWND focus);

}  // namespace platform
