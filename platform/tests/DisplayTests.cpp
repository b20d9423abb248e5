// The log display with its automatic operator, and the terminal display through a
// pseudo-terminal.
#include <gtest/gtest.h>

#include <map>

#include "TerminalChild.h"

#include "afxcmn.h"
#include "platform/display.h"
#include "platform/runtime.h"

using namespace terminal_test;

namespace {

constexpr UINT kWritePage = 9201;

const AfxResourceRegistrar kResources({
    {kWritePage, "Write Eeprom", 0, 0, 259, 82, WS_POPUP | WS_CAPTION,
     {{1013, "Static", "是否使用补丁?", 18, 5, 195, 13, WS_VISIBLE, 0},
      {1014, PROGRESS_CLASS, "", 19, 17, 185, 8, 0, 0},
      {1002, "Button", "确 定", 40, 32, 41, 18, WS_VISIBLE | WS_TABSTOP, 0},
      {1081, "Button", "取 消", 137, 32, 41, 18, WS_VISIBLE | WS_TABSTOP, 0}}},
});

// A page shaped like the station's write page: OK starts a "write" that a timer advances.
class WritePage : public CDialog {
public:
    WritePage() : CDialog(kWritePage) {}
    afx_msg void OnStart() {
        ++starts;
        if (!cardPlugged) {
            AfxMessageBox("没有找到可用设备!");
            SetDlgItemText(1013, "创建卡失败，请确认驱动安装正确!");
            return;
        }
        SetDlgItemText(1013, "请稍候，正在烧写......");
        GetDlgItem(1002)->EnableWindow(FALSE);
        GetDlgItem(1081)->EnableWindow(FALSE);
        GetDlgItem(1014)->ShowWindow(SW_SHOW);
        SetTimer(1, 20, nullptr);
    }
    afx_msg void OnTimer(UINT_PTR id) {
        CProgressCtrl* progress = static_cast<CProgressCtrl*>(GetDlgItem(1014));
        int pos = int(progress->SendMessage(PBM_GETPOS)) + 4;
        progress->SendMessage(PBM_SETPOS, WPARAM(pos));
        if (pos < 100) return;
        KillTimer(1);
        SetDlgItemText(1013, "烧写完成，请重新启动电脑。");
        GetDlgItem(1081)->EnableWindow(TRUE);
        SetDlgItemText(1081, "关 闭");
        GetDlgItem(1014)->ShowWindow(SW_HIDE);
    }
    afx_msg void OnClose1081() { EndDialog(1081); }

    bool cardPlugged = true;
    int starts = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(WritePage, CDialog)
    ON_BN_CLICKED(1002, OnStart)
    ON_BN_CLICKED(1081, OnClose1081)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class LogDisplay : public testing::Test {
protected:
    void SetUp() override {
        platform::SetDisplay(platform::MakeLogDisplay([this](const std::string& line) { lines.push_back(line); }, 500));
    }
    void TearDown() override { platform::StopDisplay(); }
    bool Printed(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
    int Count(const std::string& prefix) const {
        int n = 0;
        for (const auto& l : lines) n += l.rfind(prefix, 0) == 0;
        return n;
    }
    std::vector<std::string> lines;
};

TEST_F(LogDisplay, OperatorRunsTheWriteToItsEndAndCloses) {
    WritePage page;
    EXPECT_EQ(page.DoModal(), 1081);
    EXPECT_EQ(page.starts, 1);
    EXPECT_TRUE(Printed("window \"Write Eeprom\""));
    EXPECT_TRUE(Printed("text 1013: 是否使用补丁?"));
    EXPECT_TRUE(Printed("operator: presses \"确 定\" (1002)"));
    EXPECT_TRUE(Printed("button 1002 \"确 定\" disabled"));
    EXPECT_TRUE(Printed("text 1013: 请稍候，正在烧写......"));
    EXPECT_TRUE(Printed("progress 1014: 40%"));
    EXPECT_TRUE(Printed("button 1081 \"关 闭\""));
    EXPECT_TRUE(Printed("operator: presses \"关 闭\" (1081)"));
    EXPECT_LE(Count("progress 1014:"), 12);  // every ten percent, not every step
    EXPECT_GE(Count("progress 1014:"), 10);
}

TEST_F(LogDisplay, OperatorAcceptsMessageBoxesAndGivesUpWhenNothingChanges) {
    WritePage page;
    page.cardPlugged = false;
    EXPECT_EQ(page.DoModal(), IDCANCEL);
    EXPECT_EQ(page.starts, 2);  // pressed again after the status changed, then never again
    EXPECT_EQ(Count("message box \"Pelvatro\": 没有找到可用设备! -> 确定"), 2);
    EXPECT_TRUE(Printed("text 1013: 创建卡失败，请确认驱动安装正确!"));
    EXPECT_TRUE(Printed("operator: closes \"Write Eeprom\""));
}

// The log and terminal displays write in their locale's charset; what it lacks becomes a like
// character of the same width, else '?' for each column.
TEST(DisplayText, IsWrittenInTheTerminalsCharset) {
    struct {
        const char* charset;
        std::string text;
        std::string written;
    } rows[] = {
        {"UTF-8", "╭─ 烧写 ░▶ ┘", "╭─ 烧写 ░▶ ┘"},
        {"GBK", "┌─ 烧写 ┐", "\xa9\xb0\xa9\xa4 \xc9\xd5\xd0\xb4 \xa9\xb4"},
        {"GBK", "[██░] ▶ 𠀀 \xff", "[\xa8\x80\xa8\x80-] > ?? ?"},
        {"GB2312", "╭──╮ 烧 █", "\xa9\xb0\xa9\xa4\xa9\xa4\xa9\xb4 \xc9\xd5 #"},
        {"GB18030", "░▶𠀀", "\x81\x37\x99\x34\x81\x37\x9c\x34\x95\x32\x82\x36"},
        {"ISO-8859-1", "╭─┐ 烧写", "+-+ ????"},
    };
    for (const auto& row : rows) EXPECT_EQ(platform::TextInCharset(row.text, row.charset), row.written) << row.charset << " " << row.text;
}

// A test page: fail, OK and pass buttons, each ending the dialog with its id at the clock time
// it was pressed.
constexpr UINT kPassPage = 9203;
const AfxResourceRegistrar kPassPageResources({
    {kPassPage, "Check", 0, 0, 200, 40, WS_POPUP | WS_CAPTION,
     {{1052, "Button", "错误 FAIL", 5, 10, 50, 18, WS_VISIBLE | WS_TABSTOP, 0},
      {1002, "Button", "确 定", 70, 10, 50, 18, WS_VISIBLE | WS_TABSTOP, 0},
      {1053, "Button", "通过 PASS", 140, 10, 50, 18, WS_VISIBLE | WS_TABSTOP, 0}}},
});

class PassPage : public CDialog {
public:
    PassPage() : CDialog(kPassPage) {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        pressedAt = platform::ClockNow();
        EndDialog(LOWORD(wParam));
        return TRUE;
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_bDisablePass) GetDlgItem(1053)->EnableWindow(FALSE);
        return TRUE;
    }
    ULONGLONG pressedAt = 0;
    bool m_bDisablePass = false;
};

struct OperatorPreferencesTest : LogDisplay {
    void TearDown() override {
        platform::SetOperatorPreferences({});
        LogDisplay::TearDown();
    }
};

TEST_F(OperatorPreferencesTest, PreferredButtonIsPressedAfterTheShowingTimeAndTheNeverButtonNot) {
    platform::SetOperatorPreferences({{1053}, {1052}, 2000});
    PassPage page;
    const ULONGLONG shown = platform::ClockNow();
    EXPECT_EQ(page.DoModal(), 1053);
    EXPECT_GE(page.pressedAt - shown, 2000u);

    // Without the preferred button the first other one is pressed, never the fail button.
    PassPage second;
    platform::SetOperatorPreferences({{1053}, {1052}, 0});
    second.m_bDisablePass = true;
    EXPECT_EQ(second.DoModal(), 1002);
}

// ---- terminal ----

constexpr UINT kTerminalDialog = 9202;
const AfxResourceRegistrar kTerminalResources({
    {kTerminalDialog, "烧写 Eeprom", 0, 0, 200, 70, WS_POPUP | WS_CAPTION | WS_SYSMENU,
     {{1013, "Static", "请稍候，正在烧写......", 8, 5, 180, 13, WS_VISIBLE, 0},
      {1014, PROGRESS_CLASS, "", 8, 20, 180, 8, WS_VISIBLE, 0},
      {IDOK, "Button", "确 定", 20, 40, 44, 16, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
      {IDCANCEL, "Button", "取 消", 80, 40, 44, 16, WS_VISIBLE | WS_TABSTOP, 0},
      {1003, "Button", "写选中的卡", 136, 40, 56, 16, WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 0}}},
});

class TerminalDialog : public CDialog {
public:
    TerminalDialog() : CDialog(kTerminalDialog) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SendDlgItemMessage(1014, PBM_SETPOS, 40);
        return TRUE;
    }
};

// The terminal dialog in a child process; the child exits with the dialog's result.
int RunTerminalDialog() {
    platform::UseVirtualClock(false);
    platform::StartDisplay(platform::DisplayKind::Terminal);
    TerminalDialog dialog;
    INT_PTR result = dialog.DoModal();
    platform::StopDisplay();
    return int(result);
}

TEST(TerminalDisplay, DrawsTheDialogAndAKeyPressesTheFocusedButton) {
    TerminalChild child;
    child.Start(&RunTerminalDialog);
    ASSERT_GE(child.pid, 0);
    ASSERT_TRUE(child.ReadUntil("[>确 定<]"));
    // The rest of that picture may still be on its way.
    auto whole = [&child] {
        std::vector<std::string> rows = LastPicture(child.output);
        if (rows.size() < 5) return false;
        for (const std::string& row : rows)
            if (!row.empty() && Columns(row) != Columns(rows[0])) return false;
        return true;
    };
    while (!whole() && child.ReadFor(100)) {
    }
    std::vector<std::string> picture = LastPicture(child.output);
    ASSERT_GE(picture.size(), 5u);
    int width = Columns(picture[0]);
    bool sawTitle = false;
    bool sawStatus = false, sawBar = false, sawDisabled = false;
    for (const std::string& line : picture) {
        if (line.empty()) continue;
        EXPECT_EQ(Columns(line), width) << line;  // wide characters keep the frame straight
        sawStatus |= line.find("请稍候，正在烧写......") != std::string::npos;
        sawBar |= line.find("█") != std::string::npos && line.find(" 40%") != std::string::npos;
        sawDisabled |= line.find("( 写选中的卡 )") != std::string::npos;
        sawTitle |= line.find("烧写 Eeprom") != std::string::npos;
    }
    EXPECT_TRUE(sawStatus);
    EXPECT_TRUE(sawBar);
    EXPECT_TRUE(sawDisabled);
    EXPECT_TRUE(sawTitle);

    ASSERT_EQ(write(child.master, "\t", 1), 1);  // focus moves to the second button
    ASSERT_TRUE(child.ReadUntil("[>取 消<]"));
    ASSERT_EQ(write(child.master, "\r", 1), 1);
    int status = child.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), IDCANCEL);
}

// Ctrl-C on the terminal asks the active window to close, as its close box would, instead of
// killing the program: a window that must not close yet (the station while it writes EEPROMs)
// keeps running, and one that may close ends the program normally.
TEST(TerminalDisplay, CtrlCClosesTheActiveWindowInsteadOfKillingTheProgram) {
    TerminalChild child;
    child.Start(&RunTerminalDialog);
    ASSERT_GE(child.pid, 0);
    ASSERT_TRUE(child.ReadUntil("[>确 定<]"));
    ASSERT_EQ(write(child.master, "\x03", 1), 1);
    int status = child.Wait();
    EXPECT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), IDCANCEL);
}

// Alt+Space opens the system menu over the window; Enter on its Close entry closes the window.
TEST(TerminalDisplay, AltSpaceOpensTheSystemMenu) {
    TerminalChild child;
    child.Start(&RunTerminalDialog);
    ASSERT_GE(child.pid, 0);
    ASSERT_TRUE(child.ReadUntil("[>确 定<]"));
    ASSERT_EQ(write(child.master, "\x1b ", 2), 2);
    ASSERT_TRUE(child.ReadUntil("Close"));
    ASSERT_EQ(write(child.master, "\r", 1), 1);
    int status = child.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), IDCANCEL);
}

}  // namespace

namespace {

// A display that counts the idle passes of each thread's loops and ends the loop it was told to.
class CountingDisplay : public platform::Display {
public:
    platform::DisplayKind Kind() const override { return platform::DisplayKind::Log; }
    ULONGLONG Idle() override {
        ++passes[GetCurrentThreadId()];
        if (ending && ending->m_hWnd && GetWindowThreadProcessId(ending->m_hWnd, nullptr) == GetCurrentThreadId())
            ending->EndModalLoop(0);
        return UINT64_MAX;
    }
    int AnswerMessageBox(HWND, const char*, const char*, UINT) override { return IDOK; }
    std::map<DWORD, int> passes;
    CWnd* ending = nullptr;
};

// A modal loop on a window of the calling thread, ended by the display or, failing that, a timer.
void RunLoop(CountingDisplay* display) {
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, "AfxWnd", "loop", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    display->ending = &window;
    static CWnd* g_window;
    g_window = &window;
    window.SetTimer(1, 1000, [](HWND, UINT, UINT_PTR, DWORD) { g_window->EndModalLoop(0); });
    window.RunModalLoop();
    window.KillTimer(1);
    display->ending = nullptr;
    window.DestroyWindow();
}

}  // namespace

TEST(DisplayHost, TheDrawingThreadHandsItsRoleOnWhenItEnds) {
    auto owned = std::make_unique<CountingDisplay>();
    CountingDisplay* display = owned.get();
    platform::SetDisplay(std::move(owned));
    DWORD workerId = 0;
    HANDLE worker = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            RunLoop(static_cast<CountingDisplay*>(p));
            return 0;
        },
        display, 0, &workerId);
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    EXPECT_GT(display->passes[workerId], 0) << "the first thread whose loop went idle draws";
    RunLoop(display);
    EXPECT_GT(display->passes[GetCurrentThreadId()], 0) << "the drawing thread ended: this one draws now";
    platform::StopDisplay();
}
