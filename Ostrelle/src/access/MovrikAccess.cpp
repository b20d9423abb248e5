// CMovrikAccess: the hardware access of the Movrik card.
#include "access/MovrikAccess.h"

namespace {

// The second mode word of a GPIO read: lines 12 and 13 driven.
constexpr DWORD kGpioReadMode = 0x80003000;
// How long a GPIO write holds its value before the mode register goes back to idle.
constexpr DWORD kGpioWriteHoldMs = 120;

}  // namespace

CMovrikAccess::CMovrikAccess() : CSaa713xBasicAccess(kGpioReadMode, kGpioWriteHoldMs) {}

CMovrikAccess::~CMovrikAccess() = default;
