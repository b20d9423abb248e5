// RGNDATA read into a region: the header checked against the bytes given, the rectangles
// ordered and moved by the transform. Needs nothing of the rest of the GDI, so the fuzz target
// builds it alone with the region arithmetic.
#pragma once

#include "gdi/Region.h"
#include "platform/wingdi.h"

namespace platform::gdi {

// False when the header is not what it says, the rectangles it counts do not lie within `size`,
// or the transform is more than a translation or moves a rectangle past the coordinate range.
// The header's bounding rectangle is not trusted.
bool RegionFromData(const XFORM* transform, DWORD size, const RGNDATA* data, Region* out);

}  // namespace platform::gdi
