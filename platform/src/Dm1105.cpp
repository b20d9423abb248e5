// DM1105.h: each call goes to the installed library, 0 without one.
#include <mutex>

#include "platform/dm1105library.h"

namespace platform {

namespace {

struct Installed {
    std::mutex lock;
    std::shared_ptr<Dm1105Library> library;
};

Installed& Slot() {
    static Installed* slot = new Installed;
    return *slot;
}

std::shared_ptr<Dm1105Library> Current() {
    std::lock_guard<std::mutex> lock(Slot().lock);
    return Slot().library;
}

}  // namespace

void InstallDm1105Library(std::shared_ptr<Dm1105Library> library) {
    std::lock_guard<std::mutex> lock(Slot().lock);
    Slot().library = std::move(library);
}

}  // namespace platform

int RegIRkeyCallback(PIRKEYCALLBACK callback, DWORD reserved, void* context) {
    auto library = platform::Current();
    return library ? library->RegIRkeyCallback(callback, reserved, context) : 0;
}

int UnregIRkeyCallback() {
    auto library = platform::Current();
    return library ? library->UnregIRkeyCallback() : 0;
}

int WriteEEPROM(BYTE address, BYTE* data, BYTE count) {
    auto library = platform::Current();
    return library ? library->WriteEEPROM(address, data, count) : 0;
}

int ReadEEPROM(BYTE address, BYTE* data, BYTE count) {
    auto library = platform::Current();
    return library ? library->ReadEEPROM(address, data, count) : 0;
}

int WritePortBYTE(DWORD port, BYTE value) {
    auto library = platform::Current();
    return library ? library->WritePortBYTE(port, value) : 0;
}
