#include "tuners/Tuner_A139.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

namespace {

constexpr long kIF = 38900;
constexpr long kSecamLIF = 33900;

}  // namespace

CTuner_A139::CTuner_A139(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(139));
}

CTuner_A139::~CTuner_A139()
{
    StopScan();
}

CTunerBase* CTuner_A139::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_A139(pAccess);
}

// A standard outside the table leaves the IF at 38900 kHz and the demodulator as it was.
BOOL CTuner_A139::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    const bool secamL = standard == AnalogVideo_SECAM_L || standard == AnalogVideo_SECAM_L1;
    SetIF(secamL ? kSecamLIF : kIF);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodA139, standard);
}
