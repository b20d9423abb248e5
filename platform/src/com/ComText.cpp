// Wide texts handed back through COM out-parameters.
#include "ComText.h"

#include <cstring>

namespace platform::com {

LPOLESTR TaskMemCopy(const std::wstring& text) {
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(OLECHAR)));
    if (copy) std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(OLECHAR));
    return copy;
}

}  // namespace platform::com
