// CPllTunerModule: a PLL module of the module table: CTunerBase with the constants of its row,
// whose operations do what the model's record says (TunerModules.h). A model without a record
// is this class itself; each named module class is the same module as a type of its own
// (CTunerModule below).
#pragma once

#include "tuners/TunerModules.h"

class CPllTunerModule : public CTunerBase {
public:
    CPllTunerModule(CCustomDataAccess* pAccess, const TunerModuleRow& row);

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL GetFMChannelOkay(DWORD* status) override;
    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;

protected:
    const TunerModuleRow& Row() const { return m_row; }

private:
    const TunerModuleRow& m_row;
    const TunerModuleOps& m_ops;
};

// CTunerModule<Model>: the module of model Model, its row and its record. A named module class
// is this type, or a class derived from it with an operation of its own
// (TunerModuleOverrides.h).
template <long Model>
class CTunerModule : public CPllTunerModule {
public:
    explicit CTunerModule(CCustomDataAccess* pAccess) : CPllTunerModule(pAccess, *FindTunerModuleRow(Model)) {}
};

// The creator the factory calls for a tuner class.
template <class Tuner>
CTunerBase* CreateTuner(CCustomDataAccess* pAccess)
{
    return new Tuner(pAccess);
}

// The named module classes whose every operation is in their row's record (TunerModules.cpp).
using CTuner_T9 = CTunerModule<9>;
using CTuner_G12 = CTunerModule<12>;
using CTuner_G13 = CTunerModule<13>;
using CTuner_T17 = CTunerModule<17>;
using CTuner_A59 = CTunerModule<59>;
using CTuner_A62 = CTunerModule<62>;
using CTuner_A63 = CTunerModule<63>;
using CTuner_A67 = CTunerModule<67>;
using CTNJ7752JFF_MK5 = CTunerModule<68>;
using CTuner_A70 = CTunerModule<70>;
using CTuner_L72 = CTunerModule<72>;
using CTuner_L73 = CTunerModule<73>;
using CTuner_L75 = CTunerModule<75>;
using CTuner_P93 = CTunerModule<93>;
using CTuner_P94 = CTunerModule<94>;
using CTuner_P96 = CTunerModule<96>;
using CTuner_P98 = CTunerModule<98>;
using CTuner_A132 = CTunerModule<132>;
using CTuner_A138 = CTunerModule<138>;
