// CPelvatroDlg: start-up of the station and the choice of the station kind.
#include "PelvatroDlg.h"

#include "Pelvatro.h"
#include "ProgramFolder.h"
#include "TestSheet.h"
#include "resource.h"

namespace {

const AfxResourceRegistrar kResources(
    {
        {IDD_ABOUTBOX,
         "About",
         0, 0, 170, 50,
         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
         {
             {IDC_STATIC, "Static", "#128", 11, 17, 20, 20, WS_VISIBLE | SS_ICON, 0},
             {IDC_STATIC, "Static", "Version 1.0", 40, 10, 119, 8, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0},
             {IDOK, "Button", "OK", 113, 28, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
         }},
        {IDD_PELVATRO_DIALOG,
         "生产测试功能设定(Vorlane)",
         0, 0, 200, 70,
         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
         {
             {IDC_WRITE_STATION, "Button", "将本机设定为写码机台", 30, 12, 140, 18,
              WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0},
             {IDC_TEST_STATION, "Button", "将本机设定为测试机台", 30, 40, 140, 18,
              WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0},
         }},
    },
    {{IDS_ABOUTBOX, "&About Pelvatro..."}});

}  // namespace

BEGIN_MESSAGE_MAP(CPelvatroDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_WRITE_STATION, RunWriteStation)
    ON_BN_CLICKED(IDC_TEST_STATION, RunTestStation)
END_MESSAGE_MAP()

CPelvatroDlg::CPelvatroDlg(CWnd* parent)
    : CDialog(IDD, parent),
      m_hIcon(nullptr),
      m_nShutDown(0),
      m_nMachine(0),
      m_nProductType(0),
      m_nTunerModel(0),
      m_nHotPlugBus(0),
      m_nTimeDelayRemote(0) {
    if (CWinApp* app = AfxGetApp()) m_hIcon = app->LoadIcon(IDR_MAINFRAME);
}

BOOL CPelvatroDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The About entry goes on the system menu where the window has one.
    if (CMenu* menu = GetSystemMenu(FALSE)) {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    LoadConfig(GetProgramFilePath("ConfigTest.txt"));
    SetDefaultStation();
    return TRUE;
}

void CPelvatroDlg::SetDefaultStation() {
    m_nProductType = DefaultProductType;
    m_nTunerModel = DefaultTunerModel;
    RunWriteStation();
}

void CPelvatroDlg::RunWriteStation() {
    ShowWindow(SW_HIDE);
    CTestSheet sheet(this);
    sheet.DoModal();
    CDialog::OnOK();
}

void CPelvatroDlg::RunTestStation() {
    m_nMachine = MachineTestStation;
    RunWriteStation();
}

void CPelvatroDlg::RequestPowerOff() {
    if (m_nShutDown <= 0) return;
    if (CPelvatroApp* app = GetPelvatroApp()) app->m_bPowerOff = TRUE;
}

void CPelvatroDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(id, lParam);
    }
}

void CPelvatroDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = GetSystemMetrics(SM_CXICON);
    int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    int x = (rect.Width() - cxIcon + 1) / 2;
    int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CPelvatroDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CPelvatroDlg::OnDestroy() {
    SaveConfig();
    CDialog::OnDestroy();
}
