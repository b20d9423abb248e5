// The library's vocabulary: product types with their names and product-ID bytes, tuner models
// with their names, subsystem ids and maker letters, and the orders in which the writer's tables
// are filled.
#include "Tables.h"

namespace dunmorra_tables {

// productID -1: the product-id table has no row for the type.
const ProductRow kProductRows[] = {
    {0, "Unknown", -1},
    {4, "Ambrel", 0x20},
    {5, "Bosquin", 0x20},
    {6, "Caldrith", 0x20},
    {7, "Dravin", 0xE0},
    {8, "Elvath", 0x24},
    {9, "Fennor", 0x21},
    {10, "Hoskar", 0x22},
    {11, "Isgrim", 0x23},
    {12, "Jalvor", 0x24},
    {13, "Kervin", 0x25},
    {14, "Lodrin", 0x26},
    {20, "Nerrow", 0x30},
    {22, "Pendrel", 0x24},
    {23, "Quarrin", 0x31},
    {24, "Rivesk", 0x32},
    {25, "Sandrel", 0x33},
    {26, "Ulbrin", 0x34},
    {27, "Ogmund", 0x35},
    {28, "Yelvin", 0x36},
    {29, "Ombrit", 0x20},
    {30, "Belvor", 0x21},
    {31, "Corlish", 0x42},
    {32, "Elgrin", 0x43},
    {33, "Dalvren", 0x34},
    {34, "Fimbrel", 0x44},
    {35, "Garvish", 0x45},
    {36, "Kolvir", 0x46},
    {38, "Morvish", 0x48},
    {39, "Lentor", 0x49},
    {60, "Zarrel", 0x60},
    {65, "Jorsk", 0x65},
    {70, "Helmic", 0x70},
    {80, "Ivlen", 0x80},
    {81, "Nalder", 0x81},
    {82, "Oskelm", 0x82},
    {83, "Parnish", -1},
    {84, "Keshar A+D", 0x83},
};
const int kProductRowCount = sizeof(kProductRows) / sizeof(kProductRows[0]);

const TunerRow kTunerRows[] = {
    {0, "MODEL_UNKNOWN", 0, 'N'},
    {1, "TCL2002N_1", 17, 'T'},
    {2, "TCL2002N_1F", 2, 'T'},
    {3, "TCL2002NJ_5", 3, 'T'},
    {4, "TCL2002MI_3", 4, 'T'},
    {5, "TCL2002MB_3", 5, 'T'},
    {7, "F07WP_4NR_E", 7, 'T'},
    {8, "F05WT_3BAR", 8, 'T'},
    {9, "MFO2GIP_5N_E", 9, 'T'},
    {10, "TCL2002MB_1F", 10, 'T'},
    {11, "TCL2002MI_1F", 11, 'T'},
    {12, "MODEL_JS_2PC", 12, 'G'},
    {13, "JS_6B2", 13, 'G'},
    {14, "TCL2002MB_33F", 14, 'T'},
    {15, "TCL9809N_1F", 15, 'T'},
    {17, "TCL9886P_WM", 17, 'T'},
    {32, "XINFA_TDQ_6B_B", 32, 'X'},
    {33, "XINFA_TDQ_6B_DI", 33, 'X'},
    {34, "XINFA_TDQ_6B_N", 34, 'X'},
    {35, "XINFA_TDQ_6B4_DI", 35, 'X'},
    {50, "TNF8357DIF", 50, 'A'},
    {52, "TNF8532BF", 52, 'A'},
    {53, "TNF8532DF", 53, 'A'},
    {54, "TNF8532MF", 56, 'A'},
    {55, "TNF5831MFF", 57, 'A'},
    {56, "TNF5532JF", 54, 'A'},
    {57, "TNF5532MF", 55, 'A'},
    {58, "TNF9835", 58, 'A'},
    {59, "TNJ3321PF", 59, 'A'},
    {60, "TNF9535BDF", 60, 'A'},
    {61, "TNF7532PRF", 61, 'A'},
    {62, "TNF9835BDFF", 62, 'A'},
    {63, "TNJ3321MF", 63, 'A'},
    {64, "TNF5531MF", 64, 'A'},
    {65, "TNF5835MFF", 65, 'A'},
    {66, "TNF5535MF", 66, 'A'},
    {67, "TNJ3321CF", 67, 'A'},
    {68, "TNJ7752JFF_MK5", 68, 'A'},
    {69, "TNF9935BDFF", 69, 'A'},
    {70, "TNJ8852CFF", 70, 'A'},
    {71, "TNJ7357MF", 71, 'A'},
    {72, "LGM200T", 16, 'L'},
    {73, "LGH200T", 73, 'L'},
    {74, "LGH202T", 74, 'L'},
    {75, "LGS200T", 75, 'L'},
    {90, "XCEIVE3028", 90, 'E'},
    {91, "XCEIVE2028", 91, 'E'},
    {92, "PHILIPS1216", 92, 'P'},
    {93, "FQ1216ME", 93, 'P'},
    {94, "FQ1236F", 94, 'P'},
    {95, "PHILIPSTDA8275A", 95, 'P'},
    {96, "PHILIPSFQ1286", 96, 'P'},
    {97, "FQ1216ME_5", 97, 'P'},
    {98, "FM1236MK3", 98, 'P'},
    {100, "PANOSONIC_ENGE4326D", 100, 'O'},
    {110, "FS5_1A5_BG1", 110, 'C'},
    {111, "FI1236MK2", 111, 'P'},
    {130, "TNF9533BDF", 130, 'A'},
    {131, "TNF9533DIF", 131, 'A'},
    {132, "TNJ8352PF", 132, 'A'},
    {133, "TNF9535DIF", 133, 'A'},
    {134, "TNF8022", 134, 'A'},
    {135, "TDVBC", 135, 'D'},
    {136, "XCEIVE3028AF", 136, 'E'},
    {137, "XCEIVE3028SIF", 137, 'E'},
    {138, "TNF9835DIFF", 138, 'A'},
    {139, "TNJ8355CF", 139, 'A'},
};
const int kTunerRowCount = sizeof(kTunerRows) / sizeof(kTunerRows[0]);

const int kSubsystemTableOrder[] = {
    0, 1, 2, 3, 4, 5, 10, 11, 12, 13, 32, 33, 34, 35, 50, 52,
    53, 54, 55, 56, 57, 58, 92, 93, 14, 15, 72, 73, 17, 59, 60, 61,
    62, 94, 63, 74, 95, 96, 64, 65, 134, 100, 66, 97, 98, 67, 71, 75,
    68, 110, 69, 70, 130, 131, 132, 133, 90, 91, 135, 136, 137, 138, 9, 8,
    7, 111, 139,
};
const int kSubsystemTableOrderCount = sizeof(kSubsystemTableOrder) / sizeof(kSubsystemTableOrder[0]);

const int kTunerNameTableOrder[] = {
    0, 1, 2, 3, 4, 5, 10, 11, 12, 13, 32, 33, 34, 35, 50, 52,
    53, 54, 55, 56, 57, 58, 134, 92, 93, 14, 15, 72, 73, 17, 59, 60,
    61, 62, 94, 63, 74, 95, 96, 64, 65, 100, 66, 97, 98, 67, 71, 75,
    68, 110, 69, 70, 130, 131, 132, 133, 90, 91, 135, 136, 137, 138, 9, 8,
    7, 111, 139,
};
const int kTunerNameTableOrderCount = sizeof(kTunerNameTableOrder) / sizeof(kTunerNameTableOrder[0]);

const int kProductIdTableOrder[] = {
    4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 20, 22, 23, 24, 25,
    26, 27, 28, 60, 29, 30, 31, 33, 32, 34, 35, 70, 80, 65, 36, 39,
    38, 81, 82, 84,
};
const int kProductIdTableOrderCount = sizeof(kProductIdTableOrder) / sizeof(kProductIdTableOrder[0]);

const int kProductNameTableOrder[] = {
    0, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 20, 22, 23, 24,
    25, 26, 27, 28, 60, 29, 30, 31, 33, 32, 34, 35, 70, 80, 65, 36,
    39, 38, 81, 82, 83, 84,
};
const int kProductNameTableOrderCount = sizeof(kProductNameTableOrder) / sizeof(kProductNameTableOrder[0]);

}  // namespace dunmorra_tables

namespace dunmorra_tables {

const ProductRow* FindProductRow(int productType) {
    for (int i = 0; i < kProductRowCount; ++i)
        if (kProductRows[i].productType == productType) return &kProductRows[i];
    return nullptr;
}

const TunerRow* FindTunerRow(int tunerModel) {
    for (int i = 0; i < kTunerRowCount; ++i)
        if (kTunerRows[i].tunerModel == tunerModel) return &kTunerRows[i];
    return nullptr;
}

}  // namespace dunmorra_tables
