// The device-interface table behind SetupAPI and the device paths of CreateFileA. Internal to
// the platform library.
#pragma once

#include <string>
#include <vector>

#include "platform/deviceinterfaces.h"

namespace platform::devices {

// True when `path` is in the device namespace ("\\?\..." or "\\.\..."): *handle is then the
// open device, or INVALID_HANDLE_VALUE with the last error set (ERROR_FILE_NOT_FOUND for a path
// no present interface has).
bool OpenDevicePath(const char* path, HANDLE* handle);

}  // namespace platform::devices
