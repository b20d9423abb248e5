// Failure injection for the DirectShow stand-in's calls.
#pragma once

#include "platform/runtime.h"

namespace platform::dshow {

// True when a test made `call` fail now; *hr gets the injected code, or `fallback` when the
// test gave none.
inline bool Injected(const char* call, HRESULT fallback, HRESULT* hr) {
    LONG error = 0;
    if (!ShouldFail(call, &error)) return false;
    *hr = error ? HRESULT(error) : fallback;
    return true;
}

}  // namespace platform::dshow
