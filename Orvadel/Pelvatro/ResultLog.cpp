// The result log: one record per finished run, appended to "Pass.txt" when the run had no
// failure and to "Error.txt" otherwise, in GBK with CR LF line ends as on the station PCs. A
// record that cannot be written leaves the file as it was, and the operator is told on the page.
#include <stdio.h>

#include <string>

#include "BaseTestPage.h"
#include "GbkText.h"
#include "PelvatroDlg.h"
#include "ProgramFolder.h"
#include "TestSheet.h"
#include "graph/TunerModelNames.h"

namespace {
const char kFormatRecordNotWritten[] = "测试记录没有写入 %s，请记下本次结果。";
}  // namespace

bool CTestSheet::WriteResultLog() {
    std::vector<CString> lines;
    FormatResult(lines);
    const CString path = GetProgramFilePath(IsPassed() ? "Pass.txt" : "Error.txt");
    if (AppendLines(lines, path)) return true;
    const CString named = PathForOperator(path);
    fprintf(stderr, "pelvatro: the test record was not written to %s\n", named.GetString());
    CString text;
    text.Format(kFormatRecordNotWritten, named.GetString());
    CWnd* owner = m_pCurrentPage != nullptr ? static_cast<CWnd*>(m_pCurrentPage) : this;
    CString caption;
    GetWindowText(caption);
    owner->MessageBox(text, caption, MB_OK | MB_ICONERROR);
    return false;
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

// A character GBK cannot hold is written as '?'. A record is reported written once it is on the
// disk; one that could not be written whole is reported as not written, and leaves the file as
// it was (a file it made is removed again). A path that leads to no plain file (a folder, a
// device such as /dev/null, a FIFO) takes no record.
bool CTestSheet::AppendLines(const std::vector<CString>& lines, LPCSTR path) {
    std::string text = "\r\n";
    for (const CString& line : lines) text += Utf8ToGbkText(line) + "\r\n";
    const DWORD attributes = GetFileAttributes(path);
    const DWORD noFile = FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_DIRECTORY;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & noFile) != 0) {
        TRACE("CTestSheet::AppendLines - %s is not a plain file\n", path);
        return false;
    }
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::typeBinary)) {
        TRACE("CTestSheet::AppendLines - cannot open %s\n", path);
        return false;
    }
    DWORD before = 0;
    try {
        before = file.SeekToEnd();
        file.Write(text.data(), static_cast<UINT>(text.size()));
        file.Flush();
        file.Close();
    } catch (CException* error) {
        error->Delete();
        TRACE("CTestSheet::AppendLines - the record was not written whole to %s\n", path);
        // What was written of it goes again, so the file holds its earlier records only.
        try {
            file.SetLength(before);
        } catch (CException* again) {
            again->Delete();
        }
        file.Abort();
        if (!existed) DeleteFile(path);
        return false;
    }
    return true;
}
