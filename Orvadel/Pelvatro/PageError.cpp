// CPageError: the result of the run so far and the way on.
#include "PageError.h"

#include <algorithm>

#include "PageEndTexts.h"
#include "PelvatroDlg.h"
#include "ProgramFolder.h"
#include "TestSheet.h"
#include "resource.h"

namespace {

const DWORD kVisible = WS_VISIBLE;
const DWORD kHidden = 0;

const AfxResourceRegistrar kResources({
    {IDD_PAGE_ERROR,
     "",
     0, 0, 290, 120,
     WS_CHILD | DS_CONTROL,
     {
         {IDC_PASS, "Button", kTextPowerOff, 220, 96, 60, 18, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_STATIC, "Static", "", 7, 90, 276, 1, kVisible | SS_ETCHEDHORZ, 0},
         {IDC_FAIL, "Button", "错误 FAIL", 150, 96, 60, 18, kHidden | WS_TABSTOP | BS_OWNERDRAW, 0},
         {IDC_RESULT_FAIL, "Static", "Static", 4, 7, 282, 56, kVisible | SS_CENTER, 0},
         {IDC_RESULT_ACTION, "Static", "Static", 7, 68, 276, 16, kVisible | SS_CENTER, 0},
         {IDC_RESULT_PASS, "Static", "Static", 4, 7, 282, 56, kVisible | SS_CENTER, 0},
     }},
});

// The failure display's font: large red letters, narrowed only as far as the text needs to fit
// the display whole.
const LONG kFailHeight = 80;
const LONG kFailWidth = 30;
const LONG kFailWeight = 1200;
const LONG kFailMinHeight = 12;
const int kFailMargin = 4;  // pixels kept free at either end

LONG TextWidth(HDC dc, const LOGFONT& font, const CString& text) {
    HFONT made = CreateFontIndirect(&font);
    HGDIOBJ old = SelectObject(dc, made);
    SIZE size{};
    GetTextExtentPoint32(dc, text, text.GetLength(), &size);
    SelectObject(dc, old);
    DeleteObject(made);
    return size.cx;
}

void SetTextFont(MBackText& text, LONG height, LONG width, LONG weight) {
    LOGFONT font{};
    text.GetLogFont(&font);
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfWeight = weight;
    text.SetLogFont(&font);
}

}  // namespace

CPageError::CPageError(CWnd* parent) : CBaseTestPage(IDD, parent) { m_nTemplateId = IDD; }

void CPageError::DoDataExchange(CDataExchange* dx) {
    CBaseTestPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_RESULT_PASS, m_passText);
    DDX_Control(dx, IDC_RESULT_ACTION, m_actionText);
    DDX_Control(dx, IDC_RESULT_FAIL, m_failText);
}

void CPageError::InitControls() {
    m_failText.m_crText = RGB(255, 0, 0);
    m_actionText.m_crText = RGB(255, 0, 0);
    SetTextFont(m_failText, kFailHeight, kFailWidth, kFailWeight);
    m_passText.m_crText = RGB(0, 255, 0);
    SetTextFont(m_passText, 100, 60, 1200);
    m_passText.SetWindowText("Pass");
}

BOOL CPageError::StartTest() {
    CTestSheet* sheet = GetSheet();
    CPelvatroDlg* main = GetMainDlg();
    bool failed = sheet != nullptr && !sheet->GetFailures().empty();
    if (failed) {
        FitFailFont(sheet->GetFailures().front());
        m_failText.SetWindowText(sheet->GetFailures().front());
    }
    m_failText.ShowWindow(failed ? SW_SHOW : SW_HIDE);
    m_passText.ShowWindow(failed ? SW_HIDE : SW_SHOW);

    m_nCountdown = main != nullptr ? main->m_nShutDown : 0;
    CString action;
    CString button;
    if (sheet == nullptr || sheet->IsLastCard()) {
        if (main != nullptr && main->m_nHotPlugBus != 0) {
            action = button = kTextRestart;
        } else if (m_nCountdown > 0) {
            action.Format(kFormatPowerOffIn, m_nCountdown);
            button = kTextPowerOff;
        } else {
            // No power-off follows: nothing is announced, and the button only ends the run.
            button = kTextClose;
        }
    } else {
        action = button = kTextNextCard;
    }
    m_actionText.SetWindowText(action);
    SetDlgItemText(IDC_PASS, button);
    return CBaseTestPage::StartTest();
}

void CPageError::FitFailFont(const CString& text) {
    LOGFONT font{};
    m_failText.GetLogFont(&font);
    font.lfHeight = kFailHeight;
    font.lfWidth = kFailWidth;
    font.lfWeight = kFailWeight;
    CRect box;
    m_failText.GetClientRect(&box);
    const LONG room = box.Width() - 2 * kFailMargin;
    HDC dc = ::GetDC(m_failText.m_hWnd);
    for (LONG width = TextWidth(dc, font, text); width > room && font.lfHeight > kFailMinHeight;
         width = TextWidth(dc, font, text)) {
        // The width follows the height: one step nearly there, then down a pixel at a time.
        LONG height = std::max(kFailMinHeight, std::min(font.lfHeight - 1, font.lfHeight * room / width));
        font.lfWidth = kFailWidth * height / kFailHeight;
        font.lfHeight = height;
    }
    ::ReleaseDC(m_failText.m_hWnd, dc);
    m_failText.SetLogFont(&font);
}

void CPageError::OnTestTimer(UINT_PTR id) {
    if (id == TimerTimeLimit) OnPass();
}

void CPageError::OnPass() {
    CTestSheet* sheet = GetSheet();
    if (sheet == nullptr) return;
    if (!sheet->IsLastCard()) {
        sheet->NextCard();
        return;
    }
    CPelvatroDlg* main = GetMainDlg();
    if (main != nullptr && main->m_nHotPlugBus != 0) {
        // The program starts again only after a run whose record was written.
        if (!sheet->RestartTest()) return;
        char path[MAX_PATH] = {0};
        GetModuleFileName(nullptr, path, MAX_PATH);
        ShellExecute(nullptr, nullptr, path, nullptr, nullptr, SW_SHOWNORMAL);
    } else {
        sheet->FinishTest();
    }
}
