// The application framework's windows: CWnd, dialogs, controls, the application object.
#pragma once

#include "afx.h"
#include "mfc/Controls.h"
#include "mfc/DataExchange.h"
#include "mfc/Dialog.h"
#include "mfc/Gdi.h"
#include "mfc/MessageMap.h"
#include "mfc/WinApp.h"
#include "mfc/Wnd.h"
#include "platform/shell.h"
