// The system menus of the top-level windows, for the displays that open them. Internal.
#pragma once

#include <vector>

#include "mfc/Gdi.h"

namespace mfc {

// The items of a top-level window's system menu (its default items when nobody asked for the
// menu yet); empty for a window without WS_SYSMENU.
std::vector<CMenu::Item> SystemMenuItems(HWND topLevel);

}  // namespace mfc
