// CTDA8275A: driver of the TDA8275A silicon tuner behind the TDA8290's I2C gate.
#include "tuners/TDA8275A.h"

#include <iterator>

#include "tuners/TunerI2CBridge.h"
#include "platform/analogvideo.h"

namespace {

const BYTE kInitImage[CTDA8275A::kRegisterCount] = {0x00, 0x00, 0x00, 0x1C, 0x04, 0xAB, 0x38,
                                                    0x0A, 0x28, 0xFF, 0x40, 0x00, 0x39};

const char* const kRegisterNames[CTDA8275A::kRegisterCount] = {
    "DividerByte1", "DividerByte2", "DividerByte3", "ControlByte1", "BandSwitchByte", "AgcByte1", "AgcByte2",
    "InitialisationByte1", "AgcByte3", "InitialisationByte2", "ControlByte2", "InitialisationByte3", "ControlByte3"};

// Band table: the first row whose limit is at least frequency + IF (Hz) gives the bytes.
struct BandRow {
    unsigned long limit;
    BYTE b4, b5, b6, b7, b8;  // b5: post-divider code
};

const BandRow kBands[] = {
    {48750000, 2, 4, 0, 0, 3},  {56875000, 3, 4, 0, 0, 3},  {67250000, 0, 3, 0, 0, 3},  {81250000, 1, 3, 0, 0, 3},
    {97500000, 2, 3, 0, 0, 3},  {113750000, 3, 3, 0, 1, 1}, {134500000, 0, 2, 0, 1, 1}, {154000000, 1, 2, 0, 1, 1},
    {162500000, 1, 2, 0, 1, 1}, {181000000, 2, 2, 0, 1, 1}, {195000000, 2, 2, 0, 2, 1}, {227500000, 3, 2, 0, 2, 3},
    {269000000, 0, 1, 0, 2, 3}, {325000000, 1, 1, 0, 2, 1}, {390000000, 2, 1, 0, 3, 3}, {455000000, 3, 1, 0, 3, 3},
    {520000000, 0, 0, 0, 3, 1}, {538000000, 0, 0, 1, 3, 1}, {554000000, 1, 0, 0, 3, 1}, {620000000, 1, 0, 0, 4, 0},
    {650000000, 1, 0, 1, 4, 0}, {700000000, 2, 0, 0, 4, 0}, {780000000, 2, 0, 1, 4, 0}, {820000000, 3, 0, 0, 4, 0},
    {870000000, 3, 0, 1, 4, 0}, {911000000, 3, 0, 2, 4, 0},
};

BYTE SubAddress(int reg)
{
    return static_cast<BYTE>(reg << 4);
}

// Register 0x05 value of the fast-tune preparation and its end.
BYTE FastTuneReg05(long standard)
{
    return standard == AnalogVideo_PAL_D || standard == 40 ? 2 : 4;
}

}  // namespace

CTDA8275A::CTDA8275A(CI2CInterface* pI2C) : m_pI2C(pI2C), m_tda8290(pI2C) {}

BOOL CTDA8275A::WriteRegister(BYTE subAddress, BYTE value)
{
    return m_pI2C != nullptr ? m_pI2C->WriteReg(m_ucAddress, subAddress, value) : FALSE;
}

BOOL CTDA8275A::WriteImageRegister(Register reg)
{
    return WriteRegister(SubAddress(reg), m_image[reg]);
}

BOOL CTDA8275A::SetGate(BOOL on)
{
    return m_tda8290.SetGate(on);
}

void CTDA8275A::DumpReg() const
{
    for (int i = 0; i < kRegisterCount; ++i) TRACE("%s=%02x\n", kRegisterNames[i], m_image[i]);
}

BOOL CTDA8275A::WriteReg()
{
    TRACE("WriteReg---------------------------------------------\n");
    DumpReg();
    BOOL result = TRUE;
    for (int i = 0; i < kRegisterCount; ++i) result = WriteImageRegister(static_cast<Register>(i));
    return result;
}

BOOL CTDA8275A::Init()
{
    std::copy(std::begin(kInitImage), std::end(kInitImage), m_image.begin());
    SetGate(TRUE);
    BOOL result = WriteReg();
    SetGate(FALSE);
    return result;
}

BOOL CTDA8275A::ProgramTDA8275A(long freqHz, long ifHz, BYTE lowPass, BOOL fast)
{
    TRACE("doskel: ProgramTDA8275A freq = %d, if = %d, lowPass = %02x, fast = %d\n", static_cast<int>(freqHz),
          static_cast<int>(ifHz), lowPass, fast);
    SetGate(TRUE);
    m_image[InitialisationByte1] = freqHz <= 471250 ? 0x22 : 0x26;
    WriteImageRegister(InitialisationByte1);

    const unsigned long long oscillator =
        static_cast<unsigned long long>(static_cast<long long>(freqHz) + static_cast<long long>(ifHz));
    size_t row = std::size(kBands) - 1;
    for (size_t i = 0; i < std::size(kBands); ++i) {
        if (kBands[i].limit >= oscillator) {
            row = i;
            break;
        }
    }
    TRACE("doskel dwCounter = %d\n", static_cast<int>(row));
    const BandRow& band = kBands[row];
    const unsigned divider = band.b5 <= 3 ? 1u << band.b5 : 16u;
    TRACE("doskel dwProgDivider = %d\n", static_cast<int>(divider));
    const unsigned long long n = oscillator * divider * 64ull / 16000000ull;
    TRACE("doskel dwFreqPll = %d\n", static_cast<int>(n));
    m_image[DividerByte1] = static_cast<BYTE>(n >> 6);
    TRACE("doskel DividerByte1 = %d\n", m_image[DividerByte1]);
    TRACE("doskel DividerByte2 = %d\n", static_cast<int>(static_cast<BYTE>(n << 2)));
    m_image[DividerByte2] = static_cast<BYTE>((n << 2) & 0xFC);
    m_image[DividerByte3] = 0;
    m_image[ControlByte1] = static_cast<BYTE>((band.b6 & 0x03) | 0x10);
    m_image[BandSwitchByte] = static_cast<BYTE>((band.b7 & 0x07) | ((band.b4 & 0x03) << 3) | ((band.b5 & 0x07) << 5));
    m_image[ControlByte3] = static_cast<BYTE>((m_image[ControlByte3] & ~0x06) | ((lowPass & 0x03) << 1));
    m_image[AgcByte1] = static_cast<BYTE>((m_image[AgcByte1] & ~0x30) | ((band.b8 & 0x03) << 4));
    m_image[AgcByte2] = static_cast<BYTE>((m_image[AgcByte2] & ~0x30) | (fast ? 0x20 : 0x00));
    WriteReg();

    m_image[AgcByte3] = static_cast<BYTE>(fast ? (m_image[AgcByte3] | 0x04) : (m_image[AgcByte3] & ~0x04));
    m_image[AgcByte3] &= static_cast<BYTE>(~0x08);
    WriteImageRegister(AgcByte3);
    if (!fast) {
        m_image[AgcByte2] |= 0x30;
        WriteImageRegister(AgcByte2);
    }

    m_image[ControlByte1] = static_cast<BYTE>((m_image[ControlByte1] & 0x1F) | 0x80);
    WriteImageRegister(ControlByte1);
    Wait(1);
    m_image[ControlByte1] = static_cast<BYTE>((m_image[ControlByte1] & 0x13) | 0x04);
    WriteImageRegister(ControlByte1);
    Wait(1);
    m_image[ControlByte1] &= 0xF3;
    WriteImageRegister(ControlByte1);

    if (!fast) {
        for (int i = 0; i < 55; ++i) Wait(10);
        m_image[ControlByte1] = static_cast<BYTE>((m_image[ControlByte1] & 0xF0) | (band.b6 & 0x03));
        WriteImageRegister(ControlByte1);
    } else {
        Wait(100);
    }

    m_image[AgcByte3] |= 0x08;
    BOOL result = WriteImageRegister(AgcByte3);
    SetGate(FALSE);
    return result;
}

BOOL CTDA8275A::Tune(long hz, long standard)
{
    CTDA8290& demod = m_tda8290;
    demod.SelectStandard(standard);
    const BYTE lowPass = demod.GetLowPass();
    const long ifHz = demod.GetIF();

    demod.WriteRegister(0x16, 0x07);
    demod.WriteRegister(0x01, static_cast<BYTE>(demod.GetStandardCode() | 0x80));
    demod.WriteRegister(0x0F, 0x88);
    demod.WriteRegister(0x28, 0x14);
    demod.WriteRegister(0x05, FastTuneReg05(standard));
    demod.WriteRegister(0x0D, 0x47);
    demod.WriteRegister(0x0E, 0x11);
    demod.WriteRegister(0x28, 0x54);
    demod.WriteRegister(0x05, 0x01);

    ProgramTDA8275A(hz, ifHz, lowPass, TRUE);

    for (int i = 0; i < 10; ++i) {
        BYTE flags = 0;
        demod.ReadRegister(0x1B, &flags);
        if ((flags & 0x80) == 0) break;
        Wait(5);
    }

    demod.WriteRegister(0x0E, 0x09);
    demod.WriteRegister(0x05, FastTuneReg05(standard));
    demod.WriteRegister(0x0F, 0x88);
    demod.WriteRegister(0x28, 0x14);
    demod.WriteRegister(0x0D, 0x47);

    const BOOL result = ProgramTDA8275A(hz, ifHz, lowPass, FALSE);

    demod.WriteRegister(0x16, 0x03);
    BYTE level = 0;
    demod.ReadRegister(0x1A, &level);
    const bool levelOk = level * 8 >= 160;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        BYTE agc = 0;
        BYTE flags = 0;
        demod.ReadRegister(0x1D, &agc);
        demod.ReadRegister(0x1B, &flags);
        const bool agcOk = agc <= 115;
        if (levelOk || ((flags & 0x80) != 0 && agcOk)) break;
        if (attempt == 1) {
            demod.WriteRegister(0x28, 0x54);
        } else if (attempt == 2) {
            SetGate(TRUE);
            m_image[AgcByte3] |= 0x04;
            WriteImageRegister(AgcByte3);
            SetGate(FALSE);
        } else {
            demod.WriteRegister(0x05, 0x01);
            demod.WriteRegister(0x0D, 0x27);
        }
        for (int i = 0; i < 10; ++i) Wait(10);
    }

    if (standard == AnalogVideo_PAL_D || standard == AnalogVideo_PAL_G) {
        BYTE a = 0;
        BYTE b = 0;
        demod.ReadRegister(0x1A, &a);
        demod.ReadRegister(0x1B, &b);
        if (!(a <= 20 && (b & 0x80) != 0)) {
            BYTE c = 0;
            demod.ReadRegister(0x0E, &c);
            demod.WriteRegister(0x0E, static_cast<BYTE>(c | 0x02));
            demod.WriteRegister(0x0E, static_cast<BYTE>(c & 0xFD));
        }
    }
    demod.WriteRegister(0x0F, 0x82);
    return result;
}
