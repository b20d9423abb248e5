// Local and global memory blocks (fixed blocks: the handle is the pointer).
#include <cstdlib>
#include <cstring>

#include "platform/runtime.h"
#include "platform/winbase.h"

namespace {
struct BlockHeader {
    SIZE_T size;
    SIZE_T pad;
};

void* Allocate(UINT flags, SIZE_T bytes) {
    if (bytes > SIZE_T(-1) - sizeof(BlockHeader)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto* h = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + bytes));
    if (!h) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    h->size = bytes;
    if (flags & GMEM_ZEROINIT) std::memset(h + 1, 0, bytes);
    return h + 1;
}

void Free(void* p) {
    if (p) std::free(static_cast<BlockHeader*>(p) - 1);
}
}  // namespace

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if (platform::FailuresInjected() && platform::ShouldFail("LocalAlloc")) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return Allocate(flags, bytes);
}
HLOCAL LocalFree(HLOCAL memory) {
    Free(memory);
    return nullptr;
}
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (platform::FailuresInjected() && platform::ShouldFail("GlobalAlloc")) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return Allocate(flags, bytes);
}
HGLOBAL GlobalFree(HGLOBAL memory) {
    Free(memory);
    return nullptr;
}
LPVOID GlobalLock(HGLOBAL memory) { return memory; }
BOOL GlobalUnlock(HGLOBAL) { return TRUE; }
SIZE_T GlobalSize(HGLOBAL memory) { return memory ? (static_cast<BlockHeader*>(memory) - 1)->size : 0; }
