// Window painting: update regions, erasing, parents before children, the display's notice of
// what changed, painted controls, and objects that are all given back.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "afxcmn.h"
#include "platform/display.h"
#include "platform/testoperator.h"

namespace {

constexpr UINT kPainted = 9377, kButtons = 9378;

const AfxResourceRegistrar kResources({
    {kPainted, "Painted", 0, 0, 200, 100, WS_POPUP | WS_CAPTION,
     {{1013, "Static", "状态\tready\nsecond line", 10, 5, 150, 20, WS_VISIBLE | SS_LEFT, 0},
      {1014, PROGRESS_CLASS, "", 10, 30, 150, 8, WS_VISIBLE, 0},
      {1015, "Static", "", 10, 42, 150, 1, WS_VISIBLE | SS_ETCHEDHORZ, 0},
      {IDOK, "Button", "OK", 30, 60, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
      {IDCANCEL, "Button", "Cancel", 100, 60, 40, 14, WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 0},
      {1050, "Edit", "17", 10, 80, 40, 12, WS_VISIBLE | ES_READONLY | WS_BORDER, 0},
      {1060, "ListBox", "", 150, 45, 45, 40, WS_VISIBLE | WS_BORDER, 0}}},
    {kButtons, "Buttons", 0, 0, 200, 60, WS_POPUP | WS_CAPTION,
     {{1001, "Button", "Other", 10, 10, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0},
      {IDOK, "Button", "OK", 70, 10, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
      {1002, "Button", "关 闭", 130, 10, 50, 14, WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 0},
      {1050, "Edit", "", 10, 35, 40, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0}}},
});

class PaintedDialog : public CDialog {
public:
    PaintedDialog() : CDialog(kPainted) {}
};

// A display that records the changed-rectangle notices and acts when its loop goes idle.
class NoticeDisplay : public platform::Display {
public:
    platform::DisplayKind Kind() const override { return platform::DisplayKind::Headless; }
    ULONGLONG Idle() override {
        if (onIdle) onIdle();
        return UINT64_MAX;
    }
    int AnswerMessageBox(HWND, const char*, const char*, UINT) override { return IDOK; }
    void SurfaceChanged(HWND top, const std::vector<RECT>& rects) override {
        for (const RECT& r : rects) changed.push_back(r);
    }
    std::vector<RECT> Take() { return std::exchange(changed, {}); }
    std::function<void()> onIdle;
    std::vector<RECT> changed;
};

TEST(WindowPaint, ControlsPaintInTheClassicColoursAndGiveEveryObjectBack) {
    platform::TestOperator op;
    PaintedDialog dialog;
    ASSERT_TRUE(dialog.Create(kPainted));
    dialog.ShowWindow(SW_SHOW);
    dialog.SendDlgItemMessage(1014, PBM_SETPOS, 50);
    dialog.SendDlgItemMessage(1060, LB_ADDSTRING, 0, LPARAM("卡 0"));
    dialog.SendDlgItemMessage(1060, LB_ADDSTRING, 0, LPARAM("卡 1"));
    dialog.SendDlgItemMessage(1060, LB_SETCURSEL, 1);
    platform::Screenshot shot = op.TakeScreenshot(dialog.m_hWnd);
    ASSERT_EQ(shot.width, 300);
    EXPECT_EQ(shot.At(2, 2), 0xC0C0C0u) << "the dialog face";
    // The progress bar (15,45)-(240,57): filled to half in the highlight colour.
    CRect bar;
    dialog.GetDlgItem(1014)->GetWindowRect(&bar);
    dialog.ScreenToClient(&bar);
    int edge = bar.left + 2 + MulDiv(bar.Width() - 4, 50, 100);
    EXPECT_EQ(shot.At(edge - 1, bar.top + 4), 0x000080u);
    EXPECT_EQ(shot.At(edge, bar.top + 4), 0xC0C0C0u);
    // The default button's black frame; the selected list item in the highlight colour.
    CRect ok;
    dialog.GetDlgItem(IDOK)->GetWindowRect(&ok);
    dialog.ScreenToClient(&ok);
    EXPECT_EQ(shot.At(ok.left, ok.top + 5), 0x000000u);
    CRect list;
    dialog.GetDlgItem(1060)->GetWindowRect(&list);
    dialog.ScreenToClient(&list);
    EXPECT_EQ(shot.At(list.right - 3, list.top + 13 + 3), 0x000080u);
    shot.SavePng("window-paint-controls.png");

    int before = GdiLiveObjectCount(0);
    for (int i = 0; i < 100; ++i) {
        dialog.Invalidate();
        dialog.UpdateWindow();
        op.TakeScreenshot(dialog.m_hWnd);
    }
    EXPECT_EQ(GdiLiveObjectCount(0), before) << "every paint gives its objects back";
    dialog.DestroyWindow();
}

// The classic look of push buttons: the dark frame on the default button, which is the focused
// push button when there is one; the caption of a disabled one etched, shadow grey over white.
TEST(WindowPaint, TheDefaultFrameFollowsTheFocusedPushButtonAndADisabledCaptionIsEtched) {
    platform::TestOperator op;
    CDialog dialog(kButtons);
    ASSERT_TRUE(dialog.Create(kButtons));
    dialog.ShowWindow(SW_SHOW);
    auto where = [&](int id) {
        CRect r;
        dialog.GetDlgItem(id)->GetWindowRect(&r);
        dialog.ScreenToClient(&r);
        return r;
    };
    auto framed = [&](const platform::Screenshot& shot, int id) {
        CRect r = where(id);
        return shot.At(r.left, r.top + r.Height() / 2) == 0x000000u;
    };
    dialog.GetDlgItem(1050)->SetFocus();
    platform::Screenshot onField = op.TakeScreenshot(dialog.m_hWnd);
    EXPECT_TRUE(framed(onField, IDOK));
    EXPECT_FALSE(framed(onField, 1001));
    dialog.GetDlgItem(1001)->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));  // a click takes the focus
    dialog.GetDlgItem(1001)->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(::GetFocus(), dialog.GetDlgItem(1001)->m_hWnd);
    platform::Screenshot onOther = op.TakeScreenshot(dialog.m_hWnd);
    EXPECT_TRUE(framed(onOther, 1001));
    EXPECT_FALSE(framed(onOther, IDOK)) << "the frame went with the focus";
    onOther.SavePng("window-paint-buttons.png");
    CRect off = where(1002);
    off.DeflateRect(3, 3);
    // Inside the edges, the glyphs' pixels (smoothed): near the shadow grey or near white, none dark.
    int light = 0, grey = 0, dark = 0;
    for (int y = off.top; y < off.bottom; ++y)
        for (int x = off.left; x < off.right; ++x) {
            int level = int(onOther.At(x, y) & 0xFF);
            light += level > 0xE0;
            grey += level >= 0x70 && level < 0xA0;
            dark += level < 0x60;
        }
    EXPECT_GT(grey, 10);
    EXPECT_GT(light, 10);
    EXPECT_EQ(dark, 0);
    dialog.DestroyWindow();
}

// The painted dialog made, shown and painted once.
void ShowPainted(platform::TestOperator& op, PaintedDialog& dialog) {
    ASSERT_TRUE(dialog.Create(kPainted));
    dialog.ShowWindow(SW_SHOW);
    op.TakeScreenshot(dialog.m_hWnd);
}

TEST(WindowPaint, UpdateRegionsClipThePaintAndEraseOnlyWhatWasInvalid) {
    platform::TestOperator op;
    PaintedDialog dialog;
    ASSERT_NO_FATAL_FAILURE(ShowPainted(op, dialog));
    HDC dc = ::GetDC(dialog.m_hWnd);
    RECT all{0, 0, 300, 200};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));  // drawn at once
    ::ReleaseDC(dialog.m_hWnd, dc);
    RECT part{0, 0, 12, 6};
    ::InvalidateRect(dialog.m_hWnd, &part, TRUE);
    RECT update{};
    EXPECT_TRUE(::GetUpdateRect(dialog.m_hWnd, &update, FALSE));
    EXPECT_EQ(update.right, 12);
    platform::Screenshot shot = op.TakeScreenshot(dialog.m_hWnd);
    EXPECT_EQ(shot.At(5, 5), 0xC0C0C0u) << "the invalid part was erased";
    EXPECT_EQ(shot.At(13, 5), 0x000000u) << "outside the update region the paint changed nothing";
    EXPECT_FALSE(::GetUpdateRect(dialog.m_hWnd, &update, FALSE)) << "the paint validated it";
    // What a hidden child draws would land on its parent's pixels: it draws nothing.
    HWND edit = ::GetDlgItem(dialog.m_hWnd, 1050);
    ::ShowWindow(edit, SW_HIDE);
    const platform::Screenshot before = op.TakeScreenshot(dialog.m_hWnd);
    HDC hidden = ::GetDC(edit);
    FillRect(hidden, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ::ReleaseDC(edit, hidden);
    EXPECT_EQ(op.TakeScreenshot(dialog.m_hWnd).pixels, before.pixels);
    dialog.DestroyWindow();
}

// Update regions and DCs are remade in the storage of those before them: nothing of an
// earlier one shows through.
TEST(WindowPaint, AnUpdateRegionAndADcMadeAfterAPaintHoldNothingOfTheOnesBefore) {
    platform::TestOperator op;
    PaintedDialog dialog;
    ASSERT_NO_FATAL_FAILURE(ShowPainted(op, dialog));
    HWND h = dialog.m_hWnd;
    for (RECT step : {RECT{0, 0, 30, 10}, RECT{0, 10, 60, 20}, RECT{0, 20, 90, 30}}) ::InvalidateRect(h, &step, FALSE);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(h, update, FALSE), COMPLEXREGION);
    op.TakeScreenshot(h);
    RECT small{40, 40, 44, 43};
    ::InvalidateRect(h, &small, FALSE);
    EXPECT_EQ(GetUpdateRgn(h, update, FALSE), SIMPLEREGION) << "the staircase painted before is gone";
    RECT box{};
    GetRgnBox(update, &box);
    EXPECT_TRUE(EqualRect(&box, &small));
    DeleteObject(update);
    op.TakeScreenshot(h);

    HDC dc = ::GetDC(h);
    SetViewportOrgEx(dc, 7, 9, nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    HRGN clip = CreateRectRgn(0, 0, 5, 5);
    SelectClipRgn(dc, clip);
    DeleteObject(clip);
    ::ReleaseDC(h, dc);
    HDC next = ::GetDC(h);
    EXPECT_NE(next, dc);
    EXPECT_EQ(GetTextColor(dc), CLR_INVALID) << "the DC given back names nothing";
    POINT origin{-1, -1};
    GetViewportOrgEx(next, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_EQ(GetTextColor(next), RGB(0, 0, 0));
    RECT client{}, clipBox{};
    ::GetClientRect(h, &client);
    EXPECT_EQ(GetClipBox(next, &clipBox), SIMPLEREGION);
    EXPECT_TRUE(EqualRect(&clipBox, &client)) << "no clip of the DC before";
    ::ReleaseDC(h, next);
    dialog.DestroyWindow();
}

TEST(WindowPaint, TheDisplayHearsWhichRectanglesChangedAfterEachPaintPass) {
    auto display = std::make_unique<NoticeDisplay>();
    NoticeDisplay* notices = display.get();
    platform::SetDisplay(std::move(display));
    PaintedDialog dialog;
    std::vector<RECT> first, second;
    uint32_t face = 0;
    int idles = 0;
    notices->onIdle = [&] {
        if (idles == 0 && notices->changed.empty()) return;  // not shown yet
        if (++idles == 1) {
            first = notices->Take();
            RECT part{0, 0, 12, 6};
            ::InvalidateRect(dialog.m_hWnd, &part, TRUE);
        } else if (idles == 2) {
            second = notices->Take();
            platform::ViewSurface(dialog.m_hWnd, [&](const platform::SurfaceView& v) {
                std::memcpy(&face, v.pixels + 2 * v.stride + 2 * 4, 4);
            });
            dialog.EndDialog(IDOK);
        }
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    RECT box{1000, 1000, -1, -1};
    for (const RECT& r : first) UnionRect(&box, &box, &r);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 300) << "the first pass drew the whole dialog";
    ASSERT_FALSE(second.empty());
    for (const RECT& r : second) {
        EXPECT_LE(r.right, 12) << "the second pass drew only the invalid part";
        EXPECT_LE(r.bottom, 6);
    }
    EXPECT_EQ(face & 0xFFFFFF, 0xC0C0C0u) << "the view reads the dialog face";
    platform::StopDisplay();
}

// A list of 40 lines in a box of 8 scrolls as each road asks, and its lines and thumb move with it.
TEST(WindowPaint, AListOfFortyLinesInABoxOfEightScrollsByEveryRoadAndItsPixelsFollow) {
    platform::TestOperator op;
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, "AfxWnd", "list", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP, CRect(0, 0, 120, 10), &parent, 1));
    const int line = int(list.SendMessage(LB_GETITEMHEIGHT));
    list.MoveWindow(10, 10, 120, 8 * line + 2);
    for (int i = 0; i < 40; ++i) list.AddString(("line " + std::to_string(i)).c_str());
    EXPECT_EQ(list.GetTopIndex(), 0) << "lines added never move the first line shown";
    const auto wheel = [&](int notches) { list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(-120 * notches)))); };
    const auto bar = [&](int y) { list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, y)); };
    const std::vector<std::pair<std::function<void()>, int>> steps = {
        {[&] { list.SendMessage(WM_VSCROLL, SB_TOP); }, 0},
        {[&] { list.SendMessage(WM_VSCROLL, SB_LINEDOWN); }, 1},
        {[&] { list.SendMessage(WM_VSCROLL, SB_PAGEDOWN); }, 8},
        {[&] { list.SetTopIndex(16); }, 16},
        {[&] { list.SetTopIndex(20); }, 20},
        {[&] { wheel(1); }, 23},
        {[&] { list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5)); }, 5},
        {[&] { bar(8 * line - 4); }, 6},  // the down arrow
        {[&] { list.SendMessage(WM_KEYDOWN, VK_END); }, 32},
        {[&] { list.SendMessage(WM_KEYDOWN, VK_PRIOR), list.SendMessage(WM_KEYDOWN, VK_PRIOR); }, 25},  // to the page's top, then a page
        {[&] { list.SendMessage(WM_KEYDOWN, VK_HOME); }, 0},
        {[&] { list.SendMessage(WM_VSCROLL, SB_BOTTOM); }, 32},
        {[&] { list.AddString("line 40"), list.InsertString(0, "line -1"); }, 32},
    };
    // The thumb's top: the first white (its raised edge) down the bar's middle below the up arrow.
    auto thumbTop = [&](const platform::Screenshot& shot) {
        for (int y = 11 + 16; y < 11 + 8 * line; ++y)
            if (shot.At(10 + 120 - 1 - 8, y) == 0xFFFFFFu) return y;
        return -1;
    };
    // The thumb's span down the bar's middle between the arrows: the pixels not of the track's colour.
    const int trackTop = 11 + 16, trackEnd = 11 + 8 * line - 16;
    auto thumbSpan = [&](const platform::Screenshot& shot, uint32_t track) {
        std::pair<int, int> span{-1, -1};
        for (int y = trackTop; y < trackEnd; ++y)
            if (shot.At(10 + 120 - 1 - 8, y) != track) span = {span.first < 0 ? y : span.first, y + 1};
        return span;
    };
    auto lines = [&](const platform::Screenshot& shot) {
        std::vector<uint32_t> pixels;
        for (int y = 11; y < 11 + 8 * line; ++y)
            for (int x = 12; x < 100; ++x) pixels.push_back(shot.At(x, y));
        return pixels;
    };
    platform::Screenshot before = op.TakeScreenshot(parent.m_hWnd);
    const uint32_t track = before.At(10 + 120 - 1 - 8, trackEnd - 1);
    int topBefore = list.GetTopIndex();
    for (const auto& [step, top] : steps) {
        step();
        ASSERT_EQ(list.GetTopIndex(), top);
        platform::Screenshot shot = op.TakeScreenshot(parent.m_hWnd);
        // At the top the thumb sits under the up arrow, at the end on the down arrow, between them
        // as far down its free travel as the first line shown is down the lines that can be first.
        const auto [from, to] = thumbSpan(shot, track);
        ASSERT_GT(to - from, 0) << top;
        EXPECT_EQ(from - trackTop, (trackEnd - trackTop - (to - from)) * top / (list.GetCount() - 8)) << top;
        if (top != topBefore) {
            EXPECT_EQ(thumbTop(shot) < thumbTop(before), top < topBefore) << top;
            EXPECT_NE(lines(shot), lines(before)) << "the lines moved: " << top;
        }
        if (top == 20) shot.SavePng("list-box-scrolled.png");
        before = shot;
        topBefore = top;
    }
    parent.DestroyWindow();
}

}  // namespace
