// The dialog manager's view of a dialog's controls, shared by the dialogs' own keys and the
// displays that feed the operator's keyboard. Internal.
#pragma once

#include <vector>

#include "platform/winuser.h"

namespace mfc {

// A push button (plain, default or owner-drawn) of the Button class.
bool IsPushButton(HWND window);
// The controls Tab visits: visible, enabled, with WS_TABSTOP, in creation order; those of a
// dialog within the dialog (a sheet's page) where it stands.
std::vector<HWND> TabStops(HWND dialog);

}  // namespace mfc
