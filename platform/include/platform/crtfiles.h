// The C runtime's path calls as the system uses them (included by io.h): like every platform call
// that takes a path, they accept '\' and '/' as separators. In a file that includes io.h, fopen
// opens through the platform; the stream is the C library's own FILE (fgets, fclose), and the
// mode's 't' (text) is taken and changes nothing.
#pragma once

#include <cstdio>

#include "platform/winbase.h"

// _access modes: 0 exists, 2 writable, 4 readable, 6 both. 0 when the file answers the mode,
// else -1 with errno set.
PLATFORM_API int _access(const char* path, int mode);

namespace platform {
PLATFORM_API FILE* OpenCrtFile(const char* path, const char* mode);
}  // namespace platform

#define fopen(path, mode) ::platform::OpenCrtFile(path, mode)
