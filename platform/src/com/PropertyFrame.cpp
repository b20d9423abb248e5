// Property frames: no dialog on this platform; each call is recorded for tests.
#include <mutex>

#include "objbase.h"
#include "platform/comservices.h"
#include "platform/runtime.h"

namespace platform {

namespace {
struct Calls {
    std::mutex mutex;
    std::vector<PropertyFrameCall> calls;
};
Calls& Recorded() {
    static Calls* calls = new Calls;
    return *calls;
}
}  // namespace

std::vector<PropertyFrameCall> PropertyFrameCalls() {
    std::lock_guard<std::mutex> lock(Recorded().mutex);
    return Recorded().calls;
}

void ClearPropertyFrameCalls() {
    std::lock_guard<std::mutex> lock(Recorded().mutex);
    Recorded().calls.clear();
}

}  // namespace platform

HRESULT OleCreatePropertyFrame(HWND hwndOwner, UINT, UINT, LPCOLESTR lpszCaption, ULONG cObjects, LPUNKNOWN* ppUnk,
                               ULONG cPages, LPCLSID pPageClsID, LCID, DWORD, LPVOID) {
    if ((cObjects && !ppUnk) || (cPages && !pPageClsID)) return E_POINTER;
    LONG error = 0;
    if (platform::ShouldFail("OleCreatePropertyFrame", &error)) return error ? HRESULT(error) : E_OUTOFMEMORY;
    platform::PropertyFrameCall call{hwndOwner, lpszCaption ? lpszCaption : L"", {}, {}};
    call.objects.assign(ppUnk, ppUnk + cObjects);
    call.pages.assign(pPageClsID, pPageClsID + cPages);
    PlatformTrace("OleCreatePropertyFrame: %u object(s), %u page(s)\n", unsigned(cObjects), unsigned(cPages));
    auto& recorded = platform::Recorded();
    std::lock_guard<std::mutex> lock(recorded.mutex);
    recorded.calls.push_back(std::move(call));
    return S_OK;
}
