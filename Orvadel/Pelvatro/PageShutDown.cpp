// CPageShutDown: the next card or the end of the run.
#include "PageShutDown.h"

#include "PageEndTexts.h"
#include "TestSheet.h"
#include "resource.h"

namespace {

const DWORD kVisible = WS_VISIBLE;
const DWORD kHidden = 0;

const AfxResourceRegistrar kResources({
    {IDD_PAGE_SHUTDOWN,
     "",
     0, 0, 200, 80,
     WS_CHILD | DS_CONTROL,
     {
         {IDC_PASS, "Button", "ShutDowm", 133, 56, 60, 18, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_STATIC, "Static", "", 7, 50, 186, 1, kHidden | SS_ETCHEDHORZ, 0},
         {IDC_SHUTDOWN_LIST, "ListBox", "", 7, 22, 186, 24, kHidden | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0},
         {IDC_FAIL, "Button", "错误 FAIL", 66, 56, 60, 18, kHidden | WS_TABSTOP | BS_OWNERDRAW, 0},
         {IDC_SHUTDOWN_TEXT, "Static", "Please Reboot", 7, 7, 186, 12, kVisible | SS_LEFT, 0},
     }},
});

}  // namespace

CPageShutDown::CPageShutDown(CWnd* parent) : CBaseTestPage(IDD, parent) { m_nTemplateId = IDD; }

void CPageShutDown::DoDataExchange(CDataExchange* dx) {
    CBaseTestPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_SHUTDOWN_LIST, m_list);
}

BOOL CPageShutDown::StartTest() {
    m_nCountdown = ShutDownSeconds;
    CTestSheet* sheet = GetSheet();
    CString text;
    CString button;
    if (sheet == nullptr || sheet->IsLastCard()) {
        text.Format(kFormatPowerOffIn, m_nCountdown);
        button = kTextPowerOff;
    } else {
        text = button = kTextNextCard;
    }
    SetDlgItemText(IDC_PASS, button);
    m_list.ResetContent();
    m_list.AddString(text);
    return CBaseTestPage::StartTest();
}

void CPageShutDown::OnTestTimer(UINT_PTR id) {
    if (id == TimerTimeLimit) OnPass();
}

void CPageShutDown::OnPass() {
    CTestSheet* sheet = GetSheet();
    if (sheet == nullptr) return;
    if (sheet->IsLastCard())
        sheet->FinishTest();
    else
        sheet->NextCard();
}
