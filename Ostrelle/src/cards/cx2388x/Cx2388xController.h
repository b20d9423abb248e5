// The controller layout of the CX2388x cards: the word transactions of Saa713xController.h with
// the lines of the IO layout (phase field bits 9-10, strobe bit 11, command mask 0xFF8600) and the
// data byte in bits 16-23. A transaction goes on without "Mutex_Remote_Control" when the mutex is
// not had within a second, and a command's reply counts only its data byte. The cards send each
// frame with SendCommandBetweenIdleWords.
#pragma once

#include <windows.h>

#include "cards/saa713x/Saa713xController.h"

// `traced` traces the low-byte answer of a read as the power-on time.
const Saa713xControllerLayout& Cx2388xLayout(BOOL traced);

// The CX2388x byte place: toGpio TRUE gives (value & 0xFF) << 16; FALSE gives bits 16-23 of the
// word as a byte value.
DWORD PackDataByte(DWORD value, BOOL toGpio);
