#include "tuners/TunerModules.h"

#include <utility>

#include "tuners/PllTunerModule.h"
#include "tuners/StandardShorthand.h"
#include "tuners/TunerModuleOverrides.h"
#include "tuners/XCeive2028.h"
#include "tuners/XCeive3028.h"
#include "tuners/XCeive3028_SIF.h"

namespace {

using namespace standard_shorthand;

constexpr TunerModuleFM kNoFM = {FALSE, 0, 0, 0, 0xCE, 0x01, 4};
// Models 60 and 61 store an FM description but have no FM receiver.
constexpr TunerModuleFM kStoredFM = {FALSE, 87500, 108000, 10700, 0xCE, 0x01, 9};

constexpr TunerModuleFM FM(long low, long high, long ifKHz, BYTE control, BYTE band, long lock)
{
    return {TRUE, low, high, ifKHz, control, band, lock};
}

// Frequency plans (lowest, low-band top, mid-band top, highest, IF) that several modules share,
// each named for the first module of the table that has it.
constexpr TunerRange kRangeT1 = {55250, 169250, 445250, 801250, 45750};
constexpr TunerRange kRangeT4 = {48250, 170000, 450000, 863250, 38900};
constexpr TunerRange kRangeT7 = {55250, 127250, 361250, 801250, 45750};
constexpr TunerRange kRangeG12 = {49750, 160250, 464250, 863250, 38900};
constexpr TunerRange kRangeX33 = {49750, 168250, 448250, 863250, 38900};
constexpr TunerRange kRangeA57 = {55250, 163250, 463250, 801250, 45750};
constexpr TunerRange kRangeA58 = {49250, 160250, 464250, 863250, 38900};
constexpr TunerRange kRangeA59 = {44250, 140250, 423250, 863250, 38900};
constexpr TunerRange kRangeA60 = {48250, 161250, 464250, 863250, 38900};
constexpr TunerRange kRangeA62 = {48250, 161250, 463250, 863250, 38900};
constexpr TunerRange kRangeA68 = {91250, 165250, 463250, 765250, 58750};
constexpr TunerRange kRangeA70 = {44250, 161250, 463250, 863250, 38900};
constexpr TunerRange kRangeE90 = {42750, 147250, 425250, 863250, 0};
constexpr TunerRange kRangeP92 = {48250, 160000, 442000, 863250, 38900};
constexpr TunerRange kRangeP94 = {55250, 160000, 442000, 801250, 45750};

// Band bytes (low, mid, high) that several modules share.
constexpr std::array<BYTE, 3> kBands010208 = {0x01, 0x02, 0x08};
constexpr std::array<BYTE, 3> kBands010204 = {0x01, 0x02, 0x04};
constexpr std::array<BYTE, 3> kBandsA09030 = {0xA0, 0x90, 0x30};
constexpr std::array<BYTE, 3> kNoBands = {0x00, 0x00, 0x00};

// FM descriptions that several modules share.
constexpr TunerModuleFM kFMT10 = FM(87000, 108000, 10700, 0x8A, 0xA5, 4);
constexpr TunerModuleFM kFMA62 = FM(87500, 108000, 10700, 0x8A, 0x11, 2);

// Standard lists that several modules share.
constexpr std::array<long, 18> kStdM_PM_PN = {M, PM, PN};
constexpr std::array<long, 18> kStdMJ = {MJ};
constexpr std::array<long, 18> kStdD_I_SD_SK = {D, I, SD, SK};
constexpr std::array<long, 18> kStdM_MJ_N433 = {M, MJ, N433};
constexpr std::array<long, 18> kStdB_D_SB_SG_SD_SK = {B, D, SB, SG, SD, SK};
constexpr std::array<long, 18> kStdB_D_I_SL_SL1_SB_SG_SD_SK = {B, D, I, SL, SL1, SB, SG, SD, SK};
constexpr std::array<long, 18> kStdD_I_B_SB_SG_SD_SK = {D, I, B, SB, SG, SD, SK};
constexpr std::array<long, 18> kStdB_SB_SG = {B, SB, SG};
constexpr std::array<long, 18> kStdB_D_SB_SD_SK_SG = {B, D, SB, SD, SK, SG};
constexpr std::array<long, 18> kStdM_MJ_PM_PN = {M, MJ, PM, PN};
constexpr std::array<long, 18> kStdXceive = {B, D, H, I, PM, PN, P60, SB, SD, SG, SH, SK, SK1, SL, SL1, M, MJ, N433};

// key, letter, frequency plan, band bytes, control byte, read and write address, AFC values,
// re-apply standard, FM, standards [, second model, lock mask, current standard]
constexpr TunerModuleRow kRows[] = {
    {1, 'T', kRangeT1, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdM_PM_PN, 17},
    {2, 'T', kRangeT1, kBands010208, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, FALSE, FM(87000, 108000, 41250, 0x82, 0x05, 4), kStdM_PM_PN},
    {3, 'T', {91000, 170000, 450000, 765000, 58750}, kBands010208, 0xCE, 0xC0, 0xC0, {4, 2, 3, 1, 0}, FALSE, kNoFM, kStdMJ},
    {4, 'T', kRangeT4, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdD_I_SD_SK},
    {5, 'T', kRangeT4, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {B, D, SD, SK, SB, SG}},
    {7, 'T', kRangeT7, kBands010208, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, kStdM_MJ_N433},
    {8, 'T', {46250, 147250, 423250, 863250, 38900}, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, {B, D, G, H, I, PM, SL, SL1}},
    {9, 'T', {55250, 157250, 439250, 801250, 45750}, kBands010204, 0xCE, 0xC0, 0xC1, {4, 2, 3, 1, 0}, TRUE, FM(87000, 108000, 10700, 0x8A, 0x19, 4), kStdM_PM_PN},
    {10, 'T', kRangeT4, kBandsA09030, 0xC8, 0xC0, 0xC0, {4, 3, 2, 1, 0}, FALSE, kFMT10, kStdB_D_SB_SG_SD_SK},
    {11, 'T', kRangeT4, kBandsA09030, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87000, 107800, 10700, 0x8A, 0xA5, 4), kStdD_I_SD_SK},
    {12, 'G', kRangeG12, kBands010204, 0xCE, 0x87, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, kStdB_D_I_SL_SL1_SB_SG_SD_SK},
    {13, 'G', {45250, 161250, 463250, 855250, 38900}, kBands010204, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, kStdB_D_I_SL_SL1_SB_SG_SD_SK},
    {14, 'T', kRangeT4, kBandsA09030, 0xCE, 0xC1, 0xC0, {2, 4, 3, 1, 0}, FALSE, kFMT10, {B, D, SB, SD, SG, SK}},
    {15, 'T', kRangeT1, kBandsA09030, 0xCE, 0xC6, 0xC7, {4, 3, 2, 1, 0}, FALSE, FM(87000, 108000, 10700, 0x8A, 0xA5, 3), kStdM_PM_PN},
    {17, 'T', {48250, 126250, 359250, 855250, 38900}, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, kStdD_I_B_SB_SG_SD_SK},
    {32, 'X', {48250, 168250, 447250, 863250, 38900}, kBandsA09030, 0xCE, 0xC3, 0xC2, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdB_SB_SG},
    {33, 'X', kRangeX33, kBandsA09030, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdD_I_SD_SK},
    {34, 'X', {55250, 169250, 451250, 863250, 45750}, kBandsA09030, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdM_PM_PN},
    {35, 'X', kRangeX33, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdD_I_SD_SK},
    {50, 'A', kRangeG12, kBands010204, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, FALSE, kNoFM, {D, I}},
    {52, 'A', {48250, 161250, 463250, 855250, 38900}, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {D, B, SB, SG, SD, SK}},
    {53, 'A', {49750, 160250, 464250, 855250, 38000}, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {D, SD, SK}, 52},
    {54, 'A', {55250, 139250, 391250, 801250, 45750}, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdM_PM_PN, 56},
    {55, 'A', {55250, 163250, 463250, 855250, 45750}, kBandsA09030, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87500, 108000, 10700, 0x8A, 0xA5, 4), kStdM_PM_PN, 57},
    {56, 'A', {91250, 165250, 463250, 769250, 58750}, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdMJ, 54},
    {57, 'A', kRangeA57, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdM_PM_PN, 55},
    {58, 'A', kRangeA58, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87500, 108000, 10700, 0x8A, 0x11, 3), kStdD_I_SD_SK},
    {59, 'A', kRangeA59, kBands010208, 0x8E, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {B, G, D, I, SB, SG, SD, SK}},
    {60, 'A', kRangeA60, kBands010208, 0xCE, 0xC1, 0xC0, {4, 2, 1, 3, 0}, FALSE, kStoredFM, kStdB_D_SB_SG_SD_SK},
    {61, 'A', kRangeA57, kBands010208, 0xCE, 0xC0, 0xC1, {4, 2, 1, 3, 0}, TRUE, kStoredFM, {PN, PM}},
    {62, 'A', kRangeA62, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 1, 1, 0}, FALSE, kFMA62, kStdB_D_SB_SD_SK_SG},
    {63, 'A', {44250, 140250, 423250, 863250, 45750}, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdM_PM_PN},
    {64, 'A', kRangeA57, kBandsA09030, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdM_PM_PN},
    {65, 'A', kRangeA57, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(76000, 108000, 10700, 0x8A, 0x11, 3), kStdM_PM_PN},
    {66, 'A', kRangeA57, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdM_PM_PN},
    {67, 'A', kRangeA59, kBands010208, 0xCE, 0xC1, 0xC0, {4, 2, 1, 1, 0}, TRUE, kNoFM, {B, D, I, SB, SD, SL}},
    {68, 'A', kRangeA68, {0x21, 0x22, 0x28}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, FM(76000, 91000, 10700, 0x8A, 0x11, 4), kStdM_MJ_PM_PN},
    {69, 'A', kRangeA62, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kFMA62, kStdB_D_SB_SD_SK_SG},
    {70, 'A', kRangeA70, {0x11, 0x12, 0x18}, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, FM(87500, 108000, 10700, 0x8A, 0x21, 4), {B, D, I, SL, SB, SG, SD, SK}},
    {71, 'A', kRangeA57, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, {M}},
    {72, 'L', {49750, 147250, 425250, 863250, 38900}, kBands010208, 0x8E, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {B, D, I, SB, SG, SD, SK}, 16},
    {73, 'L', kRangeT7, kBands010208, 0x8E, 0xC1, 0xC0, {4, 2, 3, 1, 0}, FALSE, kNoFM, kStdM_MJ_PM_PN},
    {74, 'L', kRangeT7, kBands010208, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, FALSE, kNoFM, kStdM_MJ_PM_PN},
    {75, 'L', {48250, 140250, 423250, 855250, 38900}, kBands010208, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {B, D, I, SL}},
    {90, 'E', kRangeE90, kNoBands, 0x00, 0xC3, 0xC2, {4, 2, 1, 1, 0}, FALSE, kNoFM, kStdXceive, 0, 0x00},
    {91, 'E', kRangeE90, kNoBands, 0x00, 0xC3, 0xC2, {4, 2, 1, 1, 0}, FALSE, kNoFM, kStdXceive, 0, 0x00},
    {92, 'P', kRangeP92, kBands010204, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, FM(87000, 107800, 10700, 0x88, 0x19, 4), {B, D, I, SL, SL1, SD, SK, SB, SG}},
    {93, 'P', kRangeP92, kBands010204, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, kStdB_D_I_SL_SL1_SB_SG_SD_SK},
    {94, 'P', kRangeP94, kBands010204, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdM_PM_PN},
    {95, 'P', kRangeT4, kBands010208, 0xCE, 0xC3, 0xC2, {4, 3, 2, 0, 1}, FALSE, kNoFM, {M, MJ, B, D, H, I, PM, PN, SB, SD, SG, SH, SL, SL1}},
    {96, 'P', {91250, 160000, 442000, 765250, 58750}, kBands010204, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, TRUE, kNoFM, kStdMJ, 0, 0x40, MJ},
    {97, 'P', kRangeP92, kBands010204, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, kStdB_D_I_SL_SL1_SB_SG_SD_SK},
    {98, 'P', kRangeP94, kBands010204, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, FM(87500, 108000, 10700, 0xCE, 0x01, 4), kStdM_PM_PN},
    {100, 'O', kRangeA68, kBands010208, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, kStdMJ},
    {110, 'C', {48250, 140250, 423250, 863250, 38900}, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdB_SB_SG},
    {111, 'P', {55250, 160000, 454000, 801250, 45750}, kBandsA09030, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, kStdM_MJ_N433},
    {130, 'A', kRangeA60, kBands010204, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {B, D, SB, SD, SK}},
    {131, 'A', {49250, 160250, 464250, 863250, 38000}, kBands010204, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, {I, D, SD, SK}},
    {132, 'A', kRangeA70, kBands010204, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, kStdD_I_B_SB_SG_SD_SK},
    {133, 'A', kRangeG12, kBands010208, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, FALSE, kNoFM, kStdD_I_SD_SK},
    {134, 'A', kRangeG12, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kNoFM, kStdD_I_SD_SK},
    {136, 'E', kRangeE90, kNoBands, 0x00, 0xC3, 0xC2, {4, 2, 1, 1, 0}, FALSE, kNoFM, kStdXceive, 0, 0x00},
    {137, 'E', kRangeE90, kNoBands, 0x00, 0xC3, 0xC2, {4, 2, 1, 1, 0}, FALSE, kNoFM, kStdXceive, 0, 0x00},
    {138, 'A', kRangeA58, kBands010208, 0xCE, 0xC1, 0xC0, {4, 3, 2, 1, 0}, FALSE, kFMA62, {I, D}, 62},
    {139, 'A', kRangeA70, kBands010204, 0xCE, 0xC1, 0xC0, {4, 2, 3, 1, 0}, TRUE, kNoFM, {B, D, I, G, SL, SL1}},
};

// ---- the records beside the rows: the named module classes and their operations ----

// The FM status reads near a station: 1 (both FM bits; centre nibbles 0-2 and 13-15), 2 (after
// the PLL's own read; either FM bit; centre 0-2 and 14-15), and 2 traced bit by bit.
constexpr DemodFMStatus kFMStatus1 = {FALSE, kFMCentre1, false, nullptr};
constexpr DemodFMStatus kFMStatus2 = {TRUE, kFMCentre2, true, nullptr};
constexpr DemodFMStatus kFMStatus2Traced = {TRUE, kFMCentre2, true, "CTNJ7752JFF_MK5 FM Status = "};

// The PLL write of CTunerBase at the asked frequency plus kHz.
constexpr ModuleTvTuning Shifted(float kHz)
{
    return {.offsetKHz = kHz};
}

// Clamped into the module's range, with an L' IF for SECAM_L1 (0: none) and a sixth byte.
constexpr ModuleTvTuning Clamped(long lPrimeIF = 0, SixthByte sixth = SixthByte::None, BYTE sixthByte = 0)
{
    return {.clamp = true, .lPrimeIF = lPrimeIF, .sixth = sixth, .sixthByte = sixthByte};
}

// The IF demodulator's AFC nibble through the map, read at 0x87 unless the record says where.
constexpr ModuleTvStatus Demod(const AfcMap& map, DemodTrace trace, BYTE address = kDemodReadAddress)
{
    return {TvStatusRead::Demod, address, &map, trace};
}

constexpr ModuleTvStatus kPllLockBit = {TvStatusRead::PllLockBit};
constexpr DemodTrace Steps = DemodTrace::Steps, Summary = DemodTrace::Summary;
constexpr SixthByte BySecam = SixthByte::BySecam, Fixed = SixthByte::Fixed;

struct NamedModule {
    long model;
    TunerCreator create;
    TunerModuleOps ops;  // the CPllTunerModule classes' operations
};

// Every row not named here is a CPllTunerModule with the operations of CTunerBase.
constexpr NamedModule kNamedModules[] = {
    {9, &CreateTuner<CTuner_T9>, {}},
    {12, &CreateTuner<CTuner_G12>, {.tv = Clamped(33900), .standard = &kDemodS1}},
    {13, &CreateTuner<CTuner_G13>, {.tv = Clamped(33950), .standard = &kDemodS2}},
    {17, &CreateTuner<CTuner_T17>, {.standard = &kDemodS3}},
    {59, &CreateTuner<CTuner_A59>, {.tv = Shifted(250.0f), .standard = &kDemodF2}},
    {62, &CreateTuner<CTuner_A62>, {}},
    {63, &CreateTuner<CTuner_A63>, {.tv = Shifted(250.0f), .standard = &kDemodF3}},
    {67, &CreateTuner<CTuner_A67>, {.tv = Shifted(250.0f), .tvStatus = kPllLockBit, .standard = &kDemodS4}},
    {68, &CreateTuner<CTNJ7752JFF_MK5>,
     {.tvStatus = Demod(kAfcMapB, Steps), .standard = &kDemodS5, .fmAfterTuning = &kDemodFM2, .fmStatus = &kFMStatus2Traced}},
    {70, &CreateTuner<CTuner_A70>,
     {.tvStatus = Demod(kAfcMapD, Steps), .standard = &kDemodS6, .fmAfterTuning = &kDemodFM2, .fmStatus = &kFMStatus2}},
    {72, &CreateTuner<CTuner_L72>, {.standard = &kDemodF1}},
    {73, &CreateTuner<CTuner_L73>, {}},
    {75, &CreateTuner<CTuner_L75>, {.tvStatus = Demod(kAfcMapC, Steps), .standard = &kDemodS7}},
    {92, &CreateTuner<CTuner_P92>, {.tv = Clamped(33900, BySecam), .tvStatus = Demod(kAfcMapA, Summary), .standard = &kDemodS8}},
    {93, &CreateTuner<CTuner_P93>, {.tv = Clamped(0, BySecam), .tvStatus = Demod(kAfcMapB, Summary), .standard = &kDemodS9}},
    {94, &CreateTuner<CTuner_P94>, {.tvStatus = Demod(kAfcMapA, Summary), .standard = &kDemodF4}},
    {95, &CreateTuner<CTuner_P95>, {}},
    {96, &CreateTuner<CTuner_P96>, {.tv = Clamped(0, Fixed, 0x50), .tvStatus = Demod(kAfcMapA, Summary), .standard = &kDemodF5}},
    {97, &CreateTuner<CTuner_P97>, {.tv = Clamped(), .tvStatus = Demod(kAfcMapC, Steps, kDemodAddress), .standard = &kDemodS9}},
    {98, &CreateTuner<CTuner_P98>,
     {.tvStatus = Demod(kAfcMapA, Summary), .standard = &kDemodF4, .fmAfterTuning = &kDemodFM1, .fmStatus = &kFMStatus1}},
    {100, &CreateTuner<CTuner_O100>, {.tvStatus = Demod(kAfcMapB, Steps), .standard = &kDemodO100}},
    {132, &CreateTuner<CTuner_A132>, {.tvStatus = Demod(kAfcMapC, Steps), .standard = &kDemodS10}},
    {138, &CreateTuner<CTuner_A138>, {}},
    {139, &CreateTuner<CTuner_A139>, {.standard = &kDemodA139}},
    // The Xceive tuners: classes of their own (XCeive*.h), no record.
    {90, &CreateTuner<CTuner_E90>, {}},
    {91, &CreateTuner<CXCeive2028>, {}},
    {136, &CreateTuner<CXCeive3028>, {}},
    {137, &CreateTuner<CXCeive3028_SIF>, {}},
};

constexpr TunerModuleOps kPlainOps = {};

constexpr const NamedModule* FindNamed(long model)
{
    for (const NamedModule& named : kNamedModules)
        if (named.model == model) return &named;
    return nullptr;
}

constexpr TunerCreator CreatorOf(long model, TunerCreator plain)
{
    const NamedModule* named = FindNamed(model);
    return named != nullptr ? named->create : plain;
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

const TunerModuleOps& FindTunerModuleOps(long model)
{
    const NamedModule* named = FindNamed(model);
    return named != nullptr ? named->ops : kPlainOps;
}
