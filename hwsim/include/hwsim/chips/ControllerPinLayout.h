// How an on-board controller is wired to the bridge's GPIO lines. Two assignments exist on the
// maker's SAA713x boards, the standard one and the IO one, and a third on its CX2388x boards. The host sends a command word (its
// request line low, a phase on the phase lines, a byte on the data lines) framed by idle words
// (request line and phase lines high); the controller answers on the same lines with its strobe
// line low while the answer is valid.
#pragma once

#include "platform/wintypes.h"

namespace hwsim {

struct ControllerPinLayout {
    const char* name;
    DWORD requestLine;   // driven by the host; high while idle
    DWORD phaseLines;    // both high in the idle word
    DWORD strobeLine;    // driven by the controller; low while its answer is valid
    DWORD dataLines;     // the byte, placed by ToLines
    DWORD phaseHigh;     // phase of the high byte of a word
    DWORD phaseLow;      // phase of the low byte
    DWORD phaseCommand;  // phase of commands, and of a remote key
    DWORD audioLines;    // the audio-source select lines (0: the board has none)
    DWORD (*ToLines)(BYTE value);
    BYTE (*FromLines)(DWORD lines);
    // Lines the host and the controller share, wired-AND (Saa713x::SetSharedLines): the host's
    // idle word holds them high and the controller answers on them. A host that holds the request
    // line high listens as one that lets it go does. 0: none.
    DWORD sharedLines = 0;
};

// Data bits 0-7 on lines 0-7, request line 8, phase lines 19-20, strobe line 18, audio 12-14.
const ControllerPinLayout& StandardPinLayout();
// Data bits 0-4 on lines 19-23 and 5-7 on lines 25-27, request line 15, phase lines 9-10,
// strobe line 11, no audio lines.
const ControllerPinLayout& IoPinLayout();
// The CX2388x boards: data bits 0-7 on lines 16-23, request line 15, phase lines 9-10, strobe
// line 11, audio 12-14; the request and phase lines are shared.
const ControllerPinLayout& Cx2388xPinLayout();

}  // namespace hwsim
