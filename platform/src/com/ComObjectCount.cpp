// The count of live ComObject-based objects and QueryInterface failure injection.
#include <atomic>
#include <string>

#include "platform/comobject.h"

namespace platform {

namespace {
std::atomic<long> g_liveObjects{0};
}  // namespace

void ComObjectCreated() { ++g_liveObjects; }
void ComObjectDestroyed() { --g_liveObjects; }
long LiveComObjectCount() { return g_liveObjects.load(); }

bool QueryInterfaceShouldFail(const char* interfaceName, HRESULT* error) {
    LONG code = 0;
    if (!ShouldFail(("QueryInterface:" + std::string(interfaceName)).c_str(), &code)) return false;
    *error = code ? HRESULT(code) : E_NOINTERFACE;
    return true;
}

}  // namespace platform
