// The framework's extensions (nothing beyond the window classes in this build).
#pragma once

#include "afxwin.h"
