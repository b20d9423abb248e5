// The DVB-C chip library behind DM1105.h: the simulated PC installs the one its DVB-C board
// answers with; the calls of DM1105.h go to it.
#pragma once

#include <memory>

#include "DM1105.h"

namespace platform {

class Dm1105Library {
public:
    virtual ~Dm1105Library() = default;
    virtual int RegIRkeyCallback(PIRKEYCALLBACK callback, DWORD reserved, void* context) = 0;
    virtual int UnregIRkeyCallback() = 0;
    virtual int WriteEEPROM(BYTE address, BYTE* data, BYTE count) = 0;
    virtual int ReadEEPROM(BYTE address, BYTE* data, BYTE count) = 0;
    virtual int WritePortBYTE(DWORD port, BYTE value) = 0;
};

// Installs `library` (null: none). A call already running keeps the library it started with.
PLATFORM_API void InstallDm1105Library(std::shared_ptr<Dm1105Library> library);

}  // namespace platform
