// How an on-board controller is wired to the bridge's GPIO lines.
#include "hwsim/chips/ControllerPinLayout.h"

namespace hwsim {

namespace {

DWORD StandardToLines(BYTE value) { return value; }
BYTE StandardFromLines(DWORD lines) { return static_cast<BYTE>(lines & 0xFF); }

DWORD IoToLines(BYTE value) {
    return ((static_cast<DWORD>(value) << 19) & 0xF80000) | ((static_cast<DWORD>(value) << 20) & 0xE000000);
}
BYTE IoFromLines(DWORD lines) { return static_cast<BYTE>(((lines >> 19) & 0x1F) | ((lines >> 20) & 0xE0)); }

constexpr ControllerPinLayout kStandard = {
    "standard", 0x100, 0x180000, 0x40000, 0xFF, 0x80000, 0x100000, 0x180000, 0x7000,
    &StandardToLines, &StandardFromLines,
};

constexpr ControllerPinLayout kIo = {
    "IO", 0x8000, 0x600, 0x800, 0xEF80000, 0x400, 0x200, 0x600, 0,
    &IoToLines, &IoFromLines,
};

DWORD CxToLines(BYTE value) { return static_cast<DWORD>(value) << 16; }
BYTE CxFromLines(DWORD lines) { return static_cast<BYTE>((lines >> 16) & 0xFF); }

constexpr ControllerPinLayout kCx2388x = {
    "CX2388x", 0x8000, 0x600, 0x800, 0xFF0000, 0x400, 0x200, 0x600, 0x7000,
    &CxToLines, &CxFromLines, 0x8600,
};

}  // namespace

const ControllerPinLayout& Cx2388xPinLayout() { return kCx2388x; }
const ControllerPinLayout& StandardPinLayout() { return kStandard; }
const ControllerPinLayout& IoPinLayout() { return kIo; }

}  // namespace hwsim
