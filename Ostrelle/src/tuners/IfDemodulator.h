// CIfDemodulator: the IF demodulator beside a PLL tuner module, as the tuner drives it through
// the card's access object: its register tables for a standard, its status byte turned into
// the module's AFC value, its FM status, and the video decoder's lock that some tuners take
// instead. It holds no lock: the tuner calls it inside its own bus lock.
//
// Every operation reports TRUE only when every transfer it made answered S_OK.
#pragma once

#include <windows.h>

#include "tuners/DemodTables.h"

class CCustomDataAccess;

// How a TV status read traces.
enum class DemodTrace {
    Summary,   // "GetTVChannelOkay : %d,byStatus = %d,hr = %d\n" at the end
    Steps,     // "GetTVChannelOkay ", " Status = 0x%02x", " bySignal = %d", " Ret = %d", "\n"
};

// An FM status read near a station: the status byte read at 0x87, then ApplyFMStatus.
struct DemodFMStatus {
    BOOL anyBit;                   // either FM bit of the status byte (TRUE) or both (FALSE)
    std::span<const BYTE> centre;  // the AFC nibbles that count as centred
    bool pllFirst;                 // the tuner reads the PLL's FM status first (its result dropped)
    const char* bitsTrace;         // traced, then the status byte bit by bit; null: no trace
};

class CIfDemodulator {
public:
    explicit CIfDemodulator(CCustomDataAccess* pAccess) : m_pAccess(pAccess) {}

    // Writes the table's column for the standard to registers 0, 1 and 2 as the table says,
    // then waits its settle time. FALSE without a column (nothing written).
    BOOL WriteTable(const DemodTable& table, long standard) const;

    // Reads the status byte from `readAddress` and maps its AFC nibble into *status. A read
    // that fails leaves *status alone.
    BOOL ReadAfc(BYTE readAddress, const AfcMap& map, DemodTrace trace, DWORD* status) const;

    // The FM status read `how` describes (its pllFirst is the tuner's part). FALSE without
    // *status or when the read fails.
    BOOL ReadFMStatus(const DemodFMStatus& how, DWORD* status) const;
    // With both FM bits of the status byte set (bAnyBit FALSE) or either of them (TRUE),
    // *status = 4 for a nibble in `centre`, else 0; without them *status is left alone.
    static void ApplyFMStatus(BYTE byte, BOOL bAnyBit, std::span<const BYTE> centre, DWORD* status);

    // The card's video decoder: register 0x1F at `decoderAddress`, bit 6 clear while it sees a
    // picture.
    BOOL ReadDecoderLock(BYTE decoderAddress) const;

    // One status byte from `readAddress` into *byte.
    HRESULT ReadStatusByte(BYTE readAddress, BYTE* byte) const;

private:
    CCustomDataAccess* const m_pAccess;
};

// The nibbles that count as centred for the two FM status reads.
inline constexpr BYTE kFMCentre1[] = {0, 1, 2, 13, 14, 15};
inline constexpr BYTE kFMCentre2[] = {0, 1, 2, 14, 15};
