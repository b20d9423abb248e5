// CTestSheet: the page table, showing pages and the run's end.
#include "TestSheet.h"

#include <algorithm>

#include "BaseTestPage.h"
#include "PageAVAudio.h"
#include "PageAVVideo.h"
#include "PageCheck.h"
#include "PageDevice.h"
#include "PageError.h"
#include "PageRecord.h"
#include "PageRemote.h"
#include "PageSVVideo.h"
#include "PageTVAudio.h"
#include "PageTVSearch.h"
#include "PelvatroDlg.h"
#include "resource.h"

namespace {

// The test station's pages, in the order a card goes through them.
const char kPageTVSearch[] = "搜台(TV Search)";
const char kPageTVAudio[] = "TV音频(TV Audio)";
const char kPageAVVideo[] = "AV视频(AV Video)";
const char kPageSVVideo[] = "SV视频(SV Video)";
const char kPageAVAudio[] = "AV音频(AV Audio)";
const char kPageRecord[] = "录像(Record)";
const char kPageRemote[] = "遥控器(Remote)";

const AfxResourceRegistrar kResources({
    {IDD_TEST_SHEET,
     "Test Sheet",
     0, 0, 211, 57,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
     {
         {IDC_PAGE_FRAME, "Static", "", 0, 0, 210, 56, WS_DISABLED | SS_LEFT, 0},
     }},
});

}  // namespace

BEGIN_MESSAGE_MAP(CTestSheet, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CTestSheet::CTestSheet(CWnd* parent) : CDialog(IDD, parent), m_pCurrentPage(nullptr), m_nCurrentCard(0) {
    BuildPages();
}

// The members go in reverse order: the writer deletes any thread left before the byte-access
// objects and the cards go.
CTestSheet::~CTestSheet() { DeletePages(); }

// A write station holds the EEPROM page only. A test station chains every card's pages after
// it: TV search meets the graph the check page left stopped, AV audio hears the S-video page's
// line input, and the result page ends every card.
void CTestSheet::BuildPages() {
    AddPage(PAGE_WRITE_EEPROM, new CPageDevice(), PAGE_CHECK);
    if (!IsTestStation()) return;
    AddPage(PAGE_CHECK, new CPageCheck(), kPageTVSearch);
    AddPage(kPageTVSearch, new CPageTVSearch(), kPageTVAudio);
    AddPage(kPageTVAudio, new CPageTVAudio(), kPageAVVideo);
    AddPage(kPageAVVideo, new CPageAVVideo(), kPageSVVideo);
    AddPage(kPageSVVideo, new CPageSVVideo(), kPageAVAudio);
    AddPage(kPageAVAudio, new CPageAVAudio(), kPageRecord);
    AddPage(kPageRecord, new CPageRecord(), kPageRemote);
    AddPage(kPageRemote, new CPageRemote(), PAGE_RESULT);
    AddPage(PAGE_RESULT, new CPageError(), "");
}

void CTestSheet::AddPage(LPCSTR name, CBaseTestPage* page, LPCSTR next) {
    auto found = m_mapPages.find(name);
    if (found != m_mapPages.end()) delete found->second.pPage;
    m_mapPages[name] = PageEntry{page, next};
}

BOOL CTestSheet::OnInitDialog() {
    CDialog::OnInitDialog();
    CreatePages();
    LayoutPages();
    ShowPage(PAGE_WRITE_EEPROM);
    return TRUE;
}

void CTestSheet::CreatePages() {
    for (auto& [name, entry] : m_mapPages) {
        ASSERT(entry.pPage != nullptr);
        if (entry.pPage != nullptr) entry.pPage->CreatePage(this);
    }
}

// Every page is laid into the frame rectangle, which grows to the largest page; the sheet grows
// with it, so no page is clipped.
void CTestSheet::LayoutPages() {
    CRect frame;
    if (CWnd* frameItem = GetDlgItem(IDC_PAGE_FRAME)) {
        frameItem->GetWindowRect(&frame);
        ScreenToClient(&frame);
    }
    CSize largest = frame.Size();
    for (const auto& [name, entry] : m_mapPages) {
        if (entry.pPage == nullptr || entry.pPage->m_hWnd == nullptr) continue;
        CRect page;
        entry.pPage->GetWindowRect(&page);
        largest.cx = std::max<LONG>(largest.cx, page.Width());
        largest.cy = std::max<LONG>(largest.cy, page.Height());
    }
    frame = CRect(frame.TopLeft(), largest);

    CRect client, window;
    GetClientRect(&client);
    GetWindowRect(&window);
    int growX = std::max<LONG>(0, frame.right - client.Width());
    int growY = std::max<LONG>(0, frame.bottom - client.Height());
    if (growX > 0 || growY > 0) MoveWindow(window.left, window.top, window.Width() + growX, window.Height() + growY);

    for (const auto& [name, entry] : m_mapPages) {
        if (entry.pPage == nullptr || entry.pPage->m_hWnd == nullptr) continue;
        entry.pPage->MoveWindow(&frame, TRUE);
        entry.pPage->ShowWindow(SW_HIDE);
    }
}

BOOL CTestSheet::ShowPage(LPCSTR name) {
    auto found = m_mapPages.find(name);
    if (found == m_mapPages.end()) return FALSE;
    if (m_pCurrentPage != nullptr) {
        m_pCurrentPage->StopTest();
        m_pCurrentPage->Show(FALSE);
    }
    SetWindowText(name);
    CBaseTestPage* page = found->second.pPage;
    m_pCurrentPage = page;
    m_strNextPage = found->second.strNext;
    page->StartTest();
    page->Show(TRUE);
    return TRUE;
}

CBaseTestPage* CTestSheet::FindPage(LPCSTR name) const {
    auto found = m_mapPages.find(name);
    return found == m_mapPages.end() ? nullptr : found->second.pPage;
}

void CTestSheet::NextPage() {
    if (m_pCurrentPage != nullptr) ShowPage(m_strNextPage);
}

void CTestSheet::AddFailure(LPCSTR text) { m_vecFailures.push_back(text); }

void CTestSheet::OnPageFail(LPCSTR text) {
    AddFailure(text);
    ShowPage(PAGE_RESULT);
}

void CTestSheet::FinishTest() {
    if (CPelvatroDlg* main = GetMainDlg()) main->RequestPowerOff();
    RestartTest();
}

bool CTestSheet::RestartTest() {
    if (m_pCurrentPage != nullptr) m_pCurrentPage->StopTest();
    // While the page is still shown, so that a record that was not written is said on it.
    const bool written = WriteResultLog();
    if (m_pCurrentPage != nullptr) m_pCurrentPage->Show(FALSE);
    CDialog::OnOK();
    return written;
}

void CTestSheet::DeletePages() {
    for (auto& [name, entry] : m_mapPages) {
        delete entry.pPage;
        entry.pPage = nullptr;
    }
    m_mapPages.clear();
    m_pCurrentPage = nullptr;
}

CPelvatroDlg* CTestSheet::GetMainDlg() const { return dynamic_cast<CPelvatroDlg*>(m_pParentWnd); }

BOOL CTestSheet::IsTestStation() const {
    CPelvatroDlg* main = GetMainDlg();
    return main != nullptr && main->m_nMachine == CPelvatroDlg::MachineTestStation;
}

BOOL CTestSheet::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_DEVICECHANGE && msg->hwnd == m_hWnd && m_pCurrentPage != nullptr &&
        m_pCurrentPage->m_hWnd != nullptr) {
        return static_cast<BOOL>(m_pCurrentPage->SendMessage(WM_DEVICECHANGE, msg->wParam, msg->lParam));
    }
    return CDialog::PreTranslateMessage(msg);
}

// Neither OK nor Cancel ends the sheet while a write runs: its end stops the write threads.
void CTestSheet::OnOK() {
    if (IsWriting()) return;
    CDialog::OnOK();
}

void CTestSheet::OnCancel() {
    if (IsWriting()) return;
    CDialog::OnCancel();
}

void CTestSheet::OnDestroy() {
    ReleaseCards();
    CDialog::OnDestroy();
}
