// The C runtime's low-level file header: _access; fopen takes the system's '\' paths too.
#pragma once

#include "platform/crtfiles.h"
