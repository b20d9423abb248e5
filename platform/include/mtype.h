// Media-type helpers as filters and applications use them: allocate, copy and free the format
// block, and free a media type that an enumerator or GetFormat handed out.
#pragma once

#include "strmif.h"

// A new zeroed media type (CoTaskMemAlloc) holding a deep copy of `source`; NULL on failure.
STDAPI_(AM_MEDIA_TYPE*) CreateMediaType(const AM_MEDIA_TYPE* source);
// Deep copy of `source` into `target` (format block copied, pUnk AddRef'd).
STDAPI CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source);
// Frees the format block and releases pUnk; the structure itself stays.
STDAPI_(void) FreeMediaType(AM_MEDIA_TYPE& mt);
// FreeMediaType, then frees the structure (as allocated by CreateMediaType or an enumerator).
STDAPI_(void) DeleteMediaType(AM_MEDIA_TYPE* pmt);
