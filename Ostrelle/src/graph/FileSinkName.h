// The file name of a file-sink wrapper's filter: handed over as wide text (the ANSI name in code
// page CP_ACP, converted whole) and read back into the caller's ANSI buffer.
#pragma once

#include <windows.h>

#include <strmif.h>

#include "graph/TakenAnswer.h"

// The file sink that `object` answers for (IFileSinkFilter); NULL when the query fails or gives
// no pointer, or for a null object.
CComPtr<IFileSinkFilter> FileSinkOf(IUnknown* object);

// S_OK for a path the station's 260-byte path buffers hold whole, its terminator included, and
// that converts whole to wide text; counted in bytes, as the getters count what they read back.
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) for a longer one: cut, it would name another file.
// Copied into those buffers as written, such a path was cut to fit; refusing it is decided, so a
// recording or graph file never lands under a name nobody gave.
HRESULT CheckPathLength(const char* path);

// IFileSinkFilter::SetFileName with the wide name and no media type, answering the filter's
// result; a null name passes a null wide name. A name CheckPathLength refuses is refused without
// a call. E_POINTER for a null sink.
HRESULT SetFileSinkName(IFileSinkFilter* sink, const char* name);

// IFileSinkFilter::GetCurFile with no media type: the name converted to the ANSI code page into
// `buffer` of `size` bytes (an empty string when the filter has no name), then freed with
// CoTaskMemFree. TRUE when the answer is taken and the whole name fitted; on FALSE after a call
// the buffer is empty. FALSE without a call for a null sink or buffer or a size below 1.
BOOL GetFileSinkName(IFileSinkFilter* sink, char* buffer, int size, TakenAnswer taken);
