// The station program: the display, the simulated PC with the bench's cards, the filter classes
// in their order, then the application object. A bench or bench state that cannot be used ends
// the start with exit code 2; a run whose bench state was not kept ends with exit code 3. A
// restart asked for by the result page happens at the end, only after a run that ended as asked.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "Pelvatro.h"
#include "SimulatedPc.h"
#include "hwsim/bench/Bench.h"
#include "platform/ProgramUnderTest.h"
#include "platform/display.h"
#include "platform/runtime.h"
#include "platform/winfile.h"

CPelvatroApp theApp;

// Fontconfig keeps a few hundred bytes of its own for the process (allocated at the first font
// lookup, never freed); a sanitizer build's leak checker is told not to count them, as in the tests.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
// Its list of the suppressions used stays off stderr, which holds only the program's own lines.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

// Standard input, output and error that were closed when the program started are opened on
// /dev/null, before any file is: else the first file opened would take the descriptor, and the
// trace or a message meant for stderr would be written into it (a card's EEPROM file, say).
void OpenClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) continue;
        const int opened = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            dup2(opened, fd);
            close(opened);
        }
    }
}

int main() {
    OpenClosedStandardStreams();
    if (getenv(testsupport::kVirtualClockVariable)) platform::UseVirtualClock(true);
    platform::StartMachineDefaultDisplay();
    std::unique_ptr<SimulatedPc> pc;
    std::string bench;
    try {
        bench = hwsim::Bench::DefaultPath();
        pc = SimulatedPc::Load(bench);
    } catch (const std::bad_alloc&) {
        // Every file is bounded before it is read; this names what was being loaded all the same.
        fprintf(stderr, "pelvatro: %s: not enough memory to load the bench and its state\n",
                platform::PathForMessage(bench).c_str());
        platform::StopDisplay();
        return 2;
    } catch (const std::exception& error) {
        fprintf(stderr, "pelvatro: %s\n", error.what());
        platform::StopDisplay();
        return 2;
    }
    RegisterFilterClasses();
    int code = AfxWinMain();
    platform::StopDisplay();
    if (code == 0 && !pc->StateKept()) code = 3;
    pc.reset();
    // A restart the result page asked for replaces this process; a run that was asked to close
    // or ends with a code of its own ends here.
    platform::RestartIfAsked(code);
    return code;
}
