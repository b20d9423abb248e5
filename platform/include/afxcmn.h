// The common controls: progress bar, list view, image list.
#pragma once

#include "afxwin.h"
#include "mfc/CommonControls.h"
