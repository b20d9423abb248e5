// CTDA8290: driver of the TDA8290 analog IF demodulator, whose I2C gate passes the bus to the
// TDA8275A tuner behind it. It keeps the current video standard: SelectStandard picks the
// standard code, IF and low-pass flag; SetStandard writes the full register set after a tune.
#pragma once

#include <windows.h>

class CI2CInterface;

class CTDA8290 {
public:
    static constexpr BYTE kAddress = 0x96;  // reads use 0x97

    explicit CTDA8290(CI2CInterface* pI2C);

    BOOL Init();
    BOOL SelectStandard(long standard);
    BOOL SetStandard(long standard);
    // Opens (TRUE) or closes the I2C gate to the tuner chip.
    BOOL SetGate(BOOL on);
    long GetStandard() const { return m_lStandard; }
    long GetIF() const { return m_lIF; }
    BYTE GetLowPass() const { return m_ucLowPass; }
    BYTE GetStandardCode() const { return m_ucCode; }
    // Up to three tries; *value is left as it was when every try failed.
    BOOL ReadRegister(BYTE subAddress, BYTE* value);
    BOOL WriteRegister(BYTE subAddress, BYTE value);
    BOOL SetRegisterBit(BYTE subAddress, int bit, BOOL on);

private:
    CI2CInterface* m_pI2C;
    BYTE m_ucAddress = kAddress;
    long m_lIF = 0;  // Hz
    BYTE m_ucLowPass = 0;
    BYTE m_ucCode = 0;
    long m_lStandard = 0;
};
