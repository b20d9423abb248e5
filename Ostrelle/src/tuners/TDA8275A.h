// CTDA8275A: driver of the TDA8275A silicon tuner behind the TDA8290's I2C gate. It keeps the
// chip's 13-register image and tunes in two passes (fast, then normal with the AGC settle),
// checking the demodulator's levels in between. It owns the CTDA8290 driver.
#pragma once

#include <windows.h>

#include <array>

#include "tuners/EventHandle.h"
#include "tuners/TDA8290.h"

class CI2CInterface;

class CTDA8275A {
public:
    static constexpr BYTE kAddress = 0xC2;  // reads use 0xC3
    static constexpr int kRegisterCount = 13;

    // Register image, written at sub-addresses 0x00 to 0xC0 in steps of 0x10.
    enum Register {
        DividerByte1,
        DividerByte2,
        DividerByte3,
        ControlByte1,
        BandSwitchByte,
        AgcByte1,
        AgcByte2,
        InitialisationByte1,
        AgcByte3,
        InitialisationByte2,
        ControlByte2,
        InitialisationByte3,
        ControlByte3,
    };

    explicit CTDA8275A(CI2CInterface* pI2C);

    BOOL Init();
    // Tunes to hz (picture carrier) in the given standard; the result of the normal pass.
    BOOL Tune(long hz, long standard);
    BOOL ProgramTDA8275A(long freqHz, long ifHz, BYTE lowPass, BOOL fast);
    // Writes the whole image, register by register.
    BOOL WriteReg();
    BOOL WriteRegister(BYTE subAddress, BYTE value);
    BOOL SetGate(BOOL on);
    void Wait(DWORD ms) { m_event.Wait(ms); }
    void DumpReg() const;

    CTDA8290& GetTDA8290() { return m_tda8290; }
    // The chip's tuning range in Hz, as its data sheet gives it.
    long GetLowestFrequency() const { return m_lLowestHz; }
    long GetHighestFrequency() const { return m_lHighestHz; }
    const std::array<BYTE, kRegisterCount>& GetImage() const { return m_image; }

private:
    BOOL WriteImageRegister(Register reg);

    CI2CInterface* m_pI2C;
    BYTE m_ucAddress = kAddress;
    std::array<BYTE, kRegisterCount> m_image{};
    CEventHandle m_event{FALSE};
    CTDA8290 m_tda8290;
    long m_lLowestHz = 40000000;
    long m_lHighestHz = 865000000;
};
