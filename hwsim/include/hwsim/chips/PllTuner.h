// A PLL tuner module (synthesiser with an I2C programming port). A write carries the divider
// bytes (DB1 with bit 7 clear, DB2) and the control and band bytes (CB with bit 7 set, BB), in
// either order; after DB1 DB2 CB BB the auxiliary byte AB may follow: the 4-byte write
// DB1 DB2 CB BB and the 5-byte write DB1 DB2 CB BB AB. Any further byte is not acknowledged.
// A read answers the status byte: the lock bit (0x40) with the module's own AFC code for where
// the nearest station lies (PllAfc.h) when a station lies within the capture window of the tuned
// frequency, nothing else otherwise.
//
// Modules with an FM receiver program it with their own control and band bytes: a write that
// carries those two is an FM write, and the divider counts FM steps above the FM IF. Tuned to
// FM, a read answers the lock bit with the module's FM lock code when an FM station lies within
// the FM window, nothing otherwise, and the module delivers no picture.
#pragma once

#include <array>
#include <optional>

#include "hwsim/bus/I2CDevice.h"
#include "hwsim/bench/RfEnvironment.h"

namespace hwsim {

class PllTuner : public I2CDevice {
public:
    static constexpr BYTE kLockBit = 0x40;
    static constexpr BYTE kAfcCentred = 0x02;

    struct Options {
        BYTE address7 = 0x60;    // 0xC0 on the bus
        long ifKHz = 38900;      // picture IF the local oscillator sits above the carrier
        long stepHz = 62500;     // oscillator step of one divider count
        long windowKHz = 500;    // a station this close to the tuned frequency locks
        // FM: the control and band byte of an FM write (fmControl 0: the module has no FM).
        BYTE fmControl = 0;
        BYTE fmBand = 0;
        long fmIfKHz = 10700;
        long fmStepHz = 31250;
        BYTE fmLockCode = 4;     // AFC bits answered on an FM station
        long fmWindowKHz = 50;
        // The module's codes for the tuned frequency far below, below, on, above and far above
        // the station.
        std::array<BYTE, 5> afcCodes = {4, 3, 2, 1, 0};
    };

    PllTuner(const RfEnvironment& rf, const Options& options);

    WORD Divider() const;
    BYTE ControlByte() const;
    BYTE BandByte() const;
    std::optional<BYTE> AuxByte() const;
    // Picture carrier the divider selects, in kHz (0 before the first divider write).
    long TunedKHz() const;
    // The last write was an FM write.
    bool FmMode() const;
    // The divider read as an FM frequency in kHz, whichever write set it (0 before the first).
    long FmKHz() const;
    // Tuned to TV with a station in the capture window: the module delivers a picture.
    bool Locked() const;
    // The station whose picture the module delivers (tuned to TV, within the capture window).
    std::optional<Station> Picture() const;
    BYTE Status() const;

protected:
    bool OnSelect(bool read) override;
    bool OnReceive(BYTE value) override;
    BYTE OnTransmit() override;

private:
    long TunedKHzLocked() const;
    long FmKHzLocked() const;
    BYTE StatusLocked() const;

    enum class Next { Any, DividerLow, Band, Aux, Done };

    const RfEnvironment& m_rf;
    const Options m_options;
    Next m_next = Next::Any;
    bool m_sawDivider = false;
    bool m_sawControl = false;
    BYTE m_dividerHigh = 0;
    WORD m_divider = 0;
    BYTE m_control = 0;
    BYTE m_band = 0;
    std::optional<BYTE> m_aux;
    bool m_fm = false;
};

}  // namespace hwsim
