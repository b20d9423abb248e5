// The controller layout of the CX2388x cards.
#include "cards/cx2388x/Cx2388xController.h"

namespace {

DWORD CxToGpio(BYTE value) { return PackDataByte(value, TRUE); }
BYTE CxFromGpio(DWORD word) { return static_cast<BYTE>(PackDataByte(word, FALSE)); }
// Only the data byte counts: the strobe and phase lines may read anything with the reply.
DWORD CxReply(DWORD word) { return PackDataByte(word & 0xFF0C00, FALSE); }

constexpr char kOpenTimeTrace[] = "GetOpenComputerTime dwData[0] = %08x\n";

constexpr Saa713xControllerLayout kCx = {
    0xE00, 0x400, 0x200, 0x600, 0xFF8600, 10, nullptr, nullptr, nullptr, FALSE, &CxToGpio, &CxFromGpio, &CxReply,
};
constexpr Saa713xControllerLayout kCxTraced = {
    0xE00, 0x400, 0x200, 0x600, 0xFF8600, 10, nullptr, kOpenTimeTrace, nullptr, FALSE, &CxToGpio, &CxFromGpio, &CxReply,
};

}  // namespace

const Saa713xControllerLayout& Cx2388xLayout(BOOL traced) { return traced ? kCxTraced : kCx; }

DWORD PackDataByte(DWORD value, BOOL toGpio) {
    return toGpio ? (value & 0xFF) << 16 : (value & 0xFF0000) >> 16;
}
