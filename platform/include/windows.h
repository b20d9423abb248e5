// The platform's Win32 core, as the system's code includes it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/guid.h"
#include "platform/winbase.h"
#include "platform/winerror.h"
#include "platform/winfile.h"
#include "platform/wingdi.h"
#include "platform/winnls.h"
#include "platform/wintypes.h"
#include "platform/winuser.h"
