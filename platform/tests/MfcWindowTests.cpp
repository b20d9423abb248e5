// CWnd behaviour the pages rely on: subclassing, message-map chaining, key routing through
// PreTranslateMessage, owner-draw reflection, data exchange, close handling and device changes.
#include <gtest/gtest.h>

#include "afxcmn.h"
#include "platform/display.h"
#include "platform/testoperator.h"

namespace {

constexpr UINT kSheet = 9101;
constexpr UINT kPage = 9102;

constexpr UINT kTwoButtons = 9103;

const AfxResourceRegistrar kResources({
    {kTwoButtons, "Two", 0, 0, 120, 40, WS_POPUP | WS_CAPTION,
     {{1060, "Button", "PASS", 5, 5, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0},
      {1061, "Button", "FAIL", 50, 5, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0},
      {1062, "Button", "HIDDEN", 5, 22, 40, 14, WS_TABSTOP | BS_OWNERDRAW, 0}}},
    {kSheet, "Sheet", 0, 0, 220, 120, WS_POPUP | WS_CAPTION,
     {{1050, "Static", "", 0, 0, 210, 56, SS_LEFT, 0},
      {1052, "Button", "FAIL", 150, 90, 40, 14, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0}}},
    {kPage, "", 0, 0, 200, 60, WS_CHILD,
     {{1013, "Static", "status", 5, 5, 150, 12, WS_VISIBLE, 0},
      {1020, "Edit", "41", 5, 20, 40, 12, WS_VISIBLE, 0},
      {1053, "Button", "PASS", 60, 40, 40, 14, WS_VISIBLE | WS_TABSTOP, 0},
      {1054, "Button", "Other", 110, 40, 40, 14, WS_VISIBLE | WS_TABSTOP, 0},
      {IDOK, "Button", "OK", 160, 40, 30, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0}}},
});

// A label that keeps the text it is given to itself, as a background-text control does.
class KeepingLabel : public CWnd {
public:
    CString kept;
    int setTexts = 0;
    bool presubclassed = false;
    void PreSubclassWindow() override { presubclassed = true; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETTEXT) {
            ++setTexts;
            kept = reinterpret_cast<LPCSTR>(lParam);
            return TRUE;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class DrawnButton : public CButton {
public:
    std::vector<DRAWITEMSTRUCT> drawn;
    void DrawItem(LPDRAWITEMSTRUCT item) override { drawn.push_back(*item); }
};

class BasePage : public CDialog {
public:
    explicit BasePage(bool swallowKeys) : CDialog(kPage), m_swallow(swallowKeys) {}
    BOOL PreTranslateMessage(MSG* msg) override {
        if (m_swallow && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) return TRUE;
        return CDialog::PreTranslateMessage(msg);
    }
    virtual void OnPass() { ++basePasses; }
    afx_msg void OnPassClicked() { OnPass(); }
    afx_msg void OnOtherClicked() { ++baseOthers; }
    afx_msg LRESULT OnDeviceChange(WPARAM wParam, LPARAM lParam) {
        deviceChanges.push_back(wParam);
        return TRUE;
    }
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, 1013, status);
        DDX_Text(dx, 1020, number);
    }

    bool m_swallow;
    int basePasses = 0, baseOthers = 0, oks = 0, cancels = 0;
    int number = 0;
    CStatic status;
    std::vector<WPARAM> deviceChanges;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BasePage, CDialog)
    ON_BN_CLICKED(1053, OnPassClicked)
    ON_BN_CLICKED(1054, OnOtherClicked)
    ON_MESSAGE(WM_DEVICECHANGE, OnDeviceChange)
END_MESSAGE_MAP()

class DerivedPage : public BasePage {
public:
    DerivedPage() : BasePage(true) {}
    void OnPass() override { ++derivedPasses; }
    afx_msg void OnTimer(UINT_PTR id) { timers.push_back(int(id)); }
    int derivedPasses = 0;
    std::vector<int> timers;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedPage, BasePage)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class Sheet : public CDialog {
public:
    explicit Sheet(BasePage& page) : CDialog(kSheet), m_page(page) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_page.Create(kPage, this);
        CRect r;
        GetDlgItem(1050)->GetWindowRect(&r);
        ScreenToClient(&r);
        m_page.MoveWindow(&r);
        m_page.ShowWindow(SW_SHOW);
        fail.SubclassDlgItem(1052, this);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_DEVICECHANGE) return BOOL(m_page.SendMessage(WM_DEVICECHANGE, msg->wParam, msg->lParam));
        return CDialog::PreTranslateMessage(msg);
    }
    BasePage& m_page;
    DrawnButton fail;
};

TEST(MfcWindow, SubclassedControlSeesSetWindowText) {
    platform::TestOperator op;
    DerivedPage page;
    Sheet sheet(page);
    KeepingLabel label;
    op.Then([&] {
        EXPECT_FALSE(label.SubclassWindow(::GetDlgItem(page.m_hWnd, 1013)));  // the page's DDX_Control has it
        EXPECT_TRUE(label.SubclassWindow(::GetDlgItem(sheet.m_hWnd, 1050)));
        EXPECT_TRUE(label.presubclassed);
        sheet.SetDlgItemText(1050, "请稍候，正在烧写......");
        EXPECT_EQ(label.setTexts, 1);
        EXPECT_EQ(label.kept, "请稍候，正在烧写......");
        CString own;
        sheet.GetDlgItemText(1050, own);
        EXPECT_EQ(own, "");  // the window's own text stayed
        sheet.EndDialog(IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(label.m_hWnd, nullptr);  // detached when its window went
}

TEST(MfcWindow, HandlersChainToTheBaseClassMap) {
    platform::TestOperator op;
    DerivedPage page;
    Sheet sheet(page);
    op.Then([&] {
        EXPECT_TRUE(op.Click(1053));
        EXPECT_TRUE(op.Click(1054));
        page.SetTimer(0, 100, nullptr);
    });
    op.When([&] { return !page.timers.empty(); }, [&] {
        page.KillTimer(0);
        sheet.EndDialog(IDOK);
    });
    sheet.DoModal();
    EXPECT_EQ(page.derivedPasses, 1);  // the base's entry called the derived override
    EXPECT_EQ(page.basePasses, 0);
    EXPECT_EQ(page.baseOthers, 1);
    ASSERT_FALSE(page.timers.empty());
    EXPECT_EQ(page.timers.front(), 0);  // timer id 0 works
}

TEST(MfcWindow, PageThatSwallowsEnterAndEscapeKeepsTheSheetOpen) {
    platform::TestOperator op;
    DerivedPage page;
    Sheet sheet(page);
    op.Then([&] {
        ::SetFocus(::GetDlgItem(page.m_hWnd, 1053));
        op.SendKey(VK_RETURN);
        op.SendKey(VK_ESCAPE);
    });
    op.Then([&] { sheet.EndDialog(IDOK); });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(page.oks, 0);
    EXPECT_EQ(page.cancels, 0);
    EXPECT_EQ(page.derivedPasses, 0);
}

TEST(MfcWindow, PageWithoutTheFilterTakesEnterAsItsFocusedButtonAndEscapeAsCancel) {
    platform::TestOperator op;
    BasePage page(false);
    Sheet sheet(page);
    op.Then([&] {
        ::SetFocus(::GetDlgItem(page.m_hWnd, 1053));
        op.SendKey(VK_RETURN);
        op.SendKey(VK_ESCAPE);
    });
    op.Then([&] { sheet.EndDialog(IDOK); });
    sheet.DoModal();
    EXPECT_EQ(page.basePasses, 1);
    EXPECT_EQ(page.cancels, 1);
}

TEST(MfcWindow, DeviceChangeTakenFromTheSheetLoopReachesThePage) {
    platform::TestOperator op;
    DerivedPage page;
    Sheet sheet(page);
    op.Then([&] { op.SendDeviceChange(DBT_DEVNODES_CHANGED); });
    op.Then([&] { sheet.EndDialog(IDOK); });
    sheet.DoModal();
    EXPECT_EQ(page.deviceChanges, std::vector<WPARAM>{DBT_DEVNODES_CHANGED});
}

TEST(MfcWindow, CloseEndsADialogAsCancel) {
    platform::TestOperator op;
    DerivedPage page;
    Sheet sheet(page);
    op.Then([&] { ::PostMessageA(sheet.m_hWnd, WM_CLOSE, 0, 0); });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

TEST(MfcWindow, OwnerDrawnButtonPaintsThroughItsParentIntoDrawItem) {
    platform::StartDisplay(platform::DisplayKind::Headless);
    DerivedPage page;
    Sheet sheet(page);
    ASSERT_TRUE(sheet.Create(kSheet));
    sheet.ShowWindow(SW_SHOW);
    page.Create(kPage, &sheet);
    sheet.fail.SubclassDlgItem(1052, &sheet);
    sheet.fail.EnableWindow(FALSE);
    sheet.fail.Invalidate();
    sheet.fail.UpdateWindow();
    ASSERT_EQ(sheet.fail.drawn.size(), 1u);
    const DRAWITEMSTRUCT& d = sheet.fail.drawn[0];
    EXPECT_EQ(d.CtlType, UINT(ODT_BUTTON));
    EXPECT_EQ(d.CtlID, 1052u);
    EXPECT_EQ(d.hwndItem, sheet.fail.m_hWnd);
    EXPECT_NE(d.hDC, nullptr);  // a real DC on the window's surface
    EXPECT_TRUE(d.itemState & ODS_DISABLED);
    EXPECT_EQ(d.rcItem.right, 60);  // 40 dialog units
    sheet.DestroyWindow();
    platform::StopDisplay();
}

TEST(MfcWindow, DataExchangeMovesValuesBothWaysAndRefusesText) {
    platform::TestOperator op;
    DerivedPage page;
    Sheet sheet(page);
    op.Then([&] {
        EXPECT_EQ(page.status.m_hWnd, ::GetDlgItem(page.m_hWnd, 1013));  // bound by OnInitDialog
        EXPECT_EQ(op.Text(1020), "0");  // OnInitDialog put the member into the control
        page.SetDlgItemText(1020, " 41 ");
        EXPECT_TRUE(page.UpdateData(TRUE));
        EXPECT_EQ(page.number, 41);
        page.number = 95;
        EXPECT_TRUE(page.UpdateData(FALSE));
        EXPECT_EQ(op.Text(1020), "95");
        page.SetDlgItemText(1020, "9x");
        EXPECT_FALSE(page.UpdateData(TRUE));
        EXPECT_EQ(page.number, 95);
        sheet.EndDialog(IDOK);
    });
    sheet.DoModal();
}

TEST(MfcWindow, FromHandleGivesTheAttachedObjectOrAWrapper) {
    platform::TestOperator op;
    DerivedPage page;
    Sheet sheet(page);
    op.Then([&] {
        EXPECT_EQ(CWnd::FromHandle(page.m_hWnd), &page);
        CWnd* wrapper = page.GetDlgItem(1054);
        ASSERT_NE(wrapper, nullptr);
        EXPECT_EQ(wrapper, page.GetDlgItem(1054));
        EXPECT_EQ(CWnd::FromHandlePermanent(wrapper->m_hWnd), nullptr);
        EXPECT_NE(dynamic_cast<CButton*>(wrapper), nullptr);  // (CButton*)GetDlgItem(id) names a CButton
        EXPECT_NE(dynamic_cast<CEdit*>(page.GetDlgItem(1020)), nullptr);
        EXPECT_EQ(page.GetParent(), &sheet);
        EXPECT_EQ(page.GetDlgItem(4711), nullptr);
        sheet.EndDialog(IDOK);
    });
    sheet.DoModal();
}

class TwoButtons : public CDialog {
public:
    TwoButtons() : CDialog(kTwoButtons) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        pass.SubclassDlgItem(1060, this);
        fail.SubclassDlgItem(1061, this);
        hidden.SubclassDlgItem(1062, this);
        return TRUE;
    }
    DrawnButton pass, fail, hidden;
};

TEST(MfcWindow, EveryVisibleOwnerDrawnButtonIsDrawnWhetherOrNotItHasTheFocus) {
    platform::StartDisplay(platform::DisplayKind::Headless);
    TwoButtons dialog;
    ASSERT_TRUE(dialog.Create(kTwoButtons));
    dialog.ShowWindow(SW_SHOW);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    EXPECT_EQ(::GetFocus(), dialog.pass.m_hWnd);
    ASSERT_FALSE(dialog.pass.drawn.empty());
    EXPECT_TRUE(dialog.pass.drawn.back().itemState & ODS_FOCUS);
    ASSERT_FALSE(dialog.fail.drawn.empty()) << "drawn without the focus";
    EXPECT_FALSE(dialog.fail.drawn.back().itemState & ODS_FOCUS);
    EXPECT_TRUE(dialog.hidden.drawn.empty()) << "a hidden window gets no WM_PAINT";
    dialog.hidden.ShowWindow(SW_SHOW);
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    EXPECT_EQ(dialog.hidden.drawn.size(), 1u);
    dialog.DestroyWindow();
    platform::StopDisplay();
}

// A window that records the creation messages its object sees.
class CreatedWnd : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCCREATE || message == WM_CREATE) seen.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        createdAs = cs->lpszName;
        return CWnd::OnCreate(cs);
    }
    std::vector<UINT> seen;
    CString createdAs;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CreatedWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(MfcWindow, CreateDeliversCreationMessagesAndOwnedWindowsFollowTheirOwner) {
    AfxRegisterWindowClasses();
    CreatedWnd owner, child, popup;
    ASSERT_TRUE(owner.CreateEx(0, "AfxWnd", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(owner.seen, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
    EXPECT_EQ(owner.createdAs, "owner") << "OnCreate ran";
    ASSERT_TRUE(child.Create("AfxWnd", "child", WS_VISIBLE, CRect(0, 0, 10, 10), &owner, 5));
    EXPECT_EQ(child.createdAs, "child");
    ASSERT_TRUE(popup.CreateEx(0, "AfxWnd", "popup", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, child.m_hWnd, nullptr));
    EXPECT_EQ(::GetParent(popup.m_hWnd), nullptr);
    EXPECT_EQ(::GetWindow(popup.m_hWnd, GW_OWNER), owner.m_hWnd) << "owned by the parent's top-level window";
    EXPECT_EQ(popup.GetParent(), &owner);

    owner.ShowWindow(SW_HIDE);
    EXPECT_FALSE(popup.IsWindowVisible()) << "hidden with its owner";
    owner.ShowWindow(SW_SHOW);
    EXPECT_TRUE(popup.IsWindowVisible()) << "and shown with it again";
    HWND popupWindow = popup.m_hWnd;
    owner.DestroyWindow();
    EXPECT_FALSE(::IsWindow(popupWindow)) << "destroyed with its owner";
    EXPECT_EQ(popup.m_hWnd, nullptr);
}

}  // namespace
