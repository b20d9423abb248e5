// Registry values the simulated PC sets before the system reads them.
#pragma once

#include <string>
#include <vector>

#include "platform/winfile.h"

namespace platform {

// Sets the value `name` ("" for the key's default value) of the key `path` (components
// separated by '\') under `root`, creating the key as needed. Answers false when the store in
// the state directory cannot be written.
PLATFORM_API bool PresetRegistryValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                                      const std::vector<BYTE>& bytes);
// A REG_SZ value with its terminator.
PLATFORM_API bool PresetRegistryString(HKEY root, const std::string& path, const std::string& name,
                                       const std::string& text);
PLATFORM_API bool PresetRegistryDword(HKEY root, const std::string& path, const std::string& name, DWORD value);

}  // namespace platform
