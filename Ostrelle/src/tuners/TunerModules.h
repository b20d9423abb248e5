// The module table: one row per TUNER_MODEL number (TunerModuleRows.h), holding the module's class
// and creator, its constants, and what its operations do beyond the PLL driver of CTunerBase (its
// tuning offset or clamp, its L' IF and sixth byte, how it reads its status, its standard table,
// its FM set-up and FM status). One generic body per operation reads the row's record
// (CPllTunerModule, PllTunerModule.h); the few classes with an operation no record can say are
// in TunerModuleOverrides.h; the Xceive tuners (90, 91, 136, 137) are in XCeive*.h. The card's
// factory makes every module from its row (TunerModuleEntries).
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "tuners/DemodTables.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerBase.h"

typedef CTunerBase* (*TunerCreator)(CCustomDataAccess* pAccess);

struct TunerModuleFM {
    BOOL capable;       // an FM scan and SetFMScanRange are possible
    long low, high;     // FM range, kHz
    long ifKHz;         // FM intermediate frequency
    BYTE control, band; // PLL control and band byte for FM
    long lockValue;     // status code of a centred FM station
};

// A module's frequency plan (kHz): its range, the tops of its low and mid band, its IF.
struct TunerRange {
    long lowest, lowBandTop, midBandTop, highest, ifKHz;
};


// The sixth byte of a module's TV tuning write.
enum class SixthByte {
    None,     // five bytes
    BySecam,  // 0x20 while the current standard is SECAM_L or SECAM_L1, else 0xA0
    Fixed,    // always the record's byte
};

// TV tuning (slot 5). Without clamp: the PLL write of CTunerBase at the asked frequency plus the
// offset, refused outside [lowest, highest]. With clamp: the frequency moved into that range and
// written through PllTuning.h with the L' IF under SECAM_L1 and the sixth byte.
struct ModuleTvTuning {
    float offsetKHz = 0.0f;
    bool clamp = false;
    long lPrimeIF = 0;  // 0: the module's IF under every standard
    SixthByte sixth = SixthByte::None;
    BYTE sixthByte = 0;
};

// TV status (slot 6).
enum class TvStatusRead {
    Pll,         // CTunerBase: the PLL's status byte, its low three bits while the lock bit is set
    PllLockBit,  // the PLL's status byte: 1 while the lock bit is set, else 0
    Demod,       // the IF demodulator's AFC nibble through the map
};

struct ModuleTvStatus {
    TvStatusRead read = TvStatusRead::Pll;
    BYTE address = kDemodReadAddress;  // Demod: where the status byte is read
    const AfcMap* map = nullptr;
    DemodTrace trace = DemodTrace::Summary;
};

// What a named module's operations do beyond CTunerBase; a member left as it is keeps the
// CTunerBase operation.
struct TunerModuleOps {
    ModuleTvTuning tv;
    ModuleTvStatus tvStatus;
    const DemodTable* standard = nullptr;       // slot 9: written for the standard; null: TRUE
    const DemodTable* fmAfterTuning = nullptr;  // slot 1: written after a good PLL FM tuning
    const DemodFMStatus* fmStatus = nullptr;    // slot 2: null: the PLL's FM status
};

struct TunerModuleRow {
    long model;                   // TUNER_MODEL number, the factory key
    const char* className = "CPllTunerModule";  // the class the factory makes
    TunerCreator create = nullptr;  // makes className; null: a CPllTunerModule on this row
    char factory;                 // TUNER_FACTORY letter
    TunerRange range;
    std::array<BYTE, 3> band;     // low, mid, high band byte
    BYTE control;
    BYTE readAddr, writeAddr;     // handed to the access object as they stand
    std::array<long, 5> afc;      // AFC values 1 to 5; the third is the TV lock value
    BOOL reapplyStandard;
    TunerModuleFM fm;
    std::array<long, 18> standards;  // in the order appended; 0 ends the list
    long secondModel = 0;            // 0: the model itself
    BYTE lockMask = 0x40;
    long currentStandard = AnalogVideo_PAL_B;
    TunerModuleOps ops = {};         // what the operations do beyond CTunerBase
};

struct TunerModuleEntry {
    const TunerModuleRow* row;
    TunerCreator create;
};

// Every module in key order, each with its creator.
std::span<const TunerModuleEntry> TunerModuleEntries();
// The row and creator of one model; null for model 0 and numbers without a module.
const TunerModuleRow* FindTunerModuleRow(long model);
TunerCreator FindTunerCreator(long model);
