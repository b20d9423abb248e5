// The tuner-module family: one row of constants per TUNER_MODEL number, and the creator that
// the card's tuner factory calls for each. Modules that override nothing are one class,
// CPllTunerModule, filled from their row; the others have classes of their own, grouped by
// maker (TunerModulesA.h, ...G, ...L, ...P, ...T, Tuner_O100.h), beside the TNJ7752JFF_MK5
// (68) and the Xceive tuners (90, 91, 136, 137).
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "tuners/TunerBase.h"

struct TunerModuleFM {
    BOOL capable;       // an FM scan and SetFMScanRange are possible
    long low, high;     // FM range, kHz
    long ifKHz;         // FM intermediate frequency
    BYTE control, band; // PLL control and band byte for FM
    long lockValue;     // status code of a centred FM station
};

struct TunerModuleRow {
    long model;                   // TUNER_MODEL number, the factory key
    char factory;                 // TUNER_FACTORY letter
    long lowest, lowBandTop, midBandTop, highest, ifKHz;
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
};

typedef CTunerBase* (*TunerCreator)(CCustomDataAccess* pAccess);

struct TunerModuleEntry {
    const TunerModuleRow* row;
    TunerCreator create;
};

// Every module in key order, each with its creator.
std::span<const TunerModuleEntry> TunerModuleEntries();
// The row and creator of one model; null for model 0 and numbers without a module.
const TunerModuleRow* FindTunerModuleRow(long model);
TunerCreator FindTunerCreator(long model);

// The base of a module class with operations of its own: the constructor loads the row of
// model Model and Create makes a Module. The class's own destructor stops a running scan, as a
// base's destructor would run only after a worker could have called the class's operations.
template <class Module, long Model>
class CTunerModuleClass : public CTunerBase {
public:
    explicit CTunerModuleClass(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
    {
        SetModule(*FindTunerModuleRow(Model));
    }

    static CTunerBase* Create(CCustomDataAccess* pAccess) { return new Module(pAccess); }
};

// A PLL module that overrides nothing: CTunerBase with the constants of its row. Like every
// tuner class, its destructor stops a running scan before the object goes.
class CPllTunerModule : public CTunerBase {
public:
    CPllTunerModule(CCustomDataAccess* pAccess, const TunerModuleRow& row);
    ~CPllTunerModule() override;
};
