// CXCeiveTuner: what the Xceive XC2028 and XC3028 tuner classes share. The chip holds no band
// bytes: it runs firmware that the driver loads over I2C (a base image, then a patch for the
// standard) and is tuned by a 16-bit frequency word in 15.625 kHz units. Everything goes
// through the card's access object: block writes and reads for the chip, ResetTuner for its
// reset line, and, by card, GPIO_Write, ReadBridgeReg and GetStatus.
//
// The classes differ in the reset pulse, the chunking of firmware records, the firmware
// tables and the lock reads they use; each class picks them (XCeive2028.h, XCeive3028.h,
// XCeive3028_SIF.h).
//
// Threads: every sequence (a firmware load, a tuning, a lock read) runs under the tuner's
// recursive bus lock, so a scan step waits for a standard change instead of interleaving.
#pragma once

#include <initializer_list>
#include <span>

#include "tuners/TunerBase.h"
#include "tuners/XcFirmware.h"

// Access kinds of the owning card that the Xceive tuners tell apart. The card reports its kind
// as a number (CTunerOwnerCard::GetAccessKind); any number not named here is another kind.
enum class XcAccessKind : long {
    Direct = 0,    // the access object addresses the tuner itself
    BridgeA = 12,  // lock from bridge register 0x3A
    SoundIf = 13,  // sound-IF patches, lock from the video decoder
    BridgeB = 14,  // lock from bridge register 0x3A
    BoxI2C = 15,   // the box carries I2C to the chip but has no bridge register
    NoCard = -1,   // what a tuner without an owning card counts as: none of the kinds above
};

// One row of a firmware table: a single standard bit and the lists it loads.
struct XcStandardRow {
    long standard;
    const XcFirmware* base;
    const XcFirmware* patch;
};

// The standard table (standard patches) and the sound-IF table (sound-IF patches).
std::span<const XcStandardRow> XcStandardTable();
std::span<const XcStandardRow> XcSoundIfTable();
// The row of a standard; null when the value is not a single bit the table holds.
const XcStandardRow* FindXcStandard(std::span<const XcStandardRow> table, long standard);

// How firmware records go out in chunks.
struct XcChunking {
    BOOL bAddressed;     // the device address heads every chunk
    int nPayload;        // payload bytes per chunk after d[0]
    DWORD dwWaitMs;      // wait after every chunk
    BOOL bTraceFailure;  // a failed chunk is traced with the player's file and line
};

// The tuner slots that each Xceive class answers by its own paths, declared in its class body;
// each class also declares its firmware chunking (Chunking), protected.
#define DECLARE_XCEIVE_TUNER_SLOTS()                   \
    BOOL SetTVChannelFreq(float kHz) override;         \
    BOOL GetTVChannelOkay(DWORD* status) override;     \
    BOOL SetVideoStandard(long standard) override;     \
    BOOL GetSignalLocked(DWORD* locked) override;

class CXCeiveTuner : public CTunerBase {
public:
    static constexpr BYTE kAddress = 0xC2;
    static constexpr double kWordKHz = 15.625;


    // Plays a firmware list; FALSE for a null list, a list without the end word or a record
    // running past the list's end (that record is not sent), a failed chunk or reset, and a
    // list that sent nothing. TRUE when the last chunk or reset of the list succeeded.
    BOOL LoadFirmware(const XcFirmware* list);
    // Reset pulse, 100 ms, the NTSC base, and only when that loaded, 100 ms and the B/G/I
    // sound-IF patch; the result of the last load. A failed pulse does not stop it: the base
    // list pulses the line again itself.
    BOOL InitFirmware();
    // Holds the chip in reset (ResetTuner FALSE) until the next pulse.
    BOOL Reset();
    // ResetTuner FALSE, the class's hold time, ResetTuner TRUE; TRUE when the release succeeded.
    BOOL PulseReset();
    // A 3-byte block read with request bytes C2 00 00.
    BOOL ProbeRead();

    // ---- lock reads; *status 1 means locked ----
    // Write C2 00 02, 50 ms, read 4 bytes; the register value is answer byte 1. TRUE when read.
    BOOL ReadLockRegister(DWORD* status);
    // Bridge register 0x3A; locked while its bit 0 is clear. TRUE when read.
    BOOL ReadBridgeLock(DWORD* status);
    // The direct path's lock register: write 00 02, 50 ms, read the 16-bit value high byte
    // first; *status is the value (2 when the write or read failed), TRUE when it is 1.
    BOOL ReadDirectLockRegister(DWORD* status);

    // The frequency word of a frequency in kHz: floor(f / 15.625); FALSE when f is not finite or
    // the word does not fit 16 bits.
    static BOOL FrequencyWord(float kHz, WORD* word);

protected:
    CXCeiveTuner(CCustomDataAccess* pAccess, long model, DWORD resetHoldMs);

    // The owning card's access kind; XcAccessKind::NoCard without an owner.
    XcAccessKind AccessKind() const;
    virtual XcChunking Chunking() = 0;

    // Pulse, base, 100 ms, patch (the patch even after a failed base); FALSE for a standard
    // the table does not hold, after the pulse.
    BOOL LoadStandardTable(long standard);
    // Pulse, base, patch, each only after the one before succeeded; FALSE without any traffic
    // for a standard the table does not hold.
    BOOL LoadSoundIfTable(long standard);

    // The bridge lock as the signal lock: *locked 1 exactly when the status read is 1.
    BOOL BridgeSignalLocked(DWORD* locked);
    // The I2C lock register as the signal lock, the same way.
    BOOL RegisterSignalLocked(DWORD* locked);
    // The addressed tuning: mode write C2 00 02 00 00, the GPIO pulse when asked, 20 ms, the
    // frequency write C2 00 00 N-high N-low between the traces, 10 ms.
    BOOL TuneAddressed(WORD word, BOOL gpioPulse);
    // The direct tuning: 00 02 00 00, 20 ms, 00 00 N-high N-low, 10 ms.
    BOOL TuneDirect(WORD word);
    // One block write of the given bytes (at most 8); the result of the access object,
    // E_INVALIDARG without sending for a longer list.
    HRESULT WriteBlock(std::initializer_list<BYTE> bytes);

private:
    BOOL SendRecord(const BYTE* record, size_t length, const XcChunking& chunking);

    const DWORD m_dwResetHoldMs;
    long m_lReserved = 0;
};
