// The word transactions with the on-board controller of the SAA713x cards, the IO pin layout,
// and the frames of the boards wired in it. The controller holds a 16-bit word (the power-on timer) that the card writes in two
// byte frames and reads back in two answered frames, and it answers an on/off command. The
// sequence is the same in both pin layouts; only the GPIO codes differ:
//
//   field                     standard layout        IO layout
//   data byte                 bits 0-7               bits 19-23 and 25-27 (MapControllerByte)
//   request line (1 = idle)   bit 8                  bit 15
//   phase field               bits 19-20             bits 9-10
//   controller strobe         bit 18                 bit 11
//   state mask                0x1C0000               0xE00
//   phase high / low / cmd    0x80000/0x100000/...   0x400/0x200/0x600
//   command mask              0x1801FF               0xEF88600
//
// The CX2388x cards use the same sequence with the data byte in bits 16-23 (Cx2388xController.h).
//
// Each transaction runs under "Mutex_Remote_Control" from start to end (the mutex is recursive,
// so a write that reads back stays one transaction) and answers 1 when done, 0 when it failed.
// A layout says whether a mutex not had within a second ends the transaction (SAA713x) or the
// transaction goes on without it (CX2388x); the mutex is released only when it was had. They use
// the card's own SendGPIOCommand and WaitReadState, so a card class of each layout gets its own
// frame.
#pragma once

#include <windows.h>

class CCustomDataAccess;
class CTVCardFilter;

struct Saa713xControllerLayout {
    DWORD stateMask;
    DWORD phaseHigh;
    DWORD phaseLow;
    DWORD phaseCommand;
    DWORD commandMask;
    DWORD lowByteWaitMs;
    // Formats with one %08x tracing the answer word of the high byte, the low byte and an on/off
    // command; NULL traces nothing.
    const char* highReplyTrace;
    const char* lowReplyTrace;
    const char* commandReplyTrace;
    // TRUE: without "Mutex_Remote_Control" the transaction fails; FALSE: it goes on without it.
    BOOL lockRequired;
    // The GPIO word of a data byte, and the data byte of a GPIO word.
    DWORD (*ToGpio)(BYTE value);
    BYTE (*FromGpio)(DWORD word);
    // The reply of an on/off command: 0xCA (on) or 0xBA (off) when the controller agreed.
    DWORD (*Reply)(DWORD word);
};

const Saa713xControllerLayout& Saa713xStandardLayout();
const Saa713xControllerLayout& Saa713xIoLayout();

// The IO layout's byte map: toGpio TRUE places byte (value & 0xFF) in bits 19-23 and 25-27;
// FALSE gathers the byte back from those bits of the word.
DWORD MapControllerByte(DWORD value, BOOL toGpio);

// Writes the word (high byte frame, low byte frame) and reads it back; up to 5 attempts.
BOOL Saa713xWriteControllerWord(CTVCardFilter* card, const Saa713xControllerLayout& layout, WORD value);
// Asks for the high byte and then the low byte; each answer must come in its own phase. Only a
// layout that requires "Mutex_Remote_Control" takes it (and fails without it); the others run
// inside the hold of the transaction that reads back.
BOOL Saa713xReadControllerWord(CTVCardFilter* card, const Saa713xControllerLayout& layout, WORD* value);
// "on" (0x33, reply 0xCA) or "off" (0x11, reply 0xBA); up to 5 attempts.
BOOL Saa713xControllerCommand(CTVCardFilter* card, const Saa713xControllerLayout& layout, BOOL on);

// ---- the IO layout's frame (the card classes wired that way use these) ----
// The idle word 0x8600 (mask 0x8600), the command, the idle word again, without reading first:
// the frame of the TV_IO and Voze boards and of the CX2388x cards, whose controllers share the
// request line (bit 15) and the phase field (bits 9-10). FALSE without an access object and at
// the first write that fails.
BOOL SendCommandBetweenIdleWords(CCustomDataAccess* access, DWORD value, DWORD mask, DWORD waitMs);

enum class Saa713xIoBoard {
    TvIo,  // SendCommandBetweenIdleWords
    Voze,  // the same frame
    Pip,   // keeps the audio bits 12-14 of the current word in every word it writes
};
BOOL Saa713xIoSendGPIOCommand(CCustomDataAccess* access, Saa713xIoBoard board, DWORD value, DWORD mask,
                              DWORD waitMs);
// The strobe on bit 11; no trace.
BOOL Saa713xIoWaitReadState(CCustomDataAccess* access, DWORD* word);
// A key is present while (word & 0xE00) == 0x600; key = NOT of the mapped data byte. The PIP
// board traces every word read while waiting, the others trace the key.
BOOL Saa713xIoGetRemoteData(CCustomDataAccess* access, Saa713xIoBoard board, BYTE* key);
