// The application framework's base: objects and exceptions, text, collections, time, files
// and the geometry types.
#pragma once

#include "windows.h"

#include "mfc/Collections.h"
#include "mfc/File.h"
#include "mfc/Geometry.h"
#include "mfc/Object.h"
#include "mfc/Resources.h"
#include "mfc/StdioFile.h"
#include "mfc/String.h"
#include "mfc/Time.h"
