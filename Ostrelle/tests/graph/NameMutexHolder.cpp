// name_mutex_holder <name> [abandon | <ms>]: locks the named mutex through CNameMutex, writes
// "ready" (or "busy" when the lock was not had) to standard output, and holds the mutex until
// standard input closes. Then it unlocks and exits; with "abandon" it exits still holding the
// mutex; with a number it unlocks after that many ms of real time and exits when input closes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graph/Thread.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    bool abandon = argc > 2 && std::strcmp(argv[2], "abandon") == 0;
    long holdMs = argc > 2 && !abandon ? std::atol(argv[2]) : -1;
    CNameMutex mutex(argv[1], FALSE);
    if (!mutex.Lock()) {
        std::puts("busy");
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    if (holdMs >= 0) {
        Sleep(DWORD(holdMs));
        mutex.Unlock();
        abandon = true;  // unlocked already
    }
    char c;
    while (read(STDIN_FILENO, &c, 1) > 0) {
    }
    if (!abandon) mutex.Unlock();
    return 0;
}
