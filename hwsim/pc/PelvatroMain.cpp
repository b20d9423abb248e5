// The station program: the display, the simulated PC with the bench's cards, the filter classes
// in their order, then the application object. A bench or bench state that cannot be used ends
// the start with exit code 2; a run whose bench state was not kept ends with exit code 3.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

#include "Pelvatro.h"
#include "SimulatedPc.h"
#include "hwsim/bench/Bench.h"
#include "platform/ProgramUnderTest.h"
#include "platform/display.h"
#include "platform/runtime.h"

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
    try {
        pc = SimulatedPc::Load(hwsim::Bench::DefaultPath());
    } catch (const std::exception& error) {
        fprintf(stderr, "pelvatro: %s\n", error.what());
        platform::StopDisplay();
        return 2;
    }
    RegisterFilterClasses();
    int code = AfxWinMain();
    platform::StopDisplay();
    if (code == 0 && !pc->StateKept()) return 3;
    return code;
}
