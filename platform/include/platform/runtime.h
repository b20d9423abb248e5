// The platform's own services for the simulated PC and for tests: the clock mode, the trace
// sink, the state directory and program folder, message-box answering and failure injection.
#pragma once

#include <functional>
#include <string>

#include "platform/winbase.h"

namespace platform {

// ---- clock ----
// Virtual time: when every platform thread is blocked in a platform wait, the clock jumps to the
// earliest deadline. A thread that reads the tick count again without having waited for the clock
// in between (a busy poll) moves it by 1 ms, when every other platform thread waits. A wait for an
// object another process holds runs in real time, and the clock stands still meanwhile.
PLATFORM_API void UseVirtualClock(bool on);
PLATFORM_API bool IsVirtualClock();
// Moves the clock forward by hand (either mode) and wakes what became due.
PLATFORM_API void AdvanceClock(DWORD milliseconds);
// When the virtual clock has stood still this long in real time while a thread waits for it,
// the threads it waits for (name or start routine, last platform call) are named on stderr.
// 10 s unless a test asks otherwise.
PLATFORM_API void SetClockStallReport(DWORD realMilliseconds);
// Milliseconds on the platform clock, without the side effect of GetTickCount.
PLATFORM_API ULONGLONG ClockNow();
// Sets the system clock forward (or back) by `milliseconds`, as an operator or a time service
// sets it while the program runs: the calendar calls answer the new time at once; the platform
// clock behind intervals does not move.
PLATFORM_API void StepSystemClock(LONGLONG milliseconds);

// ---- trace sink ----
// Everything traced since the start (or the last ClearTrace). Goes to stderr too when
// PELVATRO_TRACE is set.
PLATFORM_API std::string TraceText();
PLATFORM_API void ClearTrace();
PLATFORM_API bool TraceContains(const std::string& text);

// ---- folders ----
// Where bench state, the registry store and lock files live: PELVATRO_STATE_DIR, else
// $XDG_STATE_HOME/pelvatro, else $HOME/.local/state/pelvatro (XDG_STATE_HOME and HOME only when
// absolute, as the XDG rules say); empty when none of the three is set (no folder every user of
// the machine shares is taken instead). A relative PELVATRO_STATE_DIR is made absolute against
// the current folder once, the first time it is asked for.
PLATFORM_API std::string StateDir();
// The program's folder (PELVATRO_HOME, else the executable's folder), with '/' separators; a
// relative PELVATRO_HOME made absolute once, as PELVATRO_STATE_DIR is.
PLATFORM_API std::string HomeDir();

// ---- message boxes ----
// The display installs the handler that shows a message box; without one the box is traced
// and answers its default button.
typedef std::function<int(HWND owner, const char* text, const char* caption, UINT type)> MessageBoxHandler;
PLATFORM_API void SetMessageBoxHandler(MessageBoxHandler handler);
PLATFORM_API int DefaultMessageBoxAnswer(UINT type);

// ---- failure injection ----
// Makes the named call fail `times` times (after `skip` successful calls), answering
// `error` (a Win32 error number or an HRESULT, as the call reports failures). "WriteFile:slow"
// makes each write take `error` milliseconds of the clock instead, and succeed.
PLATFORM_API void InjectFailure(const std::string& call, int times = 1, LONG error = 0, int skip = 0);
PLATFORM_API void ClearFailures();
// Called by stand-in code: true when this call is to fail now; *error gets the injected code.
PLATFORM_API bool ShouldFail(const char* call, LONG* error = nullptr);
// False while no failure is injected (answered without a lock, for calls on hot paths).
PLATFORM_API bool FailuresInjected();

// ---- threads ----
// Number of platform threads alive (created and not yet ended).
PLATFORM_API int LiveThreadCount();

}  // namespace platform
