// The module table: one row per TUNER_MODEL number (tuner_rows::kRows), in key order, with the
// named module classes whose every operation is in their row's record. The table is a constant of
// this header, so a module class finds its row while compiling: CTunerModule<Model> of a model
// without a row does not build. A file that makes a module class includes this header.
#pragma once

#include <cstddef>
#include <iterator>

#include "tuners/PllTunerModule.h"
#include "tuners/StandardShorthand.h"
#include "tuners/TunerModuleOverrides.h"
#include "tuners/XCeive2028.h"
#include "tuners/XCeive3028.h"
#include "tuners/XCeive3028_SIF.h"

// The named module classes whose every operation is in their row's record.
using CTuner_T9 = CTunerModule<9>;
using CTuner_G12 = CTunerModule<12>;
using CTuner_G13 = CTunerModule<13>;
using CTuner_T17 = CTunerModule<17>;
using CTuner_A59 = CTunerModule<59>;
using CTuner_A62 = CTunerModule<62>;
using CTuner_A63 = CTunerModule<63>;
using CTuner_A67 = CTunerModule<67>;
using CTNJ7752JFF_MK5 = CTunerModule<68>;
using CTuner_A70 = CTunerModule<70>;
using CTuner_L72 = CTunerModule<72>;
using CTuner_L73 = CTunerModule<73>;
using CTuner_L75 = CTunerModule<75>;
using CTuner_P93 = CTunerModule<93>;
using CTuner_P94 = CTunerModule<94>;
using CTuner_P96 = CTunerModule<96>;
using CTuner_P98 = CTunerModule<98>;
using CTuner_A132 = CTunerModule<132>;
using CTuner_A138 = CTunerModule<138>;

namespace tuner_rows {

using namespace standard_shorthand;

inline constexpr TunerModuleFM kNoFM = {FALSE, 0, 0, 0, 0xCE, 0x01, 4};
// Models 60 and 61 store an FM description but have no FM receiver.
inline constexpr TunerModuleFM kStoredFM = {FALSE, 87500, 108000, 10700, 0xCE, 0x01, 9};

constexpr TunerModuleFM FM(long low, long high, long ifKHz, BYTE control, BYTE band, long lock)
{
    return {TRUE, low, high, ifKHz, control, band, lock};
}

// Frequency plans (lowest, low-band top, mid-band top, highest, IF) that several modules share,
// each named for the first module of the table that has it.
inline constexpr TunerRange kRangeT1 = {55250, 169250, 445250, 801250, 45750};
inline constexpr TunerRange kRangeT4 = {48250, 170000, 450000, 863250, 38900};
inline constexpr TunerRange kRangeT7 = {55250, 127250, 361250, 801250, 45750};
inline constexpr TunerRange kRangeG12 = {49750, 160250, 464250, 863250, 38900};
inline constexpr TunerRange kRangeX33 = {49750, 168250, 448250, 863250, 38900};
inline constexpr TunerRange kRangeA57 = {55250, 163250, 463250, 801250, 45750};
inline constexpr TunerRange kRangeA58 = {49250, 160250, 464250, 863250, 38900};
inline constexpr TunerRange kRangeA59 = {44250, 140250, 423250, 863250, 38900};
inline constexpr TunerRange kRangeA60 = {48250, 161250, 464250, 863250, 38900};
inline constexpr TunerRange kRangeA62 = {48250, 161250, 463250, 863250, 38900};
inline constexpr TunerRange kRangeA68 = {91250, 165250, 463250, 765250, 58750};
inline constexpr TunerRange kRangeA70 = {44250, 161250, 463250, 863250, 38900};
inline constexpr TunerRange kRangeE90 = {42750, 147250, 425250, 863250, 0};
inline constexpr TunerRange kRangeP92 = {48250, 160000, 442000, 863250, 38900};
inline constexpr TunerRange kRangeP94 = {55250, 160000, 442000, 801250, 45750};

// Band bytes (low, mid, high) that several modules share.
inline constexpr std::array<BYTE, 3> kBands010208 = {0x01, 0x02, 0x08};
inline constexpr std::array<BYTE, 3> kBands010204 = {0x01, 0x02, 0x04};
inline constexpr std::array<BYTE, 3> kBandsA09030 = {0xA0, 0x90, 0x30};
inline constexpr std::array<BYTE, 3> kNoBands = {0x00, 0x00, 0x00};

// FM descriptions that several modules share.
inline constexpr TunerModuleFM kFMT10 = FM(87000, 108000, 10700, 0x8A, 0xA5, 4);
inline constexpr TunerModuleFM kFMA62 = FM(87500, 108000, 10700, 0x8A, 0x11, 2);

// Standard lists that several modules share.
inline constexpr std::array<long, 18> kStdM_PM_PN = {M, PM, PN};
inline constexpr std::array<long, 18> kStdMJ = {MJ};
inline constexpr std::array<long, 18> kStdD_I_SD_SK = {D, I, SD, SK};
inline constexpr std::array<long, 18> kStdM_MJ_N433 = {M, MJ, N433};
inline constexpr std::array<long, 18> kStdB_D_SB_SG_SD_SK = {B, D, SB, SG, SD, SK};
inline constexpr std::array<long, 18> kStdB_D_I_SL_SL1_SB_SG_SD_SK = {B, D, I, SL, SL1, SB, SG, SD, SK};
inline constexpr std::array<long, 18> kStdD_I_B_SB_SG_SD_SK = {D, I, B, SB, SG, SD, SK};
inline constexpr std::array<long, 18> kStdB_SB_SG = {B, SB, SG};
inline constexpr std::array<long, 18> kStdB_D_SB_SD_SK_SG = {B, D, SB, SD, SK, SG};
inline constexpr std::array<long, 18> kStdM_MJ_PM_PN = {M, MJ, PM, PN};
inline constexpr std::array<long, 18> kStdXceive = {B, D, H, I, PM, PN, P60, SB, SD, SG, SH, SK, SK1, SL, SL1, M, MJ, N433};

// What the named module classes' operations do (the rows' .ops).

// The FM status reads near a station: 1 (both FM bits; centre nibbles 0-2 and 13-15), 2 (after
// the PLL's own read; either FM bit; centre 0-2 and 14-15), and 2 traced bit by bit.
inline constexpr DemodFMStatus kFMStatus1 = {FALSE, kFMCentre1, false, nullptr};
inline constexpr DemodFMStatus kFMStatus2 = {TRUE, kFMCentre2, true, nullptr};
inline constexpr DemodFMStatus kFMStatus2Traced = {TRUE, kFMCentre2, true, "CTNJ7752JFF_MK5 FM Status = "};

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

inline constexpr ModuleTvStatus kPllLockBit = {TvStatusRead::PllLockBit};
inline constexpr DemodTrace Steps = DemodTrace::Steps, Summary = DemodTrace::Summary;
inline constexpr SixthByte BySecam = SixthByte::BySecam, Fixed = SixthByte::Fixed;

// One row per tuner module, in key order: its class (none named: CPllTunerModule on the row's
// constants and the operations of CTunerBase), its constants and what its operations do (.ops).
// The card's factory makes every module from its row.
inline constexpr TunerModuleRow kRows[] = {
    {.model = 1, .factory = 'T', .range = kRangeT1,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdM_PM_PN, .secondModel = 17},
    {.model = 2, .factory = 'T', .range = kRangeT1,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = FALSE, .fm = FM(87000, 108000, 41250, 0x82, 0x05, 4), .standards = kStdM_PM_PN},
    {.model = 3, .factory = 'T', .range = {91000, 170000, 450000, 765000, 58750},
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC0, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdMJ},
    {.model = 4, .factory = 'T', .range = kRangeT4,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdD_I_SD_SK},
    {.model = 5, .factory = 'T', .range = kRangeT4,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = {B, D, SD, SK, SB, SG}},
    {.model = 7, .factory = 'T', .range = kRangeT7,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = kStdM_MJ_N433},
    {.model = 8, .factory = 'T', .range = {46250, 147250, 423250, 863250, 38900},
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = {B, D, G, H, I, PM, SL, SL1}},
    {.model = 9, .className = "CTuner_T9", .create = &CreateTuner<CTuner_T9>, .factory = 'T', .range = {55250, 157250, 439250, 801250, 45750},
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC0, .writeAddr = 0xC1, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = FM(87000, 108000, 10700, 0x8A, 0x19, 4), .standards = kStdM_PM_PN},
    {.model = 10, .factory = 'T', .range = kRangeT4,
     .band = kBandsA09030, .control = 0xC8, .readAddr = 0xC0, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kFMT10, .standards = kStdB_D_SB_SG_SD_SK},
    {.model = 11, .factory = 'T', .range = kRangeT4,
     .band = kBandsA09030, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = FM(87000, 107800, 10700, 0x8A, 0xA5, 4), .standards = kStdD_I_SD_SK},
    {.model = 12, .className = "CTuner_G12", .create = &CreateTuner<CTuner_G12>, .factory = 'G', .range = kRangeG12,
     .band = kBands010204, .control = 0xCE, .readAddr = 0x87, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = kStdB_D_I_SL_SL1_SB_SG_SD_SK,
     .ops = {.tv = Clamped(33900), .standard = &kDemodS1}},
    {.model = 13, .className = "CTuner_G13", .create = &CreateTuner<CTuner_G13>, .factory = 'G', .range = {45250, 161250, 463250, 855250, 38900},
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = kStdB_D_I_SL_SL1_SB_SG_SD_SK,
     .ops = {.tv = Clamped(33950), .standard = &kDemodS2}},
    {.model = 14, .factory = 'T', .range = kRangeT4,
     .band = kBandsA09030, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {2, 4, 3, 1, 0},
     .reapplyStandard = FALSE, .fm = kFMT10, .standards = {B, D, SB, SD, SG, SK}},
    {.model = 15, .factory = 'T', .range = kRangeT1,
     .band = kBandsA09030, .control = 0xCE, .readAddr = 0xC6, .writeAddr = 0xC7, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = FM(87000, 108000, 10700, 0x8A, 0xA5, 3), .standards = kStdM_PM_PN},
    {.model = 17, .className = "CTuner_T17", .create = &CreateTuner<CTuner_T17>, .factory = 'T', .range = {48250, 126250, 359250, 855250, 38900},
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = kStdD_I_B_SB_SG_SD_SK,
     .ops = {.standard = &kDemodS3}},
    {.model = 32, .factory = 'X', .range = {48250, 168250, 447250, 863250, 38900},
     .band = kBandsA09030, .control = 0xCE, .readAddr = 0xC3, .writeAddr = 0xC2, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdB_SB_SG},
    {.model = 33, .factory = 'X', .range = kRangeX33,
     .band = kBandsA09030, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdD_I_SD_SK},
    {.model = 34, .factory = 'X', .range = {55250, 169250, 451250, 863250, 45750},
     .band = kBandsA09030, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdM_PM_PN},
    {.model = 35, .factory = 'X', .range = kRangeX33,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdD_I_SD_SK},
    {.model = 50, .factory = 'A', .range = kRangeG12,
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = {D, I}},
    {.model = 52, .factory = 'A', .range = {48250, 161250, 463250, 855250, 38900},
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = {D, B, SB, SG, SD, SK}},
    {.model = 53, .factory = 'A', .range = {49750, 160250, 464250, 855250, 38000},
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = {D, SD, SK}, .secondModel = 52},
    {.model = 54, .factory = 'A', .range = {55250, 139250, 391250, 801250, 45750},
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdM_PM_PN, .secondModel = 56},
    {.model = 55, .factory = 'A', .range = {55250, 163250, 463250, 855250, 45750},
     .band = kBandsA09030, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = FM(87500, 108000, 10700, 0x8A, 0xA5, 4), .standards = kStdM_PM_PN, .secondModel = 57},
    {.model = 56, .factory = 'A', .range = {91250, 165250, 463250, 769250, 58750},
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdMJ, .secondModel = 54},
    {.model = 57, .factory = 'A', .range = kRangeA57,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdM_PM_PN, .secondModel = 55},
    {.model = 58, .factory = 'A', .range = kRangeA58,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = FM(87500, 108000, 10700, 0x8A, 0x11, 3), .standards = kStdD_I_SD_SK},
    {.model = 59, .className = "CTuner_A59", .create = &CreateTuner<CTuner_A59>, .factory = 'A', .range = kRangeA59,
     .band = kBands010208, .control = 0x8E, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = {B, G, D, I, SB, SG, SD, SK},
     .ops = {.tv = Shifted(250.0f), .standard = &kDemodF2}},
    {.model = 60, .factory = 'A', .range = kRangeA60,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 1, 3, 0},
     .reapplyStandard = FALSE, .fm = kStoredFM, .standards = kStdB_D_SB_SG_SD_SK},
    {.model = 61, .factory = 'A', .range = kRangeA57,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC0, .writeAddr = 0xC1, .afc = {4, 2, 1, 3, 0},
     .reapplyStandard = TRUE, .fm = kStoredFM, .standards = {PN, PM}},
    {.model = 62, .className = "CTuner_A62", .create = &CreateTuner<CTuner_A62>, .factory = 'A', .range = kRangeA62,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 1, 1, 0},
     .reapplyStandard = FALSE, .fm = kFMA62, .standards = kStdB_D_SB_SD_SK_SG},
    {.model = 63, .className = "CTuner_A63", .create = &CreateTuner<CTuner_A63>, .factory = 'A', .range = {44250, 140250, 423250, 863250, 45750},
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdM_PM_PN,
     .ops = {.tv = Shifted(250.0f), .standard = &kDemodF3}},
    {.model = 64, .factory = 'A', .range = kRangeA57,
     .band = kBandsA09030, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdM_PM_PN},
    {.model = 65, .factory = 'A', .range = kRangeA57,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = FM(76000, 108000, 10700, 0x8A, 0x11, 3), .standards = kStdM_PM_PN},
    {.model = 66, .factory = 'A', .range = kRangeA57,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdM_PM_PN},
    {.model = 67, .className = "CTuner_A67", .create = &CreateTuner<CTuner_A67>, .factory = 'A', .range = kRangeA59,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 1, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = {B, D, I, SB, SD, SL},
     .ops = {.tv = Shifted(250.0f), .tvStatus = kPllLockBit, .standard = &kDemodS4}},
    {.model = 68, .className = "CTNJ7752JFF_MK5", .create = &CreateTuner<CTNJ7752JFF_MK5>, .factory = 'A', .range = kRangeA68,
     .band = {0x21, 0x22, 0x28}, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = FM(76000, 91000, 10700, 0x8A, 0x11, 4), .standards = kStdM_MJ_PM_PN,
     .ops = {.tvStatus = Demod(kAfcMapB, Steps), .standard = &kDemodS5, .fmAfterTuning = &kDemodFM2, .fmStatus = &kFMStatus2Traced}},
    {.model = 69, .factory = 'A', .range = kRangeA62,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kFMA62, .standards = kStdB_D_SB_SD_SK_SG},
    {.model = 70, .className = "CTuner_A70", .create = &CreateTuner<CTuner_A70>, .factory = 'A', .range = kRangeA70,
     .band = {0x11, 0x12, 0x18}, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = FM(87500, 108000, 10700, 0x8A, 0x21, 4), .standards = {B, D, I, SL, SB, SG, SD, SK},
     .ops = {.tvStatus = Demod(kAfcMapD, Steps), .standard = &kDemodS6, .fmAfterTuning = &kDemodFM2, .fmStatus = &kFMStatus2}},
    {.model = 71, .factory = 'A', .range = kRangeA57,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = {M}},
    {.model = 72, .className = "CTuner_L72", .create = &CreateTuner<CTuner_L72>, .factory = 'L', .range = {49750, 147250, 425250, 863250, 38900},
     .band = kBands010208, .control = 0x8E, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = {B, D, I, SB, SG, SD, SK}, .secondModel = 16,
     .ops = {.standard = &kDemodF1}},
    {.model = 73, .className = "CTuner_L73", .create = &CreateTuner<CTuner_L73>, .factory = 'L', .range = kRangeT7,
     .band = kBands010208, .control = 0x8E, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdM_MJ_PM_PN},
    {.model = 74, .factory = 'L', .range = kRangeT7,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdM_MJ_PM_PN},
    {.model = 75, .className = "CTuner_L75", .create = &CreateTuner<CTuner_L75>, .factory = 'L', .range = {48250, 140250, 423250, 855250, 38900},
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = {B, D, I, SL},
     .ops = {.tvStatus = Demod(kAfcMapC, Steps), .standard = &kDemodS7}},
    {.model = 90, .className = "CTuner_E90", .create = &CreateTuner<CTuner_E90>, .factory = 'E', .range = kRangeE90,
     .band = kNoBands, .control = 0x00, .readAddr = 0xC3, .writeAddr = 0xC2, .afc = {4, 2, 1, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdXceive, .secondModel = 0, .lockMask = 0x00},
    {.model = 91, .className = "CXCeive2028", .create = &CreateTuner<CXCeive2028>, .factory = 'E', .range = kRangeE90,
     .band = kNoBands, .control = 0x00, .readAddr = 0xC3, .writeAddr = 0xC2, .afc = {4, 2, 1, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdXceive, .secondModel = 0, .lockMask = 0x00},
    {.model = 92, .className = "CTuner_P92", .create = &CreateTuner<CTuner_P92>, .factory = 'P', .range = kRangeP92,
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = FM(87000, 107800, 10700, 0x88, 0x19, 4), .standards = {B, D, I, SL, SL1, SD, SK, SB, SG},
     .ops = {.tv = Clamped(33900, BySecam), .tvStatus = Demod(kAfcMapA, Summary), .standard = &kDemodS8}},
    {.model = 93, .className = "CTuner_P93", .create = &CreateTuner<CTuner_P93>, .factory = 'P', .range = kRangeP92,
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = kStdB_D_I_SL_SL1_SB_SG_SD_SK,
     .ops = {.tv = Clamped(0, BySecam), .tvStatus = Demod(kAfcMapB, Summary), .standard = &kDemodS9}},
    {.model = 94, .className = "CTuner_P94", .create = &CreateTuner<CTuner_P94>, .factory = 'P', .range = kRangeP94,
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdM_PM_PN,
     .ops = {.tvStatus = Demod(kAfcMapA, Summary), .standard = &kDemodF4}},
    {.model = 95, .className = "CTuner_P95", .create = &CreateTuner<CTuner_P95>, .factory = 'P', .range = kRangeT4,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC3, .writeAddr = 0xC2, .afc = {4, 3, 2, 0, 1},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = {M, MJ, B, D, H, I, PM, PN, SB, SD, SG, SH, SL, SL1}},
    {.model = 96, .className = "CTuner_P96", .create = &CreateTuner<CTuner_P96>, .factory = 'P', .range = {91250, 160000, 442000, 765250, 58750},
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = kStdMJ, .secondModel = 0, .lockMask = 0x40, .currentStandard = MJ,
     .ops = {.tv = Clamped(0, Fixed, 0x50), .tvStatus = Demod(kAfcMapA, Summary), .standard = &kDemodF5}},
    {.model = 97, .className = "CTuner_P97", .create = &CreateTuner<CTuner_P97>, .factory = 'P', .range = kRangeP92,
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = kStdB_D_I_SL_SL1_SB_SG_SD_SK,
     .ops = {.tv = Clamped(), .tvStatus = Demod(kAfcMapC, Steps, kDemodAddress), .standard = &kDemodS9}},
    {.model = 98, .className = "CTuner_P98", .create = &CreateTuner<CTuner_P98>, .factory = 'P', .range = kRangeP94,
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = FM(87500, 108000, 10700, 0xCE, 0x01, 4), .standards = kStdM_PM_PN,
     .ops = {.tvStatus = Demod(kAfcMapA, Summary), .standard = &kDemodF4, .fmAfterTuning = &kDemodFM1, .fmStatus = &kFMStatus1}},
    {.model = 100, .className = "CTuner_O100", .create = &CreateTuner<CTuner_O100>, .factory = 'O', .range = kRangeA68,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = kStdMJ,
     .ops = {.tvStatus = Demod(kAfcMapB, Steps), .standard = &kDemodO100}},
    {.model = 110, .factory = 'C', .range = {48250, 140250, 423250, 863250, 38900},
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdB_SB_SG},
    {.model = 111, .factory = 'P', .range = {55250, 160000, 454000, 801250, 45750},
     .band = kBandsA09030, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = kStdM_MJ_N433},
    {.model = 130, .factory = 'A', .range = kRangeA60,
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = {B, D, SB, SD, SK}},
    {.model = 131, .factory = 'A', .range = {49250, 160250, 464250, 863250, 38000},
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = {I, D, SD, SK}},
    {.model = 132, .className = "CTuner_A132", .create = &CreateTuner<CTuner_A132>, .factory = 'A', .range = kRangeA70,
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = kStdD_I_B_SB_SG_SD_SK,
     .ops = {.tvStatus = Demod(kAfcMapC, Steps), .standard = &kDemodS10}},
    {.model = 133, .factory = 'A', .range = kRangeG12,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdD_I_SD_SK},
    {.model = 134, .factory = 'A', .range = kRangeG12,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdD_I_SD_SK},
    {.model = 136, .className = "CXCeive3028", .create = &CreateTuner<CXCeive3028>, .factory = 'E', .range = kRangeE90,
     .band = kNoBands, .control = 0x00, .readAddr = 0xC3, .writeAddr = 0xC2, .afc = {4, 2, 1, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdXceive, .secondModel = 0, .lockMask = 0x00},
    {.model = 137, .className = "CXCeive3028_SIF", .create = &CreateTuner<CXCeive3028_SIF>, .factory = 'E', .range = kRangeE90,
     .band = kNoBands, .control = 0x00, .readAddr = 0xC3, .writeAddr = 0xC2, .afc = {4, 2, 1, 1, 0},
     .reapplyStandard = FALSE, .fm = kNoFM, .standards = kStdXceive, .secondModel = 0, .lockMask = 0x00},
    {.model = 138, .className = "CTuner_A138", .create = &CreateTuner<CTuner_A138>, .factory = 'A', .range = kRangeA58,
     .band = kBands010208, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 3, 2, 1, 0},
     .reapplyStandard = FALSE, .fm = kFMA62, .standards = {I, D}, .secondModel = 62},
    {.model = 139, .className = "CTuner_A139", .create = &CreateTuner<CTuner_A139>, .factory = 'A', .range = kRangeA70,
     .band = kBands010204, .control = 0xCE, .readAddr = 0xC1, .writeAddr = 0xC0, .afc = {4, 2, 3, 1, 0},
     .reapplyStandard = TRUE, .fm = kNoFM, .standards = {B, D, I, G, SL, SL1},
     .ops = {.standard = &kDemodA139}},
};

// Where model's row stands in the table; the table's size for a model without one.
constexpr std::size_t TunerModuleRowIndex(long model)
{
    std::size_t index = 0;
    while (index < std::size(kRows) && kRows[index].model != model) ++index;
    return index;
}

}  // namespace tuner_rows

// The row of model Model, found while compiling: a model without a row stops the build here.
template <long Model>
constexpr const TunerModuleRow& TunerModuleRowOf()
{
    constexpr std::size_t index = tuner_rows::TunerModuleRowIndex(Model);
    static_assert(index < std::size(tuner_rows::kRows), "a tuner module class names a model without a row in kRows");
    return tuner_rows::kRows[index];
}

template <long Model>
CTunerModule<Model>::CTunerModule(CCustomDataAccess* pAccess) : CPllTunerModule(pAccess, TunerModuleRowOf<Model>())
{
}
