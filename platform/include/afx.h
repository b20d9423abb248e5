// The application framework's base: text, collections, time and files.
#pragma once

#include "windows.h"

#include "mfc/Collections.h"
#include "mfc/Resources.h"
#include "mfc/String.h"
