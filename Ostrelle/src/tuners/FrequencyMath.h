// Float-to-integer conversions of tuner frequencies and dividers, guarded against values that
// the target cannot hold (NaN, infinities, out of range), which a plain cast would not survive.
#pragma once

#include <windows.h>

#include <cmath>
#include <limits>

// Truncates toward zero into *out; false (and *out untouched) when the value is not finite or
// outside the 32-bit signed range.
inline bool TruncateToLong(double value, long* out)
{
    if (!std::isfinite(value)) return false;
    double t = std::trunc(value);
    if (t < static_cast<double>(std::numeric_limits<LONG>::min()) ||
        t > static_cast<double>(std::numeric_limits<LONG>::max()))
        return false;
    *out = static_cast<long>(t);
    return true;
}

// A frequency in kHz truncated for a window message: saturated at the 32-bit signed limits,
// 0 for NaN.
inline LONG TruncateKHz(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<LONG>::max())) return std::numeric_limits<LONG>::max();
    if (value <= static_cast<double>(std::numeric_limits<LONG>::min())) return std::numeric_limits<LONG>::min();
    return static_cast<LONG>(std::trunc(value));
}
