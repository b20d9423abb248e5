// The TV and FM tuning writes of the PLL modules with an IF demodulator, shared by the module
// classes and the USB tuner: what one write sends (address, IF, control byte, band tops and
// bytes, an optional sixth byte), the write itself, and the module variants built on the
// tuner's own module description. None takes a lock: the tuner calls them inside its bus lock.
#pragma once

#include <windows.h>

class CCustomDataAccess;
class CTunerBase;

struct PllTvWrite {
    BYTE address;
    long ifKHz;
    BYTE control;
    long lowBandTop, midBandTop;  // a frequency below a top is in that band
    BYTE band[3];
    int aux = -1;                 // the sixth byte; -1: a five-byte write
};

// The tuner's own module description.
PllTvWrite ModuleTvWrite(const CTunerBase& tuner);
// The module description with `lPrimeIF` (when not 0) in place of the IF while the current
// standard is SECAM_L1 (the SECAM L' intermediate frequency).
PllTvWrite LPrimeTvWrite(const CTunerBase& tuner, long lPrimeIF);
// The module description with the sixth byte of the SECAM-L modules: 0x20 for SECAM_L and
// SECAM_L1, else 0xA0, and the L' IF as LPrimeTvWrite.
PllTvWrite SecamTvWrite(const CTunerBase& tuner, long lPrimeIF);

// Divider N = (IF + f) x 16 / 1000 truncated, the band byte by the band tops, one block write
// of 5 or 6 bytes; traces "SetTVChannelFreq = %f , hr = %d \n". TRUE only on S_OK. A frequency
// that is not finite or whose divider does not fit 16 bits is refused with no traffic.
BOOL WritePllTv(CCustomDataAccess* pAccess, double kHz, const PllTvWrite& write);
// The same after clamping f into the tuner's lowest and highest frequency.
BOOL WritePllTvClamped(CCustomDataAccess* pAccess, const CTunerBase& tuner, double kHz, const PllTvWrite& write);

// Model 92's FM tuning (no clamping here): the two preparation writes to the module, 10 ms,
// the demodulator's radio set-up, then N = ((f truncated) + 10700) x 20 / 1000 and the five
// bytes with the FM control and band byte. Stops with FALSE at the first write that is not
// S_OK; a frequency that is not finite or whose divider does not fit 16 bits is refused first.
BOOL WriteP92FM(CCustomDataAccess* pAccess, const CTunerBase& tuner, double kHz);

// f clamped into [low, high] (NaN stays NaN).
double ClampKHz(double kHz, long low, long high);
