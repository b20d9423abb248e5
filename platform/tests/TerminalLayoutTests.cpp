// The terminal display within the terminal's size: the window shrinks to fit, a resize draws
// it again, a terminal too small says so, and a message box of another thread shows centred
// over the window and takes the keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "TerminalChild.h"
#include "afxcmn.h"
#include "platform/display.h"
#include "platform/runtime.h"
#include "platform/testoperator.h"
#include "platform/windowcore.h"

using namespace terminal_test;

namespace {

constexpr UINT kStationPage = 9301;
constexpr UINT kCheckPage = 9302;
constexpr UINT kSearchPage = 9303;
constexpr UINT kRecordPage = 9304;
constexpr DWORD kVisible = WS_VISIBLE;
constexpr DWORD kField = WS_VISIBLE | WS_BORDER | ES_READONLY;
constexpr DWORD kList = WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP;

// As large as the station's EEPROM page, and placed where a 1024 x 768 screen would centre it.
const AfxResourceRegistrar kResources({
    {kStationPage, "生产测试", 250, 180, 259, 82, WS_POPUP | WS_CAPTION,
     {{1013, "Static", "烧写完成，请重新启动电脑。", 18, 5, 195, 13, WS_VISIBLE, 0},
      {1014, PROGRESS_CLASS, "", 19, 17, 185, 8, WS_VISIBLE, 0},
      {IDOK, "Button", "确 定", 40, 32, 41, 18, WS_VISIBLE | WS_TABSTOP, 0},
      {1081, "Button", "关 闭", 137, 32, 41, 18, WS_VISIBLE | WS_TABSTOP, 0},
      {1003, "Button", "写选中的卡", 200, 56, 50, 14, WS_VISIBLE | WS_TABSTOP, 0}}},
    // Laid out as the station's check and TV search pages, in a sheet of the result page's width:
    // taller than 24 rows, so the terminal draws them shorter.
    {kCheckPage, "检测(Check)", 0, 0, 290, 200, WS_POPUP | WS_CAPTION,
     {{-1, "Button", "写入机型", 4, 2, 252, 98, kVisible | BS_GROUPBOX, 0},
      {-1, "Static", "机型", 12, 16, 30, 10, kVisible, 0},
      {1013, "Edit", "713x 模拟电视卡", 44, 14, 204, 12, kField, 0},
      {-1, "Static", "国家", 12, 30, 30, 10, kVisible, 0},
      {1014, "Edit", "中国 PAL-D/K", 44, 28, 204, 12, kField, 0},
      {-1, "Static", "具备", 12, 44, 30, 10, kVisible, 0},
      {1015, "Edit", "TV, AV", 44, 42, 204, 12, kField, 0},
      {1047, "ListBox", "", 44, 57, 204, 39, kList, 0},
      {1072, "Static", "产  品: Keshar\n卡  号: 0", 12, 113, 160, 40, kVisible, 0},
      {1006, "Static", "Static", 178, 113, 70, 39, kVisible | SS_CENTER, 0},
      {1063, "Static", "Static", 178, 160, 70, 12, kVisible | SS_CENTER, 0},
      {1052, "Button", "错误 FAIL", 20, 164, 81, 31, kButton, 0},
      {1053, "Button", "开始测试", 159, 164, 81, 31, kButton, 0}}},
    {kSearchPage, "搜台(TV Search)", 0, 0, 290, 200, WS_POPUP | WS_CAPTION,
     {{1043, "Static", "", 1, 2, 158, 145, kVisible | SS_BLACKFRAME, 0},
      {1051, "ListBox", "", 161, 2, 98, 145, kList, 0},
      {1054, "Button", "下一频道 Chl Down", 4, 150, 70, 14, kButton, 0},
      {1055, "Button", "上一频道 Chl Up", 80, 150, 70, 14, kButton, 0},
      {1000, "Button", "搜索 Search", 156, 150, 70, 14, kButton, 0},
      {-1, "Static", "", 1, 166, 258, 1, kVisible | SS_ETCHEDHORZ, 0},
      {1052, "Button", "错误 FAIL", 20, 168, 81, 31, kButton, 0},
      {1053, "Button", "通过 PASS", 159, 168, 81, 31, kButton, 0}}},
    // The record page, its video box as wide as on the question pages: one unit left of the list.
    {kRecordPage, "录像(Record)", 0, 0, 260, 200, WS_POPUP | WS_CAPTION,
     {{1043, "Static", "", 2, 4, 167, 123, kVisible | SS_BLACKFRAME, 0},
      {1051, "ListBox", "", 170, 4, 88, 123, kList, 0},
      {-1, "Static", "", 2, 155, 256, 1, kVisible | SS_BLACKRECT, 0},
      {1052, "Button", "错误 FAIL", 20, 162, 81, 31, kButton, 0}}},
});

class StationPage : public CDialog {
public:
    StationPage() : CDialog(kStationPage) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (!workerBox) return TRUE;
        worker = ::CreateThread(nullptr, 0, &RaiseBox, this, 0, nullptr);
        // The box is up, and its loop has gone idle, before this page is first shown.
        for (int i = 0; i < 500 && !BoxShown(); ++i) ::Sleep(10);
        ::Sleep(200);
        return TRUE;
    }
    static bool BoxShown() {
        for (HWND w : platform::GetTopLevelWindowList()) {
            char caption[32] = {};
            ::GetWindowTextA(w, caption, sizeof caption);
            if (::IsWindowVisible(w) && std::string(caption) == "Pelvatro") return true;
        }
        return false;
    }
    static DWORD WINAPI RaiseBox(LPVOID p) {
        static_cast<StationPage*>(p)->answer = ::MessageBoxA(nullptr, "第1路 烧写失败，请检查卡是否插好后重新烧写。", "Pelvatro", MB_OK);
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

// A label that keeps its window text and paints its own, double-buffered as the control
// library's background text does: `text` in `ink` on `paper`.
struct Painted {
    const char* text;
    COLORREF ink;
    COLORREF paper;
    WNDPROC base;
};

std::map<HWND, Painted*>& PaintedLabels() {
    static std::map<HWND, Painted*> labels;
    return labels;
}

LRESULT CALLBACK PaintedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Painted* painted = PaintedLabels()[window];
    if (message != WM_PAINT) return ::CallWindowProcA(painted->base, window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT r;
    ::GetClientRect(window, &r);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH paper = CreateSolidBrush(painted->paper);
    FillRect(memory, &r, paper);
    DeleteObject(paper);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, painted->ink);
    DrawTextA(memory, painted->text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    BitBlt(dc, 0, 0, r.right, r.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ::EndPaint(window, &ps);
    return 0;
}

class LaidOutPage : public CDialog {
public:
    explicit LaidOutPage(UINT id) : CDialog(id) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        for (Painted* painted : {&m_index, &m_key}) {
            HWND item = ::GetDlgItem(m_hWnd, painted == &m_index ? 1006 : 1063);
            if (!item) continue;
            PaintedLabels()[item] = painted;
            painted->base = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(item, GWLP_WNDPROC, LONG_PTR(&PaintedProc)));
        }
        if (HWND list = ::GetDlgItem(m_hWnd, 1047))
            for (const char* feature : {"电视", "复合视频", "S端子", "MPEG-2 录像", "遥控器"})
                ::SendMessageA(list, LB_ADDSTRING, 0, LPARAM(feature));
        if (HWND list = ::GetDlgItem(m_hWnd, 1051)) {
            ::SendMessageA(list, LB_ADDSTRING, 0, LPARAM("TV 搜台测试"));
            for (int i = 1; i <= 17; ++i)
                ::SendMessageA(list, LB_ADDSTRING, 0, LPARAM(("TV:" + std::to_string(100000 + i) + " KHz,信号:0").c_str()));
            ::SendMessageA(list, LB_ADDSTRING, 0, LPARAM("Search finished"));
        }
        return TRUE;
    }

private:
    Painted m_index{"0", RGB(0, 255, 0), GetSysColor(COLOR_BTNFACE), nullptr};
    Painted m_key{"静音", RGB(0, 0, 0), RGB(0, 255, 0), nullptr};
};

int RunLaidOutPage(UINT id) {
    platform::UseVirtualClock(false);
    platform::StartDisplay(platform::DisplayKind::Terminal);
    LaidOutPage page(id);
    int result = int(page.DoModal());
    platform::StopDisplay();
    return result;
}

// The picture's row that holds `text`, -1 when none does.
int RowOf(const std::vector<std::string>& picture, const std::string& text) {
    for (size_t i = 0; i < picture.size(); ++i)
        if (picture[i].find(text) != std::string::npos) return int(i);
    return -1;
}

// Runs a laid-out page at `columns` x `rows` until it shows `shows`, Page Down pressed until it
// shows `scrolledTo` when named; the last picture, and the raw output (with its colours).
std::vector<std::string> ShowAt(UINT id, const std::string& shows, int columns = 80, int rows = 24,
                                std::string* raw = nullptr, const std::string& scrolledTo = "") {
    TerminalChild child;
    child.Start([id] { return RunLaidOutPage(id); }, columns, rows);
    EXPECT_TRUE(child.ReadUntilShown(shows, 0)) << shows;
    for (int page = 0; !scrolledTo.empty() && page < 8 && !Shows(LastPicture(child.output), scrolledTo); ++page) {
        size_t before = child.output.size();
        child.Key("\x1b[6~");
        child.ReadUntilShown("┘", before);  // the picture drawn again, to its last row
    }
    if (!scrolledTo.empty()) EXPECT_TRUE(Shows(LastPicture(child.output), scrolledTo)) << scrolledTo << " reached";
    std::vector<std::string> picture = LastPicture(child.output);
    if (raw) *raw = child.output.substr(child.output.rfind("\x1b[H"));
    child.Key("\x03");
    int status = child.Wait();
    EXPECT_TRUE(WIFEXITED(status));
    return picture;
}

// A picture in pixels, each character in its cell (a wide one in two), as test-output/<name>.
void SavePicturePng(const std::vector<std::string>& picture, int columns, int rows, const std::string& name) {
    constexpr int kCellWidth = 8, kCellHeight = 16;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), columns * kCellWidth, -rows * kCellHeight, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap), oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT all{0, 0, columns * kCellWidth, rows * kCellHeight};
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    for (size_t y = 0; y < picture.size(); ++y)
        for (size_t i = 0, x = 0; i < picture[y].size();) {
            size_t n = 1;
            while (i + n < picture[y].size() && (static_cast<unsigned char>(picture[y][i + n]) & 0xC0) == 0x80) ++n;
            std::string ch = picture[y].substr(i, n);
            RECT cell{LONG(x) * kCellWidth, LONG(y) * kCellHeight, LONG(x + Columns(ch)) * kCellWidth, LONG(y + 1) * kCellHeight};
            DrawTextA(dc, ch.c_str(), -1, &cell, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
            x += size_t(Columns(ch));
            i += n;
        }
    const auto* pixels = static_cast<const uint32_t*>(bits);
    platform::Screenshot shot{all.right, all.bottom, std::vector<uint32_t>(pixels, pixels + all.right * all.bottom)};
    std::filesystem::create_directories("test-output");
    EXPECT_TRUE(shot.SavePng("test-output/" + name));
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
    DeleteObject(bitmap);
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
    // The worker raised its box before the page was first shown: the page comes under it.
    ASSERT_TRUE(child.ReadUntilShown("生产测试", 0)) << "over the page";
    std::vector<std::string> picture = LastPicture(child.output);
    ASSERT_TRUE(Shows(picture, "第1路 烧写失败"));
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
    child.Resize(40, 15);
    ASSERT_TRUE(child.ReadUntilShown("写。", shown));
    std::string text;  // the box's rows, inside its frame
    for (const std::string& row : LastPicture(child.output)) text += row;
    for (const std::string mark : {" ", "─", "│", "┌", "┐", "└", "┘"})
        for (size_t at; (at = text.find(mark)) != std::string::npos;) text.erase(at, mark.size());
    EXPECT_NE(text.find("第1路烧写失败，请检查卡是否插好后重新烧写。"), std::string::npos) << "the box's text wrapped whole: " << text;
    shown = child.output.size();
    child.Key("\r");  // presses the box's OK, not the page's focused button
    ASSERT_TRUE(child.ReadUntilShown("生产测试", shown));
    EXPECT_TRUE(child.ReadUntilGone("第1路 烧写失败"));
    child.Key("\x03");
    int status = child.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), IDCANCEL * 10 + IDOK) << "the page closed by Ctrl-C, the box answered OK";
}

// Shorter than the window, the page keeps what stands together on a row and what stands apart:
// each label on its field's row; the three buttons under the video box, apart and in order, each
// caption whole and padded where the row has room; the lists within their boxes from their first
// lines, Page Down bringing their last ones.
TEST(TerminalLayout, PagesTallerThanTheTerminalKeepLabelsByTheirFieldsAndButtonsListsAndBoxesApart) {
    std::vector<std::string> check = ShowAt(kCheckPage, "开始测试");
    for (auto [label, field] : {std::pair{"机型", "[713x 模拟电视卡"}, {"国家", "[中国 PAL-D/K"}, {"具备", "[TV, AV"}}) {
        const int row = RowOf(check, field);
        ASSERT_NE(row, -1) << field;
        EXPECT_NE(check[size_t(row)].find(std::string("│   ") + label + " "), std::string::npos) << check[size_t(row)];
    }

    SavePicturePng(ShowAt(kCheckPage, "电视", 60, 20), 60, 20, "terminal-check-page-60x20.png");
    EXPECT_TRUE(Shows(ShowAt(kCheckPage, "电视", 60, 20, nullptr, "遥控器"), "遥控器"));

    for (auto [columns, rows] : {std::pair{80, 24}, {60, 20}, {40, 15}}) {
        SCOPED_TRACE(std::to_string(columns) + "x" + std::to_string(rows));
        std::vector<std::string> search = ShowAt(kSearchPage, "TV 搜台测试", columns, rows, nullptr, "Search finished");
        const int buttons = RowOf(search, "下一频道");
        ASSERT_NE(buttons, -1);
        const std::string& row = search[size_t(buttons)];
        size_t down = row.find("下一频道"), up = row.find("上一频道"), scan = row.find("搜索 Search");
        ASSERT_NE(up, std::string::npos) << row;
        ASSERT_NE(scan, std::string::npos) << row;
        EXPECT_LT(down, up);
        EXPECT_LT(up, scan);
        EXPECT_EQ(row.find("]["), std::string::npos) << "apart: " << row;
        if (columns >= 60) EXPECT_NE(row.find("Chl Down<] [ 上一频道 Chl Up ] [ 搜索"), std::string::npos) << "padded: " << row;
        const int boxBottom = RowOf(search, "│└──");
        ASSERT_NE(boxBottom, -1);
        EXPECT_LT(boxBottom, buttons) << "the buttons stand under the video box";
        const int finished = RowOf(search, "Search finished");
        EXPECT_NE(finished, -1);
        EXPECT_LE(finished, boxBottom) << "the list keeps within its box";
        EXPECT_NE(RowOf(search, "more"), -1) << "it says that more lines are above";
    }
}

// Side by side in the window, the video box and the list keep a column between them where the
// scaling brought their columns together; the black line over the buttons is drawn as a rule
// across the page.
TEST(TerminalLayout, TheRecordPageKeepsItsListRightOfItsVideoBoxAndDrawsItsBlackLine) {
    for (auto [columns, rows] : {std::pair{80, 24}, {60, 20}, {40, 15}}) {
        SCOPED_TRACE(std::to_string(columns) + "x" + std::to_string(rows));
        std::vector<std::string> record = ShowAt(kRecordPage, "错误 FAIL", columns, rows);
        EXPECT_NE(RowOf(record, "┐ TV 搜台测试"), -1) << "a column between the box and the list";
        // The rule: the window's bottom row with its sides for corners.
        std::string across = record.back();
        ASSERT_NE(across.find("└"), std::string::npos);
        for (const std::string corner : {"└", "┘"}) across.replace(across.find(corner), corner.size(), "│");
        const int rule = RowOf(record, across);
        ASSERT_NE(rule, -1) << "the rule";
        EXPECT_LT(RowOf(record, "┘ TV"), rule);
        EXPECT_LT(rule, RowOf(record, "错误 FAIL"));
    }
}

// A control that keeps its window text and paints its own is shown by what it paints, in the
// colours it paints: the index in green, the key name on green.
TEST(TerminalLayout, APaintedLabelShowsItsPaintedTextInItsColours) {
    std::string raw;
    std::vector<std::string> check = ShowAt(kCheckPage, "静音", 80, 24, &raw);
    EXPECT_FALSE(Shows(check, "Static"));
    EXPECT_NE(raw.find("\x1b[32m0"), std::string::npos) << "the index in green";
    EXPECT_NE(raw.find("\x1b[30m\x1b[42m静音"), std::string::npos) << "the key name on green";
}

}  // namespace
