// The tuner-module family: every module the factory can create, checked against the module
// table as the card makers give it, and tuned at its band edges.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <memory>
#include <sstream>
#include <string>

#include "support/BusAccess.h"
#include "support/CardBench.h"
#include "support/RecordingAccess.h"
#include "tuners/TunerModules.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/boards/Card.h"
#include "hwsim/bench/TunerFitting.h"

namespace {

// key | letter | lowest | low-band top | mid-band top | highest | IF | band bytes | control |
// read write | AFC values | re-apply | FM (range; IF; control band; lock value) | standards
const char kModuleTable[] = R"(
    1 | T | 55250 | 169250 | 445250 | 801250 | 45750 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | M PM PN
    2 | T | 55250 | 169250 | 445250 | 801250 | 45750 | 01 02 08 | CE | C1 C0 | 4,2,3,1,0 | no | 87000-108000; IF 41250; 82 05; lock 4 | M PM PN
    3 | T | 91000 | 170000 | 450000 | 765000 | 58750 | 01 02 08 | CE | C0 C0 | 4,2,3,1,0 | no | no | MJ
    4 | T | 48250 | 170000 | 450000 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | D I SD SK
    5 | T | 48250 | 170000 | 450000 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | B D SD SK SB SG
    7 | T | 55250 | 127250 | 361250 | 801250 | 45750 | 01 02 08 | CE | C1 C0 | 4,2,3,1,0 | yes | no | M MJ N433
    8 | T | 46250 | 147250 | 423250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | yes | no | B D G H I PM SL SL1
    9 | T | 55250 | 157250 | 439250 | 801250 | 45750 | 01 02 04 | CE | C0 C1 | 4,2,3,1,0 | yes | 87000-108000; IF 10700; 8A 19; lock 4 | M PM PN
    10 | T | 48250 | 170000 | 450000 | 863250 | 38900 | A0 90 30 | C8 | C0 C0 | 4,3,2,1,0 | no | 87000-108000; IF 10700; 8A A5; lock 4 | B D SB SG SD SK
    11 | T | 48250 | 170000 | 450000 | 863250 | 38900 | A0 90 30 | CE | C1 C0 | 4,3,2,1,0 | no | 87000-107800; IF 10700; 8A A5; lock 4 | D I SD SK
    12 | G | 49750 | 160250 | 464250 | 863250 | 38900 | 01 02 04 | CE | 87 C0 | 4,3,2,1,0 | yes | no | B D I SL SL1 SB SG SD SK
    13 | G | 45250 | 161250 | 463250 | 855250 | 38900 | 01 02 04 | CE | C1 C0 | 4,3,2,1,0 | yes | no | B D I SL SL1 SB SG SD SK
    14 | T | 48250 | 170000 | 450000 | 863250 | 38900 | A0 90 30 | CE | C1 C0 | 2,4,3,1,0 | no | 87000-108000; IF 10700; 8A A5; lock 4 | B D SB SD SG SK
    15 | T | 55250 | 169250 | 445250 | 801250 | 45750 | A0 90 30 | CE | C6 C7 | 4,3,2,1,0 | no | 87000-108000; IF 10700; 8A A5; lock 3 | M PM PN
    17 | T | 48250 | 126250 | 359250 | 855250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | yes | no | D I B SB SG SD SK
    32 | X | 48250 | 168250 | 447250 | 863250 | 38900 | A0 90 30 | CE | C3 C2 | 4,3,2,1,0 | no | no | B SB SG
    33 | X | 49750 | 168250 | 448250 | 863250 | 38900 | A0 90 30 | CE | C1 C0 | 4,3,2,1,0 | no | no | D I SD SK
    34 | X | 55250 | 169250 | 451250 | 863250 | 45750 | A0 90 30 | CE | C1 C0 | 4,3,2,1,0 | no | no | M PM PN
    35 | X | 49750 | 168250 | 448250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | D I SD SK
    50 | A | 49750 | 160250 | 464250 | 863250 | 38900 | 01 02 04 | CE | C1 C0 | 4,2,3,1,0 | no | no | D I
    52 | A | 48250 | 161250 | 463250 | 855250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | D B SB SG SD SK
    53 | A | 49750 | 160250 | 464250 | 855250 | 38000 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | D SD SK
    54 | A | 55250 | 139250 | 391250 | 801250 | 45750 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | M PM PN
    55 | A | 55250 | 163250 | 463250 | 855250 | 45750 | A0 90 30 | CE | C1 C0 | 4,3,2,1,0 | no | 87500-108000; IF 10700; 8A A5; lock 4 | M PM PN
    56 | A | 91250 | 165250 | 463250 | 769250 | 58750 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | MJ
    57 | A | 55250 | 163250 | 463250 | 801250 | 45750 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | M PM PN
    58 | A | 49250 | 160250 | 464250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | 87500-108000; IF 10700; 8A 11; lock 3 | D I SD SK
    59 | A | 44250 | 140250 | 423250 | 863250 | 38900 | 01 02 08 | 8E | C1 C0 | 4,2,3,1,0 | yes | no | B G D I SB SG SD SK
    60 | A | 48250 | 161250 | 464250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,2,1,3,0 | no | no | B D SB SG SD SK
    61 | A | 55250 | 163250 | 463250 | 801250 | 45750 | 01 02 08 | CE | C0 C1 | 4,2,1,3,0 | yes | no | PN PM
    62 | A | 48250 | 161250 | 463250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,1,1,0 | no | 87500-108000; IF 10700; 8A 11; lock 2 | B D SB SD SK SG
    63 | A | 44250 | 140250 | 423250 | 863250 | 45750 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | M PM PN
    64 | A | 55250 | 163250 | 463250 | 801250 | 45750 | A0 90 30 | CE | C1 C0 | 4,3,2,1,0 | no | no | M PM PN
    65 | A | 55250 | 163250 | 463250 | 801250 | 45750 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | 76000-108000; IF 10700; 8A 11; lock 3 | M PM PN
    66 | A | 55250 | 163250 | 463250 | 801250 | 45750 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | M PM PN
    67 | A | 44250 | 140250 | 423250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,2,1,1,0 | yes | no | B D I SB SD SL
    68 | A | 91250 | 165250 | 463250 | 765250 | 58750 | 21 22 28 | CE | C1 C0 | 4,2,3,1,0 | yes | 76000-91000; IF 10700; 8A 11; lock 4 | M MJ PM PN
    69 | A | 48250 | 161250 | 463250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | 87500-108000; IF 10700; 8A 11; lock 2 | B D SB SD SK SG
    70 | A | 44250 | 161250 | 463250 | 863250 | 38900 | 11 12 18 | CE | C1 C0 | 4,2,3,1,0 | yes | 87500-108000; IF 10700; 8A 21; lock 4 | B D I SL SB SG SD SK
    71 | A | 55250 | 163250 | 463250 | 801250 | 45750 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | yes | no | M
    72 | L | 49750 | 147250 | 425250 | 863250 | 38900 | 01 02 08 | 8E | C1 C0 | 4,2,3,1,0 | yes | no | B D I SB SG SD SK
    73 | L | 55250 | 127250 | 361250 | 801250 | 45750 | 01 02 08 | 8E | C1 C0 | 4,2,3,1,0 | no | no | M MJ PM PN
    74 | L | 55250 | 127250 | 361250 | 801250 | 45750 | 01 02 08 | CE | C1 C0 | 4,2,3,1,0 | no | no | M MJ PM PN
    75 | L | 48250 | 140250 | 423250 | 855250 | 38900 | 01 02 08 | CE | C1 C0 | 4,2,3,1,0 | yes | no | B D I SL
    90 | E | 42750 | 147250 | 425250 | 863250 | 0 | 00 00 00 | 00 | C3 C2 | 4,2,1,1,0 | no | no | B D H I PM PN P60 SB SD SG SH SK SK1 SL SL1 M MJ N433
    91 | E | 42750 | 147250 | 425250 | 863250 | 0 | 00 00 00 | 00 | C3 C2 | 4,2,1,1,0 | no | no | B D H I PM PN P60 SB SD SG SH SK SK1 SL SL1 M MJ N433
    92 | P | 48250 | 160000 | 442000 | 863250 | 38900 | 01 02 04 | CE | C1 C0 | 4,2,3,1,0 | yes | 87000-107800; IF 10700; 88 19; lock 4 | B D I SL SL1 SD SK SB SG
    93 | P | 48250 | 160000 | 442000 | 863250 | 38900 | 01 02 04 | CE | C1 C0 | 4,2,3,1,0 | yes | no | B D I SL SL1 SB SG SD SK
    94 | P | 55250 | 160000 | 442000 | 801250 | 45750 | 01 02 04 | CE | C1 C0 | 4,3,2,1,0 | no | no | M PM PN
    95 | P | 48250 | 170000 | 450000 | 863250 | 38900 | 01 02 08 | CE | C3 C2 | 4,3,2,0,1 | no | no | M MJ B D H I PM PN SB SD SG SH SL SL1
    96 | P | 91250 | 160000 | 442000 | 765250 | 58750 | 01 02 04 | CE | C1 C0 | 4,3,2,1,0 | yes | no | MJ
    97 | P | 48250 | 160000 | 442000 | 863250 | 38900 | 01 02 04 | CE | C1 C0 | 4,2,3,1,0 | yes | no | B D I SL SL1 SB SG SD SK
    98 | P | 55250 | 160000 | 442000 | 801250 | 45750 | 01 02 04 | CE | C1 C0 | 4,3,2,1,0 | no | 87500-108000; IF 10700; CE 01; lock 4 | M PM PN
    100 | O | 91250 | 165250 | 463250 | 765250 | 58750 | 01 02 08 | CE | C1 C0 | 4,2,3,1,0 | yes | no | MJ
    110 | C | 48250 | 140250 | 423250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | B SB SG
    111 | P | 55250 | 160000 | 454000 | 801250 | 45750 | A0 90 30 | CE | C1 C0 | 4,2,3,1,0 | yes | no | M MJ N433
    130 | A | 48250 | 161250 | 464250 | 863250 | 38900 | 01 02 04 | CE | C1 C0 | 4,3,2,1,0 | no | no | B D SB SD SK
    131 | A | 49250 | 160250 | 464250 | 863250 | 38000 | 01 02 04 | CE | C1 C0 | 4,3,2,1,0 | no | no | I D SD SK
    132 | A | 44250 | 161250 | 463250 | 863250 | 38900 | 01 02 04 | CE | C1 C0 | 4,2,3,1,0 | yes | no | D I B SB SG SD SK
    133 | A | 49750 | 160250 | 464250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,2,3,1,0 | no | no | D I SD SK
    134 | A | 49750 | 160250 | 464250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | no | D I SD SK
    136 | E | 42750 | 147250 | 425250 | 863250 | 0 | 00 00 00 | 00 | C3 C2 | 4,2,1,1,0 | no | no | B D H I PM PN P60 SB SD SG SH SK SK1 SL SL1 M MJ N433
    137 | E | 42750 | 147250 | 425250 | 863250 | 0 | 00 00 00 | 00 | C3 C2 | 4,2,1,1,0 | no | no | B D H I PM PN P60 SB SD SG SH SK SK1 SL SL1 M MJ N433
    138 | A | 49250 | 160250 | 464250 | 863250 | 38900 | 01 02 08 | CE | C1 C0 | 4,3,2,1,0 | no | 87500-108000; IF 10700; 8A 11; lock 2 | I D
    139 | A | 44250 | 161250 | 463250 | 863250 | 38900 | 01 02 04 | CE | C1 C0 | 4,2,3,1,0 | yes | no | B D I G SL SL1
)";

const std::map<long, long> kSecondModels = {{1, 17}, {53, 52}, {54, 56}, {55, 57}, {56, 54}, {57, 55}, {72, 16}, {138, 62}};

const std::map<std::string, long> kStandards = {
    {"M", AnalogVideo_NTSC_M},      {"MJ", AnalogVideo_NTSC_M_J},  {"N433", AnalogVideo_NTSC_433},
    {"B", AnalogVideo_PAL_B},       {"D", AnalogVideo_PAL_D},      {"G", AnalogVideo_PAL_G},
    {"H", AnalogVideo_PAL_H},       {"I", AnalogVideo_PAL_I},      {"PM", AnalogVideo_PAL_M},
    {"PN", AnalogVideo_PAL_N},      {"P60", AnalogVideo_PAL_60},   {"SB", AnalogVideo_SECAM_B},
    {"SD", AnalogVideo_SECAM_D},    {"SG", AnalogVideo_SECAM_G},   {"SH", AnalogVideo_SECAM_H},
    {"SK", AnalogVideo_SECAM_K},    {"SK1", AnalogVideo_SECAM_K1}, {"SL", AnalogVideo_SECAM_L},
    {"SL1", AnalogVideo_SECAM_L1},
};

struct Expected {
    long key = 0;
    char letter = 0;
    long lowest = 0, lowTop = 0, midTop = 0, highest = 0, ifKHz = 0;
    BYTE band[3] = {};
    BYTE control = 0, readAddr = 0, writeAddr = 0;
    long afc[5] = {};
    bool reapply = false;
    bool fm = false;
    long fmLow = 0, fmHigh = 0, fmIF = 0, fmLock = 4;
    BYTE fmControl = 0xCE, fmBand = 0x01;
    std::vector<long> standards;
};

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator)) {
        const size_t a = part.find_first_not_of(' ');
        const size_t b = part.find_last_not_of(' ');
        parts.push_back(a == std::string::npos ? "" : part.substr(a, b - a + 1));
    }
    return parts;
}

BYTE Hex(const std::string& text)
{
    return static_cast<BYTE>(std::stoul(text, nullptr, 16));
}

std::vector<Expected> ParseTable()
{
    std::vector<Expected> rows;
    for (const std::string& line : Split(kModuleTable, '\n')) {
        if (line.empty()) continue;
        auto cell = Split(line, '|');
        Expected row;
        row.key = std::stol(cell[0]);
        row.letter = cell[1][0];
        row.lowest = std::stol(cell[2]);
        row.lowTop = std::stol(cell[3]);
        row.midTop = std::stol(cell[4]);
        row.highest = std::stol(cell[5]);
        row.ifKHz = std::stol(cell[6]);
        auto bands = Split(cell[7], ' ');
        for (int i = 0; i < 3; ++i) row.band[i] = Hex(bands[i]);
        row.control = Hex(cell[8]);
        auto addresses = Split(cell[9], ' ');
        row.readAddr = Hex(addresses[0]);
        row.writeAddr = Hex(addresses[1]);
        auto afc = Split(cell[10], ',');
        for (int i = 0; i < 5; ++i) row.afc[i] = std::stol(afc[i]);
        row.reapply = cell[11] == "yes";
        if (cell[12] != "no") {
            auto fm = Split(cell[12], ';');  // "87000-108000", "IF 41250", "82 05", "lock 4"
            row.fm = true;
            row.fmLow = std::stol(fm[0].substr(0, fm[0].find('-')));
            row.fmHigh = std::stol(fm[0].substr(fm[0].find('-') + 1));
            row.fmIF = std::stol(fm[1].substr(3));
            auto bytes = Split(fm[2], ' ');
            row.fmControl = Hex(bytes[0]);
            row.fmBand = Hex(bytes[1]);
            row.fmLock = std::stol(fm[3].substr(5));
        }
        for (const std::string& name : Split(cell[13], ' ')) row.standards.push_back(kStandards.at(name));
        rows.push_back(row);
    }
    return rows;
}

// Modules whose tuning or status reads are their own, as their rows say (TunerDemodTests covers
// them).
bool OwnTuning(long model)
{
    const TunerModuleOps& ops = FindTunerModuleRow(model)->ops;
    return ops.tv.clamp || ops.tv.offsetKHz != 0.0f || ops.tvStatus.read != TvStatusRead::Pll;
}

std::vector<BYTE> PllWrite(BYTE address, double kHz, long ifKHz, BYTE control, BYTE band, double stepKHz)
{
    const long n = static_cast<long>((ifKHz + kHz) / stepKHz);
    return {address, BYTE(n >> 8), BYTE(n), control, band};
}

}  // namespace

TEST(TunerModules, TheFactoryHasOneCreatorPerTableRowAndNoneForOtherNumbers)
{
    const auto rows = ParseTable();
    ASSERT_EQ(rows.size(), 65u);
    ASSERT_EQ(TunerModuleEntries().size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(TunerModuleEntries()[i].row->model, rows[i].key);
        EXPECT_NE(FindTunerCreator(rows[i].key), nullptr) << rows[i].key;
    }
    for (long model : {0L, 6L, 16L, 18L, 51L, 99L, 101L, 135L, 140L, 255L}) EXPECT_EQ(FindTunerCreator(model), nullptr) << model;
}

TEST(TunerModules, EveryModuleCarriesTheConstantsOfItsRow)
{
    for (const Expected& row : ParseTable()) {
        SCOPED_TRACE("model " + std::to_string(row.key));
        RecordingAccess access;
        std::unique_ptr<CTunerBase> tuner(FindTunerCreator(row.key)(&access));
        EXPECT_EQ(tuner->GetModelCode(), row.key);
        EXPECT_EQ(tuner->GetFactory(), row.letter);
        auto second = kSecondModels.find(row.key);
        EXPECT_EQ(tuner->GetSecondModel(), second != kSecondModels.end() ? second->second : row.key);
        EXPECT_EQ(tuner->GetLowestFreq(), row.lowest);
        EXPECT_EQ(tuner->GetLowBandTop(), row.lowTop);
        EXPECT_EQ(tuner->GetMidBandTop(), row.midTop);
        EXPECT_EQ(tuner->GetHighestFreq(), row.highest);
        EXPECT_EQ(tuner->GetIF(), row.ifKHz);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(tuner->GetBandByte(i), row.band[i]);
        EXPECT_EQ(tuner->GetControlByte(), row.control);
        EXPECT_EQ(tuner->GetReadAddress(), row.readAddr);
        EXPECT_EQ(tuner->GetWriteAddress(), row.writeAddr);
        const bool xceive = row.key == 90 || row.key == 91 || row.key == 136 || row.key == 137;
        EXPECT_EQ(tuner->GetLockMask(), xceive ? 0x00 : 0x40);
        const long afc[5] = {tuner->GetAfcValue1(), tuner->GetAfcValue2(), tuner->GetAfcValue3(), tuner->GetAfcValue4(),
                             tuner->GetAfcValue5()};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(afc[i], row.afc[i]) << "AFC value " << i + 1;
        EXPECT_EQ(tuner->GetReapplyStandard() != FALSE, row.reapply);
        EXPECT_EQ(tuner->IsFMCapable() != FALSE, row.fm);
        if (row.fm) {
            EXPECT_EQ(tuner->GetFMRangeLow(), row.fmLow);
            EXPECT_EQ(tuner->GetFMRangeHigh(), row.fmHigh);
            EXPECT_EQ(tuner->GetFMIF(), row.fmIF);
            EXPECT_EQ(tuner->GetFMControlByte(), row.fmControl);
            EXPECT_EQ(tuner->GetFMBandByte(), row.fmBand);
            EXPECT_EQ(tuner->GetFMLockValue(), row.fmLock);
        } else if (row.key == 60 || row.key == 61) {
            // An FM description without an FM receiver.
            EXPECT_EQ(tuner->GetFMRangeLow(), 87500);
            EXPECT_EQ(tuner->GetFMRangeHigh(), 108000);
            EXPECT_EQ(tuner->GetFMIF(), 10700);
            EXPECT_EQ(tuner->GetFMLockValue(), 9);
            EXPECT_FALSE(tuner->SetFMScanRange(87500, 108000));
        } else {
            EXPECT_EQ(tuner->GetFMRangeLow(), 0);
            EXPECT_EQ(tuner->GetFMRangeHigh(), 0);
            EXPECT_EQ(tuner->GetFMIF(), 0);
        }
        EXPECT_EQ(tuner->GetSupportedStandards(), row.standards);
        EXPECT_EQ(tuner->GetCurrentStandard(), row.key == 96 ? AnalogVideo_NTSC_M_J : AnalogVideo_PAL_B);
        // Sweep defaults stay those of the base, whatever the module's band.
        EXPECT_EQ(tuner->GetSweepRangeLow(), 48250);
        EXPECT_EQ(tuner->GetSweepRangeHigh(), 863250);
    }
}

TEST(TunerModules, EveryPllModuleTunesItsBandEdgesWithItsOwnBytes)
{
    for (const Expected& row : ParseTable()) {
        if (row.key == 95 || OwnTuning(row.key)) continue;  // tunes through its own chips
        if (row.key == 90 || row.key == 91 || row.key == 136 || row.key == 137) continue;  // Xceive: firmware, no PLL
        SCOPED_TRACE("model " + std::to_string(row.key));
        RecordingAccess access;
        std::unique_ptr<CTunerBase> tuner(FindTunerCreator(row.key)(&access));
        access.Clear();
        EXPECT_FALSE(tuner->SetTVChannelFreq(static_cast<float>(row.lowest) - 0.25f));
        EXPECT_FALSE(tuner->SetTVChannelFreq(static_cast<float>(row.highest) + 0.25f));
        EXPECT_TRUE(access.Calls().empty());
        const long points[4] = {row.lowest, row.lowTop, row.midTop, row.highest};
        const int bands[4] = {0, 1, 2, 2};
        for (int i = 0; i < 4; ++i) EXPECT_TRUE(tuner->SetTVChannelFreq(static_cast<float>(points[i])));
        auto writes = access.BlockWrites();
        ASSERT_EQ(writes.size(), 4u);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(writes[i], PllWrite(row.writeAddr, points[i], row.ifKHz, row.control, row.band[bands[i]], 62.5)) << i;

        access.Clear();
        DWORD status = 0;
        tuner->GetTVChannelOkay(&status);
        ASSERT_FALSE(access.Calls().empty());
        EXPECT_EQ(access.Calls()[0], (AccessCall{AccessCall::ReadBlock, {row.readAddr}}));

        if (row.fm) {
            access.Clear();
            EXPECT_TRUE(tuner->SetFMChannelFreq(static_cast<float>(row.fmHigh) + 500.0f));
            ASSERT_EQ(access.BlockWrites().size(), 1u);
            EXPECT_EQ(access.BlockWrites()[0], PllWrite(row.writeAddr, row.fmHigh, row.fmIF, row.fmControl, row.fmBand, 31.25));
        } else {
            EXPECT_FALSE(tuner->StartScan(FALSE, FALSE));
        }
    }
}

// ---- against the simulated cards ----

// The simulated fitting answers with each module's own addresses, IF and AFC codes: every PLL
// module of the table has its row there, and nothing else has one.
TEST(TunerModules, TheSimulatedFittingOfEveryPllModuleIsTheModulesOwn)
{
    size_t pllModules = 0;
    for (const TunerModuleEntry& entry : TunerModuleEntries()) {
        const TunerModuleRow& row = *entry.row;
        if (row.model == 95 || row.lockMask == 0) continue;  // not a PLL module
        ++pllModules;
        SCOPED_TRACE("model " + std::to_string(row.model));
        const hwsim::PllFitting* fitting = hwsim::FindPllFitting(static_cast<int>(row.model));
        ASSERT_NE(fitting, nullptr);
        EXPECT_EQ(fitting->address7, row.writeAddr >> 1);
        EXPECT_EQ(fitting->ifKHz, row.range.ifKHz);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(fitting->afcCodes[i], row.afc[i]) << "AFC value " << i + 1;
    }
    EXPECT_EQ(hwsim::PllFittings().size(), pllModules);
}

// Each module tuned on a card fitted with it, through the card's real access class, reports its
// own lock value on a station and no lock off one.
using ModulesOnCards = CardBench;

TEST_F(ModulesOnCards, EveryPllModuleLocksOnAStationThroughTheCardsAccessClass)
{
    for (const TunerModuleEntry& entry : TunerModuleEntries()) {
        const TunerModuleRow& row = *entry.row;
        if (row.model == 95 || row.lockMask == 0 || OwnTuning(row.model)) continue;  // not a plain PLL module
        if ((row.readAddr >> 1) != (row.writeAddr >> 1)) continue;  // status from an IF demodulator
        SCOPED_TRACE("model " + std::to_string(row.model));
        const long station = (row.range.lowBandTop + row.range.midBandTop) / 2;
        const std::string model = std::to_string(row.model);
        const std::string bench = R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": )" + model +
                                  R"(}, {"kind": "713x_4 TV Card Capture", "tuner": )" + model +
                                  R"(}], "stations": [{"kHz": )" + std::to_string(station) + "}]}";
        Load(bench.c_str());
        for (hwsim::Card* board : {&Board(0), &Board(1)}) {
            SCOPED_TRACE(board->FriendlyName());
            std::unique_ptr<CCustomDataAccess> access(NewAccess(*board));
            std::unique_ptr<CTunerBase> tuner(entry.create(access.get()));
            ASSERT_TRUE(tuner->SetTVChannelFreq(static_cast<float>(station)));
            EXPECT_TRUE(tuner->IsTVChannelLocked());
            DWORD status = 0;
            EXPECT_TRUE(tuner->GetTVChannelOkay(&status));
            EXPECT_EQ(static_cast<long>(status), row.afc[2]);
            ASSERT_TRUE(tuner->SetTVChannelFreq(static_cast<float>(station) - 125.0f));
            EXPECT_TRUE(tuner->GetTVChannelOkay(&status));
            EXPECT_EQ(static_cast<long>(status), row.afc[0]) << "tuned far below the station";
            ASSERT_TRUE(tuner->SetTVChannelFreq(static_cast<float>(station + 2000)));
            EXPECT_FALSE(tuner->IsTVChannelLocked());
            EXPECT_FALSE(hwsim::TunerSeesPicture(*board));
        }
    }
}

// A bench of both card kinds fitted with several modules (lock values 3, 1, 2 and 3): the card's
// table scan finds the stations on air, and only those.
TEST_F(ModulesOnCards, TableScanOfEachCardFindsTheStationsOnAir)
{
    Load(R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 2},
                       {"kind": "713x_4 TV Card Capture", "tuner": 67},
                       {"kind": "713x BDA Analog Capture", "tuner": 5},
                       {"kind": "713x_4 TV Card Capture", "tuner": 72}],
             "stations": [{"kHz": 183250}, {"kHz": 471250}, {"kHz": 711250}]})");
    const float table[5] = {183.25f, 215.25f, 471.25f, 503.25f, 711.25f};
    const std::vector<long> onAir = {183250, 471250, 711250};
    const int models[4] = {2, 67, 5, 72};
    std::map<std::string, int> instances;
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE("model " + std::to_string(models[i]));
        CTVCardFilter* card = OpenCard(Board(i), instances[Board(i).FriendlyName()]++);
        ASSERT_NE(card, nullptr);
        ASSERT_TRUE(card->SetTunerModel(models[i]));
        ASSERT_TRUE(card->SetChannelTable(table, 5));
        ScanRecorder window;
        card->SetNotifyWindow(window.Window());
        ASSERT_TRUE(card->StartScan(TRUE, FALSE));
        ASSERT_TRUE(window.WaitForEnd());
        std::vector<long> found;
        for (const auto& step : window.steps)
            if (step.found != 0) found.push_back(static_cast<long>(step.kHz));
        EXPECT_EQ(found, onAir);
    }
}
