// CPageDevice: writing every card's EEPROM from the station's one page.
#include "PageDevice.h"

#include "CardMan.h"
#include "graph/TunerModelNames.h"
#include "PelvatroDlg.h"
#include "Pictures.h"
#include "cards/base/TVCardFilter.h"
#include "TestSheet.h"
#include "resource.h"

namespace {

const char kCreating[] = "请稍候，正在创建卡,这可能花费几分钟的时间......";
const char kCreateFailed[] = "创建卡失败，请确认驱动安装正确!";
const char kWriting[] = "请稍候，正在烧写......";
const char kWritten[] = "烧写完成，请重新启动电脑。";
const char kCardFailed[] = "第%d路 烧写失败";
const char kClose[] = "关 闭";
const char kRestartProgram[] = "重启程序";
const char kChangeDevice[] = "请更换设备";
const char kUnknown[] = "Unknown";

const DWORD kVisible = WS_VISIBLE;
const DWORD kHidden = 0;

// The card list's images: a strip of two 24-pixel images.
const bool kBitmapRegistered = RegisterStationPictures();

const AfxResourceRegistrar kResources({
    {IDD_PAGE_DEVICE,
     "",
     0, 0, 259, 82,
     WS_CHILD | DS_CONTROL,
     {
         {IDC_STATUS, "Static", "是否使用补丁?", 18, 5, 195, 13, kVisible | SS_LEFT, 0},
         {IDC_DEVICE_OK, "Button", "确 定", 40, 32, 41, 18, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_DEVICE_CANCEL, "Button", "取 消", 137, 32, 41, 18, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_PROGRESS, PROGRESS_CLASS, "", 19, 17, 185, 8, kHidden, 0},
         {IDC_PASS, "Button", "开始测试", 200, 32, 50, 18, kHidden | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_WRITE_SELECTED, "Button", "写选中的卡", 200, 56, 50, 14,
          kHidden | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_STATIC, "Button", "待刷Eeprom", 3, 40, 253, 40, kHidden | WS_DISABLED | BS_GROUPBOX, 0},
         {IDC_CARD_LIST, WC_LISTVIEW, "", 8, 50, 185, 28, kHidden | WS_DISABLED | LVS_REPORT, 0},
         {IDC_STATIC, "Static", "产品(Product)", 196, 40, 30, 8, kHidden | SS_LEFT, 0},
         {IDC_PRODUCT, "Static", "Product", 226, 40, 30, 8, kHidden | SS_LEFT, 0},
         {IDC_STATIC, "Static", "高频头(Tuner)", 196, 48, 30, 8, kHidden | SS_LEFT, 0},
         {IDC_TUNER, "Static", "Tuner", 226, 48, 30, 8, kHidden | SS_LEFT, 0},
     }},
});

}  // namespace

BEGIN_MESSAGE_MAP(CPageDevice, CBaseTestPage)
    ON_BN_CLICKED(IDC_DEVICE_OK, OnOK)
    ON_BN_CLICKED(IDC_WRITE_SELECTED, OnWriteSelected)
    ON_BN_CLICKED(IDC_DEVICE_CANCEL, OnCancel)
    ON_WM_TIMER()
    ON_MESSAGE(WM_EEPROM_WRITE_PROGRESS, OnWriteProgress)
    ON_WM_DEVICECHANGE()
END_MESSAGE_MAP()

CPageDevice::CPageDevice()
    : CBaseTestPage(IDD, nullptr),
      m_nCardCount(0),
      m_nCardsFinished(0),
      m_nLastPercent(0),
      m_nShownPercent(0),
      m_bDone(FALSE) {
    m_nTemplateId = IDD;
}

void CPageDevice::InitControls() {
    m_progress.SubclassDlgItem(IDC_PROGRESS, this);
    m_listCards.SubclassDlgItem(IDC_CARD_LIST, this);
    m_progress.SetRange(0, 100);
    m_progress.SetStep(1);
    SetTimer(TimerProgress, 50);
}

BOOL CPageDevice::StartTest() {
    if (CWnd* ok = GetDlgItem(IDC_DEVICE_OK)) ok->ShowWindow(SW_SHOW);
    if (CWnd* cancel = GetDlgItem(IDC_DEVICE_CANCEL)) cancel->ShowWindow(SW_SHOW);
    return CBaseTestPage::StartTest();
}

void CPageDevice::SetStatus(LPCSTR text) { SetDlgItemText(IDC_STATUS, text); }

void CPageDevice::EnableItem(int id, BOOL enable) {
    if (CWnd* item = GetDlgItem(id)) item->EnableWindow(enable);
}

CWriteThread* CPageDevice::WriteCard(int index, int productType, int tunerModel) {
    CTestSheet* sheet = GetSheet();
    return sheet != nullptr ? sheet->WriteCardEeprom(index, productType, tunerModel, m_hWnd) : nullptr;
}

void CPageDevice::OnOK() {
    CTestSheet* sheet = GetSheet();
    CPelvatroDlg* main = GetMainDlg();
    if (sheet == nullptr || main == nullptr) return;

    SetStatus(kCreating);
    EnableItem(IDC_DEVICE_OK, FALSE);
    EnableItem(IDC_DEVICE_CANCEL, FALSE);
    if (!sheet->CreateCards()) {
        SetStatus(kCreateFailed);
        EnableItem(IDC_DEVICE_OK, TRUE);
        EnableItem(IDC_DEVICE_CANCEL, TRUE);
        return;
    }

    m_nCardCount = 0;
    m_nCardsFinished = 0;
    m_bDone = FALSE;
    m_mapThreadCard.clear();
    m_setFailedCards.clear();
    m_bCardNotCreated = FALSE;
    // Every card that opened is written; a card that cannot be is reported and skipped, and only
    // the writes that started are waited for.
    for (int index = 0; index < sheet->GetCardCount(); ++index) {
        if (sheet->GetCard(index)->GetCardFilter() == nullptr) {
            SetStatus(kCreateFailed);
            m_bCardNotCreated = TRUE;
            TRACE("CPageDevice::OnOK - card %d has no card filter\n", index);
            m_setFailedCards.insert(index);
            continue;
        }
        CWriteThread* thread = WriteCard(index, main->m_nProductType, main->m_nTunerModel);
        if (thread == nullptr) {
            TRACE("CPageDevice::OnOK - the write of card %d did not start\n", index);
            m_setFailedCards.insert(index);
            continue;
        }
        m_mapThreadCard[reinterpret_cast<WPARAM>(thread)] = index;
        ++m_nCardCount;
    }
    if (m_nCardCount == 0) {
        EndOfWrites();
        return;
    }
    SetStatus(kWriting);
    m_progress.ShowWindow(SW_SHOW);
}

LRESULT CPageDevice::OnWriteProgress(WPARAM wParam, LPARAM lParam) {
    if (lParam > 100) {
        auto card = m_mapThreadCard.find(wParam);
        if (card != m_mapThreadCard.end()) {
            if (lParam != EEPROM_WRITE_FINISHED) m_setFailedCards.insert(card->second);
            m_mapThreadCard.erase(card);
            ++m_nCardsFinished;
            if (m_nCardsFinished >= m_nCardCount) EndOfWrites();
        }
    }
    // The bar shows the smaller of the two latest percentages, whichever card sent them.
    m_nShownPercent = m_nLastPercent;
    m_nLastPercent = static_cast<int>(lParam);
    if (lParam < m_nShownPercent) m_nShownPercent = static_cast<int>(lParam);
    return 0;
}

void CPageDevice::EndOfWrites() {
    m_bDone = TRUE;
    if (m_setFailedCards.empty()) {
        SetStatus(kWritten);
    } else {
        CString status;
        for (int index : m_setFailedCards) {
            if (!status.IsEmpty()) status += " ";
            status.AppendFormat(kCardFailed, index);
        }
        // The operator is still told to check the driver when a card did not open.
        if (m_bCardNotCreated) status += CString(" ") + kCreateFailed;
        SetStatus(status);
    }
    EnableItem(IDC_DEVICE_OK, FALSE);
    EnableItem(IDC_DEVICE_CANCEL, TRUE);
    SetDlgItemText(IDC_DEVICE_CANCEL, kClose);
    m_progress.ShowWindow(SW_HIDE);
    CTestSheet* sheet = GetSheet();
    // A test station goes on to the cards' pages, whatever the writes' outcome: the check page
    // shows each card's EEPROM state.
    if (sheet != nullptr && sheet->IsTestStation()) {
        UseWrittenTuners();
        if (CWnd* pass = GetDlgItem(IDC_PASS)) pass->ShowWindow(SW_SHOW);
        EnableItem(IDC_PASS, TRUE);
    }
    if (sheet != nullptr) sheet->EndWrite();
}

// The card filters chose their tuner from the EEPROM as it was when they opened; a card written
// now is tested with the tuner model it carries from now on.
void CPageDevice::UseWrittenTuners() {
    CTestSheet* sheet = GetSheet();
    CPelvatroDlg* main = GetMainDlg();
    if (sheet == nullptr || main == nullptr) return;
    for (int index = 0; index < sheet->GetCardCount(); ++index) {
        CTVCardFilter* filter = sheet->GetCard(index)->GetCardFilter();
        if (filter == nullptr || m_setFailedCards.count(index) != 0) continue;
        if (filter->GetTunerModel() != main->m_nTunerModel && !filter->SetTunerModel(main->m_nTunerModel)) {
            TRACE("CPageDevice::UseWrittenTuners - card %d has no tuner of model %d\n", index, main->m_nTunerModel);
        }
    }
}

void CPageDevice::OnTimer(UINT_PTR id) {
    if (m_progress.m_hWnd != nullptr) m_progress.SetPos(m_nShownPercent);
    CBaseTestPage::OnTimer(id);
}

void CPageDevice::OnCancel() { PostMessage(WM_QUIT, 0, 0); }

BOOL CPageDevice::OnDeviceChange(UINT event, DWORD_PTR data) {
    CPelvatroDlg* main = GetMainDlg();
    if (main == nullptr || main->m_nHotPlugBus == 0 || !m_bDone) return TRUE;
    SetDlgItemText(IDC_PASS, kRestartProgram);
    EnableItem(IDC_PASS, TRUE);
    return TRUE;
}

void CPageDevice::OnPass() {
    CTestSheet* sheet = GetSheet();
    CPelvatroDlg* main = GetMainDlg();
    if (sheet == nullptr || main == nullptr) return;
    if (main->m_nMachine != CPelvatroDlg::MachineTestStation) {
        if (main->m_nHotPlugBus == 0) {
            sheet->FinishTest();
            return;
        }
        char path[MAX_PATH] = {0};
        GetModuleFileName(nullptr, path, MAX_PATH);
        ShellExecute(nullptr, nullptr, path, nullptr, nullptr, SW_SHOWNORMAL);
        sheet->RestartTest();
        return;
    }
    VERIFY(sheet->SelectCurrentCard());
    CBaseTestPage::OnPass();
}

void CPageDevice::InitCardList() {
    m_imageList.Create(IDB_CARD_LIST, 24, 0, RGB(255, 255, 255));
    m_listCards.SetImageList(&m_imageList, LVSIL_SMALL);
    m_listCards.SetExtendedStyle(m_listCards.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB |
                                 LVS_EX_GRIDLINES);
    const struct {
        const char* heading;
        int width;
    } columns[] = {{"选中", 50}, {"卡号", 50}, {"产品", 140}, {"索引", 60}, {"高频头", 100}, {"FM", 40}, {"Eeprom", 100}};
    int column = 0;
    for (const auto& c : columns) m_listCards.InsertColumn(column++, c.heading, LVCFMT_LEFT, c.width);
}

void CPageDevice::AddCardRow(int row, CCardMan* card) {
    CTestSheet* sheet = GetSheet();
    if (sheet == nullptr) return;
    m_listCards.InsertItem(row, "", 0);
    CCardInfo info;
    sheet->CheckCardEeprom(card, &info);

    CString text;
    text.Format("%d", row);
    m_listCards.SetItemText(row, 1, text);
    CString product = kUnknown;
    sheet->GetWriter().GetProduct2Str().Find(static_cast<EMProductType>(info.m_nProductType), product);
    m_listCards.SetItemText(row, 2, product);
    text.Format("%d", info.m_nIndex);
    m_listCards.SetItemText(row, 3, text);
    CString tuner = kUnknown;
    GetTunerModelNames().Find(static_cast<TUNER_MODEL>(info.m_nTunerModel), tuner);
    m_listCards.SetItemText(row, 4, tuner);
    m_listCards.SetItemText(row, 5, info.m_bFM ? "Yes" : "No");
    const char* states[] = {"Not Written", "Data Error", "OK"};
    m_listCards.SetItemText(row, 6, states[info.m_nState]);
}

void CPageDevice::PrepareNextDevice() {
    EnableItem(IDC_DEVICE_OK, TRUE);
    CPelvatroDlg* main = GetMainDlg();
    if (main != nullptr && main->m_nHotPlugBus != 0) {
        SetDlgItemText(IDC_PASS, kChangeDevice);
    } else {
        EnableItem(IDC_PASS, TRUE);
    }
    if (CTestSheet* sheet = GetSheet()) sheet->EndWrite();
}
