// CBaseTestPage: the page protocol's base behaviour.
#include "BaseTestPage.h"

#include "TestSheet.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CBaseTestPage, CDialog)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_FAIL, OnFailClicked)
    ON_BN_CLICKED(IDC_PASS, OnPassClicked)
END_MESSAGE_MAP()

CBaseTestPage::CBaseTestPage(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent),
      m_strFailText("基类错误信息"),
      m_nCountdown(0),
      m_nTemplateId(0),
      m_pCard(nullptr),
      m_nCardIndex(0) {}

BOOL CBaseTestPage::OnInitDialog() {
    CDialog::OnInitDialog();
    InitData();
    InitControls();
    m_btnFail.Attach(IDC_FAIL, this, RGB(255, 0, 0), RGB(1, 1, 1), RGB(128, 128, 128), 2);
    return TRUE;
}

BOOL CBaseTestPage::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

void CBaseTestPage::InitData() { m_pCard = nullptr; }

void CBaseTestPage::OnTestTimer(UINT_PTR id) {
    if (id != TimerTimeLimit) return;
    KillTimer(TimerTimeLimit);
    OnFail();
}

void CBaseTestPage::StopTest() { KillTimer(TimerTimeLimit); }

BOOL CBaseTestPage::CreatePage(CWnd* parent) {
    ASSERT(m_nTemplateId != 0);
    if (m_nTemplateId == 0) return FALSE;
    return CDialog::Create(m_nTemplateId, parent);
}

void CBaseTestPage::OnPass() {
    if (CTestSheet* sheet = GetSheet()) sheet->NextPage();
}

void CBaseTestPage::OnFail() {
    CString text;
    text.Format("第%d路 %s", m_nCardIndex, m_strFailText);
    if (CTestSheet* sheet = GetSheet()) sheet->OnPageFail(text);
}

void CBaseTestPage::OnTimer(UINT_PTR id) {
    OnTestTimer(id);
    CDialog::OnTimer(id);
}

void CBaseTestPage::Show(BOOL show) {
    if (!show) KillTimer(TimerTimeLimit);
    ShowWindow(show ? SW_SHOW : SW_HIDE);
}

BOOL CBaseTestPage::SetCard(int index) {
    m_nCardIndex = index;
    CTestSheet* sheet = GetSheet();
    m_pCard = sheet != nullptr ? sheet->GetCard(index) : nullptr;
    return m_pCard != nullptr;
}

CTestSheet* CBaseTestPage::GetSheet() const { return dynamic_cast<CTestSheet*>(m_pParentWnd); }

CPelvatroDlg* CBaseTestPage::GetMainDlg() const {
    CTestSheet* sheet = GetSheet();
    return sheet != nullptr ? sheet->GetMainDlg() : nullptr;
}
