// The display names of the tuner models this library knows.
#include "graph/TunerModelNames.h"

#include <mutex>
#include <utility>

namespace {

// The tuner models this library names, in the order they are appended to the table.
const std::pair<TUNER_MODEL, const char*> kTunerModelRows[] = {
    {MODEL_UNKNOWN, "MODEL_UNKNOWN"},
    {TCL2002N_1, "TCL2002N_1"},
    {TCL2002N_1F, "TCL2002N_1F"},
    {TCL2002NJ_5, "TCL2002NJ_5"},
    {TCL2002MI_3, "TCL2002MI_3"},
    {TCL2002MB_3, "TCL2002MB_3"},
    {TCL2002MB_1F, "TCL2002MB_1F"},
    {TCL2002MI_1F, "TCL2002MI_1F"},
    {MODEL_JS_2PC, "MODEL_JS_2PC"},
    {JS_6B2, "JS_6B2"},
    {XINFA_TDQ_6B_B, "XINFA_TDQ_6B_B"},
    {XINFA_TDQ_6B_DI, "XINFA_TDQ_6B_DI"},
    {XINFA_TDQ_6B_N, "XINFA_TDQ_6B_N"},
    {XINFA_TDQ_6B4_DI, "XINFA_TDQ_6B4_DI"},
    {TNF8357DIF, "TNF8357DIF"},
    {TNF8532BF, "TNF8532BF"},
    {TNF8532DF, "TNF8532DF"},
    {TNF8532MF, "TNF8532MF"},
    {TNF5831MFF, "TNF5831MFF"},
    {TNF5532JF, "TNF5532JF"},
    {TNF5532MF, "TNF5532MF"},
    {TNF9835, "TNF9835"},
    {TNJ3321PF, "TNJ3321PF"},
    {TNF8022, "TNF8022"},
    {LGM200T, "LGM200T"},
    {LGH200T, "LGH200T"},
    {LGH202T, "LGH202T"},
    {PHILIPS1216, "PHILIPS1216"},
    {FQ1216ME, "FQ1216ME"},
    {TCL2002MB_33F, "TCL2002MB_33F"},
    {TCL9809N_1F, "TCL9809N_1F"},
    {TCL9886P_WM, "TCL9886P_WM"},
    {TNF9535BDF, "TNF9535BDF"},
    {TNF7532PRF, "TNF7532PRF"},
    {TNF9835BDFF, "TNF9835BDFF"},
    {TNJ3321MF, "TNJ3321MF"},
    {FQ1236F, "FQ1236F"},
    {PHILIPSTDA8275A, "PHILIPSTDA8275A"},
    {PHILIPSFQ1286, "PHILIPSFQ1286"},
    {TNF5531MF, "TNF5531MF"},
    {TNF5835MFF, "TNF5835MFF"},
    {PANOSONIC_ENGE4326D, "PANOSONIC_ENGE4326D"},
    {TNF5535MF, "TNF5535MF"},
    {FQ1216ME_5, "FQ1216ME_5"},
    {FM1236MK3, "FM1236MK3"},
    {TNJ3321CF, "TNJ3321CF"},
    {TNJ7752JFF_MK5, "TNJ7752JFF_MK5"},
    {LGS200T, "LGS200T"},
    {TNF9935BDFF, "TNF9935BDFF"},
    {FS5_1A5_BG1, "FS5_1A5_BG1"},
    {TNJ8852CFF, "TNJ8852CFF"},
    {TNF9533BDF, "TNF9533BDF"},
    {TNJ8352PF, "TNJ8352PF"},
    {TNJ7357MF, "TNJ7357MF"},
    {TNF9535DIF, "TNF9535DIF"},
    {XCEIVE3028, "XCEIVE3028"},
    {XCEIVE2028, "XCEIVE2028"},
    {TDVBC, "TDVBC"},
    {XCEIVE3028AF, "XCEIVE3028AF"},
    {XCEIVE3028SIF, "XCEIVE3028SIF"},
    {TNF9835DIFF, "TNF9835DIFF"},
    {MFO2GIP_5N_E, "MFO2GIP_5N_E"},
    {F07WP_4NR_E, "F07WP_4NR_E"},
    {F05WT_3BAR, "F05WT_3BAR"},
    {FI1236MK2, "FI1236MK2"},
    {TNJ8355CF, "TNJ8355CF"},
};

std::mutex& FillLock() {
    static std::mutex lock;
    return lock;
}

CTunerModelNames& Table() {
    static CTunerModelNames table;
    return table;
}

}  // namespace

void BuildTunerModelNames() {
    std::lock_guard<std::mutex> hold(FillLock());
    CTunerModelNames& table = Table();
    if (!table.empty()) return;
    for (const auto& row : kTunerModelRows) table.Add(row);
}

CTunerModelNames& GetTunerModelNames() {
    BuildTunerModelNames();
    return Table();
}
