// Task memory: the allocator COM callers and callees share for out-parameters.
#include <cstdlib>

#include "objbase.h"

LPVOID CoTaskMemAlloc(SIZE_T cb) { return std::malloc(cb ? cb : 1); }

LPVOID CoTaskMemRealloc(LPVOID pv, SIZE_T cb) {
    if (cb == 0) {
        std::free(pv);
        return nullptr;
    }
    return std::realloc(pv, cb);
}

void CoTaskMemFree(LPVOID pv) { std::free(pv); }
