// Dialogs driven through the headless display: modal loops, EndDialog, timers under a message
// box, dialog keys, subclassing, owner drawing, data exchange and messages from worker threads.
#include <gtest/gtest.h>

#include <atomic>

#include "afxcmn.h"
#include "platform/runtime.h"
#include "platform/testoperator.h"
#include "platform/TestThread.h"

namespace {

constexpr UINT kMainDialog = 9001;
constexpr UINT kPage = 9002;
constexpr UINT kInner = 9003;

const AfxResourceRegistrar kResources({
    {kMainDialog, "Main", 0, 0, 200, 100, WS_POPUP | WS_CAPTION | WS_SYSMENU,
     {{1013, "Static", "ready", 10, 5, 150, 12, WS_VISIBLE | SS_LEFT, 0},
      {1014, PROGRESS_CLASS, "", 10, 20, 150, 8, 0, 0},
      {IDOK, "Button", "OK", 30, 60, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
      {IDCANCEL, "Button", "Cancel", 100, 60, 40, 14, WS_VISIBLE | WS_TABSTOP, 0},
      {1050, "Edit", "17", 10, 40, 40, 12, WS_VISIBLE | ES_READONLY, 0},
      {1052, "Button", "FAIL", 150, 60, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0}}},
    {kPage, "", 0, 0, 180, 60, WS_CHILD,
     {{1053, "Button", "PASS", 10, 10, 40, 14, WS_VISIBLE | WS_TABSTOP, 0},
      {IDOK, "Button", "page OK", 60, 10, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0}}},
    {kInner, "Inner", 0, 0, 100, 50, WS_POPUP | WS_CAPTION,
     {{IDOK, "Button", "OK", 30, 20, 40, 14, WS_VISIBLE | WS_TABSTOP, 0}}},
});

class InnerDialog : public CDialog {
public:
    InnerDialog(CWnd* parent) : CDialog(kInner, parent) {}
};

class MainDialog : public CDialog {
public:
    MainDialog() : CDialog(kMainDialog) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ++initCount;
        if (endInInit) EndDialog(77);
        if (runInner) {
            InnerDialog inner(this);
            innerResult = int(inner.DoModal());
        }
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR id) {
        ticks.push_back(int(id));
        CDialog::OnTimer(id);
    }
    afx_msg LRESULT OnProgress(WPARAM wParam, LPARAM lParam) {
        received.emplace_back(wParam, lParam);
        return 0;
    }
    afx_msg void OnFail() { ++fails; }

    bool endInInit = false;
    bool runInner = false;
    int initCount = 0;
    int innerResult = 0;
    int fails = 0;
    std::vector<int> ticks;
    std::vector<std::pair<WPARAM, LPARAM>> received;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MainDialog, CDialog)
    ON_WM_TIMER()
    ON_MESSAGE(0x428, OnProgress)
    ON_BN_CLICKED(1052, OnFail)
END_MESSAGE_MAP()

class DialogTest : public testing::Test {
protected:
    platform::TestOperator op;
};

TEST_F(DialogTest, OperatorStepsReadAndPressControlsOfTheModalDialog) {
    MainDialog dialog;
    std::string status;
    op.Then([&] {
        status = op.Text(1013);
        EXPECT_TRUE(op.IsVisible(1013));
        EXPECT_FALSE(op.IsVisible(1014));
        EXPECT_EQ(op.Text(1050), "17");
        EXPECT_TRUE(op.Click(1052));
        EXPECT_TRUE(op.Click(IDCANCEL));
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(status, "ready");
    EXPECT_EQ(dialog.fails, 1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, EndDialogInOnInitDialogReturnsWithoutEnteringTheLoop) {
    MainDialog dialog;
    dialog.endInInit = true;
    bool stepRan = false;
    op.Then([&] { stepRan = true; });
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_EQ(dialog.initCount, 1);
    EXPECT_FALSE(stepRan);
}

TEST_F(DialogTest, QuitEndsTheInnermostLoopAndThenTheOuterOne) {
    MainDialog dialog;
    dialog.runInner = true;
    op.Then([&] {
        EXPECT_EQ(::GetWindowTextLengthA(op.ActiveWindow()), 5);  // "Inner"
        ::PostQuitMessage(3);
    });
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.innerResult, -1);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(DialogTest, TimersKeepRunningUnderAMessageBox) {
    MainDialog dialog;
    int answer = 0;
    op.Then([&] {
        dialog.SetTimer(0, 50, nullptr);
        answer = dialog.MessageBox("是否使用补丁?", "Pelvatro", MB_YESNO);
        dialog.KillTimer(0);
        dialog.EndDialog(IDOK);
    });
    op.When([&] { return op.MessageBoxOpen(); }, [&] {
        EXPECT_EQ(op.Text(IDC_STATIC), "是否使用补丁?");
        CMenu* menu = CWnd::FromHandle(op.ActiveWindow())->GetSystemMenu(FALSE);
        EXPECT_TRUE(menu && (menu->Items().at(0).flags & MF_GRAYED)) << "a box without Cancel greys its Close";
    });
    op.When([&] { return dialog.ticks.size() >= 3; }, [&] { EXPECT_TRUE(op.AnswerMessageBox(IDNO)); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(answer, IDNO);
    EXPECT_GE(dialog.ticks.size(), 3u);
    EXPECT_EQ(dialog.ticks.front(), 0);
    ASSERT_EQ(op.MessageBoxes().size(), 1u);
    EXPECT_EQ(op.MessageBoxes()[0].text, "是否使用补丁?");
    EXPECT_EQ(op.MessageBoxes()[0].answer, IDNO);
}

TEST_F(DialogTest, QueuedAnswersAnswerMessageBoxesWithoutShowingThem) {
    op.AnswerNextMessageBox(IDNO);
    EXPECT_EQ(::MessageBoxA(nullptr, "Question", "Pelvatro", MB_YESNO), IDNO);
    EXPECT_EQ(::MessageBoxA(nullptr, "没有找到可用设备!", "Pelvatro", MB_OK), IDOK);
    ASSERT_EQ(op.MessageBoxes().size(), 2u);
    EXPECT_EQ(op.MessageBoxes()[1].text, "没有找到可用设备!");
}

TEST_F(DialogTest, PrivateMessagesFromWorkerThreadsArriveWithTheirParameters) {
    MainDialog dialog;
    std::vector<platform::test::TestThread> workers;
    op.Then([&] {
        HWND target = dialog.m_hWnd;
        for (int t = 0; t < 4; ++t) {
            workers.emplace_back([target, t] {
                for (int i = 1; i <= 50; ++i) ::PostMessageA(target, 0x428, WPARAM(0xFFFF0000ull << 16) + t, LPARAM(i));
            });
        }
        for (auto& w : workers) w.Join();
    });
    op.When([&] { return dialog.received.size() == 200; }, [&] { dialog.EndDialog(IDOK); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    std::vector<int> last(4, 0);
    for (auto [w, l] : dialog.received) {
        int t = int(w - (WPARAM(0xFFFF0000ull << 16)));
        ASSERT_GE(t, 0);
        ASSERT_LT(t, 4);
        EXPECT_EQ(l, last[t] + 1);  // in order per sender
        last[t] = int(l);
    }
}

TEST_F(DialogTest, MessageBoxDisablesTheActiveWindowOfItsThreadWhileItIsUp) {
    MainDialog dialog;
    int answer = 0;
    op.Then([&] {
        answer = AfxMessageBox("没有找到可用设备!");
        EXPECT_TRUE(dialog.IsWindowEnabled()) << "enabled again when the box is gone";
        dialog.EndDialog(IDOK);
    });
    op.When([&] { return op.MessageBoxOpen(); },
            [&] {
                EXPECT_FALSE(dialog.IsWindowEnabled()) << "its owner is disabled while the box is up";
                EXPECT_EQ(::GetWindow(op.ActiveWindow(), GW_OWNER), dialog.m_hWnd);
                EXPECT_TRUE(op.AnswerMessageBox(IDOK));
            });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(answer, IDOK);
}

TEST_F(DialogTest, MessageBoxOfAnotherThreadShowsOverTheDialogAndTakesTheKeys) {
    MainDialog dialog;
    const DWORD ui = ::GetCurrentThreadId();
    struct Worker {
        HWND notify = nullptr;
        int answer = 0;
    } worker;
    HANDLE thread = nullptr;
    op.Then([&] {
        worker.notify = dialog.m_hWnd;
        thread = ::CreateThread(
            nullptr, 0,
            [](LPVOID p) -> DWORD {
                auto* w = static_cast<Worker*>(p);
                w->answer = ::MessageBoxA(nullptr, "第1路 烧写失败", "Pelvatro", MB_OK);
                ::PostMessageA(w->notify, WM_NULL, 0, 0);
                return 0;
            },
            &worker, 0, nullptr);
    });
    // Seen from the dialog's own thread: the worker's box is the active window.
    op.When([&] { return ::GetCurrentThreadId() == ui && op.MessageBoxOpen(); },
            [&] {
                EXPECT_EQ(op.Text(IDC_STATIC), "第1路 烧写失败");
                op.SendKey(VK_ESCAPE);  // closes the box, never the dialog below it
            });
    op.When([&] { return ::GetCurrentThreadId() == ui && ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; },
            [&] { dialog.EndDialog(IDOK); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(worker.answer, IDOK);
    ::CloseHandle(thread);
}

}  // namespace
