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
// is this type (TunerModuleRows.h), or a class derived from it with an operation of its own
// (TunerModuleOverrides.h). Its constructor is defined beside the table (TunerModuleRows.h),
// where the row is found while compiling.
template <long Model>
class CTunerModule : public CPllTunerModule {
public:
    explicit CTunerModule(CCustomDataAccess* pAccess);
};

// The creator the factory calls for a tuner class.
template <class Tuner>
CTunerBase* CreateTuner(CCustomDataAccess* pAccess)
{
    return new Tuner(pAccess);
}
