// Apartments, counted per thread: CoInitialize(Ex) and CoUninitialize.
#include "Apartment.h"

#include <atomic>

#include "objbase.h"
#include "platform/comservices.h"
#include "platform/runtime.h"

namespace {

// Threads in the multithreaded apartment, process-wide.
std::atomic<int> g_multithreaded{0};

struct Apartment {
    int depth = 0;
    DWORD model = COINIT_APARTMENTTHREADED;
    // A thread that ends inside the multithreaded apartment leaves it.
    ~Apartment() {
        if (depth > 0 && model == COINIT_MULTITHREADED) --g_multithreaded;
    }
};
thread_local Apartment t_apartment;

}  // namespace

HRESULT CoInitializeEx(LPVOID, DWORD dwCoInit) {
    LONG error = 0;
    if (platform::ShouldFail("CoInitializeEx", &error)) return error ? HRESULT(error) : RPC_E_CHANGED_MODE;
    if (dwCoInit & ~DWORD(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE | COINIT_SPEED_OVER_MEMORY))
        return E_INVALIDARG;
    DWORD model = dwCoInit & COINIT_APARTMENTTHREADED;
    Apartment& a = t_apartment;
    if (a.depth > 0) {
        if (a.model != model) return RPC_E_CHANGED_MODE;
        ++a.depth;
        return S_FALSE;
    }
    a.model = model;
    a.depth = 1;
    if (model == COINIT_MULTITHREADED) ++g_multithreaded;
    return S_OK;
}

HRESULT CoInitialize(LPVOID pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize() {
    Apartment& a = t_apartment;
    if (a.depth == 0) return;
    if (--a.depth == 0 && a.model == COINIT_MULTITHREADED) --g_multithreaded;
}

namespace platform {
int ApartmentDepth() { return t_apartment.depth; }
}  // namespace platform

namespace platform::com {
bool CanUseCom() { return t_apartment.depth > 0 || g_multithreaded.load() > 0; }
}  // namespace platform::com
