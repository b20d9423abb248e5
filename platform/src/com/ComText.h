// Wide texts at the COM boundary: element names (UTF-16 in the file), display names and the
// CoTaskMemAlloc'ed copies that out-parameters hand back.
#pragma once

#include <string>

#include "objbase.h"

namespace platform::com {

// UTF-32 wide text to UTF-16 units and back (units that do not pair become U+FFFD).
std::u16string ToUtf16(const std::wstring& wide);
std::wstring FromUtf16(const std::u16string& units);
// UTF-8 form of a wide path, as the file system takes it.
std::string ToUtf8(const std::wstring& wide);

// A CoTaskMemAlloc'ed, NUL-terminated copy (NULL when out of memory).
LPOLESTR TaskMemCopy(const std::wstring& text);

}  // namespace platform::com
