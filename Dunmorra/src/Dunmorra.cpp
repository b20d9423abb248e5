// The library's start and end: traced when a process loads and unloads it.
#include <windows.h>

namespace {

__attribute__((constructor)) void DunmorraAttach() {
    TRACE0("DUNMORRA.DLL Initializing!\n");
}

__attribute__((destructor)) void DunmorraDetach() {
    TRACE0("DUNMORRA.DLL Terminating!\n");
}

}  // namespace
