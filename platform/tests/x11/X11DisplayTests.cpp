// The X11 display under Xvfb: a dialog as an X window with its surface's pixels, worked by the
// pointer and the keyboard through XTest (clicks, a press dragged off a button, dialog keys, the
// system menu, the window manager's close), a disabled owner under a modal dialog, and a lost
// connection or window that closes the program.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "XServerSession.h"
#include "afxwin.h"
#include "platform/display.h"
#include "platform/runtime.h"
#include "platform/testoperator.h"

namespace {

constexpr UINT kDialog = 9301, kInner = 9302;
constexpr int kOne = 1001, kTwo = 1002, kInnerButton = 1003, kField = 1012;
constexpr UINT kMenuEntry = 0x20;

const AfxResourceRegistrar kResources({
    {kDialog, "X11 dialog", 0, 0, 200, 90, WS_POPUP | WS_CAPTION | WS_SYSMENU,
     {{1010, "Static", "Pointer and keys", 10, 5, 150, 12, WS_VISIBLE | SS_LEFT, 0},
      {kOne, "Button", "One", 10, 30, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
      {kTwo, "Button", "Two", 70, 30, 50, 14, WS_VISIBLE | WS_TABSTOP, 0},
      {IDOK, "Button", "OK", 130, 30, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
      {1011, "Button", "Off", 10, 60, 50, 14, WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 0},
      {kField, "Edit", "", 70, 60, 50, 12, WS_VISIBLE | WS_BORDER, 0}}},
    {kInner, "X11 inner", 0, 0, 120, 50, WS_POPUP | WS_CAPTION,
     {{kInnerButton, "Button", "Done", 35, 20, 50, 14, WS_VISIBLE | WS_TABSTOP, 0}}},
});

class InnerDialog : public CDialog {
public:
    explicit InnerDialog(CWnd* parent) : CDialog(kInner, parent) {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == kInnerButton) EndDialog(kInnerButton);
        return CDialog::OnCommand(wParam, lParam);
    }
};

class XDialog : public CDialog {
public:
    XDialog() : CDialog(kDialog) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (CMenu* menu = GetSystemMenu(FALSE)) {
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, kMenuEntry, "&Entry");
        }
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == BN_CLICKED) clicks.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == IDOK) return TRUE;  // counted, the dialog stays
        return CDialog::OnCommand(wParam, lParam);
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) keys.push_back({msg->message, msg->wParam});
        return CDialog::PreTranslateMessage(msg);
    }
    afx_msg void OnSysCommand(UINT id, LPARAM lParam) {
        commands.push_back(id & 0xFFF0);
        CDialog::OnSysCommand(id, lParam);
    }
    afx_msg void OnClose() {
        ++closes;
        CDialog::OnClose();
    }
    std::vector<int> clicks;
    std::vector<std::pair<UINT, WPARAM>> keys;  // key downs and characters, as they came
    std::vector<UINT> commands;
    int closes = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(XDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

class X11DisplayTest : public testing::Test {
protected:
    void SetUp() override { XSERVER_OR_SKIP(x); }

    void Await(std::function<bool()> ready, const char* what, std::function<void()> step = nullptr) {
        testsupport::Await(op, std::move(ready), what, std::move(step), 10);
    }

    POINT Centre(int id) { return x.CentreOf(::GetDlgItem(dialog.m_hWnd, id)); }
    bool Pushed(int id) { return (dialog.SendDlgItemMessage(id, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

    testsupport::XServerSession x;
    platform::TestOperator op;
    XDialog dialog;
};

TEST_F(X11DisplayTest, TheDialogIsAnXWindowWithItsPixelsAndThePointerAndKeysWorkIt) {
    testsupport::XWindowId win = 0;
    RECT client{};
    Await([&] { return (win = x.Find("X11 dialog")) != 0; }, "the dialog's X window",
          [&] { ::GetClientRect(dialog.m_hWnd, &client); });
    // The X window shows the surface, pixel for pixel.
    platform::Screenshot shot;
    Await(
        [&] {
            shot = op.TakeScreenshot(dialog.m_hWnd);
            return !shot.pixels.empty() && x.Pixels(win, shot.width, shot.height) == shot.pixels;
        },
        "the X window's pixels equal to the surface", [&] {
            EXPECT_EQ(shot.width, client.right);
            std::filesystem::create_directories("test-output");
            EXPECT_TRUE(shot.SavePng("test-output/x11-dialog.png"));
        });
    // A click on "One".
    op.Then([&] { x.Click(Centre(kOne).x, Centre(kOne).y); });
    Await([&] { return dialog.clicks.size() == 1; }, "the click on One", [&] {
        EXPECT_EQ(dialog.clicks[0], kOne);
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog.m_hWnd, kOne)) << "the click took the focus";
    });
    // "Two" pressed, the pointer dragged off it and released: pressed while over it, no click.
    op.Then([&] {
        x.MoveTo(Centre(kTwo).x, Centre(kTwo).y);
        x.Press();
    });
    Await([&] { return Pushed(kTwo); }, "Two looking pressed", [&] { x.MoveTo(Centre(kTwo).x, Centre(kTwo).y + 60); });
    Await([&] { return !Pushed(kTwo); }, "Two no longer pressed off it", [&] { x.Release(); });
    // A click on the disabled button does nothing; then Tab moves the focus and Space presses.
    op.Then([&] {
        x.Click(Centre(1011).x, Centre(1011).y);
        ::SetFocus(::GetDlgItem(dialog.m_hWnd, kOne));
        x.Key(XK_Tab);
    });
    Await([&] { return ::GetFocus() == ::GetDlgItem(dialog.m_hWnd, kTwo); }, "the focus on Two after Tab",
          [&] { x.Key(XK_space); });
    Await([&] { return dialog.clicks.size() == 2; }, "Space pressing Two", [&] {
        EXPECT_EQ(dialog.clicks[1], kTwo) << "the release off Two clicked nothing, nor the disabled button";
        x.Key(XK_Tab, true);
    });
    Await([&] { return ::GetFocus() == ::GetDlgItem(dialog.m_hWnd, kOne); }, "the focus back on One after Shift-Tab",
          [&] { x.Key(XK_Return); });
    Await([&] { return dialog.clicks.size() == 3; }, "Enter pressing the focused button",
          [&] { EXPECT_EQ(dialog.clicks[2], kOne); });
    // Alt+Space opens the system menu at the window's corner, its first line ("Close") lit; Down
    // lights the next entry, Enter chooses it.
    RECT corner{};
    op.Then([&] {
        ::GetWindowRect(dialog.m_hWnd, &corner);
        x.Key(XK_space, false, true);
    });
    Await([&] { return x.ScreenPixels(RECT{corner.left + 8, corner.top + 12, corner.left + 9, corner.top + 13}) ==
                       std::vector<uint32_t>{0x000080u}; },  // the highlight's navy
          "the menu's first line lit", [&] {
              x.Key(XK_Down);
              x.Key(XK_Return);
          });
    Await([&] { return !dialog.commands.empty(); }, "the system menu's entry",
          [&] { EXPECT_EQ(dialog.commands[0], kMenuEntry); });
    // A modal dialog disables its owner: a click on the owner does nothing until it is gone.
    int innerResult = 0;
    op.Then([&] {
        InnerDialog inner(&dialog);
        innerResult = int(inner.DoModal());  // the steps below run in its loop
    });
    Await([&] { return x.Find("X11 inner") != 0; }, "the inner dialog's X window", [&] {
        x.Click(Centre(kOne).x, Centre(kOne).y);
        POINT at = x.CentreOf(::GetDlgItem(::GetActiveWindow(), kInnerButton));
        x.Click(at.x, at.y);
    });
    Await([&] { return innerResult != 0; }, "the inner dialog's end");
    // The window manager's close: WM_SYSCOMMAND SC_CLOSE, then WM_CLOSE, which ends the dialog.
    op.Then([&] {
        EXPECT_EQ(innerResult, kInnerButton);
        EXPECT_EQ(dialog.clicks.size(), 3u) << "the click on the disabled owner went nowhere";
        x.AskToClose(x.Find("X11 dialog"));
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(dialog.commands.size(), 2u);
    EXPECT_EQ(dialog.commands[1], UINT(SC_CLOSE));
    EXPECT_EQ(dialog.closes, 1);
    EXPECT_TRUE(op.StepsDone());
}

// On a field, the keys come as on Windows: Shift, the key's own virtual key (Shift+; is VK_OEM_1),
// then the character it types; Enter types '\r' and presses the default button, Escape cancels.
TEST_F(X11DisplayTest, KeysOnAFieldGiveTheirVirtualKeyAndCharacterEnterTheDefaultEscapeCancels) {
    Await([&] { return x.Find("X11 dialog") != 0; }, "the dialog's X window", [&] {
        ::SetFocus(::GetDlgItem(dialog.m_hWnd, kField));
        x.Key(XK_semicolon, true);
        x.Key(XK_Return);
    });
    Await([&] { return dialog.keys.size() >= 5; }, "Shift, two keys and their characters", [&] {
        using Key = std::pair<UINT, WPARAM>;
        EXPECT_EQ(dialog.keys, (std::vector<Key>{{WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 0xBA}, {WM_CHAR, ':'},
                                                 {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, '\r'}}));
        EXPECT_EQ(dialog.clicks, std::vector<int>{IDOK});
        x.Key(XK_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// A connection cut, or the window destroyed by another client, is a lost display: one line on
// stderr, nothing is pressed, and the dialog closes as a close request asks. In a child process,
// as the program is then closing.
TEST(X11DisplayLost, ALostConnectionOrADestroyedWindowClosesTheProgram) {
    for (const char* how : {"the connection to the X server was lost", "a window was destroyed by another X client"}) {
        testsupport::ChildRun run = testsupport::RunInChild([how](testsupport::XServerSession& x) {
            platform::TestOperator op;
            XDialog dialog;
            testsupport::Await(op, [&] { return x.Find("X11 dialog") != 0; }, "the dialog's X window", [&] {
                if (how[4] == 'c') x.KillClientOf(x.Find("X11 dialog"));
                else x.Destroy(x.Find("X11 dialog"));
            });
            // Closed (the close's own IDCANCEL), nothing else pressed.
            const bool closed = dialog.DoModal() == IDCANCEL && dialog.closes == 1 && dialog.clicks == std::vector<int>{IDCANCEL};
            return closed && platform::CurrentDisplay()->Kind() == platform::DisplayKind::Headless ? 0 : 1;
        });
        if (run.exitCode == 77) GTEST_SKIP() << "no X server";
        EXPECT_EQ(run.exitCode, 0) << how;
        EXPECT_EQ(run.err, std::string("pelvatro: the display was lost (") + how + "); the program closes\n");
    }
}

}  // namespace
