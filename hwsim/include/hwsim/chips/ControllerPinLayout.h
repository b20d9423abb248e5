// How an on-board controller is wired to the SAA713x GPIO lines. Two assignments exist on the
// maker's SAA713x boards: the standard one and the IO one. The host sends a command word (its
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
};

// Data bits 0-7 on lines 0-7, request line 8, phase lines 19-20, strobe line 18, audio 12-14.
const ControllerPinLayout& StandardPinLayout();
// Data bits 0-4 on lines 19-23 and 5-7 on lines 25-27, request line 15, phase lines 9-10,
// strobe line 11, no audio lines.
const ControllerPinLayout& IoPinLayout();

}  // namespace hwsim
