// The framework's standard dialogs (the dialog class in this build).
#pragma once

#include "afxwin.h"
