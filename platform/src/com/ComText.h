// Wide texts handed back through COM out-parameters.
#pragma once

#include <string>

#include "objbase.h"
#include "platform/winnls.h"

namespace platform::com {

// A CoTaskMemAlloc'ed, NUL-terminated copy (NULL when out of memory).
LPOLESTR TaskMemCopy(const std::wstring& text);

}  // namespace platform::com
