// CPageRecord: five seconds through the encoder, then the player and the next page.
#include "PageRecord.h"

#include "CardMan.h"
#include "ProgramFolder.h"
#include "TestSheet.h"
#include "graph/DumpFilter.h"
#include "graph/MpegEncoderFilter.h"
#include "resource.h"

namespace {

const DWORD kVisible = WS_VISIBLE;
const DWORD kHidden = 0;

const AfxResourceRegistrar kResources({
    {IDD_PAGE_RECORD,
     "",
     0, 0, 260, 200,
     WS_CHILD | DS_CONTROL,
     {
         {IDC_VIDEO_AREA, "Static", "", 2, 4, 162, 123, kVisible | SS_BLACKFRAME, 0},
         {IDC_INFO_LIST, "ListBox", "", 168, 4, 90, 123,
          kVisible | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_SORT | LBS_NOINTEGRALHEIGHT,
          0},
         {IDC_RECORD_PROGRESS, "Static", "", 2, 132, 226, 16, kVisible | SS_LEFT, 0},
         {IDC_STATIC, "Static", "", 2, 155, 256, 1, kVisible | SS_BLACKRECT, 0},
         {IDC_PASS, "Button", "通过 PASS", 159, 162, 81, 31, kHidden | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {IDC_FAIL, "Button", "错误 FAIL", 20, 162, 81, 31, kVisible | WS_TABSTOP | BS_OWNERDRAW, 0},
     }},
});

// The encoder's settings for the test recording: property id, value, size in bytes; then the
// rate record (mode, average and maximum bit rate).
const EncoderSetting kRecordSettings[] = {
    {9, 10, 4}, {8, 0, 4}, {6, 0, 4}, {7, 1, 4}, {5, 1, 4}, {4, 11, 1}, {2, 15, 1}, {1, 0, 4},
};
const DWORD kRateId = 0;
const DWORD kRates[3] = {0, 4500000, 9800000};

bool FileExists(const CString& path) { return GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

// Why a recording did not start, as the page shows it.
const char kFaultNoCard[] = "录像失败: 没有卡";
const char kFaultNoEncoder[] = "录像失败: 本卡没有编码器";
const char kFaultGraph[] = "录像失败: 录像图建不起来";
const char kFaultSettings[] = "录像失败: 编码器不接受设置";
const char kFaultConnect[] = "录像失败: 编码器连接不上";
const char kFaultFile[] = "录像失败: 不能写入 %s";
const char kFaultRun[] = "录像失败: 录像不能开始";
// Why a recording under way broke.
const char kFaultDiskFull[] = "录像失败: 磁盘已满";
const char kFaultStalled[] = "录像失败: 编码器停止输出";
const char kFaultAborted[] = "录像失败: 录像中断 (错误 0x%08X)";
const char kFaultPictures[] = "录像失败: 录像丢帧 (只有 %d 帧, 应有 %d 帧)";

// The pictures five seconds give at 25 a second (the 525-line standards give more), and the
// share of them a recording must hold.
const int kExpectedPictures = 125;
const int kPicturesPercent = 96;

// The size of the file so far; 0 when it cannot be opened.
DWORD FileSizeOf(const CString& path) {
    HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    const DWORD size = GetFileSize(file, nullptr);
    CloseHandle(file);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

// The pictures a program stream holds: its video's picture start codes (00 00 01 00).
int PicturesIn(const CString& path) {
    HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int pictures = 0;
    DWORD last = 0xFFFFFFFF;  // the last four bytes read
    BYTE buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            last = last << 8 | buffer[i];
            if (last == 0x00000100) ++pictures;
        }
    }
    CloseHandle(file);
    return pictures;
}

}  // namespace

int CPageRecord::s_nProgress = 0;

BEGIN_MESSAGE_MAP(CPageRecord, CBaseVideoPage)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CPageRecord::CPageRecord(CWnd* parent) : CBaseVideoPage(IDD, parent), m_bRecording(false) {
    m_strFailText = "录像出错";
}

void CPageRecord::DoDataExchange(CDataExchange* dx) {
    CBaseVideoPage::DoDataExchange(dx);
    DDX_Text(dx, IDC_RECORD_PROGRESS, m_strProgress);
}

BOOL CPageRecord::StartTest() {
    // Nothing of the card before stays shown.
    m_strProgress.Empty();
    UpdateData(FALSE);
    ShowInfo("压缩测试");
    SelectInput(0);
    if (m_pCard != nullptr) m_pCard->StopGraph();
    BOOL previewed = CBaseVideoPage::StartTest();
    bool recording = StartRecording();
    if (!recording) {
        // Nothing is recorded: the page says why and, once a recording would have ended, fails
        // the card as its fail button does, so an unattended run goes on.
        UpdateData(FALSE);
        SetTimer(TimerTimeLimit, ProgressTicks * ProgressPeriodMs + PlayDelayMs);
    }
    return previewed && recording;
}

bool CPageRecord::StartRecording() {
    m_strProgress.Empty();
    if (m_pCard == nullptr) {
        m_strProgress = kFaultNoCard;
        return false;
    }
    m_pCard->StopGraph();
    if (!m_pCard->BuildEncoderGraph()) {
        TRACE("CPageRecord: the encoder graph of card %d did not build\n", m_nCardIndex);
        m_strProgress = m_pCard->GetEncoder() == nullptr ? kFaultNoEncoder : kFaultGraph;
        return false;
    }
    if (!SetupEncoder()) {
        TRACE("CPageRecord: the encoder of card %d refused its settings\n", m_nCardIndex);
        m_strProgress = kFaultSettings;
        return false;
    }
    m_strRecordFile = MakeRecordFileName();
    if (m_pCard->GetDumpFilter() != nullptr) m_pCard->GetDumpFilter()->SetFileName(m_strRecordFile);
    if (!m_pCard->ConnectEncoderGraph()) {
        TRACE("CPageRecord: the encoder graph of card %d did not connect\n", m_nCardIndex);
        m_strProgress = kFaultConnect;
        return false;
    }
    // A file that cannot be created refuses the run: nothing is recorded and nothing played.
    if (!m_pCard->GetGraph().Run()) {
        TRACE("CPageRecord: the recording of card %d into %s did not start\n", m_nCardIndex, (LPCSTR)m_strRecordFile);
        m_pCard->StopRecord();
        // The file writer makes the file as the graph starts: without it, the folder refused it.
        if (FileExists(m_strRecordFile)) m_strProgress = kFaultRun;
        else m_strProgress.Format(kFaultFile, PathForOperator(m_strRecordFile).GetString());
        return false;
    }
    // Every recording counts its own ticks from the start, whatever an earlier one left.
    s_nProgress = 0;
    m_dwCheckedSize = 0;
    m_nGrewAt = 0;
    SetTimer(TimerProgress, ProgressPeriodMs);
    m_bRecording = true;
    return true;
}

bool CPageRecord::SetupEncoder() {
    if (m_pCard == nullptr) return false;
    if (!m_pCard->SetVideoSize(SIZE{720, 480}) && !m_pCard->SetVideoSize(SIZE{720, 576})) return false;
    CMpegEncoderFilter* encoder = m_pCard->GetEncoder();
    if (encoder == nullptr) return false;
    for (const EncoderSetting& setting : kRecordSettings) {
        if (!encoder->SetProperty(setting.id, &setting.value, setting.size)) return false;
    }
    DWORD rates[3] = {kRates[0], kRates[1], kRates[2]};
    return encoder->SetProperty(kRateId, rates, sizeof(rates)) != FALSE;
}

// Numbered "_1", "_2", ... where the time's name is taken, though the old name was the time
// alone: a second recording within the same second overwrote the first.
CString CPageRecord::MakeRecordFileName() const {
    CString stem = CTime::GetCurrentTime().Format("%H_%M_%S");
    CString path = GetProgramFilePath(stem + ".mpg");
    for (int n = 1; FileExists(path); ++n) {
        CString numbered;
        numbered.Format("%s_%d.mpg", (LPCSTR)stem, n);
        path = GetProgramFilePath(numbered);
    }
    return path;
}

void CPageRecord::OnTestTimer(UINT_PTR id) {
    if (id == TimerProgress) {
        m_strProgress.Format("正在录像，当前进度: %d%%", s_nProgress);
        ++s_nProgress;
        UpdateData(FALSE);
        if (!RecordingGoesOn()) return;
        if (s_nProgress >= ProgressTicks) {
            KillTimer(TimerProgress);
            StopRecording();
            // Judged once the graph has stopped: the file is whole only when nothing failed up
            // to and including the stop, and it holds the pictures of the five seconds.
            CString reason = RecordFault();
            s_nProgress = 0;
            const int pictures = reason.IsEmpty() ? PicturesIn(m_strRecordFile) : 0;
            if (reason.IsEmpty() && pictures * 100 < kExpectedPictures * kPicturesPercent)
                reason.Format(kFaultPictures, pictures, kExpectedPictures);
            if (reason.IsEmpty()) SetTimer(TimerPlay, PlayDelayMs);
            else FailRecording(reason, 0);
        }
    } else if (id == TimerPlay) {
        KillTimer(TimerPlay);
        PlayRecording();
        if (CTestSheet* sheet = GetSheet()) sheet->NextPage();
    }
    CBaseVideoPage::OnTestTimer(id);
}

CString CPageRecord::RecordFault() {
    CString reason;
    const HRESULT fault = m_pCard != nullptr ? m_pCard->TakeRecordFault() : S_OK;
    if (fault == HRESULT_FROM_WIN32(ERROR_DISK_FULL)) reason = kFaultDiskFull;
    else if (FAILED(fault)) reason.Format(kFaultAborted, unsigned(fault));
    else if (s_nProgress - m_nGrewAt >= (s_nProgress >= ProgressTicks ? EndStallTicks : StallCheckTicks))
        reason = kFaultStalled;
    return reason;
}

bool CPageRecord::RecordingGoesOn() {
    const DWORD size = FileSizeOf(m_strRecordFile);
    if (size > m_dwCheckedSize) {
        m_dwCheckedSize = size;
        m_nGrewAt = s_nProgress;
    }
    CString reason = RecordFault();
    if (reason.IsEmpty()) return true;
    // The card fails once the recording would have ended, as when it cannot start.
    const int ticksLeft = ProgressTicks - s_nProgress;
    KillTimer(TimerProgress);
    StopRecording();
    s_nProgress = 0;
    FailRecording(reason, ticksLeft);
    return false;
}

void CPageRecord::FailRecording(const CString& reason, int ticksLeft) {
    TRACE("CPageRecord: the recording of card %d broke: %s\n", m_nCardIndex, (LPCSTR)reason);
    m_strProgress = reason;
    UpdateData(FALSE);
    SetTimer(TimerTimeLimit, ticksLeft * ProgressPeriodMs + PlayDelayMs);
}

void CPageRecord::StopRecording() {
    if (!m_bRecording) return;
    if (m_pCard != nullptr) {
        m_pCard->StopRecord();
        // The demultiplexer keeps its stream mapping: a fresh one serves the card's next
        // recording, when the page is entered again.
        m_pCard->RemovePlayback();
    }
    m_bRecording = false;
}

void CPageRecord::PlayRecording() {
    char windows[MAX_PATH] = {0};
    GetWindowsDirectory(windows, MAX_PATH);
    CString folder = CString(windows).Left(3) + "Program Files";
    CString player = folder + "\\Windows Media Player\\mplayer2.exe";
    if (!FileExists(player)) player = folder + "\\Windows Media Player\\wmplayer.exe";
    // Quoted, so a program folder with blanks plays.
    CString parameters = "\"" + m_strRecordFile + "\"";
    ShellExecute(nullptr, nullptr, player, parameters, nullptr, SW_SHOWNORMAL);
}

void CPageRecord::StopTest() {
    StopRecording();
    KillTimer(TimerProgress);
    KillTimer(TimerPlay);
    CBaseVideoPage::StopTest();
}

void CPageRecord::OnFail() {
    StopRecording();
    KillTimer(TimerPlay);
    KillTimer(TimerProgress);
    CBaseVideoPage::OnFail();
}

void CPageRecord::OnDestroy() {
    CBaseVideoPage::OnDestroy();
    KillTimer(TimerProgress);
    KillTimer(TimerPlay);
}
