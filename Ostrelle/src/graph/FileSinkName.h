// The file name every file-sink wrapper hands to its filter: the ANSI name as wide text (code
// page CP_ACP), converted whole.
#pragma once

#include <windows.h>

#include <strmif.h>

// IFileSinkFilter::SetFileName with the wide name and no media type, answering the filter's
// result; a null name passes a null wide name. A name that does not convert whole (260 characters
// or more) would name another file: it is refused without a call
// (HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)). E_POINTER for a null sink.
HRESULT SetFileSinkName(IFileSinkFilter* sink, const char* name);
