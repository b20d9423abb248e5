// CVozeAccess: the hardware access of the "713x_D TV Card Capture" card.
#include "access/VozeAccess.h"

namespace {

// The second mode word of a GPIO read: lines 12 and 13 driven.
constexpr DWORD kGpioReadMode = 0x80003000;

}  // namespace

CVozeAccess::CVozeAccess() : CSaa713xPropertyAccess(kGpioReadMode) {}

CVozeAccess::~CVozeAccess() = default;
