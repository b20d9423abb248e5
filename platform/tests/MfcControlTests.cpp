// The control classes keep their state as the pages use it.
#include <gtest/gtest.h>

#include "afxcmn.h"
#include "platform/testoperator.h"

namespace {

class Controls : public testing::Test {
protected:
    void SetUp() override {
        AfxRegisterWindowClasses();
        ASSERT_TRUE(parent.CreateEx(0, "AfxWnd", "parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    }
    void TearDown() override { parent.DestroyWindow(); }
    CWnd parent;
    CRect rect{0, 0, 100, 20};
};

TEST_F(Controls, ListBoxKeepsInsertionOrderOrSortsWithLbsSort) {
    CListBox plain, sorted;
    ASSERT_TRUE(plain.Create(WS_CHILD, rect, &parent, 1));
    ASSERT_TRUE(sorted.Create(WS_CHILD | LBS_SORT, rect, &parent, 2));
    for (const char* s : {"TV 音频测试", "AV 视频测试", "b", "A"}) {
        plain.AddString(s);
        sorted.AddString(s);
    }
    CString text;
    plain.GetText(0, text);
    EXPECT_EQ(text, "TV 音频测试");
    sorted.GetText(0, text);
    EXPECT_EQ(text, "A");
    sorted.GetText(1, text);
    EXPECT_EQ(text, "AV 视频测试");
    EXPECT_EQ(sorted.GetCount(), 4);
    EXPECT_EQ(plain.FindStringExact(-1, "b"), 2);
    EXPECT_EQ(plain.FindString(-1, "tv"), 0);
    EXPECT_EQ(plain.InsertString(1, "x"), 1);
    EXPECT_EQ(plain.SetCurSel(2), 2);
    EXPECT_EQ(plain.DeleteString(0), 4);
    EXPECT_EQ(plain.GetCurSel(), 1);
    EXPECT_EQ(plain.GetText(9, text.GetBuffer(64)), LB_ERR);
    text.ReleaseBuffer(0);
    plain.ResetContent();
    EXPECT_EQ(plain.GetCount(), 0);
    EXPECT_EQ(plain.GetCurSel(), LB_ERR);
}

TEST_F(Controls, ProgressKeepsItsPositionInsideTheRange) {
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD, rect, &parent, 3));
    progress.SetRange(0, 100);
    progress.SetStep(1);
    EXPECT_EQ(progress.SetPos(40), 0);
    EXPECT_EQ(progress.GetPos(), 40);
    progress.SetPos(150);
    EXPECT_EQ(progress.GetPos(), 100);
    progress.SetPos(-5);
    EXPECT_EQ(progress.GetPos(), 0);
    progress.StepIt();
    progress.OffsetPos(9);
    EXPECT_EQ(progress.GetPos(), 10);
    progress.SetRange32(0, 256);
    int low = -1, high = -1;
    progress.GetRange(low, high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 256);
}

TEST_F(Controls, ListViewHoldsColumnsRowsAndItsImageList) {
    AfxRegisterBitmapResource(129, 24 * 3, 24);
    CImageList images;
    EXPECT_FALSE(images.Create(4242, 24, 1, RGB(255, 255, 255)));
    ASSERT_TRUE(images.Create(129, 24, 1, RGB(255, 255, 255)));
    EXPECT_EQ(images.GetImageCount(), 3);
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, rect, &parent, 1001));
    EXPECT_EQ(list.SetImageList(&images, LVSIL_SMALL), nullptr);
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    EXPECT_EQ(list.GetExtendedStyle(), DWORD(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
    const char* columns[] = {"选中", "卡号", "产品"};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(list.InsertColumn(i, columns[i], LVCFMT_LEFT, 50 + i), i);
    EXPECT_EQ(list.GetColumnWidth(2), 52);
    EXPECT_EQ(list.InsertItem(0, "", 0), 0);
    EXPECT_EQ(list.InsertItem(0, "", 0), 0);
    EXPECT_TRUE(list.SetItemText(1, 2, "Keshar A+D"));
    list.SetItemData(1, 99);
    EXPECT_EQ(list.GetItemText(1, 2), "Keshar A+D");
    EXPECT_EQ(list.GetItemText(0, 2), "");
    EXPECT_EQ(list.GetItemData(1), 99u);
    list.SetCheck(1);
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_FALSE(list.SetItemText(5, 0, "x"));
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetImageList(LVSIL_SMALL), images.m_hImageList);
}

TEST_F(Controls, ButtonsClickTheirParentOnlyWhenEnabled) {
    class Parent : public CWnd {
    public:
        std::vector<int> clicks;
        BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
            clicks.push_back(LOWORD(wParam));
            return TRUE;
        }
    } owner;
    ASSERT_TRUE(owner.CreateEx(0, "AfxWnd", "owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CButton push, check;
    ASSERT_TRUE(push.Create("确 定", WS_CHILD | WS_VISIBLE, rect, &owner, 1002));
    ASSERT_TRUE(check.Create("选中", WS_CHILD | BS_AUTOCHECKBOX, rect, &owner, 1003));
    push.SendMessage(BM_CLICK);
    push.EnableWindow(FALSE);
    push.SendMessage(BM_CLICK);
    check.SendMessage(BM_CLICK);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    EXPECT_EQ(owner.clicks, (std::vector<int>{1002, 1003}));
    owner.DestroyWindow();
}

}  // namespace
