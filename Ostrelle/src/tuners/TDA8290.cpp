// CTDA8290: driver of the TDA8290 analog IF demodulator.
#include "tuners/TDA8290.h"

#include <iterator>

#include "tuners/TunerI2CBridge.h"
#include "platform/analogvideo.h"

namespace {

struct StandardSelection {
    long standards;  // the standards of the row, as a bit set
    BYTE code;       // register 0x01
    long ifHz;
    BYTE lowPass;
};

const StandardSelection kSelections[] = {
    {AnalogVideo_NTSC_M, 0x01, 5750000, 1},
    {AnalogVideo_NTSC_M_J | AnalogVideo_PAL_M | AnalogVideo_PAL_N | AnalogVideo_PAL_N_COMBO, 0x01, 5750000, 0},
    {AnalogVideo_PAL_B | AnalogVideo_SECAM_B, 0x02, 6750000, 0},
    {AnalogVideo_PAL_G | AnalogVideo_PAL_H | AnalogVideo_SECAM_G | AnalogVideo_SECAM_H, 0x04, 7750000, 0},
    {AnalogVideo_PAL_I, 0x08, 7750000, 0},
    {AnalogVideo_PAL_D | AnalogVideo_SECAM_D | AnalogVideo_SECAM_K, 0x10, 7750000, 0},
    {AnalogVideo_SECAM_L, 0x20, 7750000, 0},
    {AnalogVideo_SECAM_L1, 0x40, 1750000, 0},
};

// The register set written after a tune: registers, then one column per standard group.
const BYTE kSetRegisters[] = {0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x13, 0x15, 0x16};

struct RegisterGroup {
    long standards;  // 0: every standard no other group takes
    BYTE values[std::size(kSetRegisters)];
};

const RegisterGroup kGroups[] = {
    {AnalogVideo_NTSC_M | AnalogVideo_NTSC_M_J | AnalogVideo_PAL_M | AnalogVideo_PAL_N | AnalogVideo_PAL_N_COMBO,
     {0x11, 0x01, 0x01, 0x01, 0x85, 0xF6, 0x92, 0x55, 0x55, 0x55, 0x21, 0x08, 0x88}},
    {AnalogVideo_PAL_B | AnalogVideo_SECAM_B, {0x22, 0x02, 0x01, 0x02, 0x00, 0x00, 0x80, 0xDA, 0x4B, 0x68, 0x22, 0x04, 0x88}},
    {AnalogVideo_PAL_G | AnalogVideo_PAL_H | AnalogVideo_SECAM_G | AnalogVideo_SECAM_H,
     {0x24, 0x02, 0x01, 0x02, 0x7B, 0x09, 0x6D, 0x1D, 0xC7, 0x71, 0x22, 0x04, 0x88}},
    {AnalogVideo_PAL_I, {0x24, 0x02, 0x04, 0x10, 0x7B, 0x09, 0x6D, 0x1D, 0xC7, 0x71, 0x22, 0x04, 0x88}},
    {AnalogVideo_PAL_D | AnalogVideo_SECAM_D | AnalogVideo_SECAM_K,
     {0x24, 0x02, 0x01, 0x04, 0x7B, 0x09, 0x6D, 0x1D, 0xC7, 0x71, 0x22, 0x04, 0x88}},
    {AnalogVideo_SECAM_L | AnalogVideo_SECAM_L1, {0x24, 0x02, 0x01, 0x08, 0x26, 0xB4, 0x17, 0x5F, 0x42, 0x7B, 0x44, 0x04, 0x7F}},
    {0, {0x24, 0x01, 0x01, 0x04, 0x7B, 0x09, 0x6D, 0x1D, 0xC7, 0x71, 0x22, 0x04, 0x88}},
};

// A single standard bit of a row's set; 0 and combinations match nothing.
bool InSet(long set, long standard)
{
    return standard != 0 && (standard & (standard - 1)) == 0 && (set & standard) != 0;
}

}  // namespace

CTDA8290::CTDA8290(CI2CInterface* pI2C) : m_pI2C(pI2C)
{
    ASSERT(pI2C != nullptr);
}

BOOL CTDA8290::ReadRegister(BYTE subAddress, BYTE* value)
{
    if (m_pI2C == nullptr) return FALSE;
    for (int i = 0; i < 3; ++i)
        if (m_pI2C->ReadReg(m_ucAddress | 1, subAddress, value)) return TRUE;
    return FALSE;
}

BOOL CTDA8290::WriteRegister(BYTE subAddress, BYTE value)
{
    return m_pI2C != nullptr ? m_pI2C->WriteReg(m_ucAddress, subAddress, value) : FALSE;
}

BOOL CTDA8290::SetRegisterBit(BYTE subAddress, int bit, BOOL on)
{
    BYTE value = 0;
    ReadRegister(subAddress, &value);
    const BYTE mask = static_cast<BYTE>(1u << bit);
    value = on ? static_cast<BYTE>(value | mask) : static_cast<BYTE>(value & ~mask);
    return WriteRegister(subAddress, value);
}

BOOL CTDA8290::SetGate(BOOL on)
{
    return WriteRegister(0x21, on ? 0xC0 : 0x80);
}

BOOL CTDA8290::Init()
{
    m_lStandard = AnalogVideo_PAL_B;
    WriteRegister(0x00, 0x01);
    WriteRegister(0x07, 0x00);
    WriteRegister(0x30, 0x2F);
    return WriteRegister(0x20, 0x0B);
}

BOOL CTDA8290::SelectStandard(long standard)
{
    WriteRegister(0x07, 0x00);
    m_lStandard = standard;
    m_ucLowPass = 0;
    m_ucCode = 0x02;
    m_lIF = 6750000;
    bool known = false;
    for (const StandardSelection& selection : kSelections) {
        if (InSet(selection.standards, standard)) {
            m_ucCode = selection.code;
            m_lIF = selection.ifHz;
            m_ucLowPass = selection.lowPass;
            known = true;
            break;
        }
    }
    if (!known) m_lStandard = AnalogVideo_PAL_B;
    return WriteRegister(0x01, m_ucCode);
}

BOOL CTDA8290::SetStandard(long standard)
{
    SelectStandard(standard);
    WriteRegister(0x01, static_cast<BYTE>(m_ucCode | 0x80));
    BYTE unused = 0;
    ReadRegister(0x0E, &unused);
    WriteRegister(0x0E, 0x08);
    SetRegisterBit(0x16, 1, FALSE);
    WriteRegister(0x08, 0x09);
    WriteRegister(0x09, 0x6D);
    WriteRegister(0x04, 0x02);
    const RegisterGroup* group = &kGroups[std::size(kGroups) - 1];
    for (const RegisterGroup& candidate : kGroups) {
        if (candidate.standards != 0 && InSet(candidate.standards, standard)) {
            group = &candidate;
            break;
        }
    }
    for (size_t i = 0; i < std::size(kSetRegisters); ++i) WriteRegister(kSetRegisters[i], group->values[i]);
    return WriteRegister(0x28, 0x54);
}
