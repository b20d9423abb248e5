// CPageCheck: the settings' texts, the card's EEPROM, the index display and the countdown.
#include "PageCheck.h"

#include "CardMan.h"
#include "PelvatroDlg.h"
#include "TestSheet.h"
#include "dunmorra/WriteThread.h"
#include "graph/TunerModelNames.h"
#include "mfc/Resources.h"
#include "resource.h"

namespace {

const char kUnknown[] = "Unknown";
const char kCardText[] = "产  品: %s\n卡  号: %d\n高频头:\t%s\nEeprom: %s\n";
const char kCountdown[] = "开始测试 ( %d 秒)";
const char kProgress[] = "写入进度 : %d %%";
const char kWriteDone[] = "写入完成";
const COLORREF kIndexColour = 0x00FF00;
const int kCardInfoDelayMs = 100;
const UINT_PTR kTimerSecond = CBaseTestPage::TimerTimeLimit;  // on this page: one second of the countdown

const DWORD kVisible = WS_VISIBLE;
const DWORD kReadOnlyEdit = kVisible | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY;

const AfxResourceRegistrar kResources({
    {IDD_PAGE_CHECK,
     "",
     0, 0, 260, 200,
     WS_CHILD | DS_CONTROL,
     {
         {IDC_PASS, "Button", "开始测试", 159, 164, 81, 31, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_STATIC, "Button", "写入机型", 4, 2, 252, 98, kVisible | BS_GROUPBOX, 0},
         {IDC_STATIC, "Static", "机型", 12, 16, 30, 10, kVisible | SS_LEFT, 0},
         {IDC_CHECK_PRODUCT, "Edit", "", 44, 14, 204, 12, kReadOnlyEdit, 0},
         {IDC_STATIC, "Static", "国家", 12, 30, 30, 10, kVisible | SS_LEFT, 0},
         {IDC_CHECK_COUNTRY, "Edit", "", 44, 28, 204, 12, kReadOnlyEdit, 0},
         {IDC_STATIC, "Static", "具备", 12, 44, 30, 10, kVisible | SS_LEFT, 0},
         {IDC_CHECK_SUPPORT, "Edit", "", 44, 42, 204, 12, kReadOnlyEdit, 0},
         {IDC_FEATURE_LIST, "ListBox", "", 44, 56, 204, 42, kVisible | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0},
         {IDC_STATIC, "Button", "当前卡的信息", 4, 102, 252, 54, kVisible | BS_GROUPBOX, 0},
         {IDC_CARD_TEXT, "Static", "已写", 12, 113, 160, 40, kVisible | SS_LEFT, 0},
         {IDC_INDEX_DISPLAY, "Static", "Index", 178, 113, 70, 39, kVisible | SS_CENTER, 0},
         {IDC_STATIC, "Static", "", 4, 159, 252, 1, kVisible | SS_ETCHEDHORZ, 0},
         {IDC_FAIL, "Button", "错误 FAIL", 20, 164, 81, 31, kVisible | WS_TABSTOP | BS_OWNERDRAW, 0},
         {IDC_CHECK_WRITE, "Button", "写入EEPROM", 110, 172, 40, 14, WS_TABSTOP | BS_PUSHBUTTON, 0},
     }},
});

}  // namespace

BEGIN_MESSAGE_MAP(CPageCheck, CBaseTestPage)
    ON_BN_CLICKED(IDC_CHECK_WRITE, OnWriteEeprom)
    ON_MESSAGE(WM_EEPROM_WRITE_PROGRESS, OnWriteProgress)
END_MESSAGE_MAP()

CPageCheck::CPageCheck(CWnd* parent) : CBaseTestPage(IDD, parent), m_nElapsed(0) {
    m_nTemplateId = IDD;
    m_strFailText = "检查出错";
}

void CPageCheck::DoDataExchange(CDataExchange* dx) {
    CBaseTestPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_FEATURE_LIST, m_listFeatures);
    DDX_Control(dx, IDC_INDEX_DISPLAY, m_indexDisplay);
}

BOOL CPageCheck::StartTest() {
    CPelvatroDlg* main = GetMainDlg();
    ASSERT(main != nullptr);
    if (main != nullptr) {
        SetDlgItemText(IDC_CHECK_PRODUCT, main->m_strProduct);
        SetDlgItemText(IDC_CHECK_COUNTRY, main->m_strCountry);
        SetDlgItemText(IDC_CHECK_SUPPORT, main->m_strSupport);
        m_listFeatures.ResetContent();
        for (POSITION at = main->m_listCharacter.GetHeadPosition(); at != nullptr;) {
            m_listFeatures.AddString(main->m_listCharacter.GetNext(at));
        }
    }
    ShowCardInfo();
    Sleep(kCardInfoDelayMs);

    m_indexDisplay.m_crText = kIndexColour;
    LOGFONT font;
    m_indexDisplay.GetLogFont(&font);
    font.lfHeight = 40;
    font.lfWidth = 20;
    font.lfWeight = 1200;
    m_indexDisplay.SetLogFont(&font);

    CBaseTestPage::StartTest();
    if (m_nCountdown > 0) {
        m_nElapsed = 0;
        ShowCountdown();
        SetTimer(kTimerSecond, 1000);
    }
    return TRUE;
}

BOOL CPageCheck::ShowCardInfo() {
    CCardInfo info;
    CTestSheet* sheet = GetSheet();
    // Where the check stops, the info keeps its initial values: the card reads as not written.
    if (sheet != nullptr) sheet->CheckCardEeprom(m_pCard, &info);

    CString product = kUnknown;
    if (sheet != nullptr) {
        sheet->GetWriter().GetProduct2Str().Find(static_cast<EMProductType>(info.m_nProductType), product);
    }
    CString tuner = kUnknown;
    GetTunerModelNames().Find(static_cast<TUNER_MODEL>(info.m_nTunerModel), tuner);
    const char* state = "Not Written";
    if (info.m_nState == CCardInfo::StateWritten) state = "Data Error";
    if (info.m_nState == CCardInfo::StateCorrect) state = "OK";

    CString text;
    text.Format(kCardText, product.GetString(), m_nCardIndex, tuner.GetString(), state);
    SetDlgItemText(IDC_CARD_TEXT, text);
    text.Format("%d", m_nCardIndex);
    m_indexDisplay.SetWindowText(text);
    return TRUE;
}

// Timer 7 counts the countdown down; at its end the page passes.
void CPageCheck::OnTestTimer(UINT_PTR id) {
    if (id != kTimerSecond) return;
    ++m_nElapsed;
    if (m_nElapsed >= m_nCountdown) {
        KillTimer(kTimerSecond);
        OnPass();
        return;
    }
    ShowCountdown();
}

void CPageCheck::ShowCountdown() {
    CString text;
    text.Format(kCountdown, m_nCountdown - m_nElapsed);
    SetDlgItemText(IDC_PASS, text);
}

LRESULT CPageCheck::OnWriteProgress(WPARAM, LPARAM percent) {
    CString text;
    if (percent <= 100) {
        text.Format(kProgress, static_cast<int>(percent));
    } else {
        text = kWriteDone;
    }
    SetDlgItemText(IDC_CARD_TEXT, text);
    return 0;
}
