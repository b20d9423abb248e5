// CUsbTuner: the tuner of the USB TV boxes. The box's card filter copies the module
// description of the card's tuner model into it (CTunerBase::CopyFrom); it then behaves like
// that module, with its own tuning, status and standard roads for the models of its record table
// (UsbTuner.cpp: 13, 69, 72, 73, 75, 92, 93 and 97), and takes the lock from the box's video
// decoder instead of the PLL.
#pragma once

#include "tuners/TunerBase.h"

class CUsbTuner : public CTunerBase {
public:
    static constexpr BYTE kDecoderAddress = 0x42;

    explicit CUsbTuner(CCustomDataAccess* pAccess);

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL IsTVChannelLocked() override;
    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;

    // The video decoder the lock is read from (the card filter probes for it).
    void SetDecoderAddress(BYTE address) { m_ucDecoderAddr = address; }
    BYTE GetDecoderAddress() const { return m_ucDecoderAddr; }

    // Model 13: registers 0 to 2 of the IF demodulator into regs[0..2].
    BOOL ReadIfRegisters(BYTE regs[3]);
    // The IF demodulator's FM status as model 98 reads it, traced with the status byte.
    // Chooses: both FM bits (5, 7) set: 4 for AFC nibble 0-2 or 13-15, else 0; otherwise unchanged.
    BOOL GetFMStatusFromDemod(DWORD* status);

private:
    // The PLL status read of models 69, 72 and 73 at `address`; `missing` is the status of a
    // byte without the lock bit (-1: left alone).
    BOOL ReadPllStatus(BYTE address, long missing, const char* trace, DWORD* status);

    std::atomic<BYTE> m_ucDecoderAddr{kDecoderAddress};
};
