// CBaseVideoPage: the preview, the info line and the delayed question; the question pages'
// templates, which hold the same controls.
#include "BaseVideoPage.h"

#include "CardMan.h"
#include "mfc/Resources.h"
#include "resource.h"

namespace {

const DWORD kVisible = WS_VISIBLE;

// Templates 141 to 144: the video area at the top left, the info list right of it, a line and
// the fail and pass buttons under it.
AfxDialogTemplate QuestionPageTemplate(UINT id) {
    return {id,
            "",
            0, 0, 260, 200,
            WS_CHILD | DS_CONTROL,
            {
                {IDC_VIDEO_AREA, "Static", "", 2, 4, 167, 145, kVisible | SS_BLACKFRAME, 0},
                {IDC_INFO_LIST, "ListBox", "", 170, 4, 88, 145,
                 kVisible | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0},
                {IDC_STATIC, "Static", "", 2, 155, 256, 1, kVisible | SS_ETCHEDHORZ, 0},
                {IDC_PASS, "Button", "通过 PASS", 159, 162, 81, 31, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
                {IDC_FAIL, "Button", "错误 FAIL", 20, 162, 81, 31, kVisible | WS_TABSTOP | BS_OWNERDRAW, 0},
            }};
}

const AfxResourceRegistrar kResources({
    QuestionPageTemplate(IDD_PAGE_TV_AUDIO),
    QuestionPageTemplate(IDD_PAGE_AV_VIDEO),
    QuestionPageTemplate(IDD_PAGE_SV_VIDEO),
    QuestionPageTemplate(IDD_PAGE_AV_AUDIO),
});

}  // namespace

CBaseVideoPage::CBaseVideoPage(UINT templateId, CWnd* parent) : CBaseTestPage(templateId, parent) {
    m_nTemplateId = templateId;
}

void CBaseVideoPage::DoDataExchange(CDataExchange* dx) {
    CBaseTestPage::DoDataExchange(dx);
    // A template without one of them still makes a working page.
    if (GetDlgItem(IDC_INFO_LIST) != nullptr) DDX_Control(dx, IDC_INFO_LIST, m_listInfo);
    if (GetDlgItem(IDC_VIDEO_AREA) != nullptr) DDX_Control(dx, IDC_VIDEO_AREA, m_videoArea);
}

BOOL CBaseVideoPage::StartTest() {
    if (m_pCard != nullptr) {
        if (CWnd* area = GetDlgItem(IDC_VIDEO_AREA)) m_pCard->SetVideoWnd(area->m_hWnd);
        // A preview that cannot be built leaves the page to the operator's verdict.
        if (!m_pCard->BuildPreview()) TRACE("CBaseVideoPage::StartTest - the preview of card %d did not build\n", m_nCardIndex);
    }
    BOOL result = CBaseTestPage::StartTest();
    SetTimer(TimerAsk, AskDelayMs);
    return result;
}

void CBaseVideoPage::OnTestTimer(UINT_PTR id) {
    if (id != TimerAsk) {
        CBaseTestPage::OnTestTimer(id);
        return;
    }
    KillTimer(TimerAsk);
    AskOperator();
}

void CBaseVideoPage::StopTest() {
    KillTimer(TimerAsk);
    CBaseTestPage::StopTest();
}

void CBaseVideoPage::AskOperator() {
    if (m_strQuestion.IsEmpty()) return;
    // A box ended without an answer (the program is closing) gives no verdict.
    const int answer = AfxMessageBox(m_strQuestion, MB_YESNO);
    if (answer == IDYES) {
        OnPass();
    } else if (answer == IDNO) {
        OnFail();
    }
}

void CBaseVideoPage::ShowInfo(LPCSTR line) {
    if (m_listInfo.m_hWnd == nullptr) return;
    m_listInfo.ResetContent();
    m_listInfo.AddString(line);
}

void CBaseVideoPage::SelectInput(int input) {
    if (m_pCard != nullptr && !m_pCard->SelectInput(input)) {
        TRACE("CBaseVideoPage::SelectInput - card %d refused input %d\n", m_nCardIndex, input);
    }
}

BOOL CBaseVideoPage::StartQuestion(LPCSTR infoLine, int input, bool inputAfterPreview) {
    ShowInfo(infoLine);
    if (input != kNoInput && !inputAfterPreview) SelectInput(input);
    BOOL result = CBaseVideoPage::StartTest();
    if (input != kNoInput && inputAfterPreview) SelectInput(input);
    return result;
}
