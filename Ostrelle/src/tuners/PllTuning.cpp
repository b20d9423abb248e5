// The TV and FM tuning writes of the PLL modules with an IF demodulator.
#include "tuners/PllTuning.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "access/CustomDataAccess.h"
#include "platform/analogvideo.h"
#include "tuners/DemodTables.h"
#include "tuners/FrequencyMath.h"
#include "tuners/TunerBase.h"

namespace {

constexpr long kFMIF = 10700;

bool FitsDivider(long divider)
{
    return divider >= 0 && divider <= 0xFFFF;
}

}  // namespace

PllTvWrite ModuleTvWrite(const CTunerBase& tuner)
{
    return {tuner.GetWriteAddress(),
            tuner.GetIF(),
            tuner.GetControlByte(),
            tuner.GetLowBandTop(),
            tuner.GetMidBandTop(),
            {tuner.GetBandByte(0), tuner.GetBandByte(1), tuner.GetBandByte(2)}};
}

PllTvWrite LPrimeTvWrite(const CTunerBase& tuner, long lPrimeIF)
{
    PllTvWrite write = ModuleTvWrite(tuner);
    if (lPrimeIF != 0 && tuner.GetCurrentStandard() == AnalogVideo_SECAM_L1) write.ifKHz = lPrimeIF;
    return write;
}

PllTvWrite SecamTvWrite(const CTunerBase& tuner, long lPrimeIF)
{
    PllTvWrite write = LPrimeTvWrite(tuner, lPrimeIF);
    const long standard = tuner.GetCurrentStandard();
    write.aux = standard == AnalogVideo_SECAM_L || standard == AnalogVideo_SECAM_L1 ? 0x20 : 0xA0;
    return write;
}

double ClampKHz(double kHz, long low, long high)
{
    if (kHz > static_cast<double>(high)) return static_cast<double>(high);
    if (kHz < static_cast<double>(low)) return static_cast<double>(low);
    return kHz;
}

BOOL WritePllTv(CCustomDataAccess* pAccess, double kHz, const PllTvWrite& write)
{
    long divider = 0;
    if (!std::isfinite(kHz) || !TruncateToLong((static_cast<double>(write.ifKHz) + kHz) * 16.0 / 1000.0, &divider) ||
        !FitsDivider(divider))
        return FALSE;
    const BYTE band = kHz < static_cast<double>(write.lowBandTop)   ? write.band[0]
                      : kHz < static_cast<double>(write.midBandTop) ? write.band[1]
                                                                    : write.band[2];
    BYTE buffer[6] = {write.address, static_cast<BYTE>(divider >> 8), static_cast<BYTE>(divider & 0xFF),
                      write.control, band, static_cast<BYTE>(write.aux)};
    const int length = write.aux >= 0 ? 6 : 5;
    const HRESULT hr = pAccess != nullptr ? pAccess->I2C_WriteBlock(buffer, length) : E_FAIL;
    TRACE("SetTVChannelFreq = %f , hr = %d \n", kHz, static_cast<int>(hr));
    return hr == S_OK ? TRUE : FALSE;
}

BOOL WritePllTvClamped(CCustomDataAccess* pAccess, const CTunerBase& tuner, double kHz, const PllTvWrite& write)
{
    return WritePllTv(pAccess, ClampKHz(kHz, tuner.GetLowestFreq(), tuner.GetHighestFreq()), write);
}

BOOL WriteP92FM(CCustomDataAccess* pAccess, const CTunerBase& tuner, double kHz)
{
    long f = 0;
    if (!TruncateToLong(kHz, &f)) return FALSE;
    const long long divider = (static_cast<long long>(f) + kFMIF) * 20 / 1000;
    if (divider < 0 || divider > 0xFFFF || pAccess == nullptr) return FALSE;
    const BYTE address = tuner.GetWriteAddress();
    BYTE prepare1[5] = {address, 0x08, 0xFF, 0x8E, 0x01};
    if (pAccess->I2C_WriteBlock(prepare1, 5) != S_OK) return FALSE;
    BYTE prepare2[5] = {address, 0x08, 0xFF, 0x8E, 0x19};
    if (pAccess->I2C_WriteBlock(prepare2, 5) != S_OK) return FALSE;
    Sleep(10);
    BYTE radio[5];
    std::copy(std::begin(kDemodFMPrepare), std::end(kDemodFMPrepare), radio);
    if (pAccess->I2C_WriteBlock(radio, 5) != S_OK) return FALSE;
    BYTE buffer[5] = {address, static_cast<BYTE>(divider >> 8), static_cast<BYTE>(divider & 0xFF),
                      tuner.GetFMControlByte(), tuner.GetFMBandByte()};
    return pAccess->I2C_WriteBlock(buffer, 5) == S_OK ? TRUE : FALSE;
}
