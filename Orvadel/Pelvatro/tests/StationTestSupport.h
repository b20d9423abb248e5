// Helpers of the station's tests: files in the program's folder, GBK bytes, and a page built
// from a template of the tests' own that passes or fails when its buttons are pressed.
#pragma once

#include <afxwin.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BaseTestPage.h"
#include "TestSheet.h"
#include "platform/runtime.h"
#include "platform/winnls.h"

namespace station_test {

inline std::string HomeFile(const char* name) { return platform::HomeDir() + "/" + name; }

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline bool FileExists(const std::string& path) { return std::ifstream(path).good(); }

inline std::string Gbk(const std::string& utf8) {
    std::string gbk;
    platform::Utf8ToGbk(utf8, &gbk);
    return gbk;
}

// A page of the tests: template 900 with a fail (1052) and a pass (1053) button. It remembers
// the card index it was entered with; a pass on the result page ends the card or the run as the
// station's result page does.
class ScriptedPage : public CBaseTestPage {
public:
    enum { IDD = 900 };
    ScriptedPage(LPCSTR failText, std::vector<std::string>* visits, LPCSTR name, bool resultPage = false);

    BOOL StartTest() override;
    void OnPass() override;

private:
    std::vector<std::string>* m_visits;
    CString m_strName;
    bool m_bResultPage;
};

}  // namespace station_test
