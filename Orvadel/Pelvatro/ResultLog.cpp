// The result log: one record per finished run, appended to "Pass.txt" when the run had no
// failure and to "Error.txt" otherwise, in GBK with CR LF line ends as on the station PCs.
#include <string>

#include "GbkText.h"
#include "PelvatroDlg.h"
#include "ProgramFolder.h"
#include "TestSheet.h"
#include "graph/TunerModelNames.h"

bool CTestSheet::WriteResultLog() {
    std::vector<CString> lines;
    FormatResult(lines);
    return AppendLines(lines, GetProgramFilePath(IsPassed() ? "Pass.txt" : "Error.txt"));
}

void CTestSheet::FormatResult(std::vector<CString>& lines) {
    CPelvatroDlg* main = GetMainDlg();
    int productType = main != nullptr ? main->m_nProductType : 0;
    int tunerModel = main != nullptr ? main->m_nTunerModel : 0;

    lines.push_back(CTime::GetCurrentTime().Format("%Y-%m-%d %H:%M:%S"));
    CString product, tuner;
    m_writer.GetProduct2Str().Find(static_cast<EMProductType>(productType), product);
    GetTunerModelNames().Find(static_cast<TUNER_MODEL>(tunerModel), tuner);
    lines.push_back(product);
    lines.push_back(tuner);
    if (IsPassed()) {
        lines.push_back("测试通过");
    } else {
        lines.insert(lines.end(), m_vecFailures.begin(), m_vecFailures.end());
    }
}

// A character GBK cannot hold is written as '?'. A record that could not be written whole is
// reported as not written.
bool CTestSheet::AppendLines(const std::vector<CString>& lines, LPCSTR path) {
    std::string text = "\r\n";
    for (const CString& line : lines) text += Utf8ToGbkText(line) + "\r\n";
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::typeBinary)) {
        TRACE("CTestSheet::AppendLines - cannot open %s\n", path);
        return false;
    }
    try {
        file.SeekToEnd();
        file.Write(text.data(), static_cast<UINT>(text.size()));
        file.Close();
    } catch (CException* error) {
        error->Delete();
        file.Abort();
        TRACE("CTestSheet::AppendLines - the record was not written whole to %s\n", path);
        return false;
    }
    return true;
}
