#include "tuners/TunerModules.h"

#include <utility>

#include "tuners/TNJ7752JFF_MK5.h"
#include "tuners/TunerModulesA.h"
#include "tuners/TunerModulesG.h"
#include "tuners/TunerModulesL.h"
#include "tuners/TunerModulesP.h"
#include "tuners/TunerModulesT.h"
#include "tuners/Tuner_O100.h"
#include "tuners/XCeive2028.h"
#include "tuners/XCeive3028.h"
#include "tuners/XCeive3028_SIF.h"

namespace {

// Standards, in the shorthand of the module rows.
constexpr long M = AnalogVideo_NTSC_M, MJ = AnalogVideo_NTSC_M_J, N433 = AnalogVideo_NTSC_433;
constexpr long B = AnalogVideo_PAL_B, D = AnalogVideo_PAL_D, G = AnalogVideo_PAL_G, H = AnalogVideo_PAL_H;
constexpr long I = AnalogVideo_PAL_I, PM = AnalogVideo_PAL_M, PN = AnalogVideo_PAL_N, P60 = AnalogVideo_PAL_60;
constexpr long SB = AnalogVideo_SECAM_B, SD = AnalogVideo_SECAM_D, SG = AnalogVideo_SECAM_G;
constexpr long SH = AnalogVideo_SECAM_H, SK = AnalogVideo_SECAM_K, SK1 = AnalogVideo_SECAM_K1;
constexpr long SL = AnalogVideo_SECAM_L, SL1 = AnalogVideo_SECAM_L1;

constexpr TunerModuleFM kNoFM = {FALSE, 0, 0, 0, 0xCE, 0x01, 4};
// Models 60 and 61 store an FM description but have no FM receiver.
constexpr TunerModuleFM kStoredFM = {FALSE, 87500, 108000, 10700, 0xCE, 0x01, 9};

constexpr TunerModuleFM FM(long low, long high, long ifKHz, BYTE control, BYTE band, long lock)
{
    return {TRUE, low, high, ifKHz, control, band, lock};
}

#define XCEIVE_STANDARDS {B, D, H, I, PM, PN, P60, SB, SD, SG, SH, SK, SK1, SL, SL1, M, MJ, N433}

// key, letter, lowest, low-band top, mid-band top, highest, IF, band bytes, control byte,
// read and write address, AFC values, re-apply standard, FM, standards
// [, second model, lock mask, current standard]
constexpr TunerModuleRow kRows[] = {
    {1, 'T', 55250, 169250, 445250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {M, PM, PN}, 17},
    {2, 'T', 55250, 169250, 445250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, FALSE, FM(87000, 108000, 41250, 0x82, 0x05, 4), {M, PM, PN}},
    {3, 'T', 91000, 170000, 450000, 765000, 58750, {0x01, 0x02, 0x08}, 0xCE, 0xC0, 0xC0, {4, 2, 3, 1, 0}, FALSE, kNoFM, {MJ}},
    {4, 'T', 48250, 170000, 450000, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {D, I, SD, SK}},
    {5, 'T', 48250, 170000, 450000, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {B, D, SD, SK, SB, SG}},
    {7, 'T', 55250, 127250, 361250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {M, MJ, N433}},
    {8, 'T', 46250, 147250, 423250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, {B, D, G, H, I, PM, SL, SL1}},
    {9, 'T', 55250, 157250, 439250, 801250, 45750, {0x01, 0x02, 0x04}, 0xCE, 0xC0, 0xC1, {4, 2, 3, 1, 0}, TRUE, FM(87000, 108000, 10700, 0x8A, 0x19, 4), {M, PM, PN}},
    {10, 'T', 48250, 170000, 450000, 863250, 38900, {0xA0, 0x90, 0x30}, 0xC8, 0xC0, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87000, 108000, 10700, 0x8A, 0xA5, 4), {B, D, SB, SG, SD, SK}},
    {11, 'T', 48250, 170000, 450000, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87000, 107800, 10700, 0x8A, 0xA5, 4), {D, I, SD, SK}},
    {12, 'G', 49750, 160250, 464250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0x87, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, {B, D, I, SL, SL1, SB, SG, SD, SK}},
    {13, 'G', 45250, 161250, 463250, 855250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, {B, D, I, SL, SL1, SB, SG, SD, SK}},
    {14, 'T', 48250, 170000, 450000, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, {2, 4, 3, 1, 0}, FALSE, FM(87000, 108000, 10700, 0x8A, 0xA5, 4), {B, D, SB, SD, SG, SK}},
    {15, 'T', 55250, 169250, 445250, 801250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC6, 0xC7, {4, 3, 2, 1, 0}, FALSE, FM(87000, 108000, 10700, 0x8A, 0xA5, 3), {M, PM, PN}},
    {17, 'T', 48250, 126250, 359250, 855250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, {D, I, B, SB, SG, SD, SK}},
    {32, 'X', 48250, 168250, 447250, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC3, 0xC2, {4, 3, 2, 1, 0}, FALSE, kNoFM, {B, SB, SG}},
    {33, 'X', 49750, 168250, 448250, 863250, 38900, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {D, I, SD, SK}},
    {34, 'X', 55250, 169250, 451250, 863250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {M, PM, PN}},
    {35, 'X', 49750, 168250, 448250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {D, I, SD, SK}},
    {50, 'A', 49750, 160250, 464250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, FALSE, kNoFM, {D, I}},
    {52, 'A', 48250, 161250, 463250, 855250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {D, B, SB, SG, SD, SK}},
    {53, 'A', 49750, 160250, 464250, 855250, 38000, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {D, SD, SK}, 52},
    {54, 'A', 55250, 139250, 391250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {M, PM, PN}, 56},
    {55, 'A', 55250, 163250, 463250, 855250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87500, 108000, 10700, 0x8A, 0xA5, 4), {M, PM, PN}, 57},
    {56, 'A', 91250, 165250, 463250, 769250, 58750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {MJ}, 54},
    {57, 'A', 55250, 163250, 463250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {M, PM, PN}, 55},
    {58, 'A', 49250, 160250, 464250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87500, 108000, 10700, 0x8A, 0x11, 3), {D, I, SD, SK}},
    {59, 'A', 44250, 140250, 423250, 863250, 38900, {0x01, 0x02, 0x08}, 0x8E, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {B, G, D, I, SB, SG, SD, SK}},
    {60, 'A', 48250, 161250, 464250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 2, 1, 3, 0}, FALSE, kStoredFM, {B, D, SB, SG, SD, SK}},
    {61, 'A', 55250, 163250, 463250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC0, 0xC1, {4, 2, 1, 3, 0}, TRUE, kStoredFM, {PN, PM}},
    {62, 'A', 48250, 161250, 463250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 1, 1, 0}, FALSE, FM(87500, 108000, 10700, 0x8A, 0x11, 2), {B, D, SB, SD, SK, SG}},
    {63, 'A', 44250, 140250, 423250, 863250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {M, PM, PN}},
    {64, 'A', 55250, 163250, 463250, 801250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {M, PM, PN}},
    {65, 'A', 55250, 163250, 463250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(76000, 108000, 10700, 0x8A, 0x11, 3), {M, PM, PN}},
    {66, 'A', 55250, 163250, 463250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {M, PM, PN}},
    {67, 'A', 44250, 140250, 423250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 2, 1, 1, 0}, TRUE, kNoFM, {B, D, I, SB, SD, SL}},
    {68, 'A', 91250, 165250, 463250, 765250, 58750, {0x21, 0x22, 0x28}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, FM(76000, 91000, 10700, 0x8A, 0x11, 4), {M, MJ, PM, PN}},
    {69, 'A', 48250, 161250, 463250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87500, 108000, 10700, 0x8A, 0x11, 2), {B, D, SB, SD, SK, SG}},
    {70, 'A', 44250, 161250, 463250, 863250, 38900, {0x11, 0x12, 0x18}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, FM(87500, 108000, 10700, 0x8A, 0x21, 4), {B, D, I, SL, SB, SG, SD, SK}},
    {71, 'A', 55250, 163250, 463250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, {M}},
    {72, 'L', 49750, 147250, 425250, 863250, 38900, {0x01, 0x02, 0x08}, 0x8E, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {B, D, I, SB, SG, SD, SK}, 16},
    {73, 'L', 55250, 127250, 361250, 801250, 45750, {0x01, 0x02, 0x08}, 0x8E, 0xC1, 0xC0, {4, 2, 3, 1, 0}, FALSE, kNoFM, {M, MJ, PM, PN}},
    {74, 'L', 55250, 127250, 361250, 801250, 45750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, FALSE, kNoFM, {M, MJ, PM, PN}},
    {75, 'L', 48250, 140250, 423250, 855250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {B, D, I, SL}},
    {90, 'E', 42750, 147250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, {4, 2, 1, 1, 0}, FALSE, kNoFM, XCEIVE_STANDARDS, 0, 0x00},
    {91, 'E', 42750, 147250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, {4, 2, 1, 1, 0}, FALSE, kNoFM, XCEIVE_STANDARDS, 0, 0x00},
    {92, 'P', 48250, 160000, 442000, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, FM(87000, 107800, 10700, 0x88, 0x19, 4), {B, D, I, SL, SL1, SD, SK, SB, SG}},
    {93, 'P', 48250, 160000, 442000, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {B, D, I, SL, SL1, SB, SG, SD, SK}},
    {94, 'P', 55250, 160000, 442000, 801250, 45750, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {M, PM, PN}},
    {95, 'P', 48250, 170000, 450000, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC3, 0xC2, {4, 3, 2, 0, 1}, FALSE, kNoFM, {M, MJ, B, D, H, I, PM, PN, SB, SD, SG, SH, SL, SL1}},
    {96, 'P', 91250, 160000, 442000, 765250, 58750, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, {MJ}, 0, 0x40, MJ},
    {97, 'P', 48250, 160000, 442000, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {B, D, I, SL, SL1, SB, SG, SD, SK}},
    {98, 'P', 55250, 160000, 442000, 801250, 45750, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87500, 108000, 10700, 0xCE, 0x01, 4), {M, PM, PN}},
    {100, 'O', 91250, 165250, 463250, 765250, 58750, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {MJ}},
    {110, 'C', 48250, 140250, 423250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {B, SB, SG}},
    {111, 'P', 55250, 160000, 454000, 801250, 45750, {0xA0, 0x90, 0x30}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {M, MJ, N433}},
    {130, 'A', 48250, 161250, 464250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {B, D, SB, SD, SK}},
    {131, 'A', 49250, 160250, 464250, 863250, 38000, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {I, D, SD, SK}},
    {132, 'A', 44250, 161250, 463250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {D, I, B, SB, SG, SD, SK}},
    {133, 'A', 49750, 160250, 464250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, FALSE, kNoFM, {D, I, SD, SK}},
    {134, 'A', 49750, 160250, 464250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {D, I, SD, SK}},
    {136, 'E', 42750, 147250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, {4, 2, 1, 1, 0}, FALSE, kNoFM, XCEIVE_STANDARDS, 0, 0x00},
    {137, 'E', 42750, 147250, 425250, 863250, 0, {0x00, 0x00, 0x00}, 0x00, 0xC3, 0xC2, {4, 2, 1, 1, 0}, FALSE, kNoFM, XCEIVE_STANDARDS, 0, 0x00},
    {138, 'A', 49250, 160250, 464250, 863250, 38900, {0x01, 0x02, 0x08}, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87500, 108000, 10700, 0x8A, 0x11, 2), {I, D}, 62},
    {139, 'A', 44250, 161250, 463250, 863250, 38900, {0x01, 0x02, 0x04}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {B, D, I, G, SL, SL1}},
};

#undef XCEIVE_STANDARDS

// The modules with operations of their own; every other row is a CPllTunerModule.
struct OwnCreator {
    long model;
    TunerCreator create;
};
constexpr OwnCreator kOwnCreators[] = {
    {9, &CTuner_T9::Create},     {12, &CTuner_G12::Create},  {13, &CTuner_G13::Create},
    {17, &CTuner_T17::Create},   {59, &CTuner_A59::Create},  {62, &CTuner_A62::Create},
    {63, &CTuner_A63::Create},   {67, &CTuner_A67::Create},  {68, &CTNJ7752JFF_MK5::Create},
    {70, &CTuner_A70::Create},   {72, &CTuner_L72::Create},  {73, &CTuner_L73::Create},
    {75, &CTuner_L75::Create},   {92, &CTuner_P92::Create},  {93, &CTuner_P93::Create},
    {94, &CTuner_P94::Create},   {95, &CTuner_P95::Create},  {96, &CTuner_P96::Create},
    {97, &CTuner_P97::Create},   {98, &CTuner_P98::Create},  {100, &CTuner_O100::Create},
    {132, &CTuner_A132::Create}, {138, &CTuner_A138::Create}, {139, &CTuner_A139::Create},
    {90, &CTuner_E90::Create},   {91, &CXCeive2028::Create}, {136, &CXCeive3028::Create},
    {137, &CXCeive3028_SIF::Create},
};

constexpr TunerCreator CreatorOf(long model, TunerCreator plain)
{
    for (const OwnCreator& own : kOwnCreators)
        if (own.model == model) return own.create;
    return plain;
}

template <size_t Index>
CTunerBase* CreateRow(CCustomDataAccess* pAccess)
{
    return new CPllTunerModule(pAccess, kRows[Index]);
}

template <size_t... Index>
constexpr std::array<TunerModuleEntry, sizeof...(Index)> MakeEntries(std::index_sequence<Index...>)
{
    return {{{&kRows[Index], CreatorOf(kRows[Index].model, &CreateRow<Index>)}...}};
}

constexpr auto kEntries = MakeEntries(std::make_index_sequence<std::size(kRows)>());

const TunerModuleEntry* FindEntry(long model)
{
    for (const TunerModuleEntry& entry : kEntries)
        if (entry.row->model == model) return &entry;
    return nullptr;
}

}  // namespace

std::span<const TunerModuleEntry> TunerModuleEntries()
{
    return kEntries;
}

const TunerModuleRow* FindTunerModuleRow(long model)
{
    const TunerModuleEntry* entry = FindEntry(model);
    return entry != nullptr ? entry->row : nullptr;
}

TunerCreator FindTunerCreator(long model)
{
    const TunerModuleEntry* entry = FindEntry(model);
    return entry != nullptr ? entry->create : nullptr;
}

CPllTunerModule::CPllTunerModule(CCustomDataAccess* pAccess, const TunerModuleRow& row) : CTunerBase(pAccess)
{
    SetModule(row);
}

CPllTunerModule::~CPllTunerModule()
{
    StopScan();
}
