// CPageTVSearch: the tuner's preview, its scan and the found channels.
#include "PageTVSearch.h"

#include <algorithm>

#include "CardMan.h"
#include "PelvatroDlg.h"
#include "cards/base/TVCardFilter.h"
#include "mfc/Resources.h"
#include "platform/analogvideo.h"
#include "resource.h"
#include "tuners/TunerBase.h"

namespace {

const DWORD kVisible = WS_VISIBLE;
const SIZE kPreviewSize = {320, 240};

const AfxResourceRegistrar kResources({
    {IDD_PAGE_TV_SEARCH,
     "",
     0, 0, 260, 200,
     WS_CHILD | DS_CONTROL,
     {
         {IDC_PASS, "Button", "通过 PASS", 159, 168, 81, 31, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_VIDEO_AREA, "Static", "", 1, 2, 158, 145, kVisible | SS_BLACKFRAME, 0},
         {IDC_INFO_LIST, "ListBox", "", 161, 2, 98, 145, kVisible | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0},
         {IDC_CHANNEL_DOWN, "Button", "下一频道 Chl Down", 4, 150, 70, 14, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_CHANNEL_UP, "Button", "上一频道 Chl Up", 80, 150, 70, 14, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_SEARCH, "Button", "搜索 Search", 156, 150, 70, 14, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_STATIC, "Static", "", 1, 166, 258, 1, kVisible | SS_ETCHEDHORZ, 0},
         {IDC_FAIL, "Button", "错误 FAIL", 20, 168, 81, 31, kVisible | WS_TABSTOP | BS_OWNERDRAW, 0},
     }},
});

}  // namespace

const float CPageTVSearch::kChannelTableMHz[17] = {479.25f, 128.25f, 144.25f, 160.25f, 168.25f, 176.25f,
                                                   184.25f, 192.25f, 208.25f, 216.25f, 224.25f, 623.25f,
                                                   671.25f, 679.25f, 695.25f, 703.25f, 735.25f};
// The VHF entries lie 62 kHz above the table's, as the station has always shipped them.
const int CPageTVSearch::kPresetFoundKHz[17] = {479250, 128312, 144312, 160312, 168312, 176312,
                                                184312, 192312, 208312, 216312, 224312, 623250,
                                                671250, 679250, 695250, 703250, 735250};

BEGIN_MESSAGE_MAP(CPageTVSearch, CBaseVideoPage)
    ON_BN_CLICKED(IDC_SEARCH, OnSearch)
    ON_BN_CLICKED(IDC_CHANNEL_DOWN, OnNextChannel)
    ON_BN_CLICKED(IDC_CHANNEL_UP, OnPrevChannel)
    ON_MESSAGE(WM_TV_SEARCH_STEP, OnChannelFound)
    ON_MESSAGE(WM_TV_SEARCH_END, OnSearchEnd)
END_MESSAGE_MAP()

CPageTVSearch::CPageTVSearch(CWnd* parent)
    : CBaseVideoPage(IDD, parent), m_nCurrentChannel(0), m_pChannelTable(nullptr), m_nChannelCount(0) {
    m_strFailText = "搜台错误";
}

CPageTVSearch::~CPageTVSearch() { delete[] m_pChannelTable; }

// Once per page window: the next card starts with the previous card's found list until Search.
void CPageTVSearch::InitData() {
    CBaseVideoPage::InitData();
    m_nChannelCount = static_cast<int>(std::size(kChannelTableMHz));
    ASSERT(m_nChannelCount > 0);
    delete[] m_pChannelTable;
    m_pChannelTable = new float[m_nChannelCount];
    std::copy(std::begin(kChannelTableMHz), std::end(kChannelTableMHz), m_pChannelTable);
    m_arrFound.insert(m_arrFound.end(), std::begin(kPresetFoundKHz), std::end(kPresetFoundKHz));
}

BOOL CPageTVSearch::StartTest() {
    ShowInfo("TV 搜台测试");
    // Each refusal is the card manager's (a running graph keeps its format); the page goes on.
    if (m_pCard != nullptr) {
        if (!m_pCard->SetCountryCode(CountryCode)) TRACE("CPageTVSearch::StartTest - country code refused\n");
        if (!m_pCard->SetVideoStandard(AnalogVideo_PAL_D)) TRACE("CPageTVSearch::StartTest - PAL-D refused\n");
        if (!m_pCard->SetVideoSize(kPreviewSize)) TRACE("CPageTVSearch::StartTest - 320 x 240 refused\n");
    }
    SelectInput(0);
    BOOL result = CBaseVideoPage::StartTest();
    if (m_pCard != nullptr) m_pCard->SetNotifyWindow(m_hWnd);
    return result;
}

void CPageTVSearch::StopTest() {
    if (m_pCard != nullptr) {
        if (m_pCard->IsScanning()) m_pCard->StopScan();
        CPelvatroDlg* main = GetMainDlg();
        m_pCard->SetNotifyWindow(main != nullptr ? main->m_hWnd : nullptr);
    }
    CBaseVideoPage::StopTest();
}

void CPageTVSearch::OnSearch() {
    if (m_pCard == nullptr) return;
    if (m_pCard->IsScanning()) {
        m_pCard->StopScan();
        return;
    }
    m_arrFound.clear();
    if (CTVCardFilter* filter = m_pCard->GetCardFilter()) filter->SetChannelTable(m_pChannelTable, m_nChannelCount);
    if (!m_pCard->StartScan(TRUE, FALSE)) TRACE("CPageTVSearch::OnSearch - the scan did not start\n");
}

LRESULT CPageTVSearch::OnChannelFound(WPARAM kHz, LPARAM signal) {
    CString line = "TV";
    line.AppendFormat(":%d KHz,信号:%d", static_cast<int>(kHz), static_cast<int>(signal));
    AddInfo(line);
    if (signal != 0) m_arrFound.push_back(static_cast<int>(kHz));
    return 0;
}

LRESULT CPageTVSearch::OnSearchEnd(WPARAM, LPARAM) {
    m_nCurrentChannel = 0;
    TuneCurrent();
    AddInfo("Search finished");
    return 0;
}

// Past the last found channel the page wraps to the first and tunes it, though the old page
// stopped one past the end: the picture stayed on the last channel and the next press tuned
// the second.
void CPageTVSearch::OnNextChannel() {
    ++m_nCurrentChannel;
    if (m_nCurrentChannel >= static_cast<int>(m_arrFound.size())) m_nCurrentChannel = 0;
    TuneCurrent();
}

void CPageTVSearch::OnPrevChannel() {
    m_nCurrentChannel = std::max(0, m_nCurrentChannel - 1);
    TuneCurrent();
}

void CPageTVSearch::TuneCurrent() {
    if (m_nCurrentChannel < 0 || m_nCurrentChannel >= static_cast<int>(m_arrFound.size())) {
        m_nCurrentChannel = 0;
        return;
    }
    CTVCardFilter* filter = m_pCard != nullptr ? m_pCard->GetCardFilter() : nullptr;
    if (filter == nullptr || !filter->SetTVChannelFreq(static_cast<float>(m_arrFound[size_t(m_nCurrentChannel)]))) {
        TRACE("CPageTVSearch::TuneCurrent - channel %d not tuned\n", m_nCurrentChannel);
    }
}

void CPageTVSearch::AddInfo(LPCSTR line) {
    if (m_listInfo.m_hWnd != nullptr) m_listInfo.AddString(line);
}
