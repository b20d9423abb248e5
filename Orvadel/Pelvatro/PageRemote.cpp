// CPageRemote: four remote keys within the time limit.
#include "PageRemote.h"

#include <algorithm>

#include "CardMan.h"
#include "PelvatroDlg.h"
#include "Pictures.h"
#include "cards/base/TVCardFilter.h"
#include "resource.h"

namespace {

const DWORD kVisible = WS_VISIBLE;
const DWORD kHidden = 0;

const bool kPicturesRegistered = RegisterStationPictures();

const AfxResourceRegistrar kResources({
    {IDD_PAGE_REMOTE,
     "",
     0, 0, 260, 120,
     WS_CHILD | DS_CONTROL,
     {
         {IDC_PASS, "Button", "PASS", 200, 98, 50, 16, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_FAIL, "Button", "FAIL", 140, 98, 50, 16, kVisible | WS_TABSTOP | BS_OWNERDRAW, 0},
         {IDC_STATIC, "Button", "(Key)", 7, 5, 186, 38, kVisible | BS_GROUPBOX, 0},
         {IDC_KEY_NUM, "Static", "NUM", 14, 18, 40, 18, kVisible | SS_CENTER, 0},
         {IDC_KEY_REC, "Static", "Rec", 58, 18, 40, 18, kVisible | SS_CENTER, 0},
         {IDC_KEY_UP, "Static", "Up", 102, 18, 40, 18, kVisible | SS_CENTER, 0},
         {IDC_KEY_FULL, "Static", "Full", 146, 18, 40, 18, kVisible | SS_CENTER, 0},
         {IDC_STATIC, "Static", "", 208, 5, 42, 82, kVisible | SS_BITMAP | SS_CENTERIMAGE, 0},
         {IDC_STATIC, "Static", "Remote Control Test", 7, 48, 186, 10, kVisible | SS_LEFT, 0},
         {IDC_STATIC, "Static", "", 7, 60, 186, 1, kVisible | SS_ETCHEDHORZ, 0},
         {IDC_STATIC, "Static", "请根据上面的显示按动遥控器的按钮", 7, 63, 186, 10, kHidden | SS_LEFT, 0},
         {IDC_TIME_LEFT, "Static", "(Free Time): 10 秒", 7, 74, 186, 10, kVisible | SS_LEFT, 0},
         {IDC_KEY_CODE, "Static", "KeyCode", 7, 86, 186, 10, kVisible | SS_LEFT, 0},
     }},
});

}  // namespace

const COLORREF CPageRemote::kLabelColors[LabelCount] = {0xC8C8C8, 0x64C8C8, 0x6464C8, 0x646464};

BEGIN_MESSAGE_MAP(CPageRemote, CBaseTestPage)
    ON_MESSAGE(WM_REMOTE_KEY, OnRemoteKey)
END_MESSAGE_MAP()

CPageRemote::CPageRemote(CWnd* parent) : CBaseTestPage(IDD, parent), m_nElapsed(0), m_nLabelIds{} {
    m_nTemplateId = IDD;
    m_nCountdown = DefaultCountdown;
    m_strFailText = "遥控器错误";
}

void CPageRemote::DoDataExchange(CDataExchange* dx) {
    CBaseTestPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_KEY_UP, m_labels[0]);
    DDX_Control(dx, IDC_KEY_REC, m_labels[1]);
    DDX_Control(dx, IDC_KEY_NUM, m_labels[2]);
    DDX_Control(dx, IDC_KEY_FULL, m_labels[3]);
}

void CPageRemote::InitData() {
    for (int i = 0; i < LabelCount; ++i) m_nLabelIds[i] = IDC_KEY_NUM + i;
}

// Label i is the control whose id is the i-th label id (1063 + i: NUM, Rec, Up, Full), not the
// i-th control bound, as the controls are bound Up, Rec, NUM, Full: taken by place, the first
// key's name stood on "Up".
MBackText* CPageRemote::Label(int index) {
    if (index < 0 || index >= LabelCount) return nullptr;
    for (MBackText& label : m_labels) {
        if (label.m_hWnd != nullptr && label.GetDlgCtrlID() == m_nLabelIds[index]) return &label;
    }
    return nullptr;
}

void CPageRemote::InitControls() {
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLong(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            ::SendMessage(child, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(::LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(IDB_REMOTE))));
        }
    }
    CPelvatroDlg* main = GetMainDlg();
    if (main == nullptr) return;
    int count = std::min<int>(LabelCount, static_cast<int>(main->m_vecRemoteKeys.size()));
    for (int i = 0; i < count; ++i) {
        if (MBackText* label = Label(i)) label->SetWindowText(main->m_vecRemoteKeys[i].strName);
    }
}

BOOL CPageRemote::StartTest() {
    CBaseTestPage::StartTest();
    CPelvatroDlg* main = GetMainDlg();
    if (main != nullptr && main->m_nTimeDelayRemote > 0) m_nCountdown = main->m_nTimeDelayRemote;
    SetTimer(TimerTimeLimit, 1000);
    m_nElapsed = 0;
    m_setPressed.clear();
    // Each card starts with no key seen and its full time, whatever the card before left shown.
    SetDlgItemText(IDC_KEY_CODE, KeyCodeText(""));
    ShowTimeLeft();
    if (m_pCard != nullptr) {
        m_pCard->SetNotifyWindow(m_hWnd);
        if (!m_pCard->StartRemote()) TRACE("CPageRemote: the card's remote keys do not start\n");
    }
    for (int i = 0; i < LabelCount; ++i) {
        if (MBackText* label = Label(i)) {
            label->SetBkColor(kLabelColors[i]);
            label->Invalidate();
        }
    }
    return TRUE;
}

void CPageRemote::OnTestTimer(UINT_PTR id) {
    if (id != TimerTimeLimit) return;
    ++m_nElapsed;
    ShowTimeLeft();
    if (static_cast<int>(m_setPressed.size()) >= LabelCount) {
        OnPass();
    } else if (m_nElapsed >= m_nCountdown) {
        KillTimer(TimerTimeLimit);
        OnFail();
    }
}

CString CPageRemote::KeyCodeText(const CString& code) { return "键值 (KeyCode) : " + code; }

void CPageRemote::ShowTimeLeft() {
    CString left;
    left.Format("剩余时间(Free Time) %d (s)", m_nCountdown - m_nElapsed);
    SetDlgItemText(IDC_TIME_LEFT, left);
}

LRESULT CPageRemote::OnRemoteKey(WPARAM keyCode, LPARAM lParam) {
    TRACE("Remote Msg : wParam = %d,lParam = %d\n", static_cast<int>(keyCode), static_cast<int>(lParam));
    CString number;
    number.Format("%d", static_cast<int>(keyCode));
    SetDlgItemText(IDC_KEY_CODE, KeyCodeText(number));

    int index = -1;
    if (CPelvatroDlg* main = GetMainDlg()) {
        const auto& keys = main->m_vecRemoteKeys;
        for (size_t i = 0; i < keys.size(); ++i) {
            if (keys[i].nCode == static_cast<int>(keyCode)) {
                index = static_cast<int>(i);
                break;
            }
        }
    }
    if (index >= 0 && index < LabelCount) {
        m_setPressed.insert(index);
        if (MBackText* label = Label(index)) {
            label->SetBkColor(kRecognisedColor);
            label->Invalidate();
        }
    }
    return 0;
}

BOOL CPageRemote::PreTranslateMessage(MSG* msg) {
    BOOL result = CBaseTestPage::PreTranslateMessage(msg);
    if (msg->message == WM_KEYDOWN && m_pCard != nullptr && m_pCard->IsCardKind11())
        SendMessage(WM_REMOTE_KEY, msg->wParam, msg->lParam);
    return result;
}

void CPageRemote::StopTest() {
    if (m_pCard != nullptr) m_pCard->StopRemote();
    m_nElapsed = 0;
    CBaseTestPage::StopTest();
}
