// The register tables of the IF demodulators beside the PLL tuner modules.
#include "tuners/DemodTables.h"

#include "tuners/StandardShorthand.h"

namespace {

using namespace standard_shorthand;
constexpr long kAny = 0;  // a column no standard names: only ever the fallback

constexpr DemodColumn kS1[] = {{B, {0x56, 0x70, 0x09}}, {I, {0x56, 0x70, 0x0A}}, {D, {0x56, 0x70, 0x0B}},
                               {SL, {0x46, 0x70, 0x0B}}, {SL1, {0xC6, 0x70, 0x13}}};
constexpr DemodColumn kS2[] = {{B, {0x56, 0x70, 0x09}}, {I, {0x56, 0x70, 0x0A}}, {D, {0x56, 0x70, 0x0B}},
                               {SL, {0x46, 0x50, 0x4B}}, {SL1, {0xC6, 0x50, 0x13}}};
constexpr DemodColumn kS3[] = {{B, {0x52, 0x70, 0x09}}, {I, {0x52, 0x70, 0x0A}}, {D, {0x52, 0x70, 0x0B}}};
constexpr DemodColumn kS4[] = {{B | SB, {0x16, 0x70, 0x49}}, {D | SD, {0x16, 0x70, 0x4B}}, {I, {0x16, 0x70, 0x4A}},
                               {SL, {0x06, 0x50, 0x4B}}};
constexpr DemodColumn kS5[] = {{M, {0x16, 0x70, 0x00}}, {MJ, {0x16, 0x70, 0x00}}};
constexpr DemodColumn kS6[] = {{B, {0x16, 0x70, 0x49}}, {D, {0x16, 0x70, 0x4B}}, {I, {0x16, 0x30, 0x4A}},
                               {SB | SD | SG | SK | SL, {0x06, 0x50, 0x4B}}};
constexpr DemodColumn kS7[] = {{B, {0x16, 0x70, 0x49}}, {I, {0x16, 0x70, 0x4B}}, {D, {0xD6, 0x70, 0x4A}},
                               {SL, {0x06, 0x70, 0x4B}}, {SL1, {0x86, 0x70, 0x47}}};
constexpr DemodColumn kS8[] = {{B, {0x16, 0x70, 0x49}},  {D, {0x16, 0x70, 0x4B}},  {I, {0x16, 0x70, 0x4A}},
                               {SL, {0x06, 0x50, 0x4B}}, {SL1, {0x86, 0x50, 0x53}}, {SD | SK, {0x16, 0x70, 0x4B}}};
constexpr DemodColumn kS9[] = {{B, {0x16, 0x70, 0x49}}, {D, {0x16, 0x70, 0x4B}}, {I, {0x16, 0x70, 0x4A}},
                               {SL, {0x06, 0x50, 0x4B}}, {SL1, {0x86, 0x50, 0x53}}};
constexpr DemodColumn kS10[] = {{B, {0xD6, 0x30, 0x49}}, {I, {0xD6, 0x30, 0x4A}}, {D, {0xD6, 0x30, 0x4A}}};

constexpr DemodColumn kF1[] = {{B, {0xD6, 0x70, 0x49}}, {D, {0xD6, 0x70, 0x4B}}, {kAny, {0xD6, 0x70, 0x4A}}};
constexpr DemodColumn kF2[] = {{B | G, {0xD6, 0x70, 0x49}}, {D, {0xD6, 0x70, 0x4B}}, {kAny, {0xD6, 0x70, 0x4A}}};
constexpr DemodColumn kF3[] = {{kAny, {0xD6, 0x30, 0x00}}};
constexpr DemodColumn kF4[] = {{kAny, {0x56, 0x30, 0x44}}};
constexpr DemodColumn kF5[] = {{kAny, {0x56, 0x30, 0x40}}};

constexpr DemodColumn kFM1[] = {{kAny, {0x0A, 0x90, 0x20}}};
constexpr DemodColumn kFM2[] = {{kAny, {0x5D, 0x10, 0x00}}};
constexpr DemodColumn kO100[] = {{kAny, {0xD0, 0x0D, 0x80}}};
constexpr DemodColumn kA139[] = {{B | G, {0x16, 0x70, 0x09}}, {I, {0x16, 0x70, 0x0A}}, {D, {0x16, 0x70, 0x0B}},
                                 {SL, {0x06, 0x50, 0x4B}},    {SL1, {0x86, 0x50, 0x53}}};

constexpr DemodWrite R = DemodWrite::Registers, K = DemodWrite::Blocks, Q = DemodWrite::Sequence;

}  // namespace

const DemodColumn* PickDemodColumn(const DemodTable& table, long standard)
{
    for (const DemodColumn& column : table.columns)
        if (standard != 0 && (column.standards & standard) == standard) return &column;
    if (table.fallback < 0 || static_cast<size_t>(table.fallback) >= table.columns.size()) return nullptr;
    return &table.columns[static_cast<size_t>(table.fallback)];
}

// Model 12's table S1 goes to its second demodulator at 0x56. Table S3 sits at 0x86 like the
// others (0x43 is the same device's 7-bit address).
constinit const DemodTable kDemodS1 = {0x56, R, kS1, 0, 100};
constinit const DemodTable kDemodS2 = {kDemodAddress, R, kS2, 0, 100};
constinit const DemodTable kDemodS3 = {kDemodAddress, K, kS3, 0, 0};
constinit const DemodTable kDemodS4 = {kDemodAddress, R, kS4, 0, 0};
constinit const DemodTable kDemodS5 = {kDemodAddress, R, kS5, 0, 0};
constinit const DemodTable kDemodS6 = {kDemodAddress, R, kS6, 0, 0};
constinit const DemodTable kDemodS7 = {kDemodAddress, R, kS7, 0, 0};
constinit const DemodTable kDemodS8 = {kDemodAddress, R, kS8, 0, 0};
constinit const DemodTable kDemodS9 = {kDemodAddress, R, kS9, 0, 0};
constinit const DemodTable kDemodS10 = {kDemodAddress, K, kS10, 0, 0};

constinit const DemodTable kDemodF1 = {kDemodAddress, Q, kF1, 2, 0};
constinit const DemodTable kDemodF2 = {kDemodAddress, Q, kF2, 2, 0};
constinit const DemodTable kDemodF3 = {kDemodAddress, Q, kF3, 0, 0};
constinit const DemodTable kDemodF4 = {kDemodAddress, Q, kF4, 0, 0};
constinit const DemodTable kDemodF5 = {kDemodAddress, Q, kF5, 0, 0};

constinit const DemodTable kDemodFM1 = {kDemodAddress, Q, kFM1, 0, 0};
constinit const DemodTable kDemodFM2 = {kDemodAddress, R, kFM2, 0, 0};
constinit const BYTE kDemodFMPrepare[5] = {kDemodAddress, 0x00, 0x5A, 0x90, 0x20};
constinit const DemodTable kDemodO100 = {kDemodAddress, R, kO100, 0, 0};
constinit const DemodTable kDemodA139 = {kDemodAddress, K, kA139, -1, 0};

//                                nibble: 0  1  2  3  4  5  6  7  8  9 10 11 12 13 14 15
constinit const AfcMap kAfcMapA = {3, 2, 2, 2, 4, 4, 4, 4, 0, 0, 0, 0, 1, 1, 1, 3};
constinit const AfcMap kAfcMapB = {3, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 3};
constinit const AfcMap kAfcMapC = {3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 3};
constinit const AfcMap kAfcMapD = {3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3};
