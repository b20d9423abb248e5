// The register tables of the IF demodulators beside the PLL tuner modules, and the maps from
// the demodulator's AFC nibble to a module's AFC values. Each table says which device it
// writes, how, and which values registers 0, 1 and 2 get for a standard.
#pragma once

#include <windows.h>

#include <array>
#include <span>

// How a table's three registers are written.
enum class DemodWrite {
    Registers,  // one-byte writes (device, register, value); all three always
    Blocks,     // three-byte block writes {device, register, value}; all three always
    Sequence,   // three-byte block writes that stop at the first one that fails
};

struct DemodColumn {
    long standards;   // the AnalogVideoStandard bits that pick the column
    BYTE values[3];   // registers 0, 1, 2
};

struct DemodTable {
    BYTE device;                          // 8-bit bus address
    DemodWrite how;
    std::span<const DemodColumn> columns;
    int fallback;                         // the column of any other standard; -1: none
    DWORD settleMs;                       // wait after the writes
};

// The column the standard picks, or null when it picks none and the table has no fallback.
// Several standard bits pick the first column that lists all of them; 0 picks the fallback.
const DemodColumn* PickDemodColumn(const DemodTable& table, long standard);

// Standard tables (one-byte writes), block tables and fixed sequences.
extern const DemodTable kDemodS1, kDemodS2, kDemodS3, kDemodS4, kDemodS5, kDemodS6, kDemodS7, kDemodS8, kDemodS9,
    kDemodS10;
extern const DemodTable kDemodF1, kDemodF2, kDemodF3, kDemodF4, kDemodF5;
// Radio set-ups: the fixed sequence after an FM tuning (model 98), the three registers after an
// FM tuning (models 68 and 70), model 92's preparation write (one block from register 0).
extern const DemodTable kDemodFM1, kDemodFM2;
extern const BYTE kDemodFMPrepare[5];
// Model 100's registers, whatever the standard; model 139's table.
extern const DemodTable kDemodO100, kDemodA139;

// AFC nibble (0 to 15) to the module's AFC value.
using AfcMap = std::array<BYTE, 16>;
extern const AfcMap kAfcMapA, kAfcMapB, kAfcMapC, kAfcMapD;

// The IF demodulator's usual bus address and the address its status is read from.
constexpr BYTE kDemodAddress = 0x86;
constexpr BYTE kDemodReadAddress = 0x87;
