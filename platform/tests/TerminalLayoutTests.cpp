// The terminal display within the terminal's size: the window shrinks to fit, a resize draws
// it again, a terminal too small says so, and a message box of another thread shows centred
// over the window and takes the keys.
#include <gtest/gtest.h>

#include "TerminalChild.h"
#include "afxcmn.h"
#include "platform/display.h"
#include "platform/runtime.h"

using namespace terminal_test;

namespace {

constexpr UINT kStationPage = 9301;

// As large as the station's EEPROM page, and placed where a 1024 x 768 screen would centre it.
const AfxResourceRegistrar kResources({
    {kStationPage, "生产测试", 250, 180, 259, 82, WS_POPUP | WS_CAPTION,
     {{1013, "Static", "烧写完成，请重新启动电脑。", 18, 5, 195, 13, WS_VISIBLE, 0},
      {1014, PROGRESS_CLASS, "", 19, 17, 185, 8, WS_VISIBLE, 0},
      {IDOK, "Button", "确 定", 40, 32, 41, 18, WS_VISIBLE | WS_TABSTOP, 0},
      {1081, "Button", "关 闭", 137, 32, 41, 18, WS_VISIBLE | WS_TABSTOP, 0},
      {1003, "Button", "写选中的卡", 200, 56, 50, 14, WS_VISIBLE | WS_TABSTOP, 0}}},
});

class StationPage : public CDialog {
public:
    StationPage() : CDialog(kStationPage) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (workerBox) worker = ::CreateThread(nullptr, 0, &RaiseBox, this, 0, nullptr);
        return TRUE;
    }
    static DWORD WINAPI RaiseBox(LPVOID p) {
        static_cast<StationPage*>(p)->answer = ::MessageBoxA(nullptr, "第1路 烧写失败", "Pelvatro", MB_OK);
        return 0;
    }
    bool workerBox = false;
    HANDLE worker = nullptr;
    int answer = 0;
};

// The page on the terminal; exits with ten times its result plus the worker's box answer.
int RunPage(bool workerBox) {
    platform::UseVirtualClock(false);
    platform::StartDisplay(platform::DisplayKind::Terminal);
    StationPage page;
    page.workerBox = workerBox;
    int result = int(page.DoModal());
    if (page.worker) {
        ::WaitForSingleObject(page.worker, INFINITE);
        ::CloseHandle(page.worker);
    }
    platform::StopDisplay();
    return result * 10 + page.answer;
}

void ExpectPageWithin(const std::vector<std::string>& picture, int columns, int rows) {
    EXPECT_LE(picture.size(), size_t(rows));
    for (const std::string& row : picture) EXPECT_LT(Columns(row), columns) << "[" << row << "]";
    for (const char* text : {"烧写完成，请重新启动电脑。", "确 定", "关 闭", "写选中的卡"})
        EXPECT_TRUE(Shows(picture, text)) << text << " at " << columns << "x" << rows;
}

TEST(TerminalLayout, WindowStaysWithinTheTerminalAndIsDrawnAgainAfterAResize) {
    TerminalChild child;
    child.Start([] { return RunPage(false); }, 80, 24);
    ASSERT_TRUE(child.ReadUntilShown("[>确 定<]", 0));
    ExpectPageWithin(LastPicture(child.output), 80, 24);

    size_t before = child.output.size();
    child.Resize(60, 20);
    ASSERT_TRUE(child.ReadUntil("\x1b[2J", before)) << "a resize clears and draws again";
    ASSERT_TRUE(child.ReadUntilShown("关 闭", before));
    ExpectPageWithin(LastPicture(child.output), 60, 20);

    before = child.output.size();
    child.Resize(30, 8);
    ASSERT_TRUE(child.ReadUntil("too small: 30x8", before));
    std::vector<std::string> picture = LastPicture(child.output);
    ASSERT_EQ(picture.size(), 1u) << "said on one line";
    EXPECT_LT(Columns(picture[0]), 30) << picture[0];

    before = child.output.size();
    child.Resize(80, 24);
    ASSERT_TRUE(child.ReadUntilShown("关 闭", before));
    child.Key("\x03");
    int status = child.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), IDCANCEL * 10);
}

TEST(TerminalLayout, MessageBoxOfAWorkerIsCentredOverThePageAndTakesTheKeys) {
    TerminalChild child;
    child.Start([] { return RunPage(true); }, 80, 24);
    ASSERT_TRUE(child.ReadUntilShown("第1路 烧写失败", 0));
    std::vector<std::string> picture = LastPicture(child.output);
    EXPECT_TRUE(Shows(picture, "生产测试")) << "over the page";
    bool found = false;
    for (const std::string& row : picture) {
        size_t title = row.find(" Pelvatro ");
        if (title == std::string::npos) continue;
        found = true;
        size_t left = row.rfind("┌", title), right = row.find("┐", title);
        ASSERT_NE(left, std::string::npos);
        ASSERT_NE(right, std::string::npos);
        int before = Columns(row.substr(0, left));
        int after = 79 - (Columns(row.substr(0, right)) + 1);
        EXPECT_LE(std::abs(before - after), 1) << "centred: " << row;
    }
    EXPECT_TRUE(found);
    size_t shown = child.output.size();
    child.Key("\r");  // presses the box's OK, not the page's focused button
    ASSERT_TRUE(child.ReadUntilShown("生产测试", shown));
    EXPECT_TRUE(child.ReadUntilGone("第1路 烧写失败"));
    child.Key("\x03");
    int status = child.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), IDCANCEL * 10 + IDOK) << "the page closed by Ctrl-C, the box answered OK";
}

}  // namespace
