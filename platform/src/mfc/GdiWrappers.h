// The framework's wrappers by handle: the one a GDI object or DC has (the CGdiObject or CDC that
// attached it), or else a temporary one made on demand for the asking thread, which keeps it
// until its next idle (or its end), even past its object or DC.
#pragma once

#include "mfc/Gdi.h"

namespace platform::mfc {

// A GDI object's wrapper becomes / stops being the handle's own (Attach, Detach).
void Own(HGDIOBJ handle, CGdiObject* wrapper);
void Disown(HGDIOBJ handle, CGdiObject* wrapper);

// The handle's own wrapper, or a temporary one of the class its object type names; null for null.
CGdiObject* WrapperOf(HGDIOBJ handle);
// A DC's temporary wrapper.
CDC* WrapperOf(HDC dc);
// Frees the calling thread's temporary wrappers: of GDI objects (`objects`) or of DCs.
void FreeTemporaries(bool objects);

}  // namespace platform::mfc
