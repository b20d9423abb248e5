#include "StationTestSupport.h"

#include "resource.h"

namespace station_test {

namespace {
const AfxResourceRegistrar kResources({
    {ScriptedPage::IDD,
     "",
     0, 0, 120, 40,
     WS_CHILD | DS_CONTROL,
     {
         {IDC_FAIL, "Button", "失败", 10, 10, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_PASS, "Button", "通过", 60, 10, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0},
     }},
});
}  // namespace

ScriptedPage::ScriptedPage(LPCSTR failText, std::vector<std::string>* visits, LPCSTR name, bool resultPage)
    : CBaseTestPage(IDD, nullptr), m_visits(visits), m_strName(name), m_bResultPage(resultPage) {
    m_strFailText = failText;
    m_nTemplateId = IDD;
}

BOOL ScriptedPage::StartTest() {
    CString visit;
    visit.Format("%s@%d", m_strName, GetSheet()->GetCurrentCard());
    m_visits->push_back(visit.str());
    return CBaseTestPage::StartTest();
}

void ScriptedPage::OnPass() {
    if (!m_bResultPage) {
        CBaseTestPage::OnPass();
    } else if (GetSheet()->IsLastCard()) {
        GetSheet()->FinishTest();
    } else {
        GetSheet()->NextCard();
    }
}

}  // namespace station_test
