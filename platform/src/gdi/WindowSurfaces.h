// What the display host asks of the window surfaces. Internal.
#pragma once

#include <utility>
#include <vector>

#include "platform/wingdi.h"

namespace platform::gdi {

// The rectangles drawn in each top-level surface since the last call.
std::vector<std::pair<HWND, std::vector<RECT>>> TakeChangedSurfaces();

}  // namespace platform::gdi
